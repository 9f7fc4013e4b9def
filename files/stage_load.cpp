#include "files/stage_load.h"

#include "base/logs.h"
#include "base/paths.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "base/thread.h"
#include "files/stage_data.h"
#include "platform/msg/messages.h"
#include "platform/msg/threads.h"

unsigned StageLoadThread(void* /*pArg*/) {
  const int bLoaded = g_Stage.Load(g_Stage.m_strPath);
  if (bLoaded) g_Stage.m_bLoaded = 1;
  return static_cast<unsigned>(bLoaded);
}

namespace {

// Serves the calling thread's queue until the loading thread has ended.
// False when a quit arrived meanwhile: it is posted again for the loop
// that owns it.
bool PumpUntilLoaded() {
  for (;;) {
    const plat::WAITMARK mark = plat::GetWaitMark();
    plat::cThreadRecord* pThread = thStageLoad.m_hThread.load();
    if (!pThread || plat::HasThreadEnded(pThread)) return true;
    plat::MSG msg;
    if (plat::PeekMessage(msg, true)) {
      if (msg.message == plat::WM_QUIT) {
        DebugLog("msg.message == WM_QUIT");
        thStageLoad.Exit();
        plat::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      plat::DispatchMessage(msg);
    } else {
      // The loading thread's end notifies; the bound only keeps a missed
      // notice short.
      plat::WaitFromMarkFor(mark, 100);
    }
  }
}

}  // namespace

int LoadPlayStage(const std::string& strPath, int bNewest, cStageData* pTarget) {
  std::string strFile = strPath;
  if (bNewest && !FindLatestVersionFileStr(strFile, strPath, g_Exts[EXT_STAGE])) return 0;
  g_Stage.m_strPath = strFile;
  MakeRelativePathStr(g_Stage.m_strPath);
  if (!CheckStageTrailer(g_Stage.m_strPath)) return 0;

  g_Stage.m_bLoaded = 0;
  if (!thStageLoad.Start(StageLoadThread, nullptr)) {
    ReportF("thStageLoad : start failed");
    ErrorBoxF("ステージファイル %s の読み込みに失敗しました！", g_Stage.m_strPath.c_str());
    return 0;
  }
  const bool bFinished = PumpUntilLoaded();
  thStageLoad.Exit();
  if (!bFinished) return 0;

  if (!g_Stage.m_bLoaded) {
    ErrorBoxF("ステージファイル %s の読み込みに失敗しました！", g_Stage.m_strPath.c_str());
    return 0;
  }
  if (!g_Stage.HasPlayer()) {
    ErrorBoxF("主人公が配置されていないのでプレイできません！");
    PostFatalClose();
    return 0;
  }
  if (pTarget) CopyStageSettings(*pTarget, g_Stage);
  return 1;
}
