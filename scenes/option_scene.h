// The options screen: the 8-bit palette variant, music on or off, the
// sound-effect volume, how rankings are entered after a stage, and the
// player name for rankings (through the name-entry dialog). Changes of the
// palette and the volume show at once; the music switch and the file
// (user_data\Option.dat) follow when the screen is left.
#pragma once

#include <cstdint>

#include "scenes/scene.h"

struct DDSURFACEDATA;

class cOptionScene : public cPhasedScene<cOptionScene, 3> {
 public:
  static constexpr int kOptionCount = 6;  // shown options at most

  cOptionScene();
  ~cOptionScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectOption();
  // Starts or stops the music manager as the music option says.
  static void ApplyBgmSetting();

  int32_t m_nShownCount = 1;
  int32_t m_anShown[kOptionCount] = {};  // options-menu entry of each row
  int32_t m_nEdited = 0;                 // the option being changed
  int32_t m_nSaved = 0;                  // its value before the change
  int32_t* m_pValue = nullptr;           // the option record's field
  int32_t m_nMin = 0;
  int32_t m_nMax = 0;

 private:
  void CreateScreenSurface();
  void DrawScreen();
  void Draw();
  void ApplyEffect();
  DDSURFACEDATA* m_pScreenSD = nullptr;
};
