// The stage key a play keeps its best scores and rankings by, and the best
// scores themselves.
#include <cstdio>

#include "files/play_data.h"
#include "files/world_map.h"

void AppendStageSuffix(std::string& str, int32_t bSuffix, int32_t a, int32_t b) {
  if (!bSuffix) return;
  const bool bDot = !str.empty() && str.back() == '.';
  if (bDot) str.pop_back();
  char buf[40];
  std::snprintf(buf, sizeof buf, "_c%03d_%d", a, b);
  str += buf;
  if (bDot) str += '.';
}

void cPlayData::SetCurStage(const std::string& strPath, int32_t bSuffix, int32_t nSuffix1,
                            int32_t nSuffix2) {
  m_strStageBase = strPath;
  m_bSuffix = bSuffix;
  m_nSuffix1 = nSuffix1;
  m_nSuffix2 = nSuffix2;
  // The stage's base name: every part of a chain ("c01-1", "c01-2", ...)
  // shares the name before its "-1".
  const size_t nAt = m_strStageBase.rfind("-1");
  if (nAt != std::string::npos) {
    m_strStageBase.replace(nAt, std::string::npos, ".");
  } else {
    const size_t nDot = m_strStageBase.rfind('.');
    if (nDot != std::string::npos) m_strStageBase.resize(nDot + 1);
  }
  m_strStageKey = m_strStageBase;
  AppendStageSuffix(m_strStageKey, bSuffix, nSuffix1, nSuffix2);
}

void cPlayData::SetStageScore(const std::string& strBase, const std::string& strKey,
                              int32_t bSuffix, int32_t nSuffix1, int32_t nSuffix2, int32_t nScore) {
  for (cStageResult& res : m_vResults) {
    if (res.m_strKey != strKey) continue;
    if (res.m_nBest < nScore) {
      m_nBestTotal += nScore - res.m_nBest;
      res.m_nBest = nScore;
    }
    return;
  }
  cStageResult res;
  res.m_strName = strBase;
  res.m_strKey = strKey;
  res.m_bSuffix = bSuffix;
  res.m_nSuffix1 = nSuffix1;
  res.m_nSuffix2 = nSuffix2;
  res.m_nBest = nScore;
  m_vResults.push_back(res);
  m_nBestTotal += nScore;
}

int32_t cPlayData::GetStageScore(const std::string& strKey) const {
  for (const cStageResult& res : m_vResults) {
    if (res.m_strKey == strKey) return res.m_nBest;
  }
  return 0;
}

void cPlayData::CalcTotalScore() {
  int32_t nTotal = 0;
  for (const cStageResult& res : m_vResults) {
    if (g_WorldMap.HasStageEntry(res, res.m_bSuffix, res.m_nSuffix1, res.m_nSuffix2))
      nTotal += res.m_nBest;
  }
  m_nBestTotal = nTotal;
}
