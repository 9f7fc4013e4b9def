// A character of the stage that the computer runs: enemies, allies,
// summoned characters and block characters. It carries one item (given to
// the player when it dies) and decides by its activity range and group
// signals when, off screen, it starts to act.
#pragma once

#include <cstdint>

#include "base/safe_vector.h"
#include "stage/game_obj.h"
#include "stage/item_obj.h"

struct DDSURFACEDATA;

class cCharaObj : public cGameObj {
 public:
  cCharaObj() = default;
  cCharaObj(const cCharaObj& src) = default;
  cCharaObj& operator=(const cCharaObj& src) = default;
  ~cCharaObj() override = default;

  void ScaleHitBoxes(int32_t nScale) override;
  void UpdateHitRectX() override;
  void UpdateHitRectY() override;
  cItemObj* GetCarriedItem() override { return &m_CarriedItem; }
  void OnMovedX() override { ClampX(2); }
  void OnMovedY() override { ClampY(2); }
  int MoveX() override { return MoveCharaX(); }
  int MoveY() override { return MoveCharaY(); }
  int RunFlows(int bDeathOnly) override;
  void Jump(cCmdState& state, const cFlowState* pRun) override;

  // Builds the character from a definition (whose scale 0 becomes 1 in
  // it), with the item it carries (or none), the centre of its cell and
  // its copy number.
  void SetUp(int32_t nId, cEdChara& def, const cItemObj* pItem, double dCentreX, double dCentreY,
             int16_t sClone);
  void PlaceOnCell(int32_t nColumn, int32_t nRow);
  // In range this step by the activity range; raises the group signal.
  int UpdateVisibility(cSafeVector<uint8_t>& vecGroupFlags);
  // Acts this step.
  int UpdateActivation(cSafeVector<uint8_t>& vecGroupFlags);
  void DrawCarriedIcon(DDSURFACEDATA* pTarget);

  cItemObj m_CarriedItem;  // a kind value of 0 is no item
  int32_t m_nIconCount = 0;
  int32_t m_nIgnoreX = 0;  // the in-range test ignores x
  int32_t m_nIgnoreY = 0;
  int32_t m_nActivated = 0;
  int32_t m_nInRange = 0;    // in range this step
  int32_t m_nActiveNow = 0;  // acting this step
};
