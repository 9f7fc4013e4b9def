#include "palette/palette_entry.h"

void cPaletteEntry::ReadHeadTail(cDataReader& r, int32_t* pCarriedItem) {
  m_sColumn = r.I16();
  m_sRow = r.I16();
  if (pCarriedItem) *pCarriedItem = r.I32();
  const uint32_t nFlags = r.Count(1);
  if (r.Failed()) return;
  m_vecInherit.resize(nFlags, 0);
  r.ReadBytes(m_vecInherit.data(), nFlags);
  if (r.Failed()) return;
  ReadConditionVector(m_vecConds, r);
}

void cPaletteEntry::WriteHeadTail(cDataWriter& w, const int32_t* pCarriedItem) {
  w.I16(m_sColumn);
  w.I16(m_sRow);
  if (pCarriedItem) w.I32(*pCarriedItem);
  w.U32(static_cast<uint32_t>(m_vecInherit.size()));
  w.Bytes(m_vecInherit.data(), m_vecInherit.size());
  WriteRecordVector(m_vecConds, w);
}

void cPaletteEntry::ResetInheritFlags(int nGroups) { m_vecInherit.assign(nGroups, 0); }

void cPaletteEntry::ValidateParent(uint32_t nListSize) {
  if ((m_cInheritSrc == INHERIT_COMMON || m_cInheritSrc == INHERIT_STAGE) &&
      static_cast<uint32_t>(static_cast<int32_t>(m_sParent)) >= nListSize) {
    m_cInheritSrc = INHERIT_NONE;
    m_sParent = 0;
  }
}

int16_t cPaletteEntry::ShotSheetIndexPlusOne(int16_t sIndex) {
  const int32_t n = static_cast<int32_t>(sIndex) + 1;
  return static_cast<int16_t>(n > 119 ? 119 : n);
}
