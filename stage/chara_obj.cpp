#include "stage/chara_obj.h"

#include "base/trunc_int.h"
#include "base/window_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "stage/play_scene.h"
#include "stage/sprite_source.h"

void cCharaObj::ScaleHitBoxes(int32_t nScale) {
  if (IsBlockChara()) {
    // A block character collides with its whole rectangle at every scale.
    m_BodyBox.Set(0, 0, m_nWidth, m_nHeight);
    m_ShotBox.Set(0, 0, m_nWidth, m_nHeight);
    return;
  }
  m_BodyBox.Scale(nScale);
  m_ShotBox.Scale(nScale);
}

void cCharaObj::UpdateHitRectX() {
  const int32_t x = TruncI32(m_dX);
  m_BodyBox.PlaceX(x);
  m_ShotBox.PlaceX(x);
}

void cCharaObj::UpdateHitRectY() {
  const int32_t y = TruncI32(m_dY);
  m_BodyBox.PlaceY(y);
  m_ShotBox.PlaceY(y);
}

void cCharaObj::SetUp(int32_t nId, cEdChara& def, const cItemObj* pItem, double dCentreX,
                      double dCentreY, int16_t sClone) {
  if (def.m_cGiant == 0) def.m_cGiant = 1;
  ResetFlowState(&def, dCentreX, dCentreY, sClone);

  const cStageData& stage = g_Stage;
  const bool bBlock = def.m_cBlockLike != 0;
  const bool bFlying = def.m_cFlying != FLIGHT_OFF;
  int32_t nDX = 0, nDY = 0, w = 32, h = 32;
  if (!bBlock) {
    w = bFlying ? stage.m_nCharaFlyW : stage.m_nCharaW;
    h = bFlying ? stage.m_nCharaFlyH : stage.m_nCharaH;
    const int32_t bBottom = bFlying ? stage.m_bCharaFlyBottom : stage.m_bCharaBottom;
    nDX = (32 - w) >> 1;
    nDY = bBottom ? 32 - h : (32 - h) >> 1;
  }
  Init(nId, def.m_cOperator, def.m_cInputPlayer, def.m_cFaction, def.m_sGraphic, nullptr, 0, nDX,
       nDY, w, h, 32, 32, def.m_cMoveMirror, def.m_cFlying, sClone);

  m_BodyBox = HITBOX{};
  m_ShotBox = HITBOX{};
  if (bBlock) {
    m_ShotBox.Set(0, 0, 32, 32);
  } else {
    switch (def.m_cBlockHitRange) {
      case 0:
        if (bFlying)
          SetHitOffsets(stage.m_bCharaBodyFlyBottom, stage.m_nCharaBodyFlyW,
                        stage.m_nCharaBodyFlyH);
        else
          SetHitOffsets(stage.m_bCharaBodyBottom, stage.m_nCharaBodyW, stage.m_nCharaBodyH);
        break;
      case 1:
        SetHitOffsets(0, stage.m_nCharaShotW, stage.m_nCharaShotH);
        break;
      case 2:
        SetHitOffsets(0, stage.m_nOtherShotHitW, stage.m_nOtherShotHitH);
        break;
      case 3:
        SetHitOffsets(0, 32, 32);
        break;
      default:
        break;
    }
    m_ShotBox.Set(16 - (stage.m_nCharaShotW >> 1) - m_nDrawDX,
                  16 - (stage.m_nCharaShotH >> 1) - m_nDrawDY, stage.m_nCharaShotW,
                  stage.m_nCharaShotH);
  }
  SetScale(GetScale(), 1);

  m_nActiveNow = 0;
  m_nIconCount = 0;
  if (pItem)
    m_CarriedItem = *pItem;
  else
    m_CarriedItem.m_nKindValue = 0;

  m_nIgnoreX = def.m_cActRange == 2 || def.m_cActRange == 3;
  m_nIgnoreY = def.m_cActRange == 1 || def.m_cActRange == 3;
  m_nActivated = 0;
  m_Anim.Set(m_nFlying ? 2 : 0, 1);
  InsertFlows(m_Def.m_vecFlows, false, 0);
}

void cCharaObj::PlaceOnCell(int32_t nColumn, int32_t nRow) {
  m_dX = (static_cast<double>(nColumn) + 10) * 32 + m_nBaseDrawDX + 0.5;
  m_dY = (static_cast<double>(nRow) + 10) * 32 + m_nBaseDrawDY;
  KeepCentreX(GetScale(), 1);
  OnSizeChange(GetScale(), 1);
  OnMovedX();
  OnMovedY();
}

int cCharaObj::UpdateVisibility(cSafeVector<uint8_t>& vecGroupFlags) {
  const int bInRange = IsOnScreenAxes(m_nIgnoreX, m_nIgnoreY);
  m_nInRange = bInRange;
  if (bInRange && m_Def.m_cActGroupUsed) vecGroupFlags.At(m_Def.m_sActGroup) = 1;
  return bInRange;
}

int cCharaObj::UpdateActivation(cSafeVector<uint8_t>& vecGroupFlags) {
  bool bActs = m_nInRange != 0;
  if (!bActs && m_Def.m_cActGroupUsed) bActs = vecGroupFlags.At(m_Def.m_sActGroup) != 0;
  if (!bActs && !m_nFlying) bActs = (m_nJumping || m_nFalling) && m_nActivated;
  if (!bActs) return 0;
  m_nActivated = 1;
  // Mode 1: once activated, in range everywhere from then on.
  if (m_Def.m_cActMode == 1) m_nIgnoreX = m_nIgnoreY = 1;
  UpdateScreenRect();
  return 1;
}

int cCharaObj::RunFlows(int bDeathOnly) {
  cPlayScene& scene = *g_PlayScene;
  scene.m_bCheckDefeats = 0;
  if (!g_SystemData.m_bCompat214 && m_nScrollSync == 1) {
    m_dVX = scene.m_ScrollX.MovingSpeed();
    if (m_nFlying) m_dVY = scene.m_ScrollY.MovingSpeed();
  } else {
    m_dVX = 0;
    // A walker keeps its vertical speed for gravity.
    if (m_nFlying) m_dVY = 0;
  }
  m_nHeld = 0;
  m_nDecayX = m_nDecayY = 1;
  m_nMovedByCmd = 0;
  if (m_nCrushGrace > 0) --m_nCrushGrace;
  StartFlowAnims();
  scene.Probe("Flows", this);
  if (StepFlowStates(scene, bDeathOnly, true)) return 1;
  FinishFlowStep();
  // Nothing moved it: its standing (or flying) pose.
  if (!m_nMovedByCmd && m_dPushVX == 0 && m_dPushVY == 0) m_Anim.Change(m_nFlying ? 2 : 0, 1);
  return m_nHP <= 0 ? 1 : 0;
}

void cCharaObj::Jump(cCmdState& state, const cFlowState* /*pRun*/) {
  const bool bCannotJump = m_nFalling || m_nJumpBlocked || m_nKnocked || m_nNoFloorSteps;
  if (!g_SystemData.m_bCompat749) {
    if (state.m_nStarted) {
      if (IsOnGround()) {
        m_nJumpBlocked = 0;
        m_nKnocked = 0;
        state.m_nRemain = 0;
      }
      return;
    }
    if (bCannotJump) {
      // Not able to jump for 4 frames: the command gives up without a jump.
      if (state.m_nCount >= 4 * g_Stage.m_nSteps) {
        state.m_nStarted = 1;
        m_nJumpBlocked = 0;
        m_nKnocked = 0;
        state.m_nRemain = 0;
      }
      return;
    }
  } else if (bCannotJump) {
    return;
  }
  state.m_nStarted = 1;
  PlayDatabaseSE(state.m_pCmd ? state.m_pCmd->m_sSound : 0);
  m_dVY = state.m_dSpeed;
  m_nJumping = 1;
  m_nJumpCut = 1;
  m_nRiding = 0;
}

void cCharaObj::DrawCarriedIcon(DDSURFACEDATA* pTarget) {
  // The definition's setting byte D shows the icon while it is set (its
  // default); an item hidden from view shows none either.
  if (m_CarriedItem.m_nKindValue == 0 || !m_nOnScreen) return;
  if (!m_Def.m_cSettingD || m_CarriedItem.m_Def.m_cHidden) return;
  // The icon shows in the last third of every 96 frames (counts 64 to 95).
  if (++m_nIconCount >= 96) m_nIconCount = 0;
  if (m_nIconCount >= 64) {
    const cItemObj& item = m_CarriedItem;
    DrawGraphicIcon(pTarget, item.m_Def.m_cGraphicKind, item.m_nKindValue,
                    item.m_Def.m_sGraphicCell, m_nScrLeft + m_nDrawW / 2 - item.m_nDrawW / 4,
                    m_nScrTop - item.m_nDrawH / 2);
  }
}
