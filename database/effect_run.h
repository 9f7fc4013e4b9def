// Runs of character and screen effects. The tables hold one entry per
// definition and direction, prepared once at start-up; a character or the
// play scene copies an entry when it starts an effect and steps its copy
// once per advancing frame. Variant 0 runs a definition from its start value
// to its end value; variant 1 runs it back, from a copy of the definition
// whose start and end are exchanged. An entry names its definition by index
// and variant and finds it in the database when asked, so the tables can
// grow and be copied freely.
#pragma once

#include <cstdint>

#include "database/effect_defs.h"

// Ways of running an effect.
enum : int32_t {
  EFFECTRUN_NORMAL = 0,    // start to end once
  EFFECTRUN_REVERSED = 1,  // end to start once
  EFFECTRUN_BOTH = 2,      // start to end, then back
};

class cCharaEffectRun {
 public:
  int32_t m_nEffect = 0;    // definition index
  int32_t m_bReversed = 0;  // variant: 1 = from the exchanged copy
  int32_t m_nMode = EFFECTRUN_NORMAL;
  int32_t m_bRepeat = 0;
  int32_t m_nCounter = 0;  // work counter, 0 at start
  int32_t m_nStart = 0;
  int32_t m_nEnd = 0;
  double m_dValue = 0;  // current value
  double m_dStep = 0;   // per frame
  double m_dElapsed = 0;
  int32_t m_nDuration = 0;  // tenths of a second
  int32_t m_nWork1 = 0;     // the handlers' work values
  int32_t m_nWork2 = 0;
  // The run counts time (1/6 per frame up to the duration) instead of
  // moving a value.
  int32_t m_bTimed = 0;

  // Prepares the entry for definition i; for variant 1 it first exchanges
  // the start and end values inside the copy (once per entry: a second
  // exchange would turn the copy back).
  void Build(int32_t nIndex, int32_t nVariant);
  const cEdCharaEffect& GetDef() const;

  // Loads entry nEffect of the table of the mode's first direction. A number
  // outside the tables is reported and starts the none effect.
  void Start(int32_t nEffect, int32_t nMode, int32_t bRepeat);
  // One advancing frame: 1 when the run is over.
  int Step();

 private:
  void Load(int32_t nEffect, int32_t bReversed);
  // At an end: 1 to go on from a fresh entry, 0 when the run is over.
  int Restart();
};

class cScrEffectRun {
 public:
  int32_t m_nEffect = 0;
  int32_t m_bReversed = 0;
  int32_t m_nMode = EFFECTRUN_NORMAL;
  int32_t m_bRepeat = 0;
  int32_t m_nCounter = 0;
  int32_t m_nStart = 0;
  int32_t m_nEnd = 0;
  double m_dValue = 0;
  double m_dStep = 0;
  double m_dElapsed = 0;
  int32_t m_nDuration = 0;
  int32_t m_nWork1 = 0;
  int32_t m_nWork2 = 0;
  int32_t m_bTimed = 0;
  // Further words the screen handlers keep between frames.
  int32_t m_nWork3 = 0;
  int32_t m_nWork4 = 0;
  double m_dWork = 0;

  void Build(int32_t nIndex, int32_t nVariant);
  const cEdScrEffect& GetDef() const;

  void Start(int32_t nEffect, int32_t nMode, int32_t bRepeat);
  // One advancing frame with the values the handler runs between: from a to
  // b by s. 1 when the run is over.
  int Step(int32_t a, int32_t b, double s);

 private:
  void Load(int32_t nEffect, int32_t bReversed);
  int Restart();
};
