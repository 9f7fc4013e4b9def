// The six formations of a volley: rows across the direction of fire
// (centred on the shooter or from its foot or front line), a fan, columns
// of lightning entering from the screen edge over a target, an explosion
// from the shooter's centre, and a ring closing in on a target.
#include <cmath>

#include "base/trunc_int.h"
#include "flow/ed_shot.h"
#include "stage/game_obj.h"
#include "stage/play_scene.h"
#include "stage/player_obj.h"
#include "stage/shot_volley.h"
#include "stage/stage_objects.h"
#include "files/system_data.h"

namespace {

constexpr double kDiag = 0.7071067811865476;  // 1 / sqrt(2)
constexpr double kRadians = 0.017453292519943295;

// The shooter's drawing rectangle in stage pixels, and its centre.
struct SHOOTERRECT {
  int32_t L, T, R, B, cx, cy;
};

SHOOTERRECT RectOf(const cGameObj& obj, const cPlayScene& scene) {
  const int32_t x = TruncI32(scene.m_ScrollX.m_dPos), y = TruncI32(scene.m_ScrollY.m_dPos);
  SHOOTERRECT r;
  r.L = obj.m_nScrLeft + x;
  r.T = obj.m_nScrTop + y;
  r.R = obj.m_nScrRight + x;
  r.B = obj.m_nScrBottom + y;
  r.cx = r.L + obj.m_nDrawW / 2;
  r.cy = r.T + obj.m_nDrawH / 2;
  return r;
}

bool IsHorizontal(int nCode) { return nCode != 6 && nCode != 7 && (nCode < 8 || nCode > 11); }
bool IsVertical(int nCode) { return nCode == 6 || nCode == 7; }
bool GoesRight(int nCode) { return nCode == 3 || nCode == 10 || nCode == 11; }
bool GoesUp(int nCode) { return nCode == 6 || nCode == 8 || nCode == 10; }

// The launch's position: a top-left plus the clone's offsets.
bool Put(cLaunchSink& sink, SHOTLAUNCH& L, double x, double y, double vx, double vy) {
  L.nX = TruncI32(x) + L.nOffX;
  L.nY = TruncI32(y) + L.nOffY;
  L.dVX = vx;
  L.dVY = vy;
  return sink.Launch(L);
}

// The first position and the step of an unturned row of c shots with s
// pixels between them, and the rows' position across the direction.
void RowLayout(int nFormation, int nCode, const SHOOTERRECT& r, const cGameObj& shooter, int32_t c,
               int32_t s, const SHOTLAUNCH& L, double& x, double& y, double& dx, double& dy) {
  const int32_t w = L.nWidth, h = L.nHeight;
  const bool bCentred = nFormation != FORMATION_ROW_FOOT;
  if (IsVertical(nCode)) {
    const double p = s + w;
    y = nCode == 6 ? r.T - h : r.B + 1;
    dy = 0;
    if (bCentred) {
      x = r.cx - (c - 1) * (s / 2 + w / 2) - w / 2;
      dx = p;
    } else if (shooter.m_nFacing == 1) {
      x = r.R + 1 - w;
      dx = -p;
    } else {
      x = r.L;
      dx = p;
    }
    return;
  }
  if (IsHorizontal(nCode)) {
    const double p = s + h;
    x = GoesRight(nCode) ? r.R + 1 : r.L - w;
    dx = 0;
    if (bCentred) {
      y = r.cy - (c - 1) * (s / 2 + h / 2) - h / 2;
      dy = p;
    } else {
      y = r.B + 1 - h;
      dy = -p;
    }
    return;
  }
  // A diagonal: from the corner, across the direction of fire.
  x = GoesRight(nCode) ? r.R + 1 : r.L - w;
  y = GoesUp(nCode) ? r.T - h : r.B + 1;
  const double p = (s + w) * kDiag;
  const double ux = GoesRight(nCode) ? 1 : -1, uy = GoesUp(nCode) ? -1 : 1;
  dx = -uy * p;
  dy = ux * p;
  if (bCentred) {
    x -= (c - 1) / 2.0 * dx;
    y -= (c - 1) / 2.0 * dy;
  }
}

void Rows(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& L,
          cLaunchSink& sink) {
  const int32_t c = def.m_cShotCount;
  const int32_t s = def.m_sFormationParam[0] * 16;
  const int nCode = L.nDirection;
  const SHOOTERRECT r = RectOf(shooter, scene);
  double x, y, dx, dy, vx, vy;
  if (!def.m_cAim && L.nAngle == 0) {
    RowLayout(def.m_cFormation, nCode, r, shooter, c, s, L, x, y, dx, dy);
    VelocityOfCode(nCode, L.dSpeed, vx, vy);
  } else {
    // Turned: the row stands across the angle of fire, out from the
    // shooter's centre by its half size and the shot's.
    const int32_t nBase =
        def.m_cAim ? AimAngle(scene, shooter.m_nScrLeft + shooter.m_nDrawW / 2,
                              shooter.m_nScrTop + shooter.m_nDrawH / 2, shooter, def, L)
                   : BaseAngleOfCode(nCode);
    const double a = (nBase + L.nAngle) * kRadians;
    const double ux = -std::cos(a), uy = -std::sin(a);
    const double dOut = std::fabs(ux) * (shooter.m_nDrawW / 2 + L.nWidth / 2) +
                        std::fabs(uy) * (shooter.m_nDrawH / 2 + L.nHeight / 2);
    const double p = s + L.nWidth;
    // Across the angle, laid out rightward (downward when it is upright),
    // as an unturned row is.
    double px = -uy, py = ux;
    if (px < -1e-12 || (std::fabs(px) <= 1e-12 && py < 0)) px = -px, py = -py;
    dx = px * p;
    dy = py * p;
    x = r.cx + ux * dOut - L.nWidth / 2;
    y = r.cy + uy * dOut - L.nHeight / 2;
    if (def.m_cFormation != FORMATION_ROW_FOOT) {
      x -= (c - 1) / 2.0 * dx;
      y -= (c - 1) / 2.0 * dy;
    }
    vx = ux * L.dSpeed;
    vy = uy * L.dSpeed;
  }
  for (int32_t j = 0; j < c; ++j)
    if (!Put(sink, L, x + j * dx, y + j * dy, vx, vy)) return;
}

void Fan(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& L,
         cLaunchSink& sink) {
  const int32_t c = def.m_cShotCount;
  const int32_t f = def.m_sFormationParam[0];
  const SHOOTERRECT r = RectOf(shooter, scene);
  double x, y, dx, dy;
  RowLayout(FORMATION_ROW_CENTRED, L.nDirection, r, shooter, 1, 0, L, x, y, dx, dy);
  const int32_t nBase =
      def.m_cAim ? AimAngle(scene, shooter.m_nScrLeft + shooter.m_nDrawW / 2,
                            shooter.m_nScrTop + shooter.m_nDrawH / 2, shooter, def, L)
                 : BaseAngleOfCode(L.nDirection);
  const double dHalf = c % 2 ? c / 2 : c / 2 - 0.5;
  const double h = nBase + L.nAngle - f * dHalf;
  for (int32_t j = 0; j < c; ++j) {
    double vx, vy;
    VelocityOfAngle(h + static_cast<double>(j) * f, L.dSpeed, vx, vy);
    if (!Put(sink, L, x, y, vx, vy)) return;
  }
}

// The object lightning and a ring are laid out around: the aiming slot's
// character, the player or the shooter.
const cGameObj* FormationTarget(const cGameObj& shooter, const cEdShot& def) {
  switch (def.m_cRefObject) {
    case 0: {
      const uint8_t n = static_cast<uint8_t>(def.m_cTargetSlot);
      return n < shooter.m_vecTargets.size() ? shooter.m_vecTargets[n] : nullptr;
    }
    case 1:
      return g_Players.empty() ? nullptr : &ThePlayer();
    case 2:
      return &shooter;
    default:
      return nullptr;
  }
}

void Lightning(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& L,
               cLaunchSink& sink) {
  const cGameObj* pTarget = FormationTarget(shooter, def);
  const int32_t c = def.m_cShotCount;
  const int32_t nColumns = def.m_sFormationParam[1];
  if (!pTarget || nColumns <= 0) return;
  const int nCode = L.nDirection;
  const int32_t w = L.nWidth, h = L.nHeight;
  const double camX = scene.m_ScrollX.m_dPos, camY = scene.m_ScrollY.m_dPos;
  const SHOOTERRECT t = RectOf(*pTarget, scene);
  const int32_t nGap = g_SystemData.m_bCompat555 ? 0 : def.m_sFormationParam[0] * 16;
  const int32_t nSpacing = def.m_sFormationParam[2] * 16;
  double nFirstAcross = -((nColumns - 1) >> 1) * static_cast<double>(nSpacing);
  if (nColumns % 2 == 0) nFirstAcross -= nSpacing / 2.0;

  double vx, vy;
  if (L.nAngle != 0)
    VelocityOfAngle(BaseAngleOfCode(nCode) + L.nAngle, L.dSpeed, vx, vy);
  else
    VelocityOfCode(nCode, L.dSpeed, vx, vy);

  // Along the direction of fire from the edge behind it; across it the
  // columns centred on the target.
  double x0, y0, ax, ay, cxs, cys;
  if (IsVertical(nCode)) {
    y0 = nCode == 6 ? TruncI32(camY + 480 - h) : TruncI32(camY);
    ax = 0;
    ay = (nCode == 6 ? -1 : 1) * static_cast<double>(h + nGap);
    x0 = t.cx - w / 2 + nFirstAcross;
    cxs = nSpacing;
    cys = 0;
  } else if (IsHorizontal(nCode)) {
    x0 = GoesRight(nCode) ? TruncI32(camX) : TruncI32(camX + 640 - w);
    ax = (GoesRight(nCode) ? 1 : -1) * static_cast<double>(w + nGap);
    ay = 0;
    y0 = t.cy - h / 2 + nFirstAcross;
    cxs = 0;
    cys = nSpacing;
  } else {
    // A diagonal enters from the screen corner behind it; the columns lie
    // across it, centred on the line through the target.
    const double ux = GoesRight(nCode) ? kDiag : -kDiag, uy = GoesUp(nCode) ? -kDiag : kDiag;
    const double sx = GoesRight(nCode) ? TruncI32(camX) : TruncI32(camX + 640 - w);
    const double sy = GoesUp(nCode) ? TruncI32(camY + 480 - h) : TruncI32(camY);
    const double px = -uy, py = ux;
    const double dAcross = (t.cx - w / 2 - sx) * px + (t.cy - h / 2 - sy) * py;
    x0 = sx + (dAcross + nFirstAcross) * px;
    y0 = sy + (dAcross + nFirstAcross) * py;
    ax = ux * (w + nGap);
    ay = uy * (h + nGap);
    cxs = px * nSpacing;
    cys = py * nSpacing;
  }
  for (int32_t j = 0; j < c; ++j)
    for (int32_t k = 0; k < nColumns; ++k)
      if (!Put(sink, L, x0 + j * ax + k * cxs, y0 + j * ay + k * cys, vx, vy)) return;
}

void Explosion(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& L,
               cLaunchSink& sink) {
  const int32_t c = def.m_cShotCount;
  const SHOOTERRECT r = RectOf(shooter, scene);
  const double x = r.cx - L.nWidth / 2, y = r.cy - L.nHeight / 2;
  const double a0 = BaseAngleOfCode(L.nDirection) + L.nAngle;
  for (int32_t j = 0; j < c; ++j) {
    double vx, vy;
    VelocityOfAngle(a0 + j * 360.0 / c, L.dSpeed, vx, vy);
    if (!Put(sink, L, x, y, vx, vy)) return;
  }
}

void Surround(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& L,
              cLaunchSink& sink) {
  const cGameObj* pTarget = FormationTarget(shooter, def);
  if (!pTarget) return;
  const int32_t c = def.m_cShotCount;
  const SHOOTERRECT t = RectOf(*pTarget, scene);
  const double dRadius = def.m_sFormationParam[0] * 16.0;
  const double a0 = BaseAngleOfCode(L.nDirection) + L.nAngle;
  for (int32_t j = 0; j < c; ++j) {
    const double u = (a0 + j * 360.0 / c) * kRadians;
    const double x = t.cx + TruncI32(dRadius * std::cos(u) + 0.5);
    const double y = t.cy + TruncI32(dRadius * std::sin(u) + 0.5);
    if (!Put(sink, L, x, y, -std::cos(u) * L.dSpeed, -std::sin(u) * L.dSpeed)) return;
  }
}

}  // namespace

void RunFormation(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& L,
                  cLaunchSink& sink) {
  if (def.m_cShotCount <= 0) return;
  switch (def.m_cFormation) {
    case FORMATION_ROW_CENTRED:
    case FORMATION_ROW_FOOT:
      Rows(scene, shooter, def, L, sink);
      break;
    case FORMATION_FAN:
      Fan(scene, shooter, def, L, sink);
      break;
    case FORMATION_LIGHTNING:
      Lightning(scene, shooter, def, L, sink);
      break;
    case FORMATION_EXPLOSION:
      Explosion(scene, shooter, def, L, sink);
      break;
    case FORMATION_SURROUND:
      Surround(scene, shooter, def, L, sink);
      break;
    default:
      break;
  }
}
