// Unattended boxes: scripted answers in order, then each box's default.
#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

namespace plat {

TEST(MessageBoxes, ScriptedAnswersFirstThenSafeDefaults) {
  SetScriptedBoxAnswers({IDYES, IDOK, IDCANCEL});
  EXPECT_EQ(MessageBox(nullptr, "q", "c", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBox(nullptr, "q", "c", MB_YESNO), IDNO);  // OK is no button of it
  EXPECT_EQ(MessageBox(nullptr, "q", "c", MB_OKCANCEL), IDCANCEL);
  struct Case {
    uint32_t uType;
    int nWant;
  };
  for (const Case& c : {Case{MB_OK, IDOK}, Case{MB_OK | MB_ICONEXCLAMATION, IDOK},
                        Case{MB_OKCANCEL, IDCANCEL}, Case{MB_YESNO, IDNO}}) {
    EXPECT_EQ(MessageBox(nullptr, "\x83\x51\x81\x5b\x83\x80", "\x83\x47\x83\x89\x81\x5b", c.uType),
              c.nWant);
  }
}

}  // namespace plat
