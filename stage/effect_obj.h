#pragma once

#include <cstdint>

struct DDSURFACEDATA;

// An effect on the play screen. Its run and drawing come with the effect
// commands; until then the list of effects stays empty.
class cEffectObj {
 public:
  // 1 when it has ended.
  int Draw(DDSURFACEDATA* /*pTarget*/, int /*bStill*/) { return 1; }
  int32_t m_nEffect = 0;
};
