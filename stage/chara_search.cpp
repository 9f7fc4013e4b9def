#include "stage/chara_search.h"

#include <cmath>

#include "files/system_data.h"
#include "stage/flow_state.h"
#include "stage/play_scene.h"

namespace {

// The diagonal of a flight: 1 / sqrt(2), rounded as sqrt(0.5) rounds it.
const double kDiagonal = std::sqrt(0.5);

int FacingResult(double vx) {
  if (vx < 0) return 1;
  if (vx > 0) return 2;
  return 0;
}

}  // namespace

bool PassesFilter(cGameObj& c, const CHARAFILTER& f) {
  if (c.m_nDying) return false;
  if (f.bCharaId && c.m_Def.m_cCharaId != f.nCharaId) return false;
  if (f.bNotSelf && f.pSearcher && c.m_nId == f.pSearcher->m_nId) return false;
  if (f.bNoInvincible1 && c.m_Def.m_cInvincible == 1) return false;
  if (f.bNoInvincible2 && c.m_Def.m_cInvincible == 2) return false;
  if (f.bNoBlockChara && c.IsBlockChara()) return false;
  if (f.bVarTest && !CompareValues(c.m_vecCharaVar.At(f.nVarIndex), f.nVarConst, f.nVarOp))
    return false;
  return true;
}

cGameObj* FindCharaByKey(std::vector<std::pair<cGameObj*, int32_t>>& vec, int32_t nKey,
                         const CHARAFILTER& f) {
  for (auto it = vec.rbegin(); it != vec.rend(); ++it)
    if (it->first && it->second == nKey && PassesFilter(*it->first, f)) return it->first;
  return nullptr;
}

int CalcTargetPos(const cObjRoot& target, int bXOnly, int bYOnly, int32_t nOffX, int32_t nOffY,
                  double& dX, double& dY) {
  const double cx = static_cast<double>(target.m_nScrLeft) + target.m_nDrawW / 2 + nOffX;
  const double cy = static_cast<double>(target.m_nScrTop) + target.m_nDrawH / 2 + nOffY;
  if (!bXOnly && !bYOnly) {
    dX = cx;
    dY = cy;
    return 3;
  }
  if (bXOnly && !bYOnly) {
    dY = cy;
    return 2;
  }
  dX = cx;
  return 1;
}

bool SolveScrolledVelocity(double dx, double dy, double s, double Sx, double Sy, double& vx,
                           double& vy) {
  // The world speed of length |s| whose motion against the scrolling
  // screen points at the target: the axis with the larger distance
  // takes the root of the length's quadratic on the target's side, the
  // other follows from the time that axis needs.
  const bool bAlongX = std::fabs(dx) >= std::fabs(dy);
  const double dMain = bAlongX ? dx : dy, dOther = bAlongX ? dy : dx;
  const double sMain = bAlongX ? Sx : Sy, sOther = bAlongX ? Sy : Sx;
  if (dMain == 0) return false;
  const double q = dOther / dMain;
  const double k = sOther - q * sMain;
  const double a = 1 + q * q;
  const double b = 2 * q * k;
  const double c = k * k - s * s;
  const double dDisc = b * b - 4 * a * c;
  if (!(dDisc >= 0)) return false;
  const double r1 = (-b + std::sqrt(dDisc)) / (2 * a);
  const double r2 = (-b - std::sqrt(dDisc)) / (2 * a);
  const double vMain = dMain > 0 ? std::max(r1, r2) : std::min(r1, r2);
  const double dRel = vMain - sMain;
  if (dRel == 0) return false;
  const double dTime = dMain / dRel;
  if (dTime == 0) return false;
  const double vOther = dOther / dTime + sOther;
  vx = bAlongX ? vMain : vOther;
  vy = bAlongX ? vOther : vMain;
  return true;
}

int StepToward(cGameObj& obj, cCmdState& state, const cObjRoot* pTarget, double tx, double ty,
               double s, const STEPTOWARD& opt) {
  const cPlayScene& scene = *g_PlayScene;
  const double cx = obj.m_nScrLeft + obj.m_nDrawW / 2;
  const double cy = obj.m_nScrTop + obj.m_nDrawH / 2;
  const double dx = tx - cx;
  const double dy = ty - cy;
  const bool bDiagonal = !opt.bDirect && s < 0;
  double vx, vy;
  if (bDiagonal) {
    const double d = std::fabs(s) * kDiagonal;
    vx = tx <= cx ? d : -d;
    vy = cy < ty ? -d : d;
  } else {
    double dLen = std::sqrt(dx * dx + dy * dy);
    if (dLen == 0) dLen = 1;
    vx = dx / dLen * s;
    vy = dy / dLen * s;
  }
  state.m_nFaceResult = FacingResult(vx);
  const double Sx = scene.m_ScrollX.IsScrolling() ? scene.m_ScrollX.m_dSpeed : 0;
  const double Sy = scene.m_ScrollY.IsScrolling() ? scene.m_ScrollY.m_dSpeed : 0;
  auto Store = [&] {
    state.m_dVX = vx;
    state.m_dVY = vy;
  };
  if (g_SystemData.m_bCompat214) {
    vx += Sx;
    vy += Sy;
  } else if (pTarget) {
    const bool bTargetScrolls = pTarget->m_nScrollSync == 1;
    if (bDiagonal) {
      if ((!opt.bScreen && bTargetScrolls) || (opt.bScreen && !bTargetScrolls)) {
        vx -= Sx;
        vy -= Sy;
      }
    } else if (opt.bScreen && !bTargetScrolls) {
      vx -= Sx;
      vy -= Sy;
    } else if (!opt.bScreen && bTargetScrolls && (Sx != 0 || Sy != 0)) {
      if (!SolveScrolledVelocity(dx, dy, s, Sx, Sy, vx, vy)) {
        Store();
        return 0;
      }
    }
  }
  Store();
  if (bDiagonal || !opt.bArrive) return 0;
  if (std::fabs(dx) > std::fabs(s) || std::fabs(dy) > std::fabs(s)) return 0;
  if (opt.bStopAtTarget) obj.WarpCenter(tx, ty, state);
  return 1;
}

namespace {

int StepTowardAxis(const cGameObj& obj, double& dV, double dCentre, double dTarget, double s,
                   const cScrollAxis& axis) {
  dV = dCentre >= dTarget ? -s : s;
  if (g_SystemData.m_bCompat214 && obj.m_nScrollSync == 1 && axis.IsScrolling())
    dV += axis.m_dSpeed;
  return std::fabs(s) > std::fabs(dCentre - dTarget) ? 1 : 0;
}

}  // namespace

int StepTowardX(cGameObj& obj, cCmdState& state, double tx, double s) {
  return StepTowardAxis(obj, state.m_dVX, obj.m_nScrLeft + obj.m_nDrawW / 2, tx, s,
                        g_PlayScene->m_ScrollX);
}

int StepTowardY(cGameObj& obj, cCmdState& state, double ty, double s) {
  return StepTowardAxis(obj, state.m_dVY, obj.m_nScrTop + obj.m_nDrawH / 2, ty, s,
                        g_PlayScene->m_ScrollY);
}
