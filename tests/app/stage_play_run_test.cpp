// The built program plays a stage or a replay named on its command line,
// headless: the frames run to their end without a fault, and a stage or a
// replay without a player is refused with the program's own words.
#include <gtest/gtest.h>

#include <string>

#include "database/database.h"
#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"
#include "platform/fs/file_system.h"
#include "platform/text/cp932.h"
#include "records/record.h"
#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

class StagePlayRun : public ::testing::Test {
 protected:
  StagePlayRun() {
    CopyDefaultGame(m_Project.Path());
    FillMissingPlayBitmaps(m_Project.Path());
  }

  cProcessResult Run(const std::string& strFile, int nFrames) {
    return RunProcess({ProgramPath(), "--headless", "--no-wait", "--frames",
                       std::to_string(nFrames), "--project", m_Project.Path(), strFile},
                      {"XDG_RUNTIME_DIR=" + m_Runtime.Path()}, m_Project.Path(), 60);
  }
  std::string Report() const { return m_Project.Read("Report_Game.txt"); }
  // A bad index anywhere in the play is reported as "err V[..]" or "err L[..]".
  bool ReportHasFaults() const {
    const std::string r = Report();
    return r.find("err V[") != std::string::npos || r.find("err L[") != std::string::npos;
  }

  // The demo stage, as the game's files hold it.
  cStageData DemoStage() {
    cCurrentFolder in(m_Project.Path());
    cStageData stage;
    EXPECT_TRUE(stage.Load("data\\stg4\\demo.stg4_783"));
    return stage;
  }
  void SaveReplay(const std::string& strPath, cStageData& stage, int nFrames) {
    cCurrentFolder in(m_Project.Path());
    cKeyLog log;
    for (int i = 0; i < nFrames; ++i)
      log.AddKey(static_cast<int16_t>(i < nFrames / 2 ? 2 : 1), static_cast<int16_t>(i % 7 == 0));
    log.m_nSeed = 12345;
    cPlayData start;
    plat::fs::MakeDirectory("user_data");
    plat::fs::MakeDirectory("user_data\\rpl4");
    ASSERT_EQ(log.SaveReplay(strPath, stage, stage, start), 1);
  }

  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

TEST_F(StagePlayRun, TheDemoStagePlaysItsFrames) {
  const cProcessResult r = Run("data/stg4/demo.stg4_783", 600);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(OwnErrorLines(r.strErr), std::vector<std::string>{});
  EXPECT_FALSE(ReportHasFaults()) << Report();
}

TEST_F(StagePlayRun, TheStageSetUpAsksForTheStagesMusic) {
  // Music entry 1 names a piece that is not there: the set-up's request
  // for it leaves its mark in the report log.
  {
    cCurrentFolder in(m_Project.Path());
    cDatabase db;
    db.SetDefault();
    db.m_vecBgm.At(1).m_strFile = "bgm\\missing.mid";
    std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
    WriteRecordVector(db.m_vecBgm, *w);
    ASSERT_TRUE(DataFileCommit(GetDatabaseFilePath(DBFILE_BGM), *w));
  }
  cStageData stage = DemoStage();
  stage.m_nBgm = 1;
  {
    cCurrentFolder in(m_Project.Path());
    ASSERT_TRUE(stage.Save("data\\stg4\\music.stg4_783"));
  }
  const cProcessResult r = Run("data/stg4/music.stg4_783", 10);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_NE(plat::Cp932ToUtf8(Report()).find("missing.mid"), std::string::npos) << Report();
}

TEST_F(StagePlayRun, AReplayPlaysBackAndStartsAgainWhenItsLogEnds) {
  cStageData stage = DemoStage();
  SaveReplay("user_data\\rpl4\\demo.rpl4_783", stage, 100);
  const cProcessResult r = Run("user_data/rpl4/demo.rpl4_783", 400);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(OwnErrorLines(r.strErr), std::vector<std::string>{});
  EXPECT_FALSE(ReportHasFaults()) << Report();
}

TEST_F(StagePlayRun, AStageOrReplayWithoutAPlayerIsRefused) {
  cStageData stage = DemoStage();
  stage.m_vecCharas.clear();
  {
    cCurrentFolder in(m_Project.Path());
    ASSERT_TRUE(stage.Save("data\\stg4\\nobody.stg4_783"));
  }
  SaveReplay("user_data\\rpl4\\nobody.rpl4_783", stage, 10);
  const std::string strRefusal =
      plat::Cp932ToUtf8("主人公が配置されていないのでプレイできません！");
  for (const char* szFile : {"data/stg4/nobody.stg4_783", "user_data/rpl4/nobody.rpl4_783"}) {
    const cProcessResult r = Run(szFile, 5);
    ASSERT_TRUE(r.bExited) << szFile;
    EXPECT_EQ(r.nExitCode, 1) << szFile;
    const std::vector<std::string> lines = OwnErrorLines(r.strErr);
    ASSERT_EQ(lines.size(), 1u) << r.strErr;
    EXPECT_NE(lines[0].find(strRefusal), std::string::npos) << lines[0];
  }
}

}  // namespace
