#include "database/effect_run.h"

#include <cmath>
#include <utility>

#include "base/safe_vector.h"
#include "base/trunc_int.h"
#include "database/database.h"
#include "database/post_load_tables.h"

namespace {

// Parameter slots (0-based): 0 the running time, 1 and 2 the start and end
// values; the screen's movement keeps a second coordinate in slots 3 and 4.
constexpr int kTime = 0;
constexpr int kStart = 1;
constexpr int kEnd = 2;

// Time-counting runs advance a sixth of a tenth of a second per frame.
constexpr double kTimeStep = 1.0 / 6.0;

// Kinds without a start and an end value run on time alone: their second
// parameter is an interval or an amplitude and must stay where it is.
bool CharaKindHasRange(int32_t nKind) {
  return nKind >= 1 && nKind <= 16 && nKind != 6 && nKind != 14;
}

bool ScrKindHasRange(int32_t nKind) {
  return nKind >= 1 && nKind <= 13 && nKind != 2 && nKind != 3 && nKind != 8;
}

// The precomputed values of an entry, shared by both run classes.
template <typename tRun>
void Precompute(tRun& run, const cEdEffectDef& def, bool bHasRange) {
  run.m_nStart = def.m_anParam[kStart];
  run.m_nEnd = def.m_anParam[kEnd];
  run.m_nDuration = def.m_anParam[kTime];
  run.m_dValue = run.m_nStart;
  run.m_dElapsed = 0;
  run.m_nCounter = 0;
  run.m_nWork1 = 0;
  run.m_nWork2 = 0;
  run.m_bTimed = def.m_nKind != 0 && (!bHasRange || run.m_nStart == run.m_nEnd);
  if (run.m_bTimed) {
    run.m_dStep = kTimeStep;
    return;
  }
  // In double: a definition of no time gives an endless step, and the run
  // is over at its first frame.
  const double dSpan = std::fabs(static_cast<double>(run.m_nEnd) - run.m_nStart);
  const double dFrames = static_cast<double>(run.m_nDuration) * 6;
  run.m_dStep = dFrames > 0 ? dSpan / dFrames : (dSpan > 0 ? HUGE_VAL : 0.0);
}

// The table entry of a number, or null (reported) when outside the table.
template <typename tRun>
const tRun* FindEntry(cSafeVector<tRun>& table, int32_t nEffect) {
  if (nEffect >= 0 && nEffect < static_cast<int32_t>(table.size())) return &table[nEffect];
  ReportBadIndex('V', nEffect, static_cast<int>(table.size()), static_cast<int>(sizeof(tRun)));
  return nullptr;
}

// Loads an entry, keeping the way of running.
template <typename tRun>
void LoadEntry(tRun& run, cSafeVector<tRun>& table, int32_t nEffect, int32_t bReversed) {
  const int32_t nMode = run.m_nMode;
  const int32_t bRepeat = run.m_bRepeat;
  // Number 0 is the none effect whatever the tables hold.
  if (nEffect == 0) {
    run = tRun{};
  } else if (const tRun* pEntry = FindEntry(table, nEffect)) {
    run = *pEntry;
  } else {
    run = tRun{};
  }
  run.m_nMode = nMode;
  run.m_bRepeat = bRepeat;
  run.m_bReversed = bReversed;
  run.m_nCounter = 0;
}

}  // namespace

void cCharaEffectRun::Build(int32_t nIndex, int32_t nVariant) {
  m_nEffect = nIndex;
  m_bReversed = nVariant == 1 ? 1 : 0;
  if (m_bReversed) {
    cEdCharaEffect& def = Database.m_vecCharaEffectAlt.At(nIndex);
    if (CharaKindHasRange(def.m_nKind)) std::swap(def.m_anParam[kStart], def.m_anParam[kEnd]);
  }
  const cEdCharaEffect& def = GetDef();
  Precompute(*this, def, CharaKindHasRange(def.m_nKind));
}

const cEdCharaEffect& cCharaEffectRun::GetDef() const {
  return m_bReversed ? Database.m_vecCharaEffectAlt.At(m_nEffect)
                     : Database.m_vecCharaEffect.At(m_nEffect);
}

void cCharaEffectRun::Load(int32_t nEffect, int32_t bReversed) {
  LoadEntry(*this, bReversed ? g_CharaEffectRunTableAlt : g_CharaEffectRunTable, nEffect,
            bReversed);
}

void cCharaEffectRun::Start(int32_t nEffect, int32_t nMode, int32_t bRepeat) {
  m_nMode = nMode;
  m_bRepeat = bRepeat;
  Load(nEffect, nMode == EFFECTRUN_REVERSED ? 1 : 0);
}

int cCharaEffectRun::Restart() {
  if (!m_bRepeat && !(m_nMode == EFFECTRUN_BOTH && !m_bReversed)) return 0;
  Load(m_nEffect, m_nMode == EFFECTRUN_BOTH ? !m_bReversed : m_bReversed);
  return 1;
}

int cCharaEffectRun::Step() {
  if (m_bTimed) {
    m_dElapsed += m_dStep;
    if (m_dElapsed <= m_nDuration) return 0;
  } else if (m_nEnd < m_nStart) {
    m_dValue -= m_dStep;
    if (m_dValue >= m_nEnd) return 0;
  } else {
    m_dValue += m_dStep;
    if (m_dValue <= m_nEnd) return 0;
  }
  return Restart() ? 0 : 1;
}

void cScrEffectRun::Build(int32_t nIndex, int32_t nVariant) {
  m_nEffect = nIndex;
  m_bReversed = nVariant == 1 ? 1 : 0;
  if (m_bReversed) {
    cEdScrEffect& def = Database.m_vecScrEffectAlt.At(nIndex);
    if (ScrKindHasRange(def.m_nKind)) {
      if (def.m_nKind == 1) {
        // Movement: the start point (slots 1, 2) and the end point (3, 4)
        // trade places, so the picture moves back from the end to the start.
        std::swap(def.m_anParam[1], def.m_anParam[3]);
        std::swap(def.m_anParam[2], def.m_anParam[4]);
      } else {
        std::swap(def.m_anParam[kStart], def.m_anParam[kEnd]);
      }
    }
  }
  const cEdScrEffect& def = GetDef();
  // The movement runs on time too: its handler places the picture by the
  // share of the duration gone.
  Precompute(*this, def, ScrKindHasRange(def.m_nKind) && def.m_nKind != 1);
  m_nWork3 = 0;
  m_nWork4 = 0;
  m_dWork = 0;
}

const cEdScrEffect& cScrEffectRun::GetDef() const {
  return m_bReversed ? Database.m_vecScrEffectAlt.At(m_nEffect)
                     : Database.m_vecScrEffect.At(m_nEffect);
}

void cScrEffectRun::Load(int32_t nEffect, int32_t bReversed) {
  LoadEntry(*this, bReversed ? g_ScrEffectRunTableAlt : g_ScrEffectRunTable, nEffect, bReversed);
}

void cScrEffectRun::Start(int32_t nEffect, int32_t nMode, int32_t bRepeat) {
  m_nMode = nMode;
  m_bRepeat = bRepeat;
  Load(nEffect, nMode == EFFECTRUN_REVERSED ? 1 : 0);
}

int cScrEffectRun::Restart() {
  if (!m_bRepeat && !(m_nMode == EFFECTRUN_BOTH && !m_bReversed)) return 0;
  Load(m_nEffect, m_nMode == EFFECTRUN_BOTH ? !m_bReversed : m_bReversed);
  return 1;
}

int cScrEffectRun::Step(int32_t a, int32_t b, double s) {
  if (m_bTimed) {
    m_dElapsed += m_dStep;
    if (m_dElapsed <= m_nDuration) return 0;
  } else if (b < a) {
    m_dValue -= s;
    if (TruncI32(m_dValue) >= b) return 0;
  } else {
    m_dValue += s;
    if (b >= TruncI32(m_dValue)) return 0;
  }
  return Restart() ? 0 : 1;
}
