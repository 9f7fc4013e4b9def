#include "files/save_slots.h"

#include <cstdio>

#include "base/global_order.h"
#include "base/logs.h"
#include "base/paths.h"
#include "files/play_data.h"

GLOBAL_OBJECT(GLOBAL_SAVE_SLOTS) cSafeVector<cSaveSlotData> g_SaveSlots(kStorySlotCount);

namespace {

// A save that did not reach the disk is said so: the old file is still
// there, and the player should know this progress is not.
int ReportSaveFailure(const std::string& strPath) {
  ErrorBoxF("%s の保存に失敗しました！", strPath.c_str());
  return 0;
}

}  // namespace

void cSaveSlotData::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddDword(&m_bUsed);
}

void MakeStorySlotPath(std::string& strOut, int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", n + 1);
  strOut = std::string(g_Paths[PATH_STORY_PREFIX]) + buf + ".dat";
}

void ReadStorySlotInfo(cSafeVector<cSaveSlotData>& vSlots) {
  for (int n = 0; n < static_cast<int>(vSlots.size()); ++n) {
    cSaveSlotData& slot = vSlots[n];
    std::string strPath;
    MakeStorySlotPath(strPath, n);
    cPlayData tmp;
    slot.m_bUsed = LoadPlayRecordFile(tmp, strPath);
    if (slot.m_bUsed) slot.m_Time = tmp.m_SaveTime;
  }
}

std::string FormatSlotTime(const SYSTEMTIME& st) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour,
                st.wMinute);
  return buf;
}

int cPlayData::SaveSlot(int n) {
  GetLocalTime(m_SaveTime);
  std::string strPath;
  MakeStorySlotPath(strPath, n);
  if (!Save(strPath)) return ReportSaveFailure(strPath);
  // Only a slot whose file was written is listed as used.
  cSaveSlotData& slot = g_SaveSlots.At(n);
  slot.m_bUsed = 1;
  slot.m_Time = m_SaveTime;
  return 1;
}

int cPlayData::LoadSlot(int n) {
  std::string strPath;
  MakeStorySlotPath(strPath, n);
  if (!LoadPlayRecordFile(*this, strPath)) {
    ReportF("%s の読み込みに失敗しました！", strPath.c_str());
    return 0;
  }
  ApplyLivesRule(PLAYMODE_STORY);
  return 1;
}

int cPlayData::LoadChallenge() {
  const std::string strPath = g_Paths[PATH_CHALLENGE_DAT];
  if (!LoadPlayRecordFile(*this, strPath)) return 0;
  ApplyLivesRule(PLAYMODE_CHALLENGE);
  return 1;
}

int cPlayData::SaveChallenge() {
  const std::string strPath = g_Paths[PATH_CHALLENGE_DAT];
  if (!Save(strPath)) return ReportSaveFailure(strPath);
  return 1;
}
