// The title screen: the title picture with the menu of game modes, and the
// list of saved story games that the continue entry opens. The chosen mode
// decides what follows: a story on the world map, the challenge's stage
// select, a stage or replay file, the options, or the end of the program.
#pragma once

#include <cstdint>

#include "scenes/scene.h"

struct DDSURFACEDATA;

class cTitleScene : public cPhasedScene<cTitleScene, 4> {
 public:
  static constexpr int kModeCount = 7;  // one shown entry per game mode at most

  cTitleScene();
  ~cTitleScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectMode();
  int SelectSaveData();
  // Asks the window thread for the stage chooser; true when a file was
  // chosen and play was set up from it.
  bool RequestLoadStage();

  int32_t m_nShownCount = 1;
  int32_t m_anShown[kModeCount] = {};  // the game mode of each shown entry
  int32_t m_nScroll = 0;               // first slot row shown
  int32_t m_nVisible = 0;              // slot rows shown
  int32_t m_nMenuX = 192;
  int32_t m_bImageMenu = 0;  // the menu shows the mode strips

 private:
  void CreateMenuSurface();
  void DrawMenu();
  void Draw();
  void DrawModeCursor();
  DDSURFACEDATA* m_pMenuSD = nullptr;
  int32_t m_nMenuWidth = 0;
  int32_t m_nMenuHeight = 0;
};
