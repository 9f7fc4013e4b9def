// An effect on the play screen: an animation strip of the database's effect
// list drawn at a stage position until its frames run out. The effect
// command starts one at a place; a hit starts one between the two boxes
// that met, jittered.
#pragma once

#include <cstdint>

#include "stage/anim_player.h"

struct DDSURFACEDATA;
struct RECTD;

class cEffectObj {
 public:
  // A number whose bit 15 is set, or whose low 16 bits lie outside the
  // effect list, is reported and the effect ends at its first drawing.
  void Init(int32_t nEffect, double x, double y, int32_t nWidth, int32_t nHeight,
            int32_t bRunWhenStill);
  // Centred on the overlap of the boxes (on (0, 0) when they do not meet),
  // enlarged by the scale when the entry is scalable, moved by a random
  // jitter of up to 4 pixels (times the scale) on each axis.
  void InitScaled(int32_t nEffect, const RECTD& a, const RECTD& b, int32_t nScale);
  // The animation of the entry's frame table.
  void BuildFrames(int32_t nEffect);
  // Draws the current frame, advancing it unless still (or when it runs in
  // still frames too). 1 when the effect has ended.
  int Draw(DDSURFACEDATA* pTarget, int bStill);

  int32_t m_nEffect = 0;  // index in the effect list; -1 none (ends at once)
  double m_dX = 0;        // stage pixels, top left
  double m_dY = 0;
  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_bScaled = 0;  // drawn stretched to the size
  cAnimPlayer m_Anim;
  int32_t m_bRunWhenStill = 0;

 private:
  // The list index of a number, or -1 (reported) when it names none.
  static int32_t Validate(int32_t nEffect);
};
