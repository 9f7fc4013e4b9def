// The world map, the story's board: the player icon walks cell by cell over
// terrain tiles; points on the map offer stages (some must be played before
// the icon may pass them). Standing on a stage shows its title, its best
// score and, where the story keeps rankings, its ranking table. Entering a
// stage hands over to play; button 2 opens the world-map menu.
#pragma once

#include <cstdint>

#include "scenes/menu_cursor.h"
#include "scenes/scene.h"

class cWorldPoint;
class cWorldStage;
struct DDSURFACEDATA;

class cWorldMapScene : public cPhasedScene<cWorldMapScene, 4> {
 public:
  cWorldMapScene();
  ~cWorldMapScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int Walk();
  int EnterStage();

  // The entry of a point that applies to the play now, or null.
  static const cWorldStage* FindActiveStage(const cWorldPoint* pPoint);
  static bool IsCleared(const cWorldStage* pStage);
  // The icon may walk over it: it lets the icon pass, or it is cleared.
  static bool IsPassable(const cWorldStage* pStage);
  static int32_t GetCellIndex(int32_t x, int32_t y);
  static int32_t GetCursorCellIndex(const CURSORDATA& level);

  int32_t m_nViewX = 0;  // the map cell at the screen's top left
  int32_t m_nViewY = 0;
  const cWorldPoint* m_pPoint = nullptr;  // under the player icon
  const cWorldStage* m_pStage = nullptr;  // its active entry
  int32_t m_nDir = 0;                     // 0 down, 1 up, 2 left, 3 right
  CURSORDATA m_Saved;                     // the icon before its last step
  CURSORDATA m_LastSeen;                  // the cell the stage facts are for
  int32_t m_nBestScore = 0;

 private:
  void FindCurrent();
  void SelectStagePoint();
  void MovePlayerIcon();
  void PrepareStagePlay();
  void CreateRankingSurface();
  void DrawRanking();
  void RenderMap();
  void Draw(bool bStageInfo);
  void DrawPlayerIcon();
  void RankingButtons(const class cInput& input);
  bool IsEnterable() const;

  DDSURFACEDATA* m_pMapSD = nullptr;
  DDSURFACEDATA* m_pRankingSD = nullptr;
  int32_t m_bLoaded = 0;  // the entered stage's file was read
};
