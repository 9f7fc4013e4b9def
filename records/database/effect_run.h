// Run entries of character and screen effects: one per definition and
// direction. Variant 0 runs a definition from its start value to its end
// value; variant 1 runs it back, from a copy of the definition whose start
// and end are exchanged. An entry names its definition by index and variant
// and finds it in the database when asked, so the tables can grow and be
// copied freely.
#pragma once

#include <cstdint>

#include "records/database/effect_defs.h"

class cCharaEffectRun {
 public:
  int32_t m_nEffect = 0;    // definition index
  int32_t m_bReversed = 0;  // variant: 1 = from the exchanged copy

  // Prepares the entry for definition i; for variant 1 it first exchanges
  // the start and end values inside the copy (once per entry: a second
  // exchange would turn the copy back).
  void Build(int32_t nIndex, int32_t nVariant);
  const cEdCharaEffect& GetDef() const;
};

class cScrEffectRun {
 public:
  int32_t m_nEffect = 0;
  int32_t m_bReversed = 0;

  void Build(int32_t nIndex, int32_t nVariant);
  const cEdScrEffect& GetDef() const;
};
