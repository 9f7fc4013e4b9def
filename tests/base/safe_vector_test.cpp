// Checked element access: good indexes are plain, bad ones are logged, close
// the program and still yield an element.
#include "base/safe_vector.h"

#include <gtest/gtest.h>

#include <string>

#include "base/logs.h"
#include "base/program_state.h"
#include "platform/msg/window.h"
#include "support/temp_folder.h"

namespace {

intptr_t IgnoreEveryMessage(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

// A report log and a main window in a temporary folder; counts the closes
// posted to the window.
class SafeAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string strPath = m_Dir / "Report_Game.txt";
    ASSERT_EQ(ReportInit(strPath.c_str()), 1);
    m_hWnd = plat::CreateWnd(IgnoreEveryMessage, nullptr);
    g_hMainWnd = m_hWnd;
  }
  void TearDown() override {
    g_hMainWnd = nullptr;
    plat::DestroyWnd(m_hWnd);
  }
  int TakeCloses() {
    int n = 0;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) n += (msg.message == plat::WM_CLOSE && msg.hWnd == m_hWnd);
    return n;
  }
  std::string Report() { return m_Dir.Read("Report_Game.txt"); }

  cTempFolder m_Dir;
  plat::WndHandle m_hWnd = nullptr;
};

}  // namespace

TEST_F(SafeAccess, GoodIndexIsSilent) {
  cSafeVector<int32_t> v{10, 20, 30};
  EXPECT_EQ(v.At(0), 10);
  EXPECT_EQ(v.At(2), 30);
  v.At(1) = 21;
  EXPECT_EQ(v[1], 21);
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(SafeAccess, BadVectorIndexLogsClosesAndYieldsElementZero) {
  struct Case {
    int nIndex;
    const char* szLine;
  };
  cSafeVector<int32_t> v{7, 8, 9, 10, 11};
  for (const Case& c : {Case{5, "err V[5] ( 5 , 4 )\n"}, Case{-1, "err V[-1] ( 5 , 4 )\n"}}) {
    ReportInit((m_Dir / "Report_Game.txt").c_str());
    EXPECT_EQ(&v.At(c.nIndex), &v[0]) << c.nIndex;
    EXPECT_EQ(Report(), c.szLine);
    EXPECT_EQ(TakeCloses(), 1);
  }
}

TEST_F(SafeAccess, EmptyVectorYieldsASharedDefaultElement) {
  cSafeVector<std::string> v;
  std::string& s = v.At(0);
  EXPECT_EQ(s, "");
  EXPECT_EQ(Report(), "err V[0] ( 0 , " + std::to_string(sizeof(std::string)) + " )\n");
  EXPECT_EQ(TakeCloses(), 1);
}

TEST_F(SafeAccess, ListFallbackIsSharedAndKeepsWhatWasWritten) {
  cSafeList<int32_t> l{1, 2, 3};
  EXPECT_EQ(l.At(2), 3);
  int32_t& a = l.At(3);
  a = 42;
  cSafeList<int32_t> other;
  EXPECT_EQ(&other.At(0), &a);
  EXPECT_EQ(other.At(-4), 42);
  EXPECT_EQ(Report(), "err L[3] ( 3 , 4 )\nerr L[0] ( 0 , 4 )\nerr L[-4] ( 0 , 4 )\n");
  EXPECT_EQ(TakeCloses(), 3);
}

TEST_F(SafeAccess, FillSetsEveryElementAndAnEmptyFillIsSilent) {
  cSafeVector<uint8_t> v(4, 0);
  v.Fill(9);
  EXPECT_EQ(v, (cSafeVector<uint8_t>{9, 9, 9, 9}));
  cSafeVector<int32_t> empty;
  empty.Fill(3);
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(SafeAccess, DebugLogGetsTheLineOnlyWhileEnabled) {
  std::string strDebug = m_Dir / "EC_Game.txt";
  DebugLogInit(1, strDebug.c_str());
  cSafeVector<int32_t> v{1};
  v.At(1);
  DebugLogInit(0, strDebug.c_str());
  v.At(2);
  EXPECT_EQ(m_Dir.Read("EC_Game.txt"), "err V[1] ( 1 , 4 )\n");
  EXPECT_EQ(Report(), "err V[1] ( 1 , 4 )\nerr V[2] ( 1 , 4 )\n");
}
