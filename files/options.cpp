#include "files/options.h"

#include <algorithm>

#include "base/global_order.h"
#include "base/paths.h"

GLOBAL_OBJECT(GLOBAL_OPTION) cOptionData g_Option;

cOptionData::cOptionData() {
  Clear();
  m_bMusic = 1;
  m_nVolume = 7;
  m_strName = "aaa";
}

void cOptionData::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_nPalette, 1);
  AddDword(&m_bMusic, 1);
  AddDword(&m_nVolume, 1);
  AddDword(&m_nRankMode, 1);
  AddString(&m_strName, 1);
}

void cOptionData::Read(cDataReader& r) {
  cRecord::Read(r);
  ClampValues();
}

void cOptionData::ClampValues() {
  m_nPalette = std::clamp(m_nPalette, 0, 23);
  m_bMusic = std::clamp(m_bMusic, 0, 1);
  m_nVolume = std::clamp(m_nVolume, 0, 10);
  m_nRankMode = std::clamp(m_nRankMode, 0, 3);
}

void LoadOptionsAtStart() { LoadWhole(g_Option, g_Paths[PATH_OPTION_DAT]); }
