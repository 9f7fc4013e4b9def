// Dialog controls bound to program variables, and the edit's line limits,
// on an in-memory dialog: what the player's clicks and keys leave in the
// control and in the bound variable.
#include "app/dialog_controls.h"

#include <gtest/gtest.h>

#include <string>

#include "base/program_state.h"
#include "platform/input/keyboard.h"
#include "tests/app/dialog_harness.h"

namespace {

using plat::eDlgItemKind;

class DialogControls : public testing::Test {
 protected:
  void SetUp() override { plat::SetScriptedDialogAnswers({}); }
  void TearDown() override {
    plat::ReleaseAllKeys();
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) {
    }
  }
};

TEST_F(DialogControls, RadioPairAndCheckBoxShowAndStoreTheirInts) {
  struct Case {
    const char* szName;
    int nStart;         // the bound int before the dialog
    uint16_t nClick;    // what the player clicks, 0 nothing; 99 unchecks both radios
    int nWantRadio100;  // shown check states
    int nWantRadio101;
    int nWantStored;
  };
  const Case cases[] = {
      {"int 1 checks the first button", 1, 0, 1, 0, 1},
      {"storing with the second checked writes 0", 1, 101, 1, 0, 0},
      {"int 0 checks the second", 0, 100, 0, 1, 1},
      {"neither checked leaves the int", 7, 0, 0, 0, 7},
      {"both cleared by the program leaves the int", 1, 99, 1, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    int nValue = c.nStart;
    int nCheck = 1;
    cRadioCtrl r0, r1;
    cCheckCtrl check;
    cHarnessDialog dlg(
        [&](cHarnessDialog& d) {
          r0.Bind(&d, 100);
          r0.m_pnValue = &nValue;
          r0.m_nValue = 1;
          r1.Bind(&d, 101);
          r1.m_pnValue = &nValue;
          r1.m_nValue = 0;
          check.Bind(&d, 102);
          check.m_pnValue = &nCheck;
          d.AddControl(&r0);
          d.AddControl(&r1);
          d.AddControl(&check);
        },
        [&](cHarnessDialog& d, plat::cMemoryDialogWindow& w) {
          EXPECT_EQ(w.GetCheck(100), c.nWantRadio100);
          EXPECT_EQ(w.GetCheck(101), c.nWantRadio101);
          EXPECT_EQ(w.GetCheck(102), 1);
          if (c.nClick == 99) {
            w.SetCheck(100, 0);
            w.SetCheck(101, 0);
          } else if (c.nClick) {
            w.Click(c.nClick);
          }
          w.Click(102);
          d.ReadControls();
          d.End(1);
        });
    EXPECT_EQ(dlg.Run(HarnessTemplate({HarnessItem(100, eDlgItemKind::RadioButton, true),
                                       HarnessItem(101, eDlgItemKind::RadioButton),
                                       HarnessItem(102, eDlgItemKind::CheckBox, true)})),
              1);
    EXPECT_EQ(nValue, c.nWantStored);
    EXPECT_EQ(nCheck, 0);
  }
}

// One edit, created from its parameters when the dialog opens, then typed
// into by the body.
struct EditRun {
  std::string strBound;
  EDITPARAMS params;
  cEditCtrl edit;

  template <typename BODY>
  void Run(BODY fnBody) {
    params.nId = 100;
    params.pstrText = &strBound;
    cHarnessDialog dlg(
        [&](cHarnessDialog& d) {
          edit.Create(&d, params);
          d.AddControl(&edit);
        },
        [&](cHarnessDialog& d, plat::cMemoryDialogWindow& w) {
          fnBody(w);
          d.ReadControls();
          d.End(1);
        });
    plat::DLGITEM item = HarnessItem(100, eDlgItemKind::Edit);
    ASSERT_EQ(dlg.Run(HarnessTemplate({item})), 1);
  }
};

std::string Selection(plat::cMemoryDialogWindow& w) {
  int nStart = 0, nEnd = 0;
  w.GetSelection(100, nStart, nEnd);
  return std::to_string(nStart) + "," + std::to_string(nEnd);
}

TEST_F(DialogControls, EditLimitsOfZeroTakeTheirDefaults) {
  EditRun run;
  run.Run([](plat::cMemoryDialogWindow&) {});
  EXPECT_EQ(run.edit.m_nMaxTotal, 4096);
  EXPECT_EQ(run.edit.m_nMaxPerLine, 1024);
  EXPECT_EQ(run.edit.m_nMaxLines, 32);

  cCtrlBinding b;
  std::string s;
  b.Set(1003, &s, 3, 1);
  EXPECT_EQ(b.params.nMaxTotal, 4);
  EXPECT_EQ(b.params.nMaxPerLine, 3);
  EXPECT_EQ(b.params.nMaxLines, 1);
  b.Set(1003, &s, 3, 0);
  EXPECT_EQ(b.params.nMaxPerLine, 0);  // the default per line in byte mode
}

TEST_F(DialogControls, AThreeCharacterFieldRefusesAFourthCharacter) {
  struct Case {
    const char* szName;
    std::string strBound;  // what the field opens with
    std::string strTyped;
    std::string strWant;
    std::string strWantSel;
  };
  const Case cases[] = {
      {"three letters", "", "abcd", "abc", "3,3"},
      {"two double-byte and one single-byte make three", "", "あいa", "あいa", "5,5"},
      {"a double-byte fourth is refused", "", "あいうえ", "あいう", "6,6"},
      {"a bound name too long opens cut to three", "abcdef", "", "abc", "3,3"},
      {"a lead byte pairs with the byte typed after it", "ab\x82", "c",
       "ab\x82"
       "c",
       "4,4"},
      {"a bound name ending in a lone lead byte opens without it", "abc\x82", "", "abc", "3,3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    EditRun run;
    run.strBound = c.strBound;
    cCtrlBinding b;
    b.Set(100, &run.strBound, 3, 1);
    run.params = b.params;
    run.Run([&](plat::cMemoryDialogWindow& w) {
      const int nEnd = static_cast<int>(w.GetItemText(100).size());
      w.SetSelection(100, nEnd, nEnd);
      if (!c.strTyped.empty()) w.Type(100, c.strTyped);
      EXPECT_EQ(w.GetItemText(100), c.strWant);
      EXPECT_EQ(Selection(w), c.strWantSel);
    });
    EXPECT_EQ(run.strBound, c.strWant);
  }
}

TEST_F(DialogControls, ALongLineWrapsOntoTheNextWithTheCaret) {
  for (int bCharMode : {0, 1}) {
    SCOPED_TRACE(bCharMode);
    EditRun run;
    run.params.nMaxPerLine = 5;
    run.params.nMaxLines = 3;
    run.params.bCharMode = bCharMode;
    run.Run([](plat::cMemoryDialogWindow& w) {
      w.Type(100, "abcdef");
      EXPECT_EQ(w.GetItemText(100), "abcde\r\nf");
      EXPECT_EQ(Selection(w), "8,8");
      // A line beyond the third is refused: text and caret as they were.
      w.Type(100, "ghijklmnop");
      EXPECT_EQ(w.GetItemText(100), "abcde\r\nfghij\r\nklmno");
      w.Type(100, "q");
      EXPECT_EQ(w.GetItemText(100), "abcde\r\nfghij\r\nklmno");
      EXPECT_EQ(Selection(w), "19,19");
    });
    EXPECT_EQ(run.strBound, "abcde\r\nfghij\r\nklmno");
  }
}

TEST_F(DialogControls, BackspaceRefusesToJoinOntoAFullLine) {
  struct Case {
    const char* szName;
    int bCharMode;
    std::string strText;  // typed first (wrapping at three per line)
    int nCaret;           // where Backspace is pressed
    std::string strWant;
  };
  const Case cases[] = {
      {"first line full", 1, "abcde", 5, "abc\r\nde"},
      {"first line with room", 1, "ab\r\nc", 4, "abc"},
      {"later line: the line break above counts", 1, "ab\r\ncd\r\nf", 8, "ab\r\ncd\r\nf"},
      {"later line of one character joins", 1, "ab\r\nc\r\nf", 7, "ab\r\ncf"},
      {"byte mode: two bytes earlier", 0, "ab\r\nc\r\nf", 7, "ab\r\nc\r\nf"},
      {"byte mode: an empty line above joins", 0, "ab\r\n\r\nf", 6, "ab\r\nf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    EditRun run;
    run.params.nMaxPerLine = 3;
    run.params.nMaxLines = 3;
    run.params.bCharMode = c.bCharMode;
    run.Run([&](plat::cMemoryDialogWindow& w) {
      w.Type(100, c.strText);
      w.SetSelection(100, c.nCaret, c.nCaret);
      plat::SetKeyDown(plat::VK_BACK, true);
      w.Backspace(100);
      plat::SetKeyDown(plat::VK_BACK, false);
      EXPECT_EQ(w.GetItemText(100), c.strWant);
    });
  }
}

TEST_F(DialogControls, AMissingCheckBoxAsksToCloseAndGivesNothing) {
  cSafeVector<CHECKENTRY> v(1);
  v.At(0).nId = 1004;
  EXPECT_EQ(FindCheckCtrl(v, 1004), &v.At(0).ctrl);
  plat::WndHandle hMain = plat::CreateWnd(
      [](plat::WndHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; }, nullptr);
  g_hMainWnd = hMain;
  EXPECT_EQ(FindCheckCtrl(v, 1005), nullptr);
  plat::MSG msg;
  ASSERT_TRUE(plat::PeekMessage(msg, true));
  EXPECT_EQ(msg.hWnd, hMain);
  EXPECT_EQ(msg.message, plat::WM_CLOSE);
  g_hMainWnd = nullptr;
  plat::DestroyWnd(hMain);
}

}  // namespace
