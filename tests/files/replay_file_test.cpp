// Replay files: written and read again whole, the layout of old files, the
// names offered for saving, the save and load requests of the window
// thread, and damaged or unplayable replays.
#include "files/replay_file.h"

#include <gtest/gtest.h>

#include "base/file_dialogs.h"
#include "base/window_requests.h"
#include "files/files_test_support.h"
#include "files/replay_requests.h"
#include "files/system_data.h"
#include "flow/record_fuzz.h"
#include "platform/fs/file_system.h"
#include "platform/input/keyboard.h"

namespace {

using Bytes = std::vector<uint8_t>;

cStageData StageWithPlayer() {
  cStageData s;
  s.m_strName = "replayed";
  s.m_nWidth = 30;
  s.m_nHeight = 15;
  s.m_nTimeLimit = 90;
  s.m_vecCharas.resize(2);
  s.m_vecCharas[1].m_cOperator = 0;
  s.m_vecCharas[1].m_sColumn = 4;
  s.m_vecBgs[0].m_strImage = "sky.bmp";
  return s;
}

// A project folder as the current folder, with the replay folder; the
// globals the replay requests use are put back afterwards.
class Replay : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Dir.Write("user_data/rpl4/.keep", "");
    // As a loaded stage is: normalised, its settings copied.
    g_Stage = StageWithPlayer();
    g_Stage.Normalize();
    CopyStageSettings(g_StageCopy, g_Stage);
    for (int i = 0; i < 5; ++i) g_KeyLog.AddKey(static_cast<int16_t>(i / 2), 1);
    g_KeyLog.m_nSeed = 777;
    g_PlayDataStart.m_nLives = 4;
    g_PlayDataStart.m_strPlayerName = "bob";
  }
  void TearDown() override {
    g_Stage = cStageData();
    g_StageCopy = cStageData();
    g_KeyLog.Reset();
    g_KeyLogPrev.Reset();
    g_PlayData = cPlayData();
    g_PlayDataStart = cPlayData();
    g_PlayDataStartPrev = cPlayData();
    g_SystemData = cSystemData();
    SetFileDialogProc(nullptr);
    plat::fs::SetWriteFaultAfter(-1);
    plat::ReleaseAllKeys();
  }
  Bytes SaveSample(const std::string& strPath) {
    EXPECT_EQ(g_KeyLog.SaveReplay(strPath, g_Stage, g_StageCopy, g_PlayDataStart), 1);
    return ReadTestFile(Local(strPath));
  }
  std::string Local(std::string strPath) {
    for (char& c : strPath)
      if (c == '\\') c = '/';
    return m_Dir / strPath;
  }

  cTempFolder m_Dir{true};
  cBoxCapture m_Boxes;
};

TEST_F(Replay, WrittenAndReadBackWhole) {
  Bytes file = SaveSample("user_data\\rpl4\\a.rpl4_783");
  cStageData stage, settings;
  cKeyLog log;
  cPlayData play;
  ASSERT_EQ(log.LoadReplay("user_data\\rpl4\\a.rpl4_783", stage, settings, play), 1);
  EXPECT_EQ(log.m_nSeed, 777);
  EXPECT_EQ(log.m_vDirValues, (cSafeVector<int16_t>{0, 1, 2}));
  EXPECT_EQ(play.m_nLives, 4);
  EXPECT_EQ(play.m_strPlayerName, "bob");
  EXPECT_EQ(stage.m_strName, "replayed");
  EXPECT_EQ(stage.FindPlayer(), 1);
  EXPECT_EQ(settings.m_vecBgs[0].m_strImage, "sky.bmp");
  EXPECT_TRUE(settings.m_vecCharas.empty());
  // Written again from what was read: the same file.
  ASSERT_EQ(log.SaveReplay("user_data\\rpl4\\b.rpl4_783", stage, settings, play), 1);
  const Bytes again = ReadTestFile(Local("user_data\\rpl4\\b.rpl4_783"));
  ASSERT_EQ(again.size(), file.size());
  for (size_t i = 0; i < file.size(); ++i) ASSERT_EQ(again[i], file[i]) << "at " << i;
  EXPECT_TRUE(m_Boxes.Texts().empty());
}

TEST_F(Replay, FileOfVersion172EndsWithTheLog) {
  // Stage body without trailer, then the log; no play record.
  cByteBuilder b = cByteBuilder::File(172);
  AppendFields(b, g_Stage, 172);
  b.Count(5).I32(1).I32(1).I32(1).I32(1).I32(1);
  for (cStageParam8& rule : g_Stage.m_aRules) AppendFields(b, rule, 172);
  b.Count(0).Count(0).Count(0).Count(0).Count(1).U32(0);
  cEdChara hero;
  hero.m_cOperator = 0;
  AppendFields(b, hero, 172);
  b.I16(1).I16(2).I32(-1).Count(34).Zeros(34).Count(0).Count(0);
  b.Count(0).Count(0).Count(0);
  b.Count(1).I32(5).Count(0).Count(1).I16(8).Count(1).I16(0).Count(1).I32(3).Count(1).I32(3);
  WriteTestFile(m_Dir / "old.rpl4_172", b.Bytes());

  cStageData stage, settings;
  cKeyLog log;
  cPlayData play;
  play.m_nLives = 42;
  ASSERT_EQ(log.LoadReplay("old.rpl4_172", stage, settings, play), 1);
  EXPECT_EQ(play.m_nLives, 42);
  EXPECT_EQ(log.m_nSeed, 5);
  EXPECT_EQ(stage.FindPlayer(), 0);
  EXPECT_EQ(stage.m_vecCharas[0].m_sRow, 2);
  // Pieces of a current file in a 172 file are not read as a play record.
  Bytes current = SaveSample("user_data\\rpl4\\c.rpl4_783");
  current[0] = 172;
  current[1] = 0;
  WriteTestFile(m_Dir / "bad.rpl4_172", current);
  EXPECT_EQ(log.LoadReplay("bad.rpl4_172", stage, settings, play), 0);
}

TEST_F(Replay, UnplayableOrDamagedReplaysChangeNothing) {
  Bytes file = SaveSample("user_data\\rpl4\\a.rpl4_783");
  cStageData noPlayer;
  Bytes refused;
  {
    cKeyLog log = g_KeyLog;
    cDataWriter w;
    w.U32(783);
    noPlayer.WriteForReplay(w, noPlayer);
    log.Write(w);
    g_PlayDataStart.Write(w);
    refused = w.Data();
  }
  struct CASE {
    const char* szName;
    Bytes bytes;
    const char* szBox;
  };
  const std::string strLoadFail = "リプレイファイル %s の読み込みに失敗しました！";
  Bytes cut(file.begin(), file.begin() + file.size() / 2);
  Bytes newer = file;
  newer[0] = 0x10;
  const CASE cases[] = {
      {"noplayer.rpl4_783", refused, "主人公が配置されていないのでプレイできません！"},
      {"cut.rpl4_783", cut, "リプレイファイル cut.rpl4_783 の読み込みに失敗しました！"},
      {"newer.rpl4_783", newer,
       "リプレイファイル newer.rpl4_783 の読み込みに失敗しました！\nソフトより上位のバージョン"
       "のファイルは使用できません。"},
      {"missing.rpl4_783", {}, "リプレイファイル missing.rpl4_783 の読み込みに失敗しました！"},
  };
  for (const CASE& c : cases) {
    if (!c.bytes.empty()) WriteTestFile(m_Dir / c.szName, c.bytes);
    m_Boxes.Texts().clear();
    cStageData stage = StageWithPlayer();
    stage.m_strName = "before";
    cStageData settings;
    cKeyLog log;
    log.m_nSeed = 1;
    cPlayData play;
    play.m_nLives = 9;
    EXPECT_EQ(log.LoadReplay(c.szName, stage, settings, play), 0) << c.szName;
    EXPECT_EQ(m_Boxes.Texts(), std::vector<std::string>{c.szBox});
    EXPECT_EQ(stage.m_strName, "before");
    EXPECT_EQ(log.m_nSeed, 1);
    EXPECT_EQ(play.m_nLives, 9);
  }
}

TEST_F(Replay, EveryCutAndHugeCountFailsCleanly) {
  g_Stage.m_vecTexts.clear();
  Bytes file = SaveSample("user_data\\rpl4\\a.rpl4_783");
  auto Read = [](const Bytes& bytes, size_t n) {
    std::unique_ptr<cDataReader> r = DataFileOpenBytes(bytes.data(), n);
    REPLAYFILE out;
    return r ? ReadReplayFile(*r, out) : 0;
  };
  for (size_t n = 0; n < file.size(); ++n) EXPECT_EQ(Read(file, n), 0) << n;
  EXPECT_EQ(Read(file, file.size()), 1);
  for (size_t i = 4; i + 4 <= file.size(); ++i) {
    Bytes bad = file;
    for (int k = 0; k < 4; ++k) bad[i + k] = 0xFF;
    Read(bad, bad.size());
  }
}

TEST_F(Replay, ProposedNameTakesTheFirstFreeNumber) {
  EXPECT_EQ(ProposeReplayName(""), "");
  EXPECT_EQ(ProposeReplayName("data\\stg4\\c01-1.stg4_783"), "user_data\\rpl4\\c01-1_00.rpl4_783");
  m_Dir.Write("user_data/rpl4/c01-1_00.rpl4_783", "x");
  m_Dir.Write("user_data/rpl4/c01-1_01.rpl4_783", "x");
  plat::fs::ForgetListings();
  EXPECT_EQ(ProposeReplayName("data\\stg4\\c01-1.stg4_783"), "user_data\\rpl4\\c01-1_02.rpl4_783");
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j)
      m_Dir.Write("user_data/rpl4/c01-1_" + std::to_string(i) + std::to_string(j) + ".rpl4_783",
                  "x");
  plat::fs::ForgetListings();
  EXPECT_EQ(ProposeReplayName("data\\stg4\\c01-1.stg4_783"), "user_data\\rpl4\\c01-1_88.rpl4_783");
}

TEST_F(Replay, ReplayFileNamesByExtension) {
  for (const char* sz : {"a.rpl4_783", "x\\b.RPL4_100", "c.Rpl4_"})
    EXPECT_TRUE(IsReplayFileName(sz)) << sz;
  for (const char* sz : {"a.stg4_783", "rpl4_783", "a.rpl4", "a.rpl5_783", "a.rpl4_783.bak"})
    EXPECT_FALSE(IsReplayFileName(sz)) << sz;
}

// The chooser answers with the name a test sets; the offered name is kept.
std::string g_strAnswer;
FILEDIALOG g_LastDialog;
int AnswerDialog(plat::WndHandle, const FILEDIALOG& dlg, std::string& strPath) {
  g_LastDialog = dlg;
  strPath = g_strAnswer;
  return g_strAnswer.empty() ? 0 : 1;
}

TEST_F(Replay, SaveRequestWritesAtomicallyAndReportsFailure) {
  g_Stage.m_strPath = "data\\stg4\\s01-1.stg4_783";
  SetFileDialogProc(AnswerDialog);
  cCloseCounter closes;

  g_strAnswer = "";
  EXPECT_EQ(ServeSaveReplayRequest(0), 0);
  EXPECT_EQ(g_LastDialog.strProposed, "s01-1_00.rpl4_783");
  EXPECT_EQ(g_LastDialog.strFolder, "user_data\\rpl4\\");
  EXPECT_EQ(g_LastDialog.strTitle, "リプレイファイルの保存");

  g_strAnswer = "user_data\\rpl4\\mine.rpl4_783";
  EXPECT_EQ(ServeSaveReplayRequest(0), 1);
  const Bytes saved = ReadTestFile(Local(g_strAnswer));
  ASSERT_FALSE(saved.empty());

  // A save that breaks off keeps the old file, says so and plays on.
  g_KeyLog.AddKey(9, 9);
  plat::fs::SetWriteFaultAfter(100);
  EXPECT_EQ(ServeSaveReplayRequest(0), 1);
  plat::fs::SetWriteFaultAfter(-1);
  EXPECT_EQ(ReadTestFile(Local(g_strAnswer)), saved);
  EXPECT_EQ(m_Boxes.Texts(),
            std::vector<std::string>{
                "リプレイファイル user_data\\rpl4\\mine.rpl4_783 の保存に失敗しました！"});
  EXPECT_EQ(closes.Take(), 0);
}

TEST_F(Replay, OpenRequestLoadsTheChosenReplay) {
  SaveSample("user_data\\rpl4\\a.rpl4_783");
  WriteTestFile(m_Dir / "user_data/rpl4/cut.rpl4_783", Bytes{0x0F, 0x03, 0, 0, 1});
  SetFileDialogProc(AnswerDialog);
  cCloseCounter closes;
  g_Stage = cStageData();
  g_KeyLog.Reset();

  g_strAnswer = "";
  EXPECT_EQ(ServeOpenReplayRequest(), 0);
  EXPECT_EQ(g_LastDialog.strFolder, "user_data\\rpl4");

  g_strAnswer = "user_data\\rpl4\\a.rpl4_783";
  EXPECT_EQ(ServeOpenReplayRequest(), 1);
  EXPECT_EQ(g_Stage.m_strPath, g_strAnswer);
  EXPECT_EQ(g_Stage.m_strName, "replayed");
  EXPECT_EQ(g_StageCopy.m_vecBgs[0].m_strImage, "sky.bmp");
  EXPECT_EQ(g_KeyLog.m_nSeed, 777);
  EXPECT_EQ(g_PlayData.m_strPlayerName, "bob");
  EXPECT_EQ(closes.Take(), 0);

  // A replay that cannot be loaded ends the program.
  g_strAnswer = "user_data\\rpl4\\cut.rpl4_783";
  EXPECT_EQ(ServeOpenReplayRequest(), 1);
  EXPECT_EQ(closes.Take(), 1);
  EXPECT_EQ(g_Stage.m_strPath, "user_data\\rpl4\\a.rpl4_783");
}

// The game side's save key: sounds and requests go to the main window,
// which here only notes them.
std::vector<int> g_vSounds;
std::vector<int> g_vRequests;
intptr_t NoteRequests(plat::WndHandle, uint32_t message, uintptr_t wParam, intptr_t) {
  if (message == WM_PLAYSE) g_vSounds.push_back(static_cast<int>(wParam));
  if (message == WM_SAVEREPLAY) {
    g_vRequests.push_back(static_cast<int>(wParam));
    bFileRequestResult = 1;
    bFileRequestDone = 1;
  }
  return 0;
}

TEST_F(Replay, SaveKeysAskForTheirRun) {
  plat::WndHandle hWnd = plat::CreateWnd(NoteRequests, nullptr);
  g_hMainWnd = hWnd;
  g_SystemData.m_bReplayRecord = 1;
  g_vSounds.clear();
  g_vRequests.clear();

  EXPECT_EQ(CheckReplaySaveKey(0), 0);  // no key
  plat::SetKeyDown(plat::VK_F1 + 1, true);
  // F2 with no earlier run: the error sound, then silence for a second.
  EXPECT_EQ(CheckReplaySaveKey(0), 0);
  for (int i = 0; i < 59; ++i) CheckReplaySaveKey(0);
  EXPECT_EQ(g_vSounds, std::vector<int>{3});
  CheckReplaySaveKey(0);
  EXPECT_EQ(g_vSounds, (std::vector<int>{3, 3}));
  // F1 wins over F2 and asks for the current run.
  plat::SetKeyDown(plat::VK_F1, true);
  EXPECT_EQ(CheckReplaySaveKey(0), 1);
  EXPECT_EQ(g_vRequests, std::vector<int>{0});
  EXPECT_EQ(g_vSounds.back(), 1);
  // Not while a replay plays, nor when the project records none.
  EXPECT_EQ(CheckReplaySaveKey(1), 0);
  g_SystemData.m_bReplayRecord = 0;
  EXPECT_EQ(CheckReplaySaveKey(0), 0);
  EXPECT_EQ(g_vRequests.size(), 1u);

  g_hMainWnd = nullptr;
  plat::DestroyWnd(hWnd);
}

}  // namespace
