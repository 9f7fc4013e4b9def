// The built program on a stage whose player waits, as the play begins, for
// a button that never comes: the frames of the wait count towards the run's
// frame limit, and a close requested during the wait ends the program.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <thread>

#include "files/stage_data.h"
#include "support/default_game.h"
#include "support/run_process.h"
#include "support/temp_folder.h"
#include "support/test_paths.h"

namespace {

class WaitRun : public ::testing::Test {
 protected:
  WaitRun() {
    CopyDefaultGame(m_Project.Path());
    FillMissingPlayBitmaps(m_Project.Path());
    cCurrentFolder in(m_Project.Path());
    cStageData stage;
    EXPECT_TRUE(stage.Load("data\\stg4\\demo.stg4_783"));
    // The player waits as the play begins: for a press that never comes,
    // and then for a very long time.
    cFlow flow;
    cFlowCmd message;
    message.m_cKind = 19;
    message.m_vecParams.assign(18, 0);
    message.m_vecParams[8] = 1;  // the flow waits for a press
    message.m_strText = "wait";
    flow.m_vecCmds.push_back(std::move(message));
    FLOW_VECTOR& flows = stage.m_vecCharas.At(0).m_vecFlows;
    flows.push_back(flow);
    EXPECT_TRUE(stage.Save("data\\stg4\\wait.stg4_783"));
    cFlowCmd gameWait;
    gameWait.m_cKind = 18;
    gameWait.m_vecParams.assign(1, 60000);  // 100 minutes
    flows.back().m_vecCmds.At(0) = std::move(gameWait);
    EXPECT_TRUE(stage.Save("data\\stg4\\gamewait.stg4_783"));
  }
  std::vector<std::string> Args(int nFrames, const char* szStage = "wait") const {
    std::vector<std::string> args = {ProgramPath(), "--headless", "--no-wait", "--project",
                                     m_Project.Path()};
    if (nFrames >= 0) args.insert(args.end(), {"--frames", std::to_string(nFrames)});
    args.push_back(std::string("data/stg4/") + szStage + ".stg4_783");
    return args;
  }
  std::vector<std::string> Env() const { return {"XDG_RUNTIME_DIR=" + m_Runtime.Path()}; }
  bool ReportHasFaults() const {
    const std::string r = m_Project.Read("Report_Game.txt");
    return r.find("err V[") != std::string::npos || r.find("err L[") != std::string::npos;
  }
  // A wait that outlived the close by its own guard: the close was late,
  // however quickly the program then ended.
  bool ReportHasLateClose() const {
    return m_Project.Read("Report_Game.txt").find("a close did not reach the waiting loop") !=
           std::string::npos;
  }

  cTempFolder m_Project;
  cTempFolder m_Runtime;
};

TEST_F(WaitRun, TheFrameLimitIsReachedInsideAWait) {
  const cProcessResult r = RunProcess(Args(400), Env(), m_Project.Path(), 60);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_EQ(OwnErrorLines(r.strErr), std::vector<std::string>{});
  EXPECT_FALSE(ReportHasFaults());
}

TEST_F(WaitRun, ACloseDuringAWaitEndsTheProgram) {
  cChildProcess child(Args(-1), Env(), m_Project.Path());
  for (int i = 0; i < 3000 && m_Project.Read("Report_Game.txt").find("HD Free") == std::string::npos;
       ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  // Unpaced frames reach the player's wait within a few milliseconds.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  kill(child.Pid(), SIGTERM);
  const cProcessResult r = child.Wait(30);
  ASSERT_TRUE(r.bExited);
  EXPECT_EQ(r.nExitCode, 0);
  EXPECT_FALSE(ReportHasFaults());
  EXPECT_FALSE(ReportHasLateClose());
}

// However the wait stands, the program is gone soon after the close, paced
// or not. It takes a fifth of a second even on a busy machine; the bound is
// wider so that a test runner sharing two cores with many others cannot make
// it fail, while a wait that ignored the close would still run into it.
TEST_F(WaitRun, EveryWaitEndsWithinASecondOfAClose) {
  struct Case {
    const char* szStage;
    bool bPaced;
  };
  const Case cases[] = {{"wait", false}, {"gamewait", false}, {"wait", true}, {"gamewait", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.szStage) + (c.bPaced ? " paced" : ""));
    std::filesystem::remove(std::filesystem::path(m_Project.Path()) / "Report_Game.txt");
    std::vector<std::string> args = Args(-1, c.szStage);
    if (c.bPaced) std::erase(args, std::string("--no-wait"));
    cChildProcess child(args, Env(), m_Project.Path());
    for (int i = 0;
         i < 3000 && m_Project.Read("Report_Game.txt").find("HD Free") == std::string::npos; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // The frames reach the player's wait well within this, even on a busy
    // machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    const auto start = std::chrono::steady_clock::now();
    kill(child.Pid(), SIGTERM);
    const cProcessResult r = child.Wait(30);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    ASSERT_TRUE(r.bExited);
    EXPECT_EQ(r.nExitCode, 0);
    EXPECT_LT(ms, 5000);
    EXPECT_FALSE(ReportHasFaults());
    EXPECT_FALSE(ReportHasLateClose());
  }
}

}  // namespace
