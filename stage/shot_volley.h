// A volley of a shot command: the direction it is fired in, the clones of
// the volley with their speeds, angles, ranges and lifetimes, the six
// formations that lay each clone out, and the shots it puts into the play
// scene's lists. The summon commands lay out what they place with the same
// formations through their own launch sinks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "stage/shot_launch.h"

class cEdShot;
class cFlowState;
class cGameObj;
class cPlayScene;
class cShotObj;

// The most shots in flight at once. A volley that would pass it is cut
// there (and the report log says so once per volley): a definition asking
// for 127 shots in 128 clones every tenth of a second from many characters
// would otherwise grow the list without end.
constexpr size_t kMostShotsInFlight = 8192;

// Formations.
enum : int {
  FORMATION_ROW_CENTRED = 0,
  FORMATION_ROW_FOOT = 1,
  FORMATION_FAN = 2,
  FORMATION_LIGHTNING = 3,
  FORMATION_EXPLOSION = 4,
  FORMATION_SURROUND = 5,
};

// Where the positions of a formation go: a shot, or a summoned object.
// false stops the formation.
class cLaunchSink {
 public:
  virtual ~cLaunchSink() = default;
  virtual bool Launch(const SHOTLAUNCH& launch) = 0;
};

// The direction code a definition fires in for a shooter (0 and 1 by its
// facing, 4 and 5 vertically by it, 12 by the run's input direction).
int ShotDirectionCode(const cGameObj& shooter, const cFlowState* pRun, const cEdShot& def);
// Degrees of a direction code: 2 left 0, 6 up 90, 3 right 180, 7 down 270.
int BaseAngleOfCode(int nCode);
// Velocity of speed v at an angle (degrees): 0 left, 90 up.
void VelocityOfAngle(double dDegrees, double v, double& vx, double& vy);
// Velocity of speed v along a direction code.
void VelocityOfCode(int nCode, double v, double& vx, double& vy);

// The angle from a point (on the screen) toward the character in the
// shooter's aiming slot; by the shooter's facing when the slot is empty.
// With the auto scroll carrying both, the launch speed is the one that
// meets the target.
int32_t AimAngle(cPlayScene& scene, int32_t x, int32_t y, cGameObj& shooter, const cEdShot& def,
                 SHOTLAUNCH& launch);

// Lays out one formation of the definition for a launch record that holds
// the clone's index, speed, angle, range, lifetime, size, offsets and
// direction; each position goes to the sink.
void RunFormation(cPlayScene& scene, cGameObj& shooter, const cEdShot& def, SHOTLAUNCH& launch,
                  cLaunchSink& sink);

// The volley of a shot command; the number of shots fired.
int32_t FireShotPattern(cPlayScene& scene, cGameObj& shooter, const cFlowState* pRun,
                        const cEdShot& def);
// One shot (or sword) built and put into the scene's lists, with its
// back-references; null when the shots in flight are at their bound.
cShotObj* FireOne(cPlayScene& scene, cGameObj& shooter, int32_t nKind, const cEdShot& def,
                  const SHOTLAUNCH& launch);
// A copy of the shot appended to the scene's shot list and to the list of
// its hit group; the copy in the list.
cShotObj& AddShot(cPlayScene& scene, const cShotObj& shot);
