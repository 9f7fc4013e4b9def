// One frame of the game: pacing, surface recovery, input, the scene change,
// the scene's phase, the frame-rate display and the present.
#include <string>
#include <vector>

#include "base/frame_limit.h"
#include "base/frame_timing.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/run_options.h"
#include "base/text_helpers.h"
#include "base/window_requests.h"
#include "draw/device_restore.h"
#include "draw/draw_context.h"
#include "draw/font_tables.h"
#include "files/system_ini.h"
#include "platform/clock/clock.h"
#include "platform/msg/messages.h"
#include "platform/present/presenter.h"
#include "scenes/menu_surfaces.h"
#include "scenes/message_surfaces.h"
#include "scenes/play_surfaces.h"
#include "scenes/scene_manager.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

}  // namespace

// Shows the frame-rate text on the back buffer: small text with ShowFps 2,
// a box sized to the text in the main font otherwise.
void DrawFpsText(const std::string& strText, int nMode) {
  if (nMode == 2)
    DDFontPrintf(&g_Font[0], &BackBuffer, 549, 469, "%s", strText.c_str());
  else
    DDFontPrintfBox(&g_Font[1], &BackBuffer, 495, 463, 0, 0, "%s", strText.c_str());
}

void WaitFrameTiming() {
  // Direct3D frames wait in the present. Without any drawing device the
  // gate still paces the empty screen.
  if (DDIsDirect3D() || g_RunOptions.bNoWait) return;
  // The thread sleeps until the gate's due tick (a message to it, or closing,
  // wakes it early to look again).
  while (!WaitFrameGate(g_SceneManager.m_nFrameRate) && !plat::IsQuitting())
    plat::SleepUntilTick(GetFrameGateDue());
}

bool cSceneManager::CheckLostSurface() {
  if (DDIsDirect3D() || !PrimarySD.lpDDS || !PrimarySD.lpDDS->lpDDSurface ||
      !PrimarySD.lpDDS->lpDDSurface->IsLost())
    return true;
  if (!DDRestore()) return false;
  // Then, in this order, each stopping the frame at its first failure: the
  // character bitmap sets, the effects' and the sword types' surfaces, the
  // pictures, the menus' surfaces, the message windows, and the three digit
  // sheets.
  if (!RestoreSurfaceVector(g_CharaBmpSurfaces) || !RestoreSurfaceVector(g_EffectSurfaces) ||
      !RestoreSurfaceVector(g_SwordSurfaces) || !RestoreSurface(g_PictureSurfaces) ||
      !RestoreSurfaceVector(g_MenuSurfaces))
    return false;
  if (!RestoreSurface(Off_Msg)) return false;
  RestoreFontSurfaces(g_NumberSheet, kFontCount);
  if (!Off_Msg.empty())
    DebugLogF("if ( !RestoreSurface(Off_Msg) ) Off_Msg[0].bLost = %d", Off_Msg.front().bLost);
  return true;
}

void cSceneManager::Present() {
  // A run that has shown all its frames shows no more: the frame a waiting
  // loop ran to the end of the run inside would otherwise come last, in
  // place of the loop's last one.
  if (IsFrameLimitReached()) return;
  const bool bFastStage = m_pPlay && m_pPlay->GetFrameRate() > 60;
  if (DDIsDirect3D()) {
    // A lost windowed device is restored at once; in full screen the restore
    // waits for the program's next activation.
    if (!DDPresent(m_nFrameRate, 0, 0) && bWindowed)
      plat::SendMessage(g_hMainWnd.load(), WM_RESTOREDEVICE, 0, 0);
    return;
  }
  if (g_DD.lpDD) {
    // The presenter shows frames at the display's pace on its own, so a
    // windowed frame has no vertical blank to wait for.
    DDFlipOrBltToScreen(!g_DD.bWindow && !bPresentByBlit && !bFastStage ? 1 : 0);
    return;
  }
  // No drawing device: the empty screen.
  static const std::vector<uint32_t> black(kScreenWidth * kScreenHeight, 0);
  plat::PresentFrame(black.data(), kScreenWidth, kScreenHeight, kScreenWidth);
}

std::string FormatFpsText(int nFps, uint32_t dwAverageMs) {
  std::string strText;
  FormatString(strText, "FPS%2d(%2d)", nFps, static_cast<int>(dwAverageMs));
  return strText;
}

bool cSceneManager::Frame() {
  WaitFrameTiming();
  StartFrameTimer();
  if (!CheckLostSurface()) return false;
  PollInput(g_Input);
  try {
    ChangeScene(m_nCurrentScene);
  } catch (const char* szText) {
    DebugLogFClose(g_hMainWnd.load(), "%s", szText);
  }
  if (cScene* pScene = GetScene(m_nCurrentScene)) pScene->Run();
  const int nFps = CountFps(1);
  const uint32_t dwFrameTime = GetFrameTime(1);
  if (m_pPlay) m_pPlay->SetMeasuredFps(nFps);
  if (SYSTEMINI.nShowFps != 0) {
    g_FrameStats.AddFrameTime(dwFrameTime);
    DrawFpsText(FormatFpsText(nFps, g_FrameStats.dwAverage), SYSTEMINI.nShowFps);
  }
  Present();
  return true;
}
