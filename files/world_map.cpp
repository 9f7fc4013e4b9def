#include "files/world_map.h"

#include <algorithm>
#include <cstdlib>

#include "base/global_order.h"
#include "base/logs.h"
#include "base/paths.h"
#include "base/text_helpers.h"
#include "files/play_data.h"

GLOBAL_OBJECT(GLOBAL_WORLD_MAP) cWorldMap g_WorldMap;

namespace {

// A grid larger than this is no map an editor makes: such a file is refused
// rather than building cells it does not hold.
constexpr int64_t kMaxWorldCells = int64_t{1} << 22;

// How many times w - 1 can be halved before it reaches 0: the shift whose
// power of two is the smallest at or above w.
int32_t ShiftForWidth(int32_t w) {
  int32_t nShift = 0;
  for (int32_t n = w - 1; n > 0; n /= 2) ++nShift;
  return nShift;
}

// Cells of the old layout copied into a new one, row by row, as far as both
// hold them.
void CopyCells(const cSafeVector<int32_t>& vOld, int32_t nOldW, int32_t nOldH, int32_t nOldShift,
               cSafeVector<int32_t>& vNew, int32_t nNewW, int32_t nNewH, int32_t nNewShift) {
  const int32_t nRows = std::min(nOldH, nNewH);
  const int32_t nCols = std::min(nOldW, nNewW);
  for (int32_t y = 0; y < nRows; ++y) {
    for (int32_t x = 0; x < nCols; ++x) {
      const int64_t nFrom = x + (int64_t{y} << nOldShift);
      const int64_t nTo = x + (int64_t{y} << nNewShift);
      if (nFrom < static_cast<int64_t>(vOld.size()) && nTo < static_cast<int64_t>(vNew.size()))
        vNew[nTo] = vOld[nFrom];
    }
  }
}

}  // namespace

bool CompareMapValue(int32_t nKind, int32_t v, int32_t c) {
  // In 64 bits: the magnitude of the smallest integer and a divisor of -1
  // stay defined.
  const int64_t nAbs = std::llabs(static_cast<int64_t>(v));
  switch (nKind) {
    case 0:
      return v == c;
    case 1:
      return v != c;
    case 2:
      return v >= c;
    case 3:
      return v <= c;
    case 4:
      return v > c;
    case 5:
      return v < c;
    case 6:
      return c == 0 || nAbs % c == 0;
    case 7:
      return c != 0 && nAbs % c != 0;
    default:
      return false;
  }
}

std::string MapEntryBaseName(const std::string& strStageFile) {
  std::string str = strStageFile;
  RemoveExtensionStr(str);
  const size_t nAt = str.rfind("-1");
  if (nAt != std::string::npos) str.resize(nAt);
  str += '.';
  return str;
}

// --- cWorldTerrain ----------------------------------------------------------

void cWorldTerrain::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_nKept);
  AddDword(&m_bBlocked);
  AddDword(&m_nTile);
  AddString(&m_strKept);
  AddString(&m_strName);
}

// --- cWorldStage ------------------------------------------------------------

void cWorldStage::RegisterFields(int32_t v) {
  ClearFields();
  AddDword(&m_nKind);
  AddDword(&m_nIconRow);
  AddDword(&m_nStageNo);
  AddDword(&m_bPass);
  AddDword(&m_bReplay);
  AddDword(&m_nAfter);
  AddDword(&m_nRequired);
  AddDword(&m_nVariable);
  AddDword(&m_nCompareValue);
  AddDword(&m_nCompare);
  if (v >= 209) AddDword(&m_nMinScore);
  if (v >= 758) {
    AddDword(&m_bSuffix);
    AddDword(&m_nSuffix1);
    AddDword(&m_nSuffix2);
  }
  AddString(&m_strTitle);
  AddString(&m_strStageFile);
}

bool cWorldStage::Applies(const cPlayData& play) const {
  // A stage or variable number past the play's lists (a damaged map) is a
  // condition that does not hold, not a reason to end the game.
  if (m_nRequired > 0 && (m_nRequired >= static_cast<int32_t>(play.m_vCleared.size()) ||
                          play.m_vCleared[m_nRequired] == 0))
    return false;
  if (m_nVariable != 0 &&
      (m_nVariable < 0 || m_nVariable >= static_cast<int32_t>(play.m_vVars.size()) ||
       !CompareMapValue(m_nCompare, play.m_vVars[m_nVariable], m_nCompareValue)))
    return false;
  return play.m_nBestTotal >= m_nMinScore;
}

// --- cWorldPoint ------------------------------------------------------------

void cWorldPoint::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_nX);
  AddDword(&m_nY);
  AddString(&m_strName);
}

void cWorldPoint::Reset() {
  Clear();
  m_vecStages.assign(1, cWorldStage());
}

void cWorldPoint::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadRecordVector(m_vecStages, r, cWorldStage());
}

void cWorldPoint::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteRecordVector(m_vecStages, w);
}

const cWorldStage* cWorldPoint::FindCurrentEntry(const cPlayData& play) const {
  for (const cWorldStage& e : m_vecStages) {
    if (e.Applies(play)) return &e;
  }
  return nullptr;
}

// --- cWorldMap ----------------------------------------------------------------

cWorldMap::cWorldMap() { SetDefault(); }

void cWorldMap::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_nWidth);
  AddDword(&m_nHeight);
  AddDword(&m_nPitch);
  AddDword(&m_nShift);
  AddDword(&m_nStartX);
  AddDword(&m_nStartY);
  AddDword(&m_nBackColour);
  AddDword(&m_bPicture);
  AddString(&m_strName);
  AddString(&m_strPicture);
}

void cWorldMap::SetDefault() {
  Clear();
  m_strName = "ワールド";
  m_nStartX = 9;
  m_nStartY = 7;
  m_nBackColour = 16;
  m_bPicture = 0;
  m_vecTerrain.resize(10, cWorldTerrain());
  for (int i = 0; i < 10; ++i) {
    cWorldTerrain& t = m_vecTerrain[i];
    t.m_nTile = i;
    t.m_bBlocked = i < 5 ? 1 : 0;
    t.m_strName = i < 5 ? "通行不可" : "通行可";
  }
  m_vCells.clear();
  SetSize(20, 15);
  m_vecPoints.clear();
  m_vecTemplates.assign(1, cWorldPoint());
  m_vecTemplates[0].m_strName = "デフォルト";
}

int cWorldMap::SetSize(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) {
    DebugErrorBoxF("SetSize()で 0 を指定しました！");
    return 0;
  }
  const int32_t nBeforeWidth = m_nWidth;
  const int32_t nBeforeHeight = m_nHeight;
  const int32_t nBeforeShift = m_nShift;
  cSafeVector<int32_t> vOld;
  if (!m_vCells.empty()) {
    DebugErrorBoxF("nBeforeWidth = %d,nBeforePitch = %d,nBeforePitch_Shift = %d", nBeforeWidth,
                   m_nPitch, nBeforeShift);
    vOld = m_vCells;
  }
  m_nWidth = w;
  m_nHeight = h;
  m_nShift = ShiftForWidth(w);
  m_nPitch = int32_t{1} << m_nShift;
  m_vCells.assign(static_cast<size_t>(h) * static_cast<size_t>(m_nPitch), 0);
  if (!vOld.empty())
    CopyCells(vOld, nBeforeWidth, nBeforeHeight, nBeforeShift, m_vCells, w, h, m_nShift);
  return 1;
}

void cWorldMap::Validate() {
  if (m_nStartX >= m_nWidth) m_nStartX = m_nWidth - 1;
  if (m_nStartY >= m_nHeight) m_nStartY = m_nHeight - 1;
  // A map of no width would put the cursor at -1.
  if (m_nStartX < 0) m_nStartX = 0;
  if (m_nStartY < 0) m_nStartY = 0;
  // Unsigned: a point at a negative cell lies outside the grid as well.
  for (size_t i = 0; i < m_vecPoints.size();) {
    const cWorldPoint& p = m_vecPoints[i];
    if (static_cast<uint32_t>(p.m_nX) >= static_cast<uint32_t>(m_nWidth) ||
        static_cast<uint32_t>(p.m_nY) >= static_cast<uint32_t>(m_nHeight))
      m_vecPoints.erase(m_vecPoints.begin() + static_cast<ptrdiff_t>(i));
    else
      ++i;
  }
  // The cells must cover the grid the width and height describe: a layout
  // that does not match the width is laid out again, missing cells are 0.
  if (m_nWidth <= 0 || m_nHeight <= 0) return;
  const int32_t nShift = ShiftForWidth(m_nWidth);
  const int32_t nPitch = int32_t{1} << nShift;
  const size_t nNeed = static_cast<size_t>(m_nHeight) * static_cast<size_t>(nPitch);
  if (m_nShift != nShift || m_nPitch != nPitch) {
    cSafeVector<int32_t> vNew(nNeed, 0);
    if (m_nShift >= 0 && m_nShift < 31 && m_nPitch == (int32_t{1} << m_nShift))
      CopyCells(m_vCells, m_nWidth, m_nHeight, m_nShift, vNew, m_nWidth, m_nHeight, nShift);
    m_vCells = std::move(vNew);
    m_nShift = nShift;
    m_nPitch = nPitch;
  } else if (m_vCells.size() < nNeed) {
    m_vCells.resize(nNeed, 0);
  }
}

void cWorldMap::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  ReadRecordVector(m_vecTerrain, r, cWorldTerrain());
  ReadValueVector(m_vCells, r);
  ReadRecordVector(m_vecPoints, r, cWorldPoint());
  ReadRecordVector(m_vecTemplates, r, cWorldPoint());
  if (r.Failed()) return;
  const int64_t nCells = static_cast<int64_t>(m_nHeight)
                         << std::clamp<int32_t>(ShiftForWidth(m_nWidth), 0, 31);
  if (m_nWidth < 0 || m_nHeight < 0 || nCells > kMaxWorldCells) {
    DebugLogF("WorldMap: a grid of %d x %d cells", m_nWidth, m_nHeight);
    r.Fail();
    return;
  }
  Validate();
}

void cWorldMap::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteRecordVector(m_vecTerrain, w);
  WriteValueVector(m_vCells, w);
  WriteRecordVector(m_vecPoints, w);
  WriteRecordVector(m_vecTemplates, w);
}

int32_t cWorldMap::GetCell(int32_t x, int32_t y) const {
  if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(m_nWidth) ||
      static_cast<uint32_t>(y) >= static_cast<uint32_t>(m_nHeight))
    return -1;
  return m_vCells.At(x + (y << m_nShift));
}

int32_t cWorldMap::GetCellIndex(int32_t x, int32_t y) const {
  x = std::max(0, std::min(x, m_nWidth - 1));
  if (y < 0) return x;
  if (y >= m_nHeight) y = std::max(m_nHeight - 1, 0);
  return x + static_cast<int32_t>(static_cast<uint32_t>(y) << (m_nShift & 31));
}

cWorldPoint* cWorldMap::FindPointXY(int32_t x, int32_t y) {
  for (cWorldPoint& p : m_vecPoints) {
    if (p.m_nX == x && p.m_nY == y) return &p;
  }
  return nullptr;
}

int cWorldMap::HasStageEntry(const cStageResult& result, int32_t bSuffix, int32_t nSuffix1,
                             int32_t nSuffix2) const {
  for (const cWorldPoint& p : m_vecPoints) {
    for (const cWorldStage& e : p.m_vecStages) {
      if (e.m_nKind != WORLDSTAGE_STAGE) continue;
      if (MapEntryBaseName(e.m_strStageFile) != result.m_strName) continue;
      if (bSuffix == 0) {
        if (e.m_bSuffix == 0) return 1;
      } else if (e.m_bSuffix != 0 && e.m_nSuffix1 == nSuffix1 && e.m_nSuffix2 == nSuffix2) {
        return 1;
      }
    }
  }
  return 0;
}

bool LoadWorldMapAtStartUp() {
  const char* szPath = g_Paths[PATH_WORLD_MAP];
  if (g_WorldMap.Load(szPath)) return true;
  ReportFError("%s のロードに失敗！", szPath);
  return false;
}
