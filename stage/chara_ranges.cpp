// The distance-condition ranges of the characters on the screen: a display
// aid for authors, drawn when a condition's display settings ask for it.
#include "base/program_state.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "files/system_data.h"
#include "flow/cond.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"

namespace {

constexpr uint8_t kDistanceCond = 7;
constexpr int kScreenW = 640;
constexpr int kScreenH = 480;

// A distance condition keeps its display settings in fields a distance
// does not otherwise use: when to show (left side), the colour (selector),
// whether also while not active (right kind) or transparent (right subject).
bool ShowsRange(const cCond& cond, const cGameObj& chara) {
  if (cond.m_cKind != kDistanceCond) return false;
  if (cond.m_cLeftKind == 0 || (cond.m_cLeftKind == 2 && !bTestPlay) || cond.m_cLeftKind > 2)
    return false;
  if (!chara.m_nActive && !cond.m_cRightSource) return false;
  if (chara.m_Def.m_cTransparent && !cond.m_cRightObject) return false;
  return true;
}

void DrawRange(DDSURFACEDATA* pTarget, const cCond& cond, const cGameObj& chara, uint32_t dwColour) {
  const int32_t r = cond.m_nConstant * 16 + cond.m_sRightVarNum;
  const bool bRight = chara.m_nFacing == 1;
  int32_t a = 0, b = 0;
  switch (cond.m_cShape) {
    case 0:
    case 1:
    case 2: {
      int32_t nLeft = r, nRight = r;
      if (cond.m_cShape == 1) (bRight ? nLeft : nRight) = 0;
      if (cond.m_cShape == 2) (bRight ? nRight : nLeft) = 0;
      CalcFacingSpan(chara.m_nScrLeft, chara.m_nDrawW, nLeft, nRight, cond.m_cShape == 0, a, b);
      DDFillRect(pTarget, a, 0, 1, kScreenH, dwColour);
      DDFillRect(pTarget, b, 0, 1, kScreenH, dwColour);
      break;
    }
    case 3:
    case 4:
    case 5: {
      int32_t nUp = r, nDown = r;
      // Shape 4 reaches down when facing right and up when facing left;
      // shape 5 the other way.
      if (cond.m_cShape == 4) (bRight ? nUp : nDown) = 0;
      if (cond.m_cShape == 5) (bRight ? nDown : nUp) = 0;
      CalcFacingSpan(chara.m_nScrTop, chara.m_nDrawH, nUp, nDown, cond.m_cShape == 3, a, b);
      DDFillRect(pTarget, 0, a, kScreenW, 1, dwColour);
      DDFillRect(pTarget, 0, b, kScreenW, 1, dwColour);
      break;
    }
    case 6:
      if (r > 0)
        DDCircle(pTarget, chara.m_nScrLeft + chara.m_nDrawW / 2, chara.m_nScrTop + chara.m_nDrawH / 2,
                 r, dwColour);
      break;
    default:
      break;
  }
}

void DrawRanges(DDSURFACEDATA* pTarget, const COND_VECTOR& vecConds, const cGameObj& chara,
                int32_t nCounter) {
  for (const cCond& cond : vecConds) {
    if (!ShowsRange(cond, chara)) continue;
    const uint32_t dwColour = 208 + 4 * (cond.m_cStatus & 7) + nCounter / 8;
    DrawRange(pTarget, cond, chara, dwColour);
  }
}

}  // namespace

void cPlayScene::DrawCharaRanges(DDSURFACEDATA* pTarget) {
  // The colour runs through the four shades of its cycling colour, except
  // where palette cycling turns the 8-bit palette itself.
  if (!(g_SystemData.m_bPaletteCycle && g_DD.nBpp == 8)) m_nRangeCounter = (m_nRangeCounter + 1) & 31;
  const auto TakesPart = [](const cGameObj* p) { return p && !p->m_nDying && p->IsOnScreen(); };
  for (const std::list<cGameObj*>& group : m_CharaGroups)
    for (const cGameObj* p : group)
      if (TakesPart(p) && !(p->m_Def.m_cLatch && p->m_cCondLatch))
        DrawRanges(pTarget, p->m_Def.m_vecConds, *p, m_nRangeCounter);
  for (const std::list<cGameObj*>& group : m_CharaGroups)
    for (const cGameObj* p : group) {
      if (!TakesPart(p)) continue;
      for (const cFlowState& state : p->m_vecFlowStates) {
        if (!state.m_pFlow || (state.m_pFlow->m_cLatch && p->m_cCondLatch)) continue;
        DrawRanges(pTarget, state.m_pFlow->m_vecConds, *p, m_nRangeCounter);
      }
    }
}
