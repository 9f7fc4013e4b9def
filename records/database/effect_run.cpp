#include "records/database/effect_run.h"

#include <utility>

#include "records/database/database.h"

namespace {

// Parameter slots (0-based): 0 the running time, 1 and 2 the start and end
// values; the screen's movement keeps a second coordinate in slots 3 and 4.
constexpr int kStart = 1;
constexpr int kEnd = 2;

// Kinds without a start and an end value run on time alone: their second
// parameter is an interval or an amplitude and must stay where it is.
bool CharaKindHasRange(int32_t nKind) {
  return nKind >= 1 && nKind <= 16 && nKind != 6 && nKind != 14;
}

bool ScrKindHasRange(int32_t nKind) {
  return nKind >= 1 && nKind <= 13 && nKind != 2 && nKind != 3 && nKind != 8;
}

}  // namespace

void cCharaEffectRun::Build(int32_t nIndex, int32_t nVariant) {
  m_nEffect = nIndex;
  m_bReversed = nVariant == 1 ? 1 : 0;
  if (!m_bReversed) return;
  cEdCharaEffect& def = Database.m_vecCharaEffectAlt.At(nIndex);
  if (CharaKindHasRange(def.m_nKind)) std::swap(def.m_anParam[kStart], def.m_anParam[kEnd]);
}

const cEdCharaEffect& cCharaEffectRun::GetDef() const {
  return m_bReversed ? Database.m_vecCharaEffectAlt.At(m_nEffect)
                     : Database.m_vecCharaEffect.At(m_nEffect);
}

void cScrEffectRun::Build(int32_t nIndex, int32_t nVariant) {
  m_nEffect = nIndex;
  m_bReversed = nVariant == 1 ? 1 : 0;
  if (!m_bReversed) return;
  cEdScrEffect& def = Database.m_vecScrEffectAlt.At(nIndex);
  if (!ScrKindHasRange(def.m_nKind)) return;
  if (def.m_nKind == 1) {
    // Movement: the start point (slots 1, 2) and the end point (3, 4) trade
    // places, so the picture moves back from the end to the start.
    std::swap(def.m_anParam[1], def.m_anParam[3]);
    std::swap(def.m_anParam[2], def.m_anParam[4]);
  } else {
    std::swap(def.m_anParam[kStart], def.m_anParam[kEnd]);
  }
}

const cEdScrEffect& cScrEffectRun::GetDef() const {
  return m_bReversed ? Database.m_vecScrEffectAlt.At(m_nEffect)
                     : Database.m_vecScrEffect.At(m_nEffect);
}
