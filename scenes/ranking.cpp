#include "scenes/ranking.h"

#include <algorithm>
#include <cstring>

#include "base/global_order.h"
#include "base/paths.h"
#include "base/text_helpers.h"
#include "files/play_data.h"

GLOBAL_OBJECT(GLOBAL_RANKING) cRanking g_Ranking;

namespace {

// Files of this version or older knew fewer tables, and the last two of
// today's five rank higher values first.
constexpr uint32_t kOldTableVersion = 180;
constexpr int32_t kDefaultOrder[kRankingTables] = {1, 1, 0, 1, 1};
// The least a stored table or row can take: its field and string counts
// (and a table's row count).
constexpr size_t kMinTableBytes = 12;
constexpr size_t kMinRowBytes = 8;

// The first nChars characters of a text, never cutting a double-byte one.
std::string CutToChars(const std::string& str, int nChars) {
  size_t i = 0;
  for (int n = 0; n < nChars && i < str.size(); ++n) i += IsDBCSPair(str.c_str() + i) ? 2 : 1;
  return str.substr(0, i);
}

void SizeRows(cSafeVector<cRankData>& vRows) { vRows.resize(kRankingRows); }

}  // namespace

void cRankData::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_bValid);
  AddString(&m_strName);
  AddDword(&m_nValue);
}

cRankList::cRankList() : m_vRows(kRankingRows) {}

void cRankList::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_bHigherBetter);
}

void cRankList::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadRows(r);
}

void cRankList::ReadRows(cDataReader& r) {
  const uint32_t nCount = r.Count(kMinRowBytes);
  if (r.Failed()) return;
  cDataReader::cNest nest(r);
  if (!nest.Ok()) return;
  m_vRows.assign(nCount, cRankData());
  for (cRankData& row : m_vRows) {
    row.cRecord::Read(r);
    if (r.Failed()) return;
  }
}

void cRankList::Write(cDataWriter& w) {
  cRecord::Write(w);
  w.U32(static_cast<uint32_t>(m_vRows.size()));
  for (cRankData& row : m_vRows) row.cRecord::Write(w);
}

void cRankList::InitRows() {
  Clear();
  SizeRows(m_vRows);
}

int cRankList::GetRankPos(int32_t nValue) const {
  for (size_t i = 0; i < m_vRows.size(); ++i) {
    const cRankData& row = m_vRows[i];
    if (!row.m_bValid) return static_cast<int>(i);
    if (m_bHigherBetter ? nValue > row.m_nValue : nValue < row.m_nValue) return static_cast<int>(i);
  }
  return -1;
}

void cRankList::Insert(const std::string& strName, int32_t nValue) {
  const int nPos = GetRankPos(nValue);
  // A value that enters nowhere would be appended and drop out at once.
  if (nPos < 0) return;
  cRankData row;
  row.m_bValid = 1;
  // A name from a hand-edited option file may be any length: the table
  // keeps as much of it as the name box would have let through.
  row.m_strName = CutToChars(strName, kRankNameChars);
  row.m_nValue = nValue;
  m_vRows.insert(m_vRows.begin() + nPos, row);
  m_vRows.pop_back();
}

cRanking::cRanking() { SetDefault(); }

void cRanking::SetDefault() {
  Clear();
  m_vTables.assign(kRankingTables, cRankList());
  for (int i = 0; i < kRankingTables; ++i)
    m_vTables[static_cast<size_t>(i)].m_bHigherBetter = kDefaultOrder[i];
}

void cRanking::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  const uint32_t nCount = r.Count(kMinTableBytes);
  if (r.Failed()) return;
  cDataReader::cNest nest(r);
  if (!nest.Ok()) return;
  // Each table's rows are read in place of these, so the tables start bare.
  cRankList bare;
  bare.m_vRows.clear();
  m_vTables.assign(nCount, bare);
  for (cRankList& table : m_vTables) {
    table.Read(r);
    if (r.Failed()) return;
  }
  const bool bOld = static_cast<uint32_t>(r.FileVersion()) <= kOldTableVersion;
  // Whatever the file held, the play indexes five tables of twenty rows:
  // missing ones are added empty, extra ones cut.
  const size_t nStored = m_vTables.size();
  m_vTables.resize(kRankingTables);
  for (size_t i = 0; i < m_vTables.size(); ++i) {
    cRankList& table = m_vTables[i];
    if (i >= nStored) table.m_bHigherBetter = bOld ? 0 : kDefaultOrder[i];
    SizeRows(table.m_vRows);
  }
  if (bOld) {
    m_vTables[3].m_bHigherBetter = 1;
    m_vTables[4].m_bHigherBetter = 1;
  }
}

void cRanking::Write(cDataWriter& w) {
  cRecord::Write(w);
  w.U32(static_cast<uint32_t>(m_vTables.size()));
  for (cRankList& table : m_vTables) table.Write(w);
}

void cRanking::DrawList(DDSURFACEDATA* lpDstSD, int x, int y, int nTable, int nHighlight) {
  DrawRankList(m_vTables.At(nTable), lpDstSD, x, y, nTable, nHighlight);
}

int MakeRankingPath(std::string& strOut, int nSubMode, const std::string& strStageBase,
                    int32_t bSuffix, int32_t nSuffix1, int32_t nSuffix2) {
  strOut.clear();
  if (nSubMode < 0 || nSubMode > 2) return 0;
  std::string strName = strStageBase;
  StripDirectory(strName.data());
  strName.resize(std::strlen(strName.c_str()));
  // Story stages reached from several places of the map keep a ranking per
  // place.
  if (nSubMode == 0) AppendStageSuffix(strName, bSuffix, nSuffix1, nSuffix2);
  strOut = std::string(g_Paths[PATH_RANKING_STORY + nSubMode]) + strName + g_Exts[EXT_RANKING];
  return 1;
}

int LoadRanking(cRanking& ranking, int nSubMode, const std::string& strStageBase, int32_t bSuffix,
                int32_t nSuffix1, int32_t nSuffix2) {
  std::string strPath;
  if (MakeRankingPath(strPath, nSubMode, strStageBase, bSuffix, nSuffix1, nSuffix2)) {
    // Read into a copy: a file that breaks off half-way leaves nothing of
    // itself behind.
    cRanking loaded;
    if (loaded.Load(strPath)) {
      ranking = std::move(loaded);
      return 1;
    }
  }
  ranking.SetDefault();
  return 0;
}

int SaveRanking(cRanking& ranking, int nSubMode, const std::string& strStageBase, int32_t bSuffix,
                int32_t nSuffix1, int32_t nSuffix2) {
  std::string strPath;
  if (!MakeRankingPath(strPath, nSubMode, strStageBase, bSuffix, nSuffix1, nSuffix2)) return 0;
  return ranking.Save(strPath);
}

int CountIntValue(const cSafeVector<int32_t>& vecValues, int32_t nValue) {
  return static_cast<int>(std::count(vecValues.begin(), vecValues.end(), nValue));
}
