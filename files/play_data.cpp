#include "files/play_data.h"

#include <algorithm>

#include "base/global_order.h"
#include "base/program_state.h"
#include "files/system_data.h"
#include "files/world_map.h"

GLOBAL_OBJECT(GLOBAL_PLAY_DATA) cPlayData g_PlayData;
GLOBAL_OBJECT(GLOBAL_PLAY_DATA) cPlayData g_PlayDataStart;
GLOBAL_OBJECT(GLOBAL_PLAY_DATA) cPlayData g_PlayDataStartPrev;

namespace {

// More challenge stages than this no project has; a larger count from the
// system data would only build a list nobody can play.
constexpr int32_t kMaxChallengeStages = 9999;

void ReadSystemTime(SYSTEMTIME& st, cDataReader& r) {
  uint16_t* p[] = {&st.wYear, &st.wMonth,  &st.wDayOfWeek, &st.wDay,
                   &st.wHour, &st.wMinute, &st.wSecond,    &st.wMilliseconds};
  uint16_t v[8];
  for (uint16_t& w : v) w = r.U16();
  if (r.Failed()) return;
  for (int i = 0; i < 8; ++i) *p[i] = v[i];
}

void WriteSystemTime(const SYSTEMTIME& st, cDataWriter& w) {
  for (uint16_t v : {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond,
                     st.wMilliseconds})
    w.U16(v);
}

template <typename V>
void PadTo(V& v, size_t n) {
  if (v.size() < n) v.resize(n);
}

}  // namespace

cPlayData::cPlayData() { Reset(); }

void cPlayData::RegisterFields(int32_t v) {
  ClearFields();
  AddDword(&m_bStatusStored);
  AddDword(&m_nMapX);
  AddDword(&m_nMapY);
  AddDword(&m_nReserved);
  AddDword(&m_nRound);
  if (v >= 758) {
    AddDword(&m_bSuffix);
    AddDword(&m_nSuffix1);
    AddDword(&m_nSuffix2);
  }
  AddDword(&m_nStageNo);
  AddDword(&m_nPartNo);
  AddDword(&m_nLifeCount);
  AddDword(&m_nLives);
  AddDword(&m_nStageScore);
  AddDword(&m_nTotalScore);
  AddDword(&m_nBestTotal);
  AddDword(&m_nTimeSum);
  AddDword(&m_nPlayTimeSum);
  if (v >= 182) {
    AddDword(&m_nHPSum);
    AddDword(&m_nSPSum);
  }
  AddDword(&m_bChain);
  AddDword(&m_nBgm);
  if (v >= 166) AddDword(&m_nBgmLoop);
  if (v >= 194) AddDword(&m_nMapDir);
  if (v >= 190) AddDword(&m_bReturnPos);
  if (v >= 191) {
    AddDword(&m_nReturnX);
    AddDword(&m_nReturnY);
  }
  AddDword(&m_nChallengeOpen);
  AddDword(&m_nLastSlot);
  if (v >= 169) AddDword(&m_bAutoSave);
  AddDword(&m_bMapRanking);
  AddDword(&m_nRankGenre);
  if (v >= 678) {
    AddDword(&m_bStartOverride);
    AddDword(&m_nOverrideX);
    AddDword(&m_nOverrideY);
  }
  if (v >= 679) AddDword(&m_nOverrideDir);
  AddString(&m_strStageBase);
  if (v >= 724) AddString(&m_strStageKey);
  AddString(&m_strPlayerName);
}

void cPlayData::Reset() {
  Clear();
  m_vHolding.assign(kCarryItemCount, 0);
  ResetPlayerStatusList(m_vStatus, 1);
  m_vCleared.assign(kClearedStageCount, 0);
  m_vCleared[0] = 1;
  m_vVars.assign(kCommonVariableCount, 0);
  m_vResults.clear();
  m_vChallenge.clear();
  m_nChallengeOpen = 1;
  m_nLastSlot = -1;
  m_strPlayerName = "aaa";
}

void ResetPlayerStatusList(cSafeVector<cPlayerStatus>& vList, int n) {
  vList.assign(static_cast<size_t>(std::max(n, 0)), cPlayerStatus());
}

void cPlayData::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.Failed()) return;
  const int32_t v = r.FileVersion();
  ReadSystemTime(m_SaveTime, r);
  if (v > 500) ReadValueVector(m_vHolding, r);
  ReadRecordVector(m_vStatus, r, cPlayerStatus());
  ReadRecordVector(m_vResults, r, cStageResult());
  ReadRecordVector(m_vChallenge, r, cChallengeRecord());
  ReadValueVector(m_vCleared, r);
  ReadValueVector(m_vVars, r);
  if (r.Failed()) return;

  if (v < 166) m_nBgmLoop = 1;
  if (v < 169) m_bAutoSave = 0;
  if (v < 182) m_nHPSum = m_nSPSum = 0;
  if (v < 190) m_bReturnPos = 0;
  if (v <= 190) m_nReturnX = m_nReturnY = 0;
  if (v < 194) m_nMapDir = 0;
  if (v <= 500) m_vHolding.assign(kCarryItemCount, 1);
  if (v < 724) m_strStageKey = m_strStageBase;  // no suffix existed then
  if (v < 754) m_vVars.resize(1000);            // the variables older projects had
  // Whatever the file held, every item, slot 0, every stage number and every
  // variable a flow can name is there: an index past a list ends the game.
  PadTo(m_vHolding, kCarryItemCount);
  PadTo(m_vStatus, 1);
  PadTo(m_vCleared, kClearedStageCount);
  PadTo(m_vVars, kCommonVariableCount);
  Validate();
}

void cPlayData::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteSystemTime(m_SaveTime, w);
  WriteValueVector(m_vHolding, w);
  WriteRecordVector(m_vStatus, w);
  WriteRecordVector(m_vResults, w);
  WriteRecordVector(m_vChallenge, w);
  WriteValueVector(m_vCleared, w);
  WriteValueVector(m_vVars, w);
}

void cPlayData::Validate() {
  // Unsigned: a negative cell is outside the map too.
  if (static_cast<uint32_t>(m_nMapX) >= static_cast<uint32_t>(g_WorldMap.m_nWidth))
    m_nMapX = g_WorldMap.m_nStartX;
  if (static_cast<uint32_t>(m_nMapY) >= static_cast<uint32_t>(g_WorldMap.m_nHeight))
    m_nMapY = g_WorldMap.m_nStartY;
  const int32_t nStages = std::clamp(g_SystemData.m_nChallengeStages, 0, kMaxChallengeStages);
  m_vChallenge.resize(static_cast<size_t>(nStages));
  if (m_nChallengeOpen > g_SystemData.m_nChallengeStages)
    m_nChallengeOpen = g_SystemData.m_nChallengeStages;
}

void cPlayData::AssignStored(const cPlayData& src) {
  if (&src == this) return;
  RUNTIME keep = std::move(m_Run);
  *this = src;
  m_Run = std::move(keep);
}

void cPlayData::SaveRetryState() {
  m_Run.vRetryVars = m_vVars;
  m_Run.nRetryLives = m_nLives;
  m_Run.nRetryTotal = m_nTotalScore;
}

int32_t cPlayData::LoadRetryState(int bAll, int nPlayMode) {
  bool bVars = true;
  if (!bAll) {
    if (bCommandLineStage)
      bVars = g_SystemData.m_bRetryRestoreFile != 0;
    else if (nPlayMode == PLAYMODE_STORY)
      bVars = g_SystemData.m_bRetryRestoreStory != 0;
    else if (nPlayMode == PLAYMODE_CHALLENGE)
      bVars = g_SystemData.m_bRetryRestoreChallenge != 0;
    else if (nPlayMode == PLAYMODE_FREE)
      bVars = g_SystemData.m_bRetryRestoreFree != 0;
  }
  // A snapshot never taken restores nothing rather than an empty list.
  if (bVars && !m_Run.vRetryVars.empty()) m_vVars = m_Run.vRetryVars;
  if (bAll) m_nLives = m_Run.nRetryLives;
  m_nTotalScore = m_Run.nRetryTotal;
  return m_nTotalScore;
}

void cPlayData::StartNextRound() {
  ++m_nRound;
  m_vCleared.Fill(0);
  m_nMapX = g_WorldMap.m_nStartX;
  m_nMapY = g_WorldMap.m_nStartY;
}

void cPlayData::StepSelection(int nMode, int n) {
  cSafeVector<uint8_t>& vCriteria = g_SystemData.m_vModeRanking.At(nMode).m_vCriteria;
  auto Enabled = [&](int g) { return g < static_cast<int>(vCriteria.size()) && vCriteria[g] != 0; };
  bool bAny = false;
  for (int g = 0; g < 5; ++g) bAny = bAny || Enabled(g);
  if (!bAny) return;
  // A stored genre outside the five counts from its place among them.
  int g = ((m_nRankGenre % 5) + 5) % 5;
  if (n > 0) {
    for (int i = 0; i < n; ++i) {
      do g = (g + 1) % 5;
      while (!Enabled(g));
    }
  } else if (n < 0) {
    for (int i = 0; i > n; --i) {
      do g = (g + 4) % 5;
      while (!Enabled(g));
    }
  } else {
    while (!Enabled(g)) g = (g + 1) % 5;
  }
  m_nRankGenre = g;
}

void cPlayData::ApplyLivesRule(int nMode) {
  if (g_SystemData.m_vUnlimitedLives.At(nMode) != 0) {
    m_nLifeCount = m_nLives = kUnlimitedLives;
  } else if (m_nLives == kUnlimitedLives) {
    m_nLives = g_SystemData.m_vStartLives.At(nMode);
  }
}

int ReadPlayRecordWhole(cPlayData& dst, cDataReader& r) {
  cPlayData tmp;
  tmp.Read(r);
  // Bytes after the record mean the file is something else.
  if (r.Failed() || !r.AtEnd()) return 0;
  dst.AssignStored(tmp);
  return 1;
}

int LoadPlayRecordFile(cPlayData& dst, const std::string& strPath) {
  std::unique_ptr<cDataReader> r = DataFileOpenRead(strPath);
  if (!r) return 0;
  const int bOk = ReadPlayRecordWhole(dst, *r);
  DataFileClose(r);
  return bOk;
}
