// The movement part of a movement command: how the character moves (by a
// direction or towards a destination), how fast, how far and for how long.
// Angles are degrees; speeds tenths of a dot per frame; "per copy" values are
// multiplied by the character's copy number (0 for the first of a placement).
#pragma once

#include <cstdint>

#include "records/record.h"

class cEdMove : public cRecord {
 public:
  cEdMove();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  // Write is the base body: this part has no tail and nothing to check.

  int8_t m_cMode = 0;          // 0 by direction, 1 to a destination
  int8_t m_cDirection = 0;     // direction code
  int16_t m_sAngle = 0;        // "角度"
  int16_t m_sAngleInc = 0;     // "分身値による増加角度"
  int8_t m_cMirrorAngle = 1;   // 360 - angle for facing direction 1
  int8_t m_cUseX = 1;          // destination mode: move along x
  int8_t m_cUseY = 1;          // destination mode: move along y
  int16_t m_sTargetXBl = 0;    // "目標X(bl)", 32-dot blocks
  int16_t m_sTargetYBl = 0;    // "目標Y(bl)"
  int16_t m_sTargetXDot = 0;   // "目標X(dot)"
  int16_t m_sTargetYDot = 0;   // "目標Y(dot)"
  int8_t m_cCoordKind = 0;     // coordinate system of the destination, 0..3
  int8_t m_cTimeFromDist = 1;  // the time is what the distance needs at the speed
  int8_t m_cFreezeX = 0;       // horizontal speed held at 0
  int8_t m_cFreezeY = 0;       // vertical speed held at 0
  int8_t m_cMirrorX = 1;       // destination x negated for facing direction 1
  int8_t m_cMirrorY = 0;       // destination y negated for facing direction 1
  int8_t m_cReverseWithFacing = 1;
  int8_t m_cStopAtTarget = 0;
  int8_t m_cKeepFacing = 0;  // 0: the character turns to where it moves
  int8_t m_cTimingMode = 0;  // time+speed, time+distance, speed+distance
  int16_t m_sSpeed = 10;
  int16_t m_sSpeedInc = 0;
  int16_t m_sDistance = 0;
  int16_t m_sDistanceInc = 0;
  int8_t m_cDistUnit = 0;  // 0 hbl (16 dots), 1 dots
  int16_t m_sTime = 0;     // frames; the homing command's sluggishness
  int16_t m_sTimeInc = 0;
  int8_t m_cInertia = 0;     // add to the inertial speed instead of moving
  int16_t m_sSpeedCap = 0;   // limit of the inertial speed
  double m_dReversal = 1.0;  // factor while the push opposes the inertia
  int8_t m_cOwnAnime = 0;    // 0: switch to the moving animation
  int8_t m_cTargetSlot = 0;  // slot the homing movement follows

 private:
  void SetDefaults();
};
