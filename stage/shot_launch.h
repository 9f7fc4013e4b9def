// The launch record of one shot of a volley: what the volley works out for
// clone i (speed, angle, range, lifetime), completed by the formation with
// the shot's start position and velocity, and read by the shot's set-up.
// The summon commands lay out what they place with the same record.
#pragma once

#include <cstdint>

struct SHOTLAUNCH {
  int32_t nIndex = 0;    // clone index, 0 for the first volley
  double dSpeed = 0;     // pixels per frame
  int32_t nAngle = 0;    // degrees added to the base angle
  int32_t nRange = 0;    // hbl
  int32_t nLife = 0;     // tenths of a second
  double dVX = 0;        // pixels per frame
  double dVY = 0;
  int32_t nX = 0;        // start position, stage pixels, top-left
  int32_t nY = 0;
  int32_t nRowX = 0;     // the row the formation is laying out
  int32_t nRowY = 0;
  int32_t nStepX = 0;    // between neighbouring shots of a row
  int32_t nStepY = 0;
  int32_t nColStepX = 0; // between neighbouring columns (lightning)
  int32_t nColStepY = 0;
  int32_t nWidth = 0;    // shot size (summons: the placed object's)
  int32_t nHeight = 0;
  int32_t nOffX = 0;     // start offset of this clone
  int32_t nOffY = 0;
  int32_t nDirection = 0;  // direction code
};
