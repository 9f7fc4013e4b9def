#include "stage/shot_volley.h"

#include <cmath>

#include "base/logs.h"
#include "base/trunc_int.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "flow/ed_shot.h"
#include "stage/chara_search.h"
#include "stage/flow_engine.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/rand_gen.h"
#include "stage/shot_moves.h"
#include "stage/shot_obj.h"

namespace {

constexpr double kDegrees = 57.29577951308232;  // per radian

cGameObj* SlotTarget(const cGameObj& chara, int8_t cSlot) {
  const uint8_t n = static_cast<uint8_t>(cSlot);
  return n < chara.m_vecTargets.size() ? chara.m_vecTargets[n] : nullptr;
}

bool HasShotRef(const cGameObj& chara, const cShotObj* pShot, int32_t nKind) {
  for (const SHOTREF& r : chara.m_vecRefBy2)
    if (r.pShot == pShot && r.nKind == nKind) return true;
  return false;
}

void AddShotRef(cGameObj& chara, cShotObj* pShot, int32_t nKind) {
  if (!HasShotRef(chara, pShot, nKind)) chara.m_vecRefBy2.push_back(SHOTREF{pShot, nKind});
}

// The angle of a clone: mirrored for a shooter facing right when the
// definition asks, then spread at random.
int32_t CloneAngle(cPlayScene& scene, const cGameObj& shooter, const cEdShot& def, int32_t nIndex) {
  int32_t a = def.m_sAngle + def.m_sAngleInc * nIndex;
  if (def.m_cMirrorAngle && shooter.m_nFacing == 1) a = 360 - a;
  if (def.m_sSpread != 0) a += RandRange(scene.m_Rand, -def.m_sSpread, def.m_sSpread);
  return a;
}

// Fires each position as a shot; stops the volley at the bound.
class cShotSink : public cLaunchSink {
 public:
  cShotSink(cPlayScene& scene, cGameObj& shooter, const cEdShot& def)
      : m_Scene(scene), m_Shooter(shooter), m_Def(def) {}
  bool Launch(const SHOTLAUNCH& launch) override {
    if (!FireOne(m_Scene, m_Shooter, SHOTKIND_SHOT, m_Def, launch)) {
      m_bCut = true;
      return false;
    }
    ++m_nFired;
    return true;
  }
  int32_t m_nFired = 0;
  bool m_bCut = false;

 private:
  cPlayScene& m_Scene;
  cGameObj& m_Shooter;
  const cEdShot& m_Def;
};

}  // namespace

int ShotDirectionCode(const cGameObj& shooter, const cFlowState* pRun, const cEdShot& def) {
  return ResolveMoveDirection(const_cast<cGameObj&>(shooter), pRun, def.m_cDirection, 0, 0, 1);
}

int BaseAngleOfCode(int nCode) {
  switch (nCode) {
    case 3:
      return 180;
    case 6:
      return 90;
    case 7:
      return 270;
    case 8:
      return 45;
    case 9:
      return 315;
    case 10:
      return 135;
    case 11:
      return 225;
    default:
      return 0;
  }
}

void VelocityOfAngle(double dDegrees, double v, double& vx, double& vy) {
  const double r = dDegrees / kDegrees;
  vx = -std::cos(r) * v;
  vy = -std::sin(r) * v;
}

void VelocityOfCode(int nCode, double v, double& vx, double& vy) {
  constexpr double k = 0.7071067811865476;
  switch (nCode) {
    case 3:
      vx = v, vy = 0;
      return;
    case 6:
      vx = 0, vy = -v;
      return;
    case 7:
      vx = 0, vy = v;
      return;
    case 8:
      vx = -v * k, vy = -v * k;
      return;
    case 9:
      vx = -v * k, vy = v * k;
      return;
    case 10:
      vx = v * k, vy = -v * k;
      return;
    case 11:
      vx = v * k, vy = v * k;
      return;
    default:
      vx = -v, vy = 0;
      return;
  }
}

int32_t AimAngle(cPlayScene& scene, int32_t x, int32_t y, cGameObj& shooter, const cEdShot& def,
                 SHOTLAUNCH& launch) {
  const cGameObj* pTarget = SlotTarget(shooter, def.m_cTargetSlot);
  if (!pTarget) return shooter.m_nFacing == 1 ? 180 : 0;
  const double tx = pTarget->m_nScrLeft + pTarget->m_nDrawW / 2;
  const double ty = pTarget->m_nScrTop + pTarget->m_nDrawH / 2;
  const bool bScrolling = scene.m_ScrollX.IsScrolling() || scene.m_ScrollY.IsScrolling();
  if (!bScrolling || def.m_cScrollSync != 1 || pTarget->m_nScrollSync != 1)
    return TruncI32(std::atan2(ty - y, tx - x) * kDegrees + 180 + 0.5);
  // Shot and target move with the scroll: the world speed that meets it.
  const double n = g_Stage.m_dSteps;
  const double s = (def.m_sSpeed + def.m_sSpeedInc * static_cast<double>(launch.nIndex)) * 0.1 / n;
  const double dx = tx - x, dy = ty - y;
  double dLen = std::sqrt(dx * dx + dy * dy);
  if (dLen == 0) dLen = 1;
  double vx = dx / dLen * s, vy = dy / dLen * s;
  const double Sx = scene.m_ScrollX.IsScrolling() ? scene.m_ScrollX.m_dSpeed : 0;
  const double Sy = scene.m_ScrollY.IsScrolling() ? scene.m_ScrollY.m_dSpeed : 0;
  if (g_SystemData.m_bCompat214) {
    vx += Sx;
    vy += Sy;
  } else {
    SolveScrolledVelocity(dx, dy, s, Sx, Sy, vx, vy);
  }
  launch.dSpeed = std::sqrt(vx * vx + vy * vy) * n;
  return TruncI32(std::atan2(vy, vx) * kDegrees + 180);
}

cShotObj& AddShot(cPlayScene& scene, const cShotObj& shot) {
  scene.m_ShotList.push_back(shot);
  cShotObj& added = scene.m_ShotList.back();
  scene.m_ShotGroups.At(added.m_nGroup).push_back(&added);
  return added;
}

cShotObj* FireOne(cPlayScene& scene, cGameObj& shooter, int32_t nKind, const cEdShot& def,
                  const SHOTLAUNCH& launch) {
  if (scene.m_ShotList.size() >= kMostShotsInFlight) return nullptr;
  cShotObj shot;
  shot.Init(scene.m_nShotSerial, shooter, nKind, def, launch);
  cShotObj& added = AddShot(scene, shot);
  ++scene.m_nShotSerial;
  // Only the copy in the list is known to the characters it points at.
  const int nMove = added.m_Def.m_cMoveType;
  const bool bHoldsTarget = nKind == SHOTKIND_SHOT &&
                            (nMove == SHOTMOVE_AIM_TARGET || nMove == SHOTMOVE_HOME_TARGET);
  if (bHoldsTarget && added.m_pTarget)
    AddShotRef(*added.m_pTarget, &added, 0);
  else
    added.m_pTarget = nullptr;
  if (added.m_pShooter) AddShotRef(*added.m_pShooter, &added, REF_PARENT);
  return &added;
}

int32_t FireShotPattern(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                        const cEdShot& def) {
  const int32_t nScale = def.m_cScale < 1 ? 1 : def.m_cScale;
  const int nCode = ShotDirectionCode(shooter, pRun, def);
  if (shooter.m_nControl != 0) shooter.UpdateScreenRect();
  for (int8_t cSlot : {def.m_cTargetSlot, def.m_cTargetSlot2}) {
    cGameObj* p = SlotTarget(shooter, cSlot);
    if (p && p->m_nControl != 0) p->UpdateScreenRect();
  }

  cShotSink sink(scene, shooter, def);
  SHOTLAUNCH launch;
  launch.nWidth = launch.nHeight = 16 * nScale;
  launch.nDirection = nCode;
  double dSpeed = def.m_sSpeed * 0.1;
  int32_t nAngle = CloneAngle(scene, shooter, def, 0);
  int32_t nRange = def.m_sRange;
  int32_t nLife = def.m_sLife;
  for (int32_t i = 0; i <= def.m_cCopies && !sink.m_bCut; ++i) {
    launch.nIndex = i;
    launch.dSpeed = dSpeed;
    launch.nAngle = nAngle;
    launch.nRange = nRange;
    launch.nLife = nLife;
    launch.nOffX = TruncI32(def.GetPosX(i, shooter.m_nFacing));
    launch.nOffY = TruncI32(def.GetPosY(i, shooter.m_nFacing));
    RunFormation(scene, shooter, def, launch, sink);
    dSpeed += def.m_sSpeedInc * 0.1;
    nAngle = CloneAngle(scene, shooter, def, i + 1);
    nRange += def.m_sRangeInc;
    nLife += def.m_sLifeInc;
  }
  if (sink.m_bCut)
    ReportF("shot volley cut at %zu shots in flight (character %d)", kMostShotsInFlight,
            shooter.m_nId);
  return sink.m_nFired;
}
