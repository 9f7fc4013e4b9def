// Code lines as the code command runs them: their values and assignments,
// the order in which the operators apply, the quirks of the two passes, the
// statuses and system values they reach with the clamps and the follow-ups
// of an assignment, and every error with its text.
#include <gtest/gtest.h>

#include <string>

#include "base/logs.h"
#include "flow/command_catalogue.h"
#include "play_fixture.h"
#include "stage/code_eval.h"
#include "stage/command_context.h"
#include "stage/flow_engine.h"
#include "stage/player_obj.h"

namespace {

// A line, the player's v1 and v2 after it (7 and 4 before; its target's v1
// is 50, target slot 2 is empty), what RunCode gives and the error box.
struct CODELINECASE {
  const char* szLine;
  int32_t nV1, nV2;
  int nResult;
  const char* szError;
};
const std::string kDeep = std::string(300, '(') + "1" + std::string(300, ')');
const std::string kDeepLine = "v1 = " + kDeep;
const CODELINECASE kCodeLineCases[] = {
    {"v1 = 2 + 3 * 4", 14, 4, 1, ""},
    {"v1 = (2 + 3) * 4", 20, 4, 1, ""},
    {"v1 = ((1 + 2) * (3 + 4))", 21, 4, 1, ""},
    {"v1 = 8 - 3 - 2", 3, 4, 1, ""},
    {"v1 = 8 / 2 * 2", 8, 4, 1, ""},
    {"v1 = 2 * 3 + 4", 10, 4, 1, ""},
    {"v1 = -7 / 2", -3, 4, 1, ""},
    {"v1 = -7 % 2", -1, 4, 1, ""},
    {"v1 = 2000000", 999999, 4, 1, ""},
    {"v1 = v1 + 1", 8, 4, 1, ""},
    // Values are read before any operator: a second assignment reads the
    // line's starting values; assignment does not chain.
    {"v1 = 5 v2 = v1", 5, 7, 1, ""},
    {"v1 = v2 = 3", 4, 4, 0, "代入先が不正です！"},
    {"5 = 3", 7, 4, 0, "代入先が不正です！"},
    // Tokens need blanks; a bracket after other characters is a call; a
    // call must begin its word.
    {"v1 = 1+2", 1, 4, 1, ""},
    {"v1 = 2 *(3)", 2, 4, 1, ""},
    {"v1 = 1 +rand(1,6)", 1, 4, 1, ""},
    {"v1 = (1)(2)", 1, 4, 1, ""},
    {"v1 = rand(3, 3) + rand(-2, -2)", 1, 4, 1, ""},
    {"v1 = rand(1)", 7, 4, 0, "関数 rand の引数が不正です！"},
    {"v1 = rand()", 7, 4, 0, "関数 rand の引数が不正です！"},
    {"v1 = 5 / (1 - 1)", 7, 4, 0, "0除算が行われました！(v1 = 5 / 0)"},
    {"v1 = (5 / 0)", 0, 4, 0, "0除算が行われました！(5 / 0)"},
    {"v1 = 3 % 0", 7, 4, 0, "0除算が行われました！(v1 = 3 % 0)"},
    {"v1 = (2", 7, 4, 0, "\")\"が見つかりません！"},
    {"v1 = rand(1, 2", 7, 4, 0, "\")\"が見つかりません！"},
    {"v1 = 2)", 2, 4, 1, ""},
    // Prefixes.
    {"v1 = tg.v1 + tg1.v1", 100, 4, 1, ""},
    {"v1 = pl.v2 + my.v2", 8, 4, 1, ""},
    {"v1 = tg2.v1", 7, 4, 0, ""},
    {"v1 = foo.v2", 4, 4, 1, ""},
    {"foo.v1 = 1", 7, 4, 0, "オブジェクト \"foo.\" が認識できません！"},
    {"1.5", 7, 4, 0, "オブジェクト \"1.\" が認識できません！"},
    {"v1 = sys.v2", 0, 4, 1, ""},
    {"sys.v2 = 3", 7, 4, 0, "代入先が不正です！"},
    // Words outside the vocabulary read 0; numbers saturate at 32 bits.
    {"v1 = hello", 0, 4, 1, ""},
    {"v1 = 99999999999", 999999, 4, 1, ""},
    {"v1 = -99999999999", -999999, 4, 1, ""},
    {"v1 = -2147483648 / -1", -999999, 4, 1, ""},
    {"v1 = -2147483648 % -1", 0, 4, 1, ""},
    {"v1 = 65536 * 65536", 0, 4, 1, ""},
    {"", 7, 4, 1, ""},
    {"   ", 7, 4, 1, ""},
    {"v1\t= 3", 7, 4, 1, ""},
    {kDeepLine.c_str(), 0, 4, 0, "括弧の入れ子が深すぎます！"},
};

class CodeLines : public cPlayFixture {
 protected:
  // The player runs the lines; a character stands in its target slot 1.
  void SetUp() override {
    cPlayFixture::SetUp();
    MakeStage(20, 15, 1);
    Floor(14);
    Player(3, 13);
    Chara(8, 13).m_nMaxHP = 40;
    StartPlaying();
    cPlayerObj& player = ThePlayerObj();
    ASSERT_FALSE(g_CharaList.empty());
    m_pOther = &g_CharaList.front();
    player.m_vecTargets.assign(4, nullptr);
    player.m_vecTargets[0] = m_pOther;
    m_pOther->AddRefBy(&player, 0);
    player.m_vecCharaVar.At(1) = 7;
    player.m_vecCharaVar.At(2) = 4;
    m_pOther->m_vecCharaVar.At(1) = 50;
    TakeCloses();
  }
  int Run(const std::string& strLine) {
    ClearLastErrorBoxText();
    return RunCode(Scene(), strLine, ThePlayerObj());
  }
  cGameObj* m_pOther = nullptr;
};

// Each line: the player's v1 and v2 after it (7 and 4 before), what RunCode
// gives and the error box it shows.
TEST_F(CodeLines, LinesGiveTheirValuesAndErrors) {
  for (const CODELINECASE& c : kCodeLineCases) {
    cPlayerObj& player = ThePlayerObj();
    player.m_vecCharaVar.At(1) = 7;
    player.m_vecCharaVar.At(2) = 4;
    EXPECT_EQ(Run(c.szLine), c.nResult) << c.szLine;
    EXPECT_EQ(player.m_vecCharaVar.At(1), c.nV1) << c.szLine;
    EXPECT_EQ(player.m_vecCharaVar.At(2), c.nV2) << c.szLine;
    EXPECT_EQ(GetLastErrorBoxText(), c.szError) << c.szLine;
    EXPECT_EQ(TakeCloses(), 0) << c.szLine;
  }
}

TEST_F(CodeLines, OldProjectsKeepTheRightOperandBesideAResult) {
  g_SystemData.m_bCompat752 = 1;
  EXPECT_EQ(Run("v1 = 2 * 3 + 4"), 1);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(1), 6);
  g_SystemData.m_bCompat752 = 0;
  EXPECT_EQ(Run("v1 = 2 * 3 + 4"), 1);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(1), 10);
}

// rand draws in text order from the game's generator, also when the line
// later fails, and its value lies between its bounds in either order.
TEST_F(CodeLines, RandDrawsInTextOrder) {
  cRandGen copy = Scene().m_Rand;
  const int32_t a = RandRange(copy, 6, 1);
  const int32_t b = RandRange(copy, 10, 20);
  EXPECT_EQ(Run("v1 = rand(6, 1) v2 = rand(10,,20)"), 1);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(1), a);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(2), b);
  const uint32_t nBefore = Scene().m_Rand.m_nState;
  EXPECT_EQ(Run("v1 = rand(1, 2) / 0"), 0);
  EXPECT_NE(Scene().m_Rand.m_nState, nBefore);
  EXPECT_EQ(Run("v1 = rand(-2147483648, 2147483647)"), 1);
}

// Assignments to statuses and system values: clamps, and what follows them.
TEST_F(CodeLines, AssignmentsClampAndFollowUp) {
  cPlayerObj& player = ThePlayerObj();
  cGameObj& other = *m_pOther;
  cPlayScene& scene = Scene();

  EXPECT_EQ(Run("cid = 150 imp = -30 z = 9 mark = -5 stop = 300 def = -1"), 1);
  EXPECT_EQ(player.m_Def.m_cCharaId, 99);
  EXPECT_EQ(player.m_Def.m_cBodyImpact, -20);
  EXPECT_EQ(player.m_Def.m_cLayer, 7);
  EXPECT_EQ(player.m_Def.m_sMark, 0);
  EXPECT_EQ(player.m_Def.m_sStopEase, 200);
  EXPECT_EQ(player.m_Def.m_nDefence, 0);

  // HP of the executing character: no defeat check, its gauge shows the
  // change; HP of another: the defeat check, no gauge.
  player.m_Def.m_nMaxHP = 30;
  player.m_nHP = 20;
  player.m_HpGauge = GAUGE{};
  scene.m_bCheckDefeats = 0;
  EXPECT_EQ(Run("hp = 99"), 1);
  EXPECT_EQ(player.m_nHP, 30);
  EXPECT_GT(player.m_HpGauge.nFrames, 0);
  EXPECT_EQ(Run("hp = 0"), 1);
  EXPECT_EQ(scene.m_bCheckDefeats, 0);
  other.m_HpGauge = GAUGE{};
  EXPECT_EQ(Run("tg.hp = 0"), 1);
  EXPECT_EQ(other.m_nHP, 0);
  EXPECT_EQ(scene.m_bCheckDefeats, 1);
  EXPECT_EQ(other.m_HpGauge.nFrames, 0);

  // A new maximum brings HP into 1 to it.
  player.m_nHP = 10;
  EXPECT_EQ(Run("mhp = 5"), 1);
  EXPECT_EQ(player.m_nHP, 5);
  player.m_nHP = 0;
  EXPECT_EQ(Run("mhp = 0"), 1);
  EXPECT_EQ(player.m_Def.m_nMaxHP, 1);
  EXPECT_EQ(player.m_nHP, 1);

  // Unlimited lives read 0 and stay; the score and the time clamp.
  g_PlayData.m_nLives = kUnlimitedLives;
  EXPECT_EQ(Run("life = 5 v1 = life"), 1);
  EXPECT_EQ(g_PlayData.m_nLives, kUnlimitedLives);
  EXPECT_EQ(player.m_vecCharaVar.At(1), 0);
  g_PlayData.m_nLives = 3;
  EXPECT_EQ(Run("life = 500 score = 3 time = -4 Score = 8 S7 = sys.time"), 1);
  EXPECT_EQ(g_PlayData.m_nLives, 99);
  EXPECT_EQ(g_PlayData.m_nStageScore, 3);
  EXPECT_EQ(scene.m_nTime, 0);
  EXPECT_EQ(scene.m_StageVar.At(0), 8);

  // An auto-scroll speed is clamped and the axis scrolls at it.
  g_Stage.m_nScrollKindX = 1;
  EXPECT_EQ(Run("scrlx = 999"), 1);
  EXPECT_EQ(g_Stage.m_nAutoSpeedX, 480);
  EXPECT_NE(scene.m_ScrollX.m_dSpeed, 0);

  // The sight range: a player's sight follows in pixels, another's not.
  EXPECT_EQ(Run("sight = 3 tg.sight = 4"), 1);
  EXPECT_EQ(player.m_nSightRange, 48);
  EXPECT_EQ(other.m_Def.m_cSightRange, 4);
  EXPECT_EQ(other.m_nSightRange, 0);
}

// A variable outside its vector goes through the checked access: the close
// request, element 0 read; the line still runs.
TEST_F(CodeLines, VariablesOutsideTheirVectorsAskToClose) {
  g_PlayData.m_vVars.At(0) = 12;
  EXPECT_EQ(Run("v1 = C1001"), 1);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(1), 12);
  EXPECT_GT(TakeCloses(), 0);
  Scene().m_StageVar.At(0) = 5;
  EXPECT_EQ(Run("v1 = S-1"), 1);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(1), 5);
  EXPECT_GT(TakeCloses(), 0);
  // An operator missing an operand reads outside the token list the same
  // way, and the first token stands in: v1 = 3 + v1.
  EXPECT_EQ(Run("v1 = 3 +"), 1);
  EXPECT_EQ(ThePlayerObj().m_vecCharaVar.At(1), 8);
  EXPECT_GT(TakeCloses(), 0);
}

// The code command runs its text for the flow's character; an item's command
// of kind 22 runs it for the player that took the item.
TEST_F(CodeLines, TheCodeCommandsRunTheirText) {
  cPlayerObj& player = ThePlayerObj();
  cFlowCmd flowCmd;
  flowCmd.m_cKind = CMD_CODE;
  flowCmd.m_strText = "v3 = v2 * 10";
  CmdExec(CMDCONTEXT{*m_pOther, nullptr, nullptr, flowCmd, Scene(), m_pOther});
  EXPECT_EQ(m_pOther->m_vecCharaVar.At(3), 0);  // its own v2 is 0
  m_pOther->m_vecCharaVar.At(2) = 6;
  CmdExec(CMDCONTEXT{*m_pOther, nullptr, nullptr, flowCmd, Scene(), m_pOther});
  EXPECT_EQ(m_pOther->m_vecCharaVar.At(3), 60);

  cFlowCmd itemCmd;
  itemCmd.m_cCmdSet = 1;
  itemCmd.m_cKind = ItemCmdKind(CMD_CODE);
  itemCmd.m_strText = "v4 = 9";
  EXPECT_EQ(RunItemCmd(CMDCONTEXT{player, nullptr, nullptr, itemCmd, Scene(), nullptr}), 0);
  EXPECT_EQ(player.m_vecCharaVar.At(4), 9);
}

}  // namespace
