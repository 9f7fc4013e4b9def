#include "database/sword_effect.h"

#include "database/extra_value.h"

const char* const SwordPlaceLabels[5] = {"前", "後", "上", "下", ""};

cEdSwordFrame::cEdSwordFrame() {
  Clear();
  m_bFlipX = 1;
}

void cEdSwordFrame::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddDword(&m_nOffsetX, 1);
  AddDword(&m_nOffsetY, 1);
  if (nVersion >= 138) {
    AddDword(&m_bFlipX, 1);
    AddDword(&m_bFlipY, 1);
  }
  AddDword(&m_nPlace, 1);
  AddDword(&m_nSrcX, 1);
  AddDword(&m_nSrcY, 1);
  AddDword(&m_nWidth, 1);
  AddDword(&m_nHeight, 1);
  AddDword(&m_nTime, 1);
}

cEdSwordType::cEdSwordType() { Reset(); }

void cEdSwordType::Reset() {
  Clear();
  cEdSwordFrame frame;
  frame.m_nTime = 1;
  m_vecFrame.assign(1, frame);
}

void cEdSwordType::RegisterFields(int32_t nVersion) {
  ClearFields();
  if (nVersion >= 151) AddDword(&m_nExtra, 1);
  AddString(&m_strName, 1);
  AddString(&m_strFileRight, 1);
  AddString(&m_strFileLeft, 1);
}

void cEdSwordType::Read(cDataReader& r) {
  cRecord::Read(r);
  // Frames of files before 138 keep the flips of a fresh frame (1, 0).
  ReadRecordVector(m_vecFrame, r, cEdSwordFrame());
  RepairExtraValue(r.FileVersion(), m_nExtra);
}

void cEdSwordType::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteRecordVector(m_vecFrame, w);
}

cEdEffectFrame::cEdEffectFrame() {
  Clear();
  m_nTime = 1;
}

void cEdEffectFrame::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_nCell, 1);
  AddDword(&m_nTime, 1);
}

cEdEffect::cEdEffect() { Reset(); }

void cEdEffect::Reset() {
  Clear();
  m_nCellW = 32;
  m_nCellH = 32;
  m_bScale = 0;
  m_vecFrame.assign(1, cEdEffectFrame());
}

void cEdEffect::RegisterFields(int32_t nVersion) {
  ClearFields();
  if (nVersion >= 151) AddDword(&m_nExtra, 1);
  AddDword(&m_nCellW, 1);
  AddDword(&m_nCellH, 1);
  AddDword(&m_bScale, 1);
  AddString(&m_strName, 1);
  AddString(&m_strFile, 1);
}

void cEdEffect::Read(cDataReader& r) {
  cRecord::Read(r);
  ReadRecordVector(m_vecFrame, r, cEdEffectFrame());
  RepairExtraValue(r.FileVersion(), m_nExtra);
}

void cEdEffect::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteRecordVector(m_vecFrame, w);
}
