#include "stage/player_obj.h"

#include <algorithm>
#include <cmath>

#include "base/trunc_int.h"
#include "base/window_requests.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "flow/command_catalogue.h"
#include "input/input.h"
#include "stage/command_context.h"
#include "stage/flow_engine.h"
#include "stage/param_binds.h"
#include "stage/play_scene.h"

void cPlayerObj::SetUp(cEdChara& def, double dCentreX, double dCentreY, int16_t sFlag) {
  if (def.m_cGiant == 0) def.m_cGiant = 1;
  ResetFlowState(&def, dCentreX, dCentreY, sFlag);
  int32_t nOffX = 0, nOffY = 0, w = 0, h = 0;
  GetPlacement(nOffX, nOffY, w, h);
  Init(m_nId, def.m_cOperator, def.m_cInputPlayer, def.m_cFaction, def.m_sGraphic, nullptr, 0,
       nOffX, nOffY, w, h, 32, 32, def.m_cMoveMirror, def.m_cFlying, sFlag);
  m_pInput = &g_Input.At(m_nSetupValue);
  RecalcSize(static_cast<int8_t>(m_Def.m_cFlying), 0);
  SetScale(GetScale(), 1);
  m_nFacing = m_Def.m_cMoveMirror;
  m_nJumpBlocked = 0;
  m_nNoJump = 0;
  m_nJumpHold = 0;
  m_nJumpReady = 1;
  m_dTileAccelBase = 4 / g_Stage.m_dSteps;
  m_nTileKind = 0;
  m_dTileValue = 0;
  m_nTileSteps = 0;
  m_nTileWait = 0;
  SortParts();
  m_lstTouching.clear();
  InsertFlows(m_Def.m_vecFlows, false, 0);
}

void cPlayerObj::GetPlacement(int32_t& nOffX, int32_t& nOffY, int32_t& nWidth,
                              int32_t& nHeight) const {
  const cStageData& stage = g_Stage;
  const bool bFlying = m_nFlying == 1;
  nWidth = bFlying ? stage.m_nPlayerFlyW : stage.m_nPlayerW;
  nHeight = bFlying ? stage.m_nPlayerFlyH : stage.m_nPlayerH;
  const int32_t bBottom = bFlying ? stage.m_bPlayerFlyBottom : stage.m_bPlayerBottom;
  nOffX = (32 - nWidth) >> 1;
  nOffY = bBottom ? 32 - nHeight : (32 - nHeight) >> 1;
}

void cPlayerObj::RecalcSize(int8_t cFlightKind, int bApplyScale) {
  const cStageData& stage = g_Stage;
  const int32_t nWasFlying = m_nFlying;
  m_Def.m_cFlying = static_cast<uint8_t>(cFlightKind);
  SetFlightKind(cFlightKind);
  if (m_nFlying != nWasFlying) {
    // Squeezing does not kill while the size changes under the player.
    m_nCrushGrace = 2;
    if (!m_nFlying) m_dVX = m_dVY = m_dPushVX = m_dPushVY = 0;
  }
  int32_t nOffX = 0, nOffY = 0, w = 0, h = 0;
  GetPlacement(nOffX, nOffY, w, h);
  m_nWidth = m_nBaseWidth = w;
  m_nHeight = m_nBaseHeight = h;
  m_nDrawDX = m_nBaseDrawDX = nOffX;
  m_nDrawDY = m_nBaseDrawDY = nOffY;
  m_nDrawW = m_nBaseDrawW = 32;
  m_nDrawH = m_nBaseDrawH = 32;

  const bool bFlying = m_nFlying == 1;
  switch (m_Def.m_cBlockHitRange) {
    case 0:
      if (bFlying)
        SetHitOffsets(stage.m_bPlayerBodyFlyBottom, stage.m_nPlayerBodyFlyW,
                      stage.m_nPlayerBodyFlyH);
      else
        SetHitOffsets(stage.m_bPlayerBodyBottom, stage.m_nPlayerBodyW, stage.m_nPlayerBodyH);
      break;
    case 1:
      SetHitOffsets(0, stage.m_nPlayerShotW, stage.m_nPlayerShotH);
      break;
    case 2:
      SetHitOffsets(0, stage.m_nPlayerShotHitW, stage.m_nPlayerShotHitH);
      break;
    case 3:
      SetHitOffsets(0, 32, 32);
      break;
    default:
      break;
  }
  auto Centred = [&](HITBOX& box, int32_t bw, int32_t bh) {
    box.Set(16 - (bw >> 1) - m_nDrawDX, 16 - (bh >> 1) - m_nDrawDY, bw, bh);
  };
  Centred(m_ShotBox, stage.m_nPlayerShotW, stage.m_nPlayerShotH);
  Centred(m_PickBox, stage.m_nPlayerPickW, stage.m_nPlayerPickH);

  if (bApplyScale) {
    const int32_t s = GetScale();
    m_nWidth *= s;
    m_nHeight *= s;
    m_nDrawDX *= s;
    m_nDrawDY *= s;
    m_nDrawW *= s;
    m_nDrawH *= s;
    for (HITBOX* pBox : {&m_BodyBox, &m_PickBox, &m_ShotBox}) {
      pBox->nOffX *= s;
      pBox->nOffY *= s;
      pBox->nWidth *= s;
      pBox->nHeight *= s;
    }
  }
  SortParts();
}

void cPlayerObj::SortParts() {
  const cStageData& stage = g_Stage;
  m_vecHitAreas.clear();
  auto Add = [&](int32_t nKind, int32_t nMode, int32_t nColour, int32_t w, int32_t h) {
    HITAREADATA area;
    area.nKind = nKind;
    area.nMode = nMode;
    area.nColour = 208 + 4 * nColour;
    area.nWidth = w;
    area.nHeight = h;
    m_vecHitAreas.push_back(area);
  };
  Add(0, stage.m_nShowPlayerSize, stage.m_nColourPlayerSize, m_nWidth, m_nHeight);
  Add(2, stage.m_nShowPlayerPick, stage.m_nColourPlayerPick, m_PickBox.nWidth, m_PickBox.nHeight);
  Add(1, stage.m_nShowPlayerBody, stage.m_nColourPlayerBody, m_BodyBox.nWidth, m_BodyBox.nHeight);
  Add(3, stage.m_nShowPlayerShot, stage.m_nColourPlayerShot, m_ShotBox.nWidth, m_ShotBox.nHeight);
  // Larger areas first, so the smaller ones drawn over them stay visible.
  std::stable_sort(m_vecHitAreas.begin(), m_vecHitAreas.end(),
                   [](const HITAREADATA& a, const HITAREADATA& b) {
                     return static_cast<int64_t>(a.nWidth) * a.nHeight >
                            static_cast<int64_t>(b.nWidth) * b.nHeight;
                   });
}

void cPlayerObj::ScaleHitBoxes(int32_t nScale) {
  m_BodyBox.Scale(nScale);
  m_PickBox.Scale(nScale);
  m_ShotBox.Scale(nScale);
}

void cPlayerObj::UpdateHitRectX() {
  const int32_t x = TruncI32(m_dX);
  m_BodyBox.PlaceX(x);
  m_PickBox.PlaceX(x);
  m_ShotBox.PlaceX(x);
}

void cPlayerObj::UpdateHitRectY() {
  const int32_t y = TruncI32(m_dY);
  m_BodyBox.PlaceY(y);
  m_PickBox.PlaceY(y);
  m_ShotBox.PlaceY(y);
}

void cPlayerObj::OnMovedX() {
  g_PlayScene->m_ScrollX.Follow(m_dX, m_nWidth);
  ClampX(m_nFlying ? 0 : 1);
  m_dRight = m_dX + m_nWidth - 1;
}

void cPlayerObj::OnMovedY() {
  g_PlayScene->m_ScrollY.Follow(m_dY, m_nHeight);
  ClampY(m_nFlying ? 0 : 1);
  m_dBottom = m_dY + m_nHeight - 1;
}

void cPlayerObj::UpdateScreenRect() {
  const cScrollAxis& sx = g_PlayScene->m_ScrollX;
  const cScrollAxis& sy = g_PlayScene->m_ScrollY;
  if (sx.IsScrolling())
    m_nScrLeft = TruncI32(m_dX) - TruncI32(sx.m_dPos) - m_nDrawDX;
  else
    m_nScrLeft = TruncI32(m_dX - sx.m_dPos - m_nDrawDX);
  if (sy.IsScrolling())
    m_nScrTop = TruncI32(m_dY) - TruncI32(sy.m_dPos) - m_nDrawDY;
  else
    m_nScrTop = TruncI32(m_dY - sy.m_dPos - m_nDrawDY);
  m_nScrRight = m_nScrLeft + m_nDrawW - 1;
  m_nScrBottom = m_nScrTop + m_nDrawH - 1;
}

int cPlayerObj::MoveX() {
  if (m_dKnockX != 0) {
    m_dVX = m_dKnockX;
  } else {
    if (m_dPushVX != 0 && m_nDecayX == 1) DecaySpeed(m_dPushVX, 1);
    if (m_nTileSteps > 0 && m_nTileKind == 3) {
      const double e = (m_dTileValue - 1.0) * ToStepSpeed(m_dTileAccelBase);
      if (m_dPushVX > 0) {
        m_dPushVX += e;
        if (m_dPushVX < 0) m_dPushVX = 0;
      } else {
        m_dPushVX -= e;
        if (m_dPushVX > 0) m_dPushVX = 0;
      }
    }
    m_dVX += m_dPushVX;
  }
  const double dLimit = g_Stage.m_dStepSpeedLimit;
  if (m_dVX > dLimit)
    m_dVX = dLimit;
  else if (m_dVX < -dLimit)
    m_dVX = -dLimit;
  m_dX += m_dVX;
  OnMovedX();
  return 0;
}

int cPlayerObj::MoveY() {
  ApplyKnockY();
  if (m_dKnockY == 0 && m_nFlying && m_dPushVY != 0) {
    DecaySpeed(m_dPushVY, m_nDecayY);
    m_dVY += m_dPushVY;
  }
  const int r = AxisMoveY(m_nFlying ? 0 : 2);
  OnMovedY();
  if (!m_nFlying && (r == 5 || r == 6)) return 7;
  return r;
}

int cPlayerObj::RunFlows(int bDeathOnly) {
  cPlayScene& scene = *g_PlayScene;
  scene.m_bCheckDefeats = 0;
  const cScrollAxis& sx = scene.m_ScrollX;
  const cScrollAxis& sy = scene.m_ScrollY;
  if (g_SystemData.m_bCompat214) {
    if (!m_nFlying) {
      m_dVX = 0;
    } else {
      m_dVX = sx.MovingSpeed();
      m_dVY = sy.MovingSpeed();
    }
  } else if (m_nScrollSync == 1) {
    m_dVX = sx.MovingSpeed();
    if (m_nFlying) m_dVY = sy.MovingSpeed();
  } else {
    m_dVX = 0;
    if (m_nFlying) m_dVY = 0;
  }
  m_nHeld = 0;
  m_nDecayX = m_nDecayY = 1;
  m_nMovedByCmd = 0;
  m_nJumpChecked = 0;
  if (m_nCrushGrace > 0) --m_nCrushGrace;
  StartFlowAnims();
  scene.Probe("Flows", this);
  if (StepFlowStates(scene, bDeathOnly, false)) return 1;
  for (cFlowCmd& cmd : m_vecPendingCmds) ChangeFlows(*this, cmd);
  m_vecPendingCmds.clear();
  FinishFlowStep();
  if (!m_nMovedByCmd && m_dPushVX == 0 && m_dPushVY == 0) m_Anim.Change(m_nFlying ? 2 : 0, 1);
  if (!m_nJumpChecked) {
    m_nJumpHold = 0;
    m_nJumpReady = 1;
    m_nJumpBlocked = 0;
  }
  return m_nHP <= 0 ? 1 : 0;
}

void cPlayerObj::Jump(cCmdState& state, const cFlowState* pRun) {
  if (m_nFlying || m_nJumpChecked) return;
  const cPlayScene& scene = *g_PlayScene;
  const int32_t n = g_Stage.m_nSteps;
  const cFlowCmd* pCmd = state.m_pCmd;
  auto Param = [pCmd](int i) -> int32_t {
    if (!pCmd || i < 0 || static_cast<size_t>(i) >= pCmd->m_vecParams.size()) return 0;
    return pCmd->m_vecParams[i];
  };
  const int32_t nKind = Param(0);
  const cFlow* pFlow = pRun ? pRun->m_pFlow : nullptr;
  const bool bKeyConds = pFlow && !pFlow->m_vecKeys.empty();
  bool bHeld = true;
  if (nKind != 0) bHeld = bKeyConds && EvalKeyCond(*this, pFlow->m_vecKeys.back(), m_pInput);

  if (nKind == 2) {
    // The height follows the inertial speed between two settings.
    const double a = std::fabs(m_dPushVX);
    const double p1 = Param(1) / (10.0 * n);
    const double p3 = Param(3) / (10.0 * n);
    int32_t nHeight;
    if (a >= p1)
      nHeight = Param(2);
    else if (a <= p3)
      nHeight = Param(4);
    else
      nHeight = TruncI32(Param(4) + (Param(2) - Param(4)) * a / p1);
    state.m_dSpeed = JumpSpeedFromHeight(static_cast<double>(nHeight) * 16);
  }
  const int32_t T = state.m_nDuration;
  const double V = state.m_dSpeed;

  if (bHeld && !m_nNoJump) {
    m_nJumpHold += 1;
    if (m_nJumpHold >= T && m_nJumpReady && !m_nJumpBlocked && (!m_nJumpCut || m_nRiding) &&
        (m_dVY < 0 || m_nRiding)) {
      // Held for the whole time: the rise ends here.
      m_nJumpCut = 1;
      m_nJumpReady = 0;
    } else if (!m_nFalling && m_nJumpHold <= n && (!m_nJumpCut || m_nRiding) && m_nJumpReady &&
               !m_nJumpBlocked && !m_nKnocked && !state.m_nJumpDone) {
      m_nJumping = 1;
      bool bJumped = false;
      if (!m_nRiding) {
        m_dVY = V;
        bJumped = true;
      } else if (scene.m_nStepNo == n) {
        // Off a character only in the frame's last update step.
        m_nRiding = 0;
        m_dVY = V * static_cast<double>(1.02f);
        bJumped = true;
      }
      if (bJumped) {
        state.m_nJumpDone = 1;
        PlayDatabaseSE(pCmd ? pCmd->m_sSound : 0);
      }
    }
  } else {
    // Let go early: the rise keeps 30 % of its speed.
    if (0 < m_nJumpHold && m_nJumpHold < T && !m_nJumpCut && !m_nJumpBlocked && !m_nNoJump &&
        !m_nKnocked) {
      m_nRiding = 0;
      if (m_dVY < 0) m_dVY *= 0.3;
      m_nJumpCut = 1;
    }
    m_nJumpHold = 0;
    m_nJumpReady = 1;
    m_nJumpBlocked = 0;
  }

  if (IsOnGround() && m_dVY >= 0 && (!bKeyConds || !bHeld)) {
    m_nJumpHold = 0;
    m_nJumpReady = 1;
    m_nJumpBlocked = 0;
    m_nKnocked = 0;
    if (!bKeyConds)
      state.m_nJumpDone = 0;  // the command may jump again
    else
      state.m_nRemain = 0;  // the key is up: the command ends
    m_nJumpChecked = 1;
    return;
  }
  m_nJumpChecked = 1;
}

void cPlayerObj::Draw(DDSURFACEDATA* pTarget, int bStill) {
  cGameObj::Draw(pTarget, bStill);
  DrawHitAreas(pTarget);
}

void cPlayerObj::DrawSight(DDSURFACEDATA* pTarget) {
  if (m_Def.m_cSightShape != 0) g_PlayScene->DrawSightMask(pTarget, *this);
}

int cPlayerObj::IsNewTouch(int32_t nItemId) const {
  return std::find(m_lstTouching.begin(), m_lstTouching.end(), nItemId) == m_lstTouching.end();
}

void cPlayerObj::ForgetTouch(int32_t nItemId) { m_lstTouching.remove(nItemId); }

int cPlayerObj::RunItemCommands(CMD_VECTOR& vecCmds, const cGameObj* pFlowOwner) {
  cPlayScene& scene = *g_PlayScene;
  scene.m_bItemMessage = 0;
  for (cFlowCmd& cmd : vecCmds) {
    if (cmd.m_cKind != ItemCmdKind(CMD_ARRANGE)) {
      ApplyCharaParamBinds(scene, cmd, *this);
      m_lstBinds.clear();
    }
    const int r = RunItemCmd(CMDCONTEXT{*this, nullptr, nullptr, cmd, scene, pFlowOwner});
    if (m_nHP <= 0) return 2;
    if (r != 0) return r;
  }
  return m_nHP <= 0 ? 2 : 0;
}
