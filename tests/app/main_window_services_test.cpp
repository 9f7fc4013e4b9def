// The main window's services with real queues and threads and no display:
// the request protocol, the close order and its deferral while the pause
// thread runs, the placement saved on close, and sound requests.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/entry.h"
#include "app/main_window.h"
#include "app/scene_factory.h"
#include "app/window_pos.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/thread.h"
#include "base/window_requests.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"
#include "files/system_ini.h"
#include "platform/clock/clock.h"
#include "platform/fs/file_system.h"
#include "platform/gfx/display_config.h"
#include "platform/msg/threads.h"
#include "platform/msg/window.h"
#include "scenes/scene_manager.h"
#include "sound/sound_effects.h"
#include "stage/play_scene.h"
#include "tests/support/temp_folder.h"

namespace {

std::mutex g_QuitMutex;
std::vector<std::string> g_QuitOrder;

// A worker that runs until it is told to quit, and notes when it was.
template <const char* NAME>
unsigned QuitRecorder(void*) {
  for (;;) {
    plat::MSG msg;
    if (plat::PeekMessage(msg, true) && msg.message == plat::WM_QUIT) {
      std::lock_guard<std::mutex> lock(g_QuitMutex);
      g_QuitOrder.push_back(NAME);
      return 1;
    }
    plat::SleepMs(1);
  }
}
constexpr char kStageLoad[] = "stageLoad", kPause[] = "pause", kRanking[] = "ranking",
               kGame[] = "game";

class MainWindowServices : public testing::Test {
 protected:
  void SetUp() override {
    m_hWnd = plat::CreateWnd(MainWndProc, &g_MainWindow);
    g_MainWindow.m_hWnd = m_hWnd;
    g_MainWindow.m_rcClient = WINDOWRECT{0, 0, 640, 480};
    g_hMainWnd = m_hWnd;
    g_QuitOrder.clear();
    SYSTEMINI.nWindowMode = 0;  // no placement file unless a test asks for one
    SetSceneFactory(BuildGameScene);
  }
  void TearDown() override {
    for (cThread* p : {&thStageLoad, &thPause, &thRanking, &thGame}) p->Exit();
    plat::SetQuitting(false);
    if (plat::IsWindow(m_hWnd)) plat::DestroyWnd(m_hWnd);
    SetScriptedWindowState(nullptr);
    g_SceneManager.DeleteAllScenes();
    SetSceneFactory(nullptr);
    bGameStarted = 0;
    SYSTEMINI = SYSTEMINIDATA{};
    g_hMainWnd = nullptr;
    TakeMessages();
  }
  std::vector<plat::MSG> TakeMessages() {
    std::vector<plat::MSG> out;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) out.push_back(msg);
    return out;
  }
  plat::WndHandle m_hWnd = nullptr;
};

TEST_F(MainWindowServices, CloseEndsTheThreadsInTheirOrder) {
  bGameStarted = 1;
  ASSERT_EQ(thGame.Start(QuitRecorder<kGame>, nullptr), 1);
  ASSERT_EQ(thRanking.Start(QuitRecorder<kRanking>, nullptr), 1);
  ASSERT_EQ(thStageLoad.Start(QuitRecorder<kStageLoad>, nullptr), 1);
  MainWndProc(m_hWnd, plat::WM_CLOSE, 0, 0);
  EXPECT_EQ(g_QuitOrder, (std::vector<std::string>{"stageLoad", "ranking", "game"}));
  EXPECT_FALSE(plat::IsWindow(m_hWnd));
}

TEST_F(MainWindowServices, CloseWhilePausedEndsOnlyThePauseThreadUntilPlayClosesAgain) {
  bGameStarted = 1;
  g_SceneManager.ChangeScene(SCENE_PLAY);
  ASSERT_NE(g_PlayScene, nullptr);
  ASSERT_EQ(thGame.Start(QuitRecorder<kGame>, nullptr), 1);
  ASSERT_EQ(thPause.Start(QuitRecorder<kPause>, nullptr), 1);
  // The pause thread's queue exists once it has peeked.
  while (!plat::PostThreadMessage(thPause.m_dwThreadId, plat::WM_APP, 0, 0)) plat::SleepMs(1);

  MainWndProc(m_hWnd, plat::WM_CLOSE, 0, 0);
  EXPECT_TRUE(plat::IsWindow(m_hWnd));
  EXPECT_FALSE(plat::IsQuitting());
  EXPECT_EQ(g_PlayScene->m_bCloseRequest, 1);
  thPause.Join();  // as the play scene does once its pause loop has ended
  EXPECT_EQ(g_QuitOrder, (std::vector<std::string>{"pause"}));

  MainWndProc(m_hWnd, plat::WM_CLOSE, 0, 0);  // the play scene's second close
  EXPECT_EQ(g_QuitOrder, (std::vector<std::string>{"pause", "game"}));
  EXPECT_FALSE(plat::IsWindow(m_hWnd));
}

TEST_F(MainWindowServices, CloseSavesThePlacementOfAWindowThatIsNotMinimised) {
  cTempFolder dir(true);
  plat::fs::ForgetListings();
  dir.Write("user_data/keep", "");
  struct {
    const char* name;
    int nWindowMode;
    WINDOWSTATE state;
    bool bSaved;
    int32_t bZoomed;
  } const cases[] = {
      {"window", 1, WINDOWSTATE{30, 40, 0, 0}, true, 0},
      {"maximised window", 1, WINDOWSTATE{0, 0, 0, 1}, true, 1},
      {"minimised window", 1, WINDOWSTATE{30, 40, 1, 0}, false, 0},
      {"full screen", 0, WINDOWSTATE{30, 40, 0, 0}, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir / "user_data/Window.dat");
    plat::fs::ForgetListings();
    bGameStarted = 1;
    SYSTEMINI.nWindowMode = c.nWindowMode;
    SetScriptedWindowState(&c.state);
    // thPause runs, so the close stops after the placement step.
    ASSERT_EQ(thPause.Start(QuitRecorder<kPause>, nullptr), 1);
    while (!plat::PostThreadMessage(thPause.m_dwThreadId, plat::WM_APP, 0, 0)) plat::SleepMs(1);
    MainWndProc(m_hWnd, plat::WM_CLOSE, 0, 0);
    thPause.Join();
    ASSERT_EQ(dir.Has("user_data/Window.dat"), c.bSaved);
    if (c.bSaved) {
      cWindowPosData pos;
      ASSERT_EQ(LoadWhole(pos, "user_data\\Window.dat"), 1);
      EXPECT_EQ(pos.m_nX, c.state.x);
      EXPECT_EQ(pos.m_nY, c.state.y);
      EXPECT_EQ(pos.m_nWidth, 640);
      EXPECT_EQ(pos.m_nHeight, 480);
      EXPECT_EQ(pos.m_bZoomed, c.bZoomed);
    }
  }
}

// The window thread of these tests: serves requests until it is told to stop.
class cWindowThread {
 public:
  cWindowThread() {
    m_Thread = std::thread([this] {
      plat::WndHandle hWnd = plat::CreateWnd(MainWndProc, &g_MainWindow);
      g_MainWindow.m_hWnd = hWnd;
      g_hMainWnd = hWnd;
      m_bReady = true;
      while (!m_bStop) {
        plat::MSG msg;
        while (plat::PeekMessage(msg, true)) plat::DispatchMessage(msg);
        plat::SleepMs(1);
      }
      plat::DestroyWnd(hWnd);
    });
    while (!m_bReady) plat::SleepMs(1);
  }
  ~cWindowThread() {
    m_bStop = true;
    m_Thread.join();
  }

 private:
  std::thread m_Thread;
  std::atomic<bool> m_bReady{false}, m_bStop{false};
};

TEST_F(MainWindowServices, RequestsReturnOnceTheWindowThreadHasServedThem) {
  plat::DestroyWnd(m_hWnd);
  {
    cWindowThread window;
    for (uint32_t nMsg : {WM_OPENSTAGE, WM_OPENREPLAY, WM_SAVEREPLAY}) {
      bFileRequestResult = 1;
      EXPECT_EQ(RequestFile(nMsg, 0), 0) << nMsg;  // no chooser: cancelled
      EXPECT_EQ(bFileRequestDone.load(), 1);
      EXPECT_EQ(bFileRequestResult.load(), 0);
    }
    EXPECT_EQ(RequestNameDialog(), 1);
    EXPECT_EQ(bNameDlgDone.load(), 1);

    // Once the program is closing nobody waits for a request any more.
    plat::SetQuitting(true);
    bFileRequestDone = 0;
    EXPECT_EQ(RequestFile(WM_OPENSTAGE, 0), 0);
    plat::SetQuitting(false);
  }
  g_MainWindow.m_hWnd = nullptr;
}

// The device reset runs on the window thread: a lost Direct3D device is
// reset and its textures made again when the request arrives.
TEST_F(MainWindowServices, RestoreRequestResetsALostDevice) {
  plat::gfx::SetDisplayConfig({});
  ASSERT_TRUE(DDInit(1, m_hWnd, 640, 480, 32, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0));
  g_DD.lpDevice->LoseDevice(true);
  plat::SendMessage(m_hWnd, WM_RESTOREDEVICE, 0, 0);
  EXPECT_EQ(g_DD.lpDevice->TestCooperativeLevel(), plat::gfx::eGfxResult::Ok);
  EXPECT_EQ(BackBuffer.lpDT->lpSurface, g_DD.lpDevice->GetBackBuffer());
  EXPECT_EQ(WorkSD.bLost, 1);
  DDReleaseAll();
  for (DDSURFACEDATA* sd : {&BackBuffer, &VirBackBuffer, &WorkSD}) DDZeroSurface(sd);
  g_DD.bInitialized = 0;
}

// Which entry a request reaches shows in the report of a bad index: the
// table here holds the 17 built-in entries only.
TEST_F(MainWindowServices, SoundRequestsReachTheirEntryAndABadIndexIsReported) {
  cTempFolder dir;
  ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
  g_SoundList.assign(17, DSSOUNDDATA{});
  struct {
    const char* name;
    int nDatabaseSound;  // through PlayDatabaseSE; -1: WM_USER+5 with wParam below
    uintptr_t wParam;
    const char* szReport;  // the bad-index line, or null
  } const cases[] = {
      {"entry 5", -1, 5, nullptr},
      {"entry 16", -1, 16, nullptr},
      {"past the table", -1, 17, "err V[17] ( 17 , "},
      {"negative", -1, static_cast<uintptr_t>(-1), "err V[-1] ( 17 , "},
      {"database sound 3 is entry 19", 3, 0, "err V[19] ( 17 , "},
      {"database sound 0 is none", 0, 0, nullptr},
      {"only the low 16 bits count", 0x10000, 0, nullptr},
      {"database sound -16 is entry 0", 0xFFF0, 0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir / "Report_Game.txt");
    ASSERT_EQ(ReportInit((dir / "Report_Game.txt").c_str()), 1);
    if (c.nDatabaseSound >= 0)
      PlayDatabaseSE(c.nDatabaseSound);  // from the window's own thread: a direct call
    else
      MainWndProc(m_hWnd, WM_PLAYSE, c.wParam, 0);
    auto msgs = TakeMessages();
    const std::string strReport = dir.Read("Report_Game.txt");
    if (c.szReport) {
      EXPECT_NE(strReport.find(c.szReport), std::string::npos) << strReport;
      ASSERT_EQ(msgs.size(), 1u);
      EXPECT_EQ(msgs[0].message, plat::WM_CLOSE);
    } else {
      EXPECT_EQ(strReport.find("err V["), std::string::npos) << strReport;
      EXPECT_TRUE(msgs.empty());
    }
  }
  g_SoundList.clear();
}

}  // namespace
