// The start dialog and the boot record: Boot.dat's bytes and what bad
// files leave, the dialog's place and captions, and the start-up step that
// shows it, skips it, or ends start-up when it is cancelled. Answered
// unattended, as a run without a display answers it.
#include "app/start_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/boot_data.h"
#include "app/dialog_templates.h"
#include "app/main_window.h"
#include "app/start_steps.h"
#include "app/window_list.h"
#include "base/paths.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "platform/fs/file_system.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/memory_dialog.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"

namespace {

std::string ByteString(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

class StartDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    plat::SetScriptedDialogAnswers({});
    g_BootData = cBootData();
    SYSTEMINI = SYSTEMINIDATA{};
    SYSTEMINI.nDirect3D = 2;
    std::filesystem::create_directories(m_Dir / "user_data");
    plat::fs::ForgetListings();
  }
  void TearDown() override {
    g_BootData = cBootData();
    SYSTEMINI = SYSTEMINIDATA{};
    g_SystemData = cSystemData();
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) {
    }
  }
  std::string BootFile() const { return m_Dir.Read("user_data/Boot.dat"); }
  cTempFolder m_Dir{true};
};

TEST_F(StartDialogTest, BootDatIsTwentyBytesAndBadFilesLeaveTheDefaults) {
  cBootData boot;
  EXPECT_EQ(boot.m_nDrawMode, 1);
  EXPECT_EQ(boot.m_bNoAsk, 0);
  boot.m_nDrawMode = 0;
  boot.m_bNoAsk = 1;
  EXPECT_EQ(ByteString(boot.SaveToBytes()),
            ByteString(cByteBuilder::File(783).Count(2).I32(0).I32(1).Count(0)));

  struct Case {
    const char* szName;
    std::vector<uint8_t> file;
    int nWantMode;
    int nWantNoAsk;
  };
  const Case cases[] = {
      {"a written file", cByteBuilder::File(783).Count(2).I32(0).I32(1).Count(0), 0, 1},
      {"an older one", cByteBuilder::File(700).Count(2).I32(0).I32(1).Count(0), 0, 1},
      {"cut short", cByteBuilder::File(783).Count(2).I32(0), 1, 0},
      {"shorter than its header", cByteBuilder().U16(783), 1, 0},
      {"too new", cByteBuilder::File(784).Count(2).I32(0).I32(1).Count(0), 1, 0},
      {"modes out of range", cByteBuilder::File(783).Count(2).I32(5).I32(-3).Count(0), 1, 0},
      {"more fields than registered",
       cByteBuilder::File(783).Count(3).I32(0).I32(1).I32(1).Count(0), 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    m_Dir.Write("user_data/Boot.dat", ByteString(c.file));
    g_BootData = cBootData();
    LoadBootDataAtStart();
    EXPECT_EQ(g_BootData.m_nDrawMode, c.nWantMode);
    EXPECT_EQ(g_BootData.m_bNoAsk, c.nWantNoAsk);
  }
}

// The start dialog with its state noted once it has opened.
class cNotedStartDialog : public cStartDialog {
 public:
  using cStartDialog::cStartDialog;
  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override {
    cStartDialog::OnInitDialog(wParam, lParam);
    plat::cDialogWindow* w = plat::GetDialogWindow(m_hWnd);
    m_nDirect3D = w->GetCheck(1002);
    m_nDirectDraw = w->GetCheck(1003);
    m_nNoAsk = w->GetCheck(1004);
    m_strTitle = static_cast<plat::cMemoryDialogWindow*>(w)->GetTitle();
    for (uint16_t nId : {1006, 1000, 1001, 1005, 1004}) m_vCaptions.push_back(w->GetItemText(nId));
    if (m_bSendEscape) plat::SendMessage(m_hWnd, plat::WM_COMMAND, 2, 0);
  }
  int m_nDirect3D = -1, m_nDirectDraw = -1, m_nNoAsk = -1;
  std::string m_strTitle;
  std::vector<std::string> m_vCaptions;
  bool m_bSendEscape = false;
};

TEST_F(StartDialogTest, OpensOverTheMainWindowWithTheBootRecordShown) {
  g_MainWindow.m_nPosX = 100;
  g_MainWindow.m_nPosY = 100;
  g_SystemData.m_strTitle = "タイトル";
  cNotedStartDialog dlg(IDD_START_DIALOG, &g_MainWindow, 1, &g_WindowList);
  EXPECT_EQ(dlg.m_nReqPosX, 233);
  EXPECT_EQ(dlg.m_nReqPosY, 204);
  EXPECT_EQ(dlg.m_nCursorX, 414);
  EXPECT_EQ(dlg.m_nCursorY, 402);
  // Escape's command is not the dialog's: it stays until the default
  // button (Enter) is pressed.
  dlg.m_bSendEscape = true;
  EXPECT_EQ(dlg.DoModal(0), 1);
  EXPECT_EQ(dlg.m_nDirect3D, 1);
  EXPECT_EQ(dlg.m_nDirectDraw, 0);
  EXPECT_EQ(dlg.m_nNoAsk, 0);
  EXPECT_EQ(dlg.m_strTitle, "タイトル");
  EXPECT_EQ(dlg.m_vCaptions,
            (std::vector<std::string>{"描画モード", "ゲーム開始", "ゲーム中止",
                                      "詳細な設定は環境設定ファイル「System.ini」で行って下さい。",
                                      "次回からこのダイアログを表示しない"}));
  g_MainWindow.m_nPosX = g_MainWindow.m_nPosY = 0;
}

TEST_F(StartDialogTest, EnglishCaptions) {
  SYSTEMINI.nEnglish = 1;
  cNotedStartDialog dlg(IDD_START_DIALOG, &g_MainWindow, 1, &g_WindowList);
  plat::SetScriptedDialogAnswers({"1001"});
  EXPECT_EQ(dlg.DoModal(0), 0);
  EXPECT_EQ(dlg.m_vCaptions,
            (std::vector<std::string>{"Drawing mode", "Start", "Cancel",
                                      "Configure the detail settings at \"System.ini\".",
                                      "Do not ask this dialog again"}));
}

TEST_F(StartDialogTest, TheStepAsksSavesSkipsAndEndsOnCancel) {
  struct Step {
    const char* szName;
    int nIniDirect3D;
    const char* szAnswer;  // null: nobody answers (the default button)
    bool bWantGoOn;
    int nWantDirect3D;
    std::string strWantFile;  // "" no file
  };
  const std::string strSaved01 =
      ByteString(cByteBuilder::File(783).Count(2).I32(0).I32(1).Count(0));
  const std::string strSaved10 =
      ByteString(cByteBuilder::File(783).Count(2).I32(1).I32(0).Count(0));
  const Step steps[] = {
      {"Direct3D 1 never asks", 1, "1001", true, 1, ""},
      {"Direct3D 0 never asks", 0, "1001", true, 0, ""},
      {"cancel ends start-up and writes nothing", 2, "1001", false, 2, ""},
      {"Start as offered: Direct3D", 2, nullptr, true, 1, strSaved10},
      {"DirectDraw, not to be asked again", 2, "1003,1004,1000", true, 0, strSaved01},
      {"the next start asks nothing", 3, "1001", true, 0, strSaved01},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.szName);
    SYSTEMINI.nDirect3D = s.nIniDirect3D;
    if (s.szAnswer)
      plat::SetScriptedDialogAnswers({s.szAnswer});
    else
      plat::SetScriptedDialogAnswers({});
    EXPECT_EQ(RunStartDialogStep(), s.bWantGoOn);
    EXPECT_EQ(SYSTEMINI.nDirect3D, s.nWantDirect3D);
    EXPECT_EQ(BootFile(), s.strWantFile);
    g_BootData = cBootData();  // each start-up loads the file anew
  }
  // An answer the "next start" did not take is still waiting: it was never
  // asked.
  plat::SetScriptedDialogAnswers({});
}

TEST_F(StartDialogTest, ACloseRequestWhileItIsOpenEndsStartUpQuietly) {
  plat::WndHandle hMain = plat::CreateWnd(MainWndProc, &g_MainWindow);
  g_MainWindow.m_hWnd = hMain;
  plat::PostMessage(hMain, plat::WM_CLOSE, 0, 0);
  EXPECT_FALSE(RunStartDialogStep());
  EXPECT_EQ(BootFile(), "");
  // The close is still to come, after the dialog.
  plat::MSG msg;
  ASSERT_TRUE(plat::PeekMessage(msg, true));
  EXPECT_EQ(msg.message, plat::WM_CLOSE);
  EXPECT_EQ(msg.hWnd, hMain);
  plat::DestroyWnd(hMain);
  g_MainWindow.m_hWnd = nullptr;
}

}  // namespace
