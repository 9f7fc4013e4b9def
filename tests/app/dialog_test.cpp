// The dialog class and its keyboard hook on an in-memory dialog: which keys
// reach the dialog and how, the Ctrl latch of a modeless dialog, the
// composition test, the command dispatch to controls, and what a close
// request does to an open dialog.
#include "app/dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/dialog_templates.h"
#include "app/keyboard_hook.h"
#include "app/window_list.h"
#include "platform/input/keyboard.h"
#include "tests/app/dialog_harness.h"

namespace {

using plat::eDlgItemKind;

std::vector<plat::MSG> TakeMessages() {
  std::vector<plat::MSG> out;
  plat::MSG msg;
  while (plat::PeekMessage(msg, true)) out.push_back(msg);
  return out;
}

class DialogTest : public testing::Test {
 protected:
  void SetUp() override {
    plat::SetScriptedDialogAnswers({});
    TakeMessages();
  }
  void TearDown() override {
    TakeMessages();
    UnhookKeyboard();
  }
};

// A control that notes the keys the dialog hands it.
class cKeyNote : public cControl {
 public:
  cKeyNote() : cControl(CTRL_PLAIN) {}
  void OnKey(int nVk, intptr_t, int bCtrl) override { m_vKeys.push_back({nVk, bCtrl}); }
  std::vector<std::pair<int, int>> m_vKeys;
};

TEST_F(DialogTest, TheHookRepostsKeysByItsRules) {
  constexpr uint32_t kRelease = 0x80000000u;
  constexpr uint32_t kDown = plat::WM_KEYDOWN, kUp = plat::WM_KEYUP, kDlgKey = WM_DIALOGKEY;
  struct Case {
    const char* szName;
    int nCode;
    int nVk;
    bool bRelease;
    bool bComposing;
    uint32_t nWant;  // the message posted to the dialog, 0 none
  };
  const Case cases[] = {
      {"Enter", HC_ACTION, plat::VK_RETURN, false, false, kDown},
      {"Enter finishing a composition", HC_ACTION, plat::VK_RETURN, false, true, 0},
      {"Tab is never reposted", HC_ACTION, plat::VK_TAB, false, false, 0},
      {"its release is", HC_ACTION, plat::VK_TAB, true, false, kUp},
      {"an arrow", HC_ACTION, plat::VK_LEFT, false, false, kDlgKey},
      {"Space", HC_ACTION, plat::VK_SPACE, false, false, kDlgKey},
      {"Delete", HC_ACTION, plat::VK_DELETE, false, false, kDlgKey},
      {"F1", HC_ACTION, plat::VK_F1, false, false, kDlgKey},
      {"F8", HC_ACTION, plat::VK_F1 + 7, false, false, kDlgKey},
      {"F9", HC_ACTION, plat::VK_F1 + 8, false, false, kDown},
      {"an arrow during a composition", HC_ACTION, plat::VK_DOWN, false, true, kDown},
      {"a letter", HC_ACTION, 'A', false, false, kDown},
      {"a letter's release", HC_ACTION, 'A', true, true, kUp},
      {"a key only looked at", HC_NOREMOVE, 'A', false, false, 0},
      {"a negative code", -1, 'A', false, false, 0},
  };
  cHarnessDialog dlg(nullptr, [&](cHarnessDialog& d, plat::cMemoryDialogWindow& w) {
    TakeMessages();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.szName);
      w.SetComposing(c.bComposing);
      const uint32_t dwFlags = 1u | (c.bRelease ? kRelease : 0u);
      EXPECT_EQ(cHook::KeyboardProc(c.nCode, c.nVk, static_cast<intptr_t>(dwFlags)), 0);
      std::vector<plat::MSG> msgs = TakeMessages();
      if (c.nWant == 0) {
        EXPECT_TRUE(msgs.empty());
        continue;
      }
      ASSERT_EQ(msgs.size(), 1u);
      EXPECT_EQ(msgs[0].hWnd, d.m_hWnd);
      EXPECT_EQ(msgs[0].message, c.nWant);
      EXPECT_EQ(msgs[0].wParam, static_cast<uintptr_t>(c.nVk));
    }
    w.SetComposing(false);
    d.End(1);
  });
  EXPECT_EQ(dlg.Run(HarnessTemplate({HarnessItem(100, eDlgItemKind::Edit)})), 1);
  // With no dialog up the hook passes everything on untouched.
  EXPECT_EQ(cHook::KeyboardProc(HC_ACTION, 'A', 1), 0);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DialogTest, AModelessDialogGetsNoKeysWhileCtrlIsHeldAModalOneDoes) {
  for (int bModeless : {0, 1}) {
    SCOPED_TRACE(bModeless);
    cHarnessDialog dlg(nullptr, [&](cHarnessDialog& d, plat::cMemoryDialogWindow&) {
      d.m_Hook.m_bModeless = bModeless;
      cHook::KeyboardProc(HC_ACTION, plat::VK_CONTROL, 1);
      EXPECT_EQ(cHook::IsCtrlHeld(), 1);
      TakeMessages();
      cHook::KeyboardProc(HC_ACTION, 'S', 1);
      EXPECT_EQ(TakeMessages().size(), bModeless ? 0u : 1u);
      cHook::KeyboardProc(HC_ACTION, plat::VK_CONTROL, static_cast<intptr_t>(0x80000001u));
      EXPECT_EQ(cHook::IsCtrlHeld(), 0);
      TakeMessages();
      cHook::KeyboardProc(HC_ACTION, 'S', 1);
      EXPECT_EQ(TakeMessages().size(), 1u);
      d.End(1);
    });
    EXPECT_EQ(dlg.Run(HarnessTemplate({})), 1);
  }
}

TEST_F(DialogTest, OneHookServesEveryDialogAndRepostedKeysReachTheControls) {
  cKeyNote note;
  cHarnessDialog outer(
      [&](cHarnessDialog& d) {
        note.Bind(&d, 100);
        d.AddControl(&note);
      },
      [&](cHarnessDialog& d, plat::cMemoryDialogWindow&) {
        EXPECT_TRUE(cHook::IsInstalled());
        // A key the hook posts as the dialogs' own key message is handled as
        // a key press when it comes round.
        cHook::KeyboardProc(HC_ACTION, plat::VK_SPACE, 1);
        cHook::KeyboardProc(HC_ACTION, 'Q', 1);
        for (const plat::MSG& msg : TakeMessages()) plat::DispatchMessage(msg);
        ASSERT_EQ(note.m_vKeys.size(), 2u);
        EXPECT_EQ(note.m_vKeys[0].first, plat::VK_SPACE);
        EXPECT_EQ(note.m_vKeys[1].first, 'Q');
        // A second dialog over it: the same hook, its own window.
        cHarnessDialog inner(nullptr, [&](cHarnessDialog& i, plat::cMemoryDialogWindow&) {
          EXPECT_EQ(plat::GetActiveDialog(), i.m_hWnd);
          TakeMessages();
          cHook::KeyboardProc(HC_ACTION, 'R', 1);
          std::vector<plat::MSG> msgs = TakeMessages();
          ASSERT_EQ(msgs.size(), 1u);
          EXPECT_EQ(msgs[0].hWnd, i.m_hWnd);
          i.End(2);
        });
        EXPECT_EQ(inner.Run(HarnessTemplate({})), 2);
        EXPECT_EQ(plat::GetActiveDialog(), d.m_hWnd);
        d.End(1);
      });
  EXPECT_EQ(outer.Run(HarnessTemplate({HarnessItem(100, eDlgItemKind::Label)})), 1);
}

int g_nMainKeys = 0;

TEST_F(DialogTest, ACloseRequestEndsTheDialogAndIsPostedAgainAfterIt) {
  g_nMainKeys = 0;
  plat::WndHandle hMain = plat::CreateWnd(
      [](plat::WndHandle, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
        if (message == plat::WM_KEYDOWN) ++g_nMainKeys;
        return 0;
      },
      nullptr);
  cHarnessDialog dlg(nullptr, [&](cHarnessDialog&, plat::cMemoryDialogWindow&) {
    // A key pressed on the window under the dialog (Escape would close the
    // game) is not acted on while the dialog is up.
    plat::PostMessage(hMain, plat::WM_KEYDOWN, plat::VK_ESCAPE, 0);
    plat::PostMessage(hMain, plat::WM_CLOSE, 0, 0);
  });
  // Unanswered, the dialog would stay open: the close request ends it as
  // its close box would.
  EXPECT_EQ(dlg.Run(HarnessTemplate({HarnessItem(1000, eDlgItemKind::Label)}), hMain), 0);
  EXPECT_EQ(g_nMainKeys, 0);
  std::vector<plat::MSG> msgs = TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].hWnd, hMain);
  EXPECT_EQ(msgs[0].message, plat::WM_CLOSE);

  // WM_QUIT as well.
  cHarnessDialog dlg2(
      nullptr, [&](cHarnessDialog&, plat::cMemoryDialogWindow&) { plat::PostQuitMessage(3); });
  EXPECT_EQ(dlg2.Run(HarnessTemplate({}), hMain), 0);
  msgs = TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].message, plat::WM_QUIT);
  EXPECT_EQ(msgs[0].wParam, 3u);
  plat::DestroyWnd(hMain);
}

TEST_F(DialogTest, CommandsReachTheMatchingEditOnceAndEscapeIsNotActedOn) {
  std::string s1, s2;
  cEditCtrl e1, e2;
  cHarnessDialog dlg(
      [&](cHarnessDialog& d) {
        EDITPARAMS p;
        p.nId = 100;
        p.pstrText = &s1;
        p.nMaxPerLine = 2;
        p.nMaxLines = 1;
        e1.Create(&d, p);
        p.nId = 101;
        p.pstrText = &s2;
        e2.Create(&d, p);
        d.AddControl(&e1);
        d.AddControl(&e2);
      },
      [&](cHarnessDialog& d, plat::cMemoryDialogWindow& w) {
        w.Type(101, "xyz");
        EXPECT_EQ(w.GetItemText(101), "xy");
        EXPECT_EQ(w.GetItemText(100), "");
        // Command 2 (what Escape sends) is no button of the dialog's.
        plat::SendMessage(d.m_hWnd, plat::WM_COMMAND, 2, 0);
        EXPECT_EQ(plat::GetActiveDialog(), d.m_hWnd);
        d.End(1);
      });
  EXPECT_EQ(dlg.Run(HarnessTemplate(
                {HarnessItem(100, eDlgItemKind::Edit), HarnessItem(101, eDlgItemKind::Edit)})),
            1);
}

TEST_F(DialogTest, DoModalFlagsHideAndDisableTheListedWindowsMeanwhile) {
  cWindowList list;
  cHarnessDialog listed(nullptr, [&](cHarnessDialog& l, plat::cMemoryDialogWindow& lw) {
    list.Add(&l);
    lw.Show(true);
    cHarnessDialog modal(nullptr, [&](cHarnessDialog& m, plat::cMemoryDialogWindow&) {
      EXPECT_FALSE(lw.IsShown());
      EXPECT_FALSE(lw.IsEnabled());
      m.End(1);
    });
    EXPECT_EQ(modal.RunModal(IDD_NAME_DIALOG, &list, DOMODAL_HIDE_LIST | DOMODAL_DISABLE_LIST), 1);
    EXPECT_TRUE(lw.IsShown());
    EXPECT_TRUE(lw.IsEnabled());
    EXPECT_TRUE(list.Remove(&l));
    l.End(1);
  });
  EXPECT_EQ(listed.Run(HarnessTemplate({})), 1);
}

TEST_F(DialogTest, DoModalOfAProgramTemplateItDoesNotHaveFails) {
  cHarnessDialog dlg(nullptr, nullptr);
  EXPECT_EQ(dlg.RunModal(555, nullptr, 0), -1);
}

TEST(WindowClass, MessageNamesFollowTheSystemsListAndNumbersOtherwise) {
  EXPECT_STREQ(cWindow::MessageName(0x100), "WM_KEYFIRST");
  EXPECT_STREQ(cWindow::MessageName(0x200), "WM_MOUSEFIRST");
  EXPECT_STREQ(cWindow::MessageName(0x10F), "WM_IME_COMPOSITION");
  EXPECT_STREQ(cWindow::MessageName(0x8000), "WM_APP");
  EXPECT_STREQ(cWindow::MessageName(0x38F), "WM_PENWINLAST");
  EXPECT_STREQ(cWindow::MessageName(0x401), "1025");
  EXPECT_STREQ(cWindow::MessageName(0xFFFFFFFFu), "4294967295");
}

}  // namespace
