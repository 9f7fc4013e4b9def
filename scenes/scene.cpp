// The common frame shape of the scenes.
#include "scenes/scene.h"

#include "base/logs.h"
#include "base/program_state.h"
#include "input/input.h"

bool cScene::BeginFrame(bool bMenuFilters, int nButtonMask) {
  if (bMenuFilters) {
    cInput& input = g_Input.At(0);
    input.ApplyRepeat();
    input.TriggerButtons(nButtonMask);
  }
  if (m_nPhase == -1) {
    try {
      Init();
    } catch (const char* szText) {
      DebugLogFClose(g_hMainWnd.load(), "%s", szText);
      m_bFailed = 1;
    }
    m_nPhase = 0;
  }
  return !m_bFailed;
}
