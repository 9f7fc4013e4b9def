#pragma once

#include <cstdint>

// An effect on the play screen. Its run and drawing come with the effect
// commands; until then the list of effects stays empty.
class cEffectObj {
 public:
  int32_t m_nEffect = 0;
};
