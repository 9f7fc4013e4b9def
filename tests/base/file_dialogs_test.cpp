// The file choosers answered unattended: how each is described, what a
// choice leaves in the buffer and the output list, and the choices the
// program cannot take.
#include "base/file_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text_helpers.h"
#include "platform/fs/file_system.h"
#include "platform/ui/dialog_box.h"
#include "support/temp_folder.h"

namespace {

constexpr char kFilter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";

std::vector<OPENFILENAME> g_vSeen;
bool g_bScreenPrepared = false;

void NoteScreen(OPENFILENAME& ofn, bool bBefore) {
  if (bBefore) g_vSeen.push_back(ofn);
  g_bScreenPrepared = bBefore;
}

class FileDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    g_vSeen.clear();
    SetFileDialogScreenProc(NoteScreen);
    m_Dir.Write("data/stg4/a.stg4_783", "a");
    m_Dir.Write("data/stg4/b.stg4_783", "b");
    m_Dir.Write("data/stg4/ステージ.stg4_783", "c");
    m_Dir.Write(reinterpret_cast<const char*>(u8"data/stg4/\U0001F600.stg4_783"), "d");
    m_Outside.Write("elsewhere.stg4_783", "e");
    plat::fs::ForgetListings();
  }
  void TearDown() override {
    SetFileDialogScreenProc(nullptr);
    plat::SetScriptedDialogAnswers({});
  }
  int Open(const std::string& strAnswer, std::vector<std::string>* pOut = nullptr,
           int bMultiple = 0) {
    plat::SetScriptedDialogAnswers({strAnswer});
    std::memset(m_szFile, 'x', sizeof m_szFile);
    return OpenFileDialog(nullptr, m_szFile, MAX_PATH, "data\\stg4\\", "t", kFilter,
                          "stg4_*;rpl4_*", bMultiple, pOut);
  }
  // The absolute path of a file in m_Outside as the program writes it.
  std::string OutsidePath(const std::string& strName) const {
    std::string s = std::filesystem::weakly_canonical(m_Outside / strName).string();
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
  }
  cTempFolder m_Dir{true};
  cTempFolder m_Outside;
  char m_szFile[MAX_PATH];
};

TEST_F(FileDialogsTest, EachChooserIsDescribedTheSameWayEverywhere) {
  Open("cancel");
  std::vector<std::string> v;
  Open("cancel", &v, 1);
  char szSave[MAX_PATH] = "proposed.rpl4_783";
  plat::SetScriptedDialogAnswers({"cancel"});
  EXPECT_EQ(SaveFileDialog(nullptr, szSave, "user_data\\rpl4\\", "s", kFilter, "rpl4_783", 1), 0);
  ASSERT_EQ(g_vSeen.size(), 3u);
  EXPECT_EQ(g_vSeen[0].Flags, 0xA100Cu);
  EXPECT_EQ(g_vSeen[1].Flags, 0xA120Cu);
  EXPECT_EQ(g_vSeen[2].Flags, 0xA120Eu);
  EXPECT_EQ(g_vSeen[0].lStructSize, 76u);
  EXPECT_EQ(g_vSeen[0].nMaxFile, 260u);
  EXPECT_STREQ(g_vSeen[0].lpstrInitialDir, "data\\stg4\\");
  EXPECT_EQ(g_vSeen[0].lpfnHook, nullptr);
  // The screen is put back after every chooser, also after a cancel.
  EXPECT_FALSE(g_bScreenPrepared);
  // A cancelled save keeps the proposed name.
  EXPECT_STREQ(szSave, "proposed.rpl4_783");
}

TEST_F(FileDialogsTest, AChoiceLandsInTheBufferInTheProgramsForm) {
  struct Case {
    const char* szName;
    std::string strAnswer;
    int nWant;
    std::string strWant;  // the buffer's text
  };
  const Case cases[] = {
      {"nobody answers: cancelled", "", 0, ""},
      {"a stage file", "data/stg4/a.stg4_783", 1, "data\\stg4\\a.stg4_783"},
      {"with Windows separators", "data\\stg4\\b.stg4_783", 1, "data\\stg4\\b.stg4_783"},
      {"a Japanese name", reinterpret_cast<const char*>(u8"data/stg4/ステージ.stg4_783"), 1,
       "data\\stg4\\ステージ.stg4_783"},
      {"a file that is not there", "data/stg4/none.stg4_783", 0, ""},
      {"an absolute path inside the project", m_Dir / "data/stg4/a.stg4_783", 1,
       "data\\stg4\\a.stg4_783"},
      // Outside the project a file keeps its whole path, in the program's form.
      {"a file outside the project", m_Outside / "elsewhere.stg4_783", 1,
       OutsidePath("elsewhere.stg4_783")},
      {"a name Shift-JIS cannot spell",
       reinterpret_cast<const char*>(u8"data/stg4/\U0001F600.stg4_783"), 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    std::vector<std::string> v;
    EXPECT_EQ(Open(c.strAnswer, &v), c.nWant);
    EXPECT_EQ(std::string(m_szFile), c.strWant);
    EXPECT_EQ(v.size(), c.nWant ? 1u : 0u);
    if (c.nWant) {
      EXPECT_EQ(v[0], c.strWant);
    }
  }
}

TEST_F(FileDialogsTest, SeveralFilesComeAsTheFolderAndTheNames) {
  std::vector<std::string> v;
  ASSERT_EQ(Open("data/stg4/a.stg4_783|data/stg4/b.stg4_783", &v, 1), 1);
  EXPECT_EQ(std::string(m_szFile, 34), std::string("data\\stg4\0a.stg4_783\0b.stg4_783\0\0", 34));
  EXPECT_EQ(v, (std::vector<std::string>{"data\\stg4\\a.stg4_783", "data\\stg4\\b.stg4_783"}));
  // One file of a chooser that takes several: its full path.
  v.clear();
  ASSERT_EQ(Open("data/stg4/a.stg4_783", &v, 1), 1);
  EXPECT_EQ(v, (std::vector<std::string>{"data\\stg4\\a.stg4_783"}));
}

TEST_F(FileDialogsTest, APathLongerThanTheProgramCanHoldIsRefused) {
  // 259 bytes fit; one more does not.
  for (size_t nLen : {259u, 260u}) {
    SCOPED_TRACE(nLen);
    const std::string strName = "data/stg4/" + std::string(nLen - 10 - 4, 'n') + ".stg";
    ASSERT_EQ(strName.size(), nLen);
    m_Dir.Write(strName.substr(0, 10) + std::string(nLen - 14, 'n') + ".stg", "x");
    const bool bFits = nLen <= 259;
    EXPECT_EQ(Open(strName), bFits ? 1 : 0);
    EXPECT_EQ(std::strlen(m_szFile), bFits ? nLen : 0u);
  }
}

TEST_F(FileDialogsTest, ASavedNameNeedNotExist) {
  char szSave[MAX_PATH];
  std::memset(szSave, 'x', sizeof szSave);
  plat::SetScriptedDialogAnswers({"user_data/rpl4/new.rpl4_783"});
  EXPECT_EQ(SaveFileDialog(nullptr, szSave, "user_data\\rpl4\\", "s", kFilter, "rpl4_783", 0), 1);
  EXPECT_STREQ(szSave, "user_data\\rpl4\\new.rpl4_783");
}

}  // namespace
