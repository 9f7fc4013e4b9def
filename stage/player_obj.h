// The character the person at the keyboard plays. Its flows read its input
// record; the player object supplies the rules under which they move it:
// speeds rebuilt every step, the variable-height jump, the camera that
// follows it, its sizes from the stage's player settings, a third box that
// picks up items, and the coloured hit-area overlays.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "base/safe_vector.h"
#include "flow/flow.h"
#include "stage/game_obj.h"

class cInput;
struct DDSURFACEDATA;

// One hit-area overlay: which box, how it is shown, where.
struct HITAREADATA {
  int32_t nKind = 0;  // 0 collision rectangle, 1 body, 2 pick, 3 shot box
  int32_t nMode = 0;  // 0 not drawn, 1 filled, 2 frame
  int32_t nColour = 0;
  int32_t nX = 0;
  int32_t nY = 0;
  int32_t nWidth = 0;
  int32_t nHeight = 0;
  int32_t nBlink = 0;
};

class cPlayerObj : public cGameObj {
 public:
  cPlayerObj() = default;
  cPlayerObj(const cPlayerObj& src) = default;
  cPlayerObj& operator=(const cPlayerObj& src) = default;
  ~cPlayerObj() override = default;

  void ScaleHitBoxes(int32_t nScale) override;
  void UpdateHitRectX() override;
  void UpdateHitRectY() override;
  void OnMovedX() override;
  void OnMovedY() override;
  int MoveX() override;
  int MoveY() override;
  int RunFlows(int bDeathOnly) override;
  void Jump(cCmdState& state, const cFlowState* pRun) override;
  void Draw(DDSURFACEDATA* pTarget, int bStill) override;

  // Stage-start set-up from the placed definition (whose giant factor 0
  // becomes 1 in it) at the centre of its cell; nFlag is its set-up word.
  void SetUp(cEdChara& def, double dCentreX, double dCentreY, int16_t sFlag);
  void RecalcSize(int8_t cFlightKind, int bApplyScale);
  void GetPlacement(int32_t& nOffX, int32_t& nOffY, int32_t& nWidth, int32_t& nHeight) const;
  void SortParts();
  // The player's own screen rectangle (objects of every class have the
  // root's under the same name).
  void UpdateScreenRect();
  void DrawSight(DDSURFACEDATA* pTarget);
  // The hit-area overlays over the drawn player, largest first.
  void DrawHitAreas(DDSURFACEDATA* pTarget);
  int IsNewTouch(int32_t nItemId) const;
  void ForgetTouch(int32_t nItemId);
  void RememberLandCell() { m_pPrevLandCell = m_pLandCell; }
  // An item's commands: 0, 2 (the player's HP is gone) or the first
  // non-zero command result. pFlowOwner: the character whose flow handed the
  // item over (its command's), null for an item taken in the stage.
  int RunItemCommands(CMD_VECTOR& vecCmds, const cGameObj* pFlowOwner);
  void ShowPickupText(int32_t nSheet, int32_t nGraphic, int32_t nVariant);

  int32_t m_nJumpReady = 0;
  int32_t m_nNoJump = 0;
  double m_dTileAccelBase = 0;
  int32_t m_nJumpChecked = 0;
  std::list<int32_t> m_lstTouching;
  int32_t m_nTileKind = 0;
  double m_dTileValue = 0;
  int32_t m_nTileSteps = 0;
  int32_t m_nTileWait = 0;
  HITBOX m_PickBox;
  std::vector<HITAREADATA> m_vecHitAreas;
  CMD_VECTOR m_vecPendingCmds;
  std::list<cSafeVector<int32_t>> m_lstBinds;
  cInput* m_pInput = nullptr;  // the record its key conditions read
  int32_t m_nJumpHold = 0;     // update steps the jump key has been held
};
