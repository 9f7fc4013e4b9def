#include "palette/common_palette.h"

#include "base/global_order.h"
#include "base/logs.h"
#include "base/paths.h"

GLOBAL_OBJECT(GLOBAL_COMMON_PALETTE) cCommonPalette CommonPalette;

cCommonPalette::cCommonPalette() {
  Clear();
  m_vecBlock.assign(1, cEdBlock());
  m_vecChara.assign(1, cEdChara());
  m_vecItem.assign(1, cEdItem());
}

void cCommonPalette::RegisterFields(int32_t /*nVersion*/) { ClearFields(); }

void cCommonPalette::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  // In place: an entry whose parent is an earlier entry of the same list
  // finds it already read while the list is being read.
  ReadRecordVector(m_vecBlock, r, cEdBlock());
  if (r.Failed()) return;
  ReadRecordVector(m_vecChara, r, cEdChara());
  if (r.Failed()) return;
  ReadRecordVector(m_vecItem, r, cEdItem());
  if (r.Failed()) return;

  // Entry 0 means "none" wherever an index names an entry: whatever the file
  // holds there, it is the default entry (its lists kept as read).
  if (!m_vecBlock.empty()) m_vecBlock[0].Reset();
  if (!m_vecChara.empty()) m_vecChara[0].Reset();
  if (!m_vecItem.empty()) m_vecItem[0].Reset();

  // Common entries took what they inherit while being read; from now on
  // they hold plain values and never inherit again.
  for (cEdBlock& e : m_vecBlock) e.m_vecInherit.Fill(0);
  for (cEdChara& e : m_vecChara) e.m_vecInherit.Fill(0);
  for (cEdItem& e : m_vecItem) e.m_vecInherit.Fill(0);

  Normalize();
}

int cCommonPalette::Normalize() {
  if (m_vecBlock.size() < 2) m_vecBlock.resize(2, cEdBlock());
  if (m_vecChara.size() < 2) m_vecChara.resize(2, cEdChara());
  if (m_vecItem.size() < 2) m_vecItem.resize(2, cEdItem());
  for (cEdBlock& e : m_vecBlock) {
    e.Validate();
    e.ValidateItem();
  }
  for (cEdChara& e : m_vecChara) {
    e.Validate();
    e.ValidateFlows();
  }
  for (cEdItem& e : m_vecItem) {
    e.Validate();
    e.ValidateCommands();
  }
  return static_cast<int>(m_vecItem.size());
}

void cCommonPalette::Write(cDataWriter& w) {
  Normalize();
  cRecord::Write(w);
  WriteRecordVector(m_vecBlock, w);
  WriteRecordVector(m_vecChara, w);
  WriteRecordVector(m_vecItem, w);
}

int LoadCommonPalette(const std::string& strPath) {
  if (CommonPalette.Load(strPath)) return 1;
  ReportFError("%s のロードに失敗！", strPath.c_str());
  return 0;
}

bool LoadCommonPaletteAtStartUp() { return LoadCommonPalette(g_Paths[PATH_COMMON_PALETTE]) != 0; }
