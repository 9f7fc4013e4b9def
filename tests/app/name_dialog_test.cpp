// The name-entry dialog answered unattended: which name it edits, the
// three-character limit, and what closing it without OK leaves.
#include "app/name_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "app/dialog_templates.h"
#include "app/main_window.h"
#include "app/window_list.h"
#include "base/program_state.h"
#include "base/window_requests.h"
#include "files/options.h"
#include "files/system_ini.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/memory_dialog.h"
#include "scenes/scene_manager.h"
#include "stage/play_scene.h"

namespace {

// Scripted answers come from the environment as UTF-8, whatever this file's
// own literals become.
std::string Utf8(const char8_t* sz) { return reinterpret_cast<const char*>(sz); }

class NameDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    plat::SetScriptedDialogAnswers({});
    m_strOldName = g_Option.m_strName;
    g_SceneManager.m_nGameMode = 5;
  }
  void TearDown() override {
    g_Option.m_strName = m_strOldName;
    g_SceneManager.m_nGameMode = 0;
    SYSTEMINI = SYSTEMINIDATA{};
    bWindowed = 1;
  }
  int Run(const std::string& strAnswer) {
    if (!strAnswer.empty()) plat::SetScriptedDialogAnswers({strAnswer});
    cNameDlg dlg(IDD_NAME_DIALOG, &g_MainWindow, 1, &g_WindowList);
    return dlg.DoModal(0);
  }
  std::string m_strOldName;
};

TEST_F(NameDialogTest, OkStoresAtMostThreeCharactersOfTheTypedName) {
  struct Case {
    const char* szName;
    std::string strStart;
    std::string strAnswer;  // UTF-8 actions, as the environment gives them
    int nWantResult;
    std::string strWant;
  };
  const Case cases[] = {
      {"OK as offered", "aaa", "", 1, "aaa"},
      {"a typed name replaces the offered one", "aaa", "1003=xyz", 1, "xyz"},
      {"a fourth character is refused", "aaa", "1003=abcd", 1, "abc"},
      {"double-byte characters count one each", "aaa", Utf8(u8"1003=あいうえ"), 1, "あいう"},
      {"mixed", "aaa", Utf8(u8"1003=あaい"), 1, "あaい"},
      {"a long stored name is cut", "abcdefg", "", 1, "abc"},
      {"a stored name ending in a broken character is cut", "abc\x82", "", 1, "abc"},
      {"an answer Shift-JIS cannot spell types nothing", "aaa", Utf8(u8"1003=a😀b"), 1, "aaa"},
      {"closed without OK keeps the name", "aaa", "1003=xyz,close", 0, "aaa"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    g_Option.m_strName = c.strStart;
    EXPECT_EQ(Run(c.strAnswer), c.nWantResult);
    EXPECT_EQ(g_Option.m_strName, c.strWant);
  }
}

TEST_F(NameDialogTest, EditsTheRankingNameDuringPlayAndNothingOtherwise) {
  g_SceneManager.m_nGameMode = 3;
  g_Option.m_strName = "opt";
  {
    cPlayScene scene;
    scene.m_strRankName = "old";
    EXPECT_EQ(Run("1003=new"), 1);
    EXPECT_EQ(scene.m_strRankName, "new");
  }
  EXPECT_EQ(g_Option.m_strName, "opt");
  // No play scene and not the options: the dialog has nothing to edit.
  ASSERT_EQ(g_PlayScene, nullptr);
  EXPECT_EQ(Run("1003=zzz"), 1);
  EXPECT_EQ(g_Option.m_strName, "opt");
}

TEST_F(NameDialogTest, OpensAtItsPlaceWithTheEnglishLabel) {
  bWindowed = 0;
  cNameDlg dlg(IDD_NAME_DIALOG, &g_MainWindow, 1, &g_WindowList);
  EXPECT_EQ(dlg.m_nReqPosX, 240);
  EXPECT_EQ(dlg.m_nReqPosY, 220);
  EXPECT_EQ(dlg.m_nCursorX, 320);
  EXPECT_EQ(dlg.m_nCursorY, 285);

  // A dialog that notes its label once it is open.
  struct cNoted : cNameDlg {
    using cNameDlg::cNameDlg;
    void OnInitDialog(uintptr_t w, intptr_t l) override {
      cNameDlg::OnInitDialog(w, l);
      plat::cDialogWindow* p = plat::GetDialogWindow(m_hWnd);
      strLabel = p->GetItemText(1007);
      int s = 0, e = 0;
      p->GetSelection(1003, s, e);
      strSel = std::to_string(s) + "," + std::to_string(e);
    }
    std::string strLabel, strSel;
  };
  for (int bEnglish : {0, 1}) {
    SYSTEMINI.nEnglish = bEnglish;
    g_Option.m_strName = "ab";
    cNoted noted(IDD_NAME_DIALOG, &g_MainWindow, 1, &g_WindowList);
    EXPECT_EQ(noted.DoModal(0), 1);
    EXPECT_EQ(noted.strLabel, bEnglish ? "     Name" : "登録名(3文字まで)");
    EXPECT_EQ(noted.strSel, "0,2");  // the whole name, to be typed over
  }
}

}  // namespace
