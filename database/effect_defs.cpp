#include "database/effect_defs.h"

namespace {

// Files up to this version did not keep the roughness of the wave and circle
// kinds; it is set to its default however the file filled it.
constexpr int32_t kLastVersionWithoutRoughness = 510;

// Parameter slots (0-based): the roughness of the wave kinds is the fifth
// parameter, that of the circle kind the fourth.
constexpr int kWaveRoughness = 4;
constexpr int kCircleRoughness = 3;

}  // namespace

cEdEffectDef::cEdEffectDef() {
  Clear();
  m_nKind = 1;
}

void cEdEffectDef::RegisterFields(int32_t) {
  ClearFields();
  AddString(&m_strName, 1);
  AddDword(&m_nKind, 1);
  AddDword(m_anParam, kEffectParamCount);
}

void cEdCharaEffect::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.FileVersion() > kLastVersionWithoutRoughness) return;
  switch (m_nKind) {
    case 4:  // waves, horizontal and vertical
    case 5:
      m_anParam[kWaveRoughness] = 2;
      break;
    case 10:  // circle
      m_anParam[kCircleRoughness] = 2;
      break;
  }
}

void cEdScrEffect::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.FileVersion() > kLastVersionWithoutRoughness) return;
  switch (m_nKind) {
    case 6:  // horizontal wave
      m_anParam[kWaveRoughness] = 8;
      break;
    case 7:  // vertical wave
      m_anParam[kWaveRoughness] = 10;
      break;
    case 10:  // circle
      m_anParam[kCircleRoughness] = 8;
      break;
  }
}
