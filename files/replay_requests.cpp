#include "files/replay_requests.h"

#include <atomic>
#include <cstdio>
#include <vector>

#include "base/file_dialogs.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "platform/fs/file_system.h"
#include "platform/input/keyboard.h"

namespace {

constexpr const char* kReplayFolder = "user_data\\rpl4\\";
constexpr int kErrorSoundPause = 60;  // frames between two error sounds
constexpr int VK_F2 = plat::VK_F1 + 1;

// One for the whole program: the error sound of an empty run repeats at
// most once a second while the key is held.
std::atomic<int> g_nErrorSoundPause{0};

}  // namespace

std::string GetReplayExtension() {
  char buf[32];
  std::snprintf(buf, sizeof buf, "rpl4_%d", nDataVersion);
  return buf;
}

bool IsReplayFileName(const std::string& strPath) {
  const size_t nDot = strPath.rfind('.');
  if (nDot == std::string::npos) return false;
  const std::string strExt = strPath.substr(nDot + 1);
  if (strExt.size() < 5) return false;
  static const char kStem[] = "rpl4_";
  for (int i = 0; i < 5; ++i) {
    char c = strExt[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kStem[i]) return false;
  }
  return true;
}

std::string ProposeReplayName(const std::string& strStageFile) {
  if (strStageFile.empty()) return std::string();
  std::vector<char> name(strStageFile.begin(), strStageFile.end());
  name.push_back('\0');
  StripDirectory(name.data());
  std::string strName = std::string(kReplayFolder) + name.data();
  AppendStageSuffix(strName, g_PlayData.m_bSuffix, g_PlayData.m_nSuffix1, g_PlayData.m_nSuffix2);
  if (strName.size() > MAX_PATH - 1) strName.resize(MAX_PATH - 1);
  char szReplay[MAX_PATH];
  ChangeExtension(szReplay, strName.c_str(), GetReplayExtension().c_str());
  char szNumbered[MAX_PATH] = "";
  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 8; ++j) {
      if (!InsertFileNumber(szNumbered, szReplay, i, j))
        std::snprintf(szNumbered, MAX_PATH, "%s", szReplay);
      if (!plat::fs::Exists(szNumbered)) return szNumbered;
    }
  }
  // Every number taken: the last one is offered again.
  return szNumbered;
}

int GetReplaySaveName(std::string& strPath, const std::string& strStageFile) {
  std::string strProposed = ProposeReplayName(strStageFile);
  std::vector<char> name(strProposed.begin(), strProposed.end());
  name.push_back('\0');
  StripDirectory(name.data());
  strPath = name.data();
  const std::string strExt = GetReplayExtension();
  const char* szTitle = SYSTEMINI.nEnglish ? "Save replay file" : "リプレイファイルの保存";
  return SaveFileDialog(g_hMainWnd.load(), strPath, kReplayFolder, szTitle,
                        {"ReplayFile ( *." + strExt + " )", "*." + strExt}, strExt, 1);
}

int CheckReplaySaveKey(int bReplayPlay) {
  if (bReplayPlay || !g_SystemData.m_bReplayRecord) return 0;
  if (g_nErrorSoundPause.load() > 0) --g_nErrorSoundPause;
  int nWhich;
  if (plat::IsKeyDown(plat::VK_F1))
    nWhich = 0;
  else if (plat::IsKeyDown(VK_F2))
    nWhich = 1;
  else
    return 0;
  const cKeyLog& log = nWhich == 0 ? g_KeyLog : g_KeyLogPrev;
  if (log.IsEmpty()) {
    if (g_nErrorSoundPause.load() <= 0) {
      PlaySE(3);
      g_nErrorSoundPause = kErrorSoundPause;
    }
    return 0;
  }
  PlaySE(1);
  RequestFile(WM_SAVEREPLAY, static_cast<uintptr_t>(nWhich));
  return 1;
}

int ServeSaveReplayRequest(int nWhich) {
  std::string strPath;
  if (!GetReplaySaveName(strPath, g_Stage.m_strPath)) return 0;
  cKeyLog& log = nWhich == 0 ? g_KeyLog : g_KeyLogPrev;
  cPlayData& start = nWhich == 0 ? g_PlayDataStart : g_PlayDataStartPrev;
  // A replay that cannot be written costs the player only that replay.
  if (!log.SaveReplay(strPath, g_Stage, g_StageCopy, start))
    ErrorBoxF("リプレイファイル %s の保存に失敗しました！", strPath.c_str());
  return 1;
}

int ServeOpenReplayRequest() {
  std::string strPath;
  const char* szTitle = SYSTEMINI.nEnglish ? "Load replay file" : "リプレイファイルの読み込み";
  if (!OpenFileDialog(g_hMainWnd.load(), strPath, "user_data\\rpl4", szTitle,
                      {"ReplayFile ( *.rpl4_* )", "*.rpl4_*"}, "rpl4_*"))
    return 0;
  MakeRelativePathStr(strPath);
  if (!g_KeyLog.LoadReplay(strPath, g_Stage, g_StageCopy, g_PlayData)) {
    PostFatalClose();
    return 1;
  }
  // Every restart of the replayed stage reads it from this file again.
  g_Stage.m_strPath = strPath;
  return 1;
}
