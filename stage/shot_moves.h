// The ten movement kinds of a shot, run once per update step before the
// shot adds its own speed: flying straight, aiming once at the player, the
// nearest character or the target, homing on one of them, a wave across
// the flight, and falling.
#pragma once

class cGameObj;
class cPlayScene;
class cShotObj;

// Shot movement kinds.
enum : int {
  SHOTMOVE_STRAIGHT = 0,
  SHOTMOVE_AIM_PLAYER = 1,
  SHOTMOVE_AIM_NEAREST = 2,
  SHOTMOVE_AIM_TARGET = 3,
  SHOTMOVE_HOME_PLAYER = 4,
  SHOTMOVE_HOME_NEAREST = 5,
  SHOTMOVE_HOME_TARGET = 6,
  SHOTMOVE_HOME_NEAREST_ANEW = 7,
  SHOTMOVE_WAVE = 8,
  SHOTMOVE_FALL = 9,
};

void RunMoveKind(cShotObj& shot, cPlayScene& scene);
// Re-aims the shot at a character's centre at its movement speed.
void HomingSteer(cShotObj& shot, const cGameObj& chara, const cPlayScene& scene);
// The shot's acceleration split along a velocity into its push speeds.
void SplitAccel(cShotObj& shot, double vx, double vy);
// The velocity of the shot's movement speed from its centre toward a
// character's centre (both on the screen), compensated for the auto
// scroll when the shot moves with it.
void VelocityToward(const cShotObj& shot, const cGameObj& chara, const cPlayScene& scene,
                    double& vx, double& vy);
