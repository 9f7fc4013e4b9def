#include "database/media_entries.h"

#include "database/extra_value.h"

cEdPicture::cEdPicture() { Clear(); }

void cEdPicture::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddString(&m_strName, 1);
  if (nVersion >= 151) AddDword(&m_nExtra, 1);
  AddString(&m_strFile, 1);
}

void cEdPicture::Read(cDataReader& r) {
  cRecord::Read(r);
  RepairExtraValue(r.FileVersion(), m_nExtra);
}

cEdSound::cEdSound() { Clear(); }

void cEdSound::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddString(&m_strName, 1);
  AddString(&m_strFile, 1);
  if (nVersion >= 151) AddDword(&m_nExtra, 1);
}

void cEdSound::Read(cDataReader& r) {
  cRecord::Read(r);
  RepairExtraValue(r.FileVersion(), m_nExtra);
}

cEdBmpCharaExc::cEdBmpCharaExc() {
  Clear();
  m_bWideFrame = 0;
  m_nFrameUnits = 2;
}

void cEdBmpCharaExc::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddString(&m_strName, 1);
  if (nVersion >= 152) AddDword(&m_nExtra, 1);
  AddString(&m_strFile, 1);
  if (nVersion >= 172) {
    AddDword(&m_bWideFrame, 1);
    AddDword(&m_nFrameUnits, 1);
  }
}
