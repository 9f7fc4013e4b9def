// A shot or a sword swing: a stage object with its own copy of its shot
// definition, fired by a character's shot or sword command. It lives in the
// play scene's shot list and in the list of its hit group; the hit passes
// test it against characters and other shots. What it does when it hits is
// read from its definition copy: power, impact, strength ("消滅値") and
// breakable flag, the passes-blocks, passes-characters and passes-block-
// characters flags, the carried item and the shooter-credit flag with its
// key (also kept in m_nCredit and m_cKey).
#pragma once

#include <cstdint>
#include <list>

#include "flow/ed_shot.h"
#include "stage/game_obj.h"
#include "stage/obj_root.h"
#include "stage/shot_launch.h"

class cGameObj;
class cPlayScene;
struct DDSURFACEDATA;

// The command kinds that make a shot object.
constexpr int32_t SHOTKIND_SHOT = 11;
constexpr int32_t SHOTKIND_SWORD = 12;

class cShotObj : public cObjRoot {
 public:
  cShotObj();
  cShotObj(const cShotObj& src);
  cShotObj& operator=(const cShotObj& src);
  ~cShotObj() override;

  // Slots 3 to 6 of the root.
  void ScaleHitBoxes(int32_t nScale) override;
  void OnSizeChange(int32_t nNew, int32_t nOld) override;
  void UpdateHitRectX() override;
  void UpdateHitRectY() override;

  // Set-up from the shooter, the command kind (shot or sword), the
  // definition and the launch record.
  void Init(int32_t nId, cGameObj& shooter, int32_t nKind, const cEdShot& def,
            const SHOTLAUNCH& launch);
  // One update step; 1 when the shot is to be removed.
  int Step(cPlayScene& scene);
  int SwordStep(cPlayScene& scene);
  // One step of motion on each axis.
  int MoveX();
  int MoveY();
  // 1 when the shot touches a block that stops it.
  int HitsBlock(cPlayScene& scene);
  void Draw(DDSURFACEDATA* pTarget, int bStill);
  // The target and the shooter forget this shot; both links cleared.
  void ReleaseRefs();

  // Centre of the drawing rectangle on the screen (integer halving).
  double CentreX() const;
  double CentreY() const;
  int32_t GetScale() const { return m_Def.m_cScale; }
  bool IsFlying() const { return m_nFlying != 0; }

  int32_t m_nOwnerId = 0;     // m_nId of the firing character
  int32_t m_nIsShot = 1;      // 0 a sword swing
  int32_t m_nRangeSteps = 0;  // update steps left before the range ends
  int32_t m_nLifeSteps = 0;   // update steps of life left
  // Wave start flag; a sword's steps spent in its current frame.
  int32_t m_nSubStep = 0;
  // Steps run by the movement kind; a sword's current frame.
  int32_t m_nMoveCount = 0;
  double m_dAccel = 0;      // acceleration per step
  double m_dMoveSpeed = 0;  // speed per step of the aiming and homing kinds
  double m_dBaseVX = 0;     // the shot's own speed per step
  double m_dBaseVY = 0;
  int32_t m_nAccelerating = 0;
  int32_t m_nTurnStep = 0;  // step at which aiming, homing or falling begins
  int32_t m_nEndStep = 0;   // step at which homing ends
  int32_t m_nMoveDone = 0;  // the movement kind has done its work
  // The wave: its phase (degrees), its axis across the base velocity
  // (radians), its amplitude in pixels, and a word kept for it.
  double m_dWavePhase = 0;
  double m_dWaveAxis = 0;
  double m_dWaveAmplitude = 0;
  double m_dWaveWork = 0;
  HITBOX m_HitBox;
  std::list<int32_t> m_lstHit;  // m_nId of each character already hit
  cEdShot m_Def;
  cGameObj* m_pTarget = nullptr;   // the target slot chosen by the definition
  cGameObj* m_pShooter = nullptr;  // the firing character
  int32_t m_nDead = 0;             // out of play; the hit passes erase it
  int32_t m_nCredit = 0;           // hits count for the shooter
  int8_t m_cKey = 0;               // the flow key passed with that credit
};
