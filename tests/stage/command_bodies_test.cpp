// The commands that act on flows, the stage, characters, the screen and
// sound, called as the executor calls them on a play under way: each
// command's effect on the play state, item commands by kind, and commands
// that name what is not there.
#include <gtest/gtest.h>

#include <functional>

#include "database/post_load_tables.h"
#include "flow/command_catalogue.h"
#include "flow/cond_list.h"
#include "flow/ed_move.h"
#include "files/world_map.h"
#include "play_fixture.h"
#include "scenes/play_surfaces.h"
#include "stage/command_table.h"
#include "stage/command_bodies.h"
#include "stage/command_context.h"
#include "stage/command_display.h"
#include "stage/flow_state.h"
#include "stage/player_obj.h"

namespace {

constexpr int32_t BY_ID_SCOPE = 2;

cFlowCmd BodyCmd(eCmdKind eKind, std::vector<int32_t> params) {
  cFlowCmd cmd;
  cmd.m_cKind = static_cast<uint8_t>(eKind);
  cmd.m_vecParams.assign(params.begin(), params.end());
  return cmd;
}

// A flow that lasts: one wait of ten seconds, started only by a flow
// operation.
cFlow LongFlow(uint8_t cId) {
  cFlow flow;
  flow.m_cId = cId;
  flow.m_cTrigger = 22;
  cFlowCmd wait = BodyCmd(CMD_WAIT, {});
  wait.m_sTime = 100;
  flow.m_vecCmds.push_back(wait);
  return flow;
}

class Commands : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    m_SavedEffects = Database.m_vecEffect;
    m_SavedPictures = Database.m_vecPicture;
    m_SavedAnimeSets = Database.m_vecAnimeSet;
  }
  void TearDown() override {
    Database.m_vecEffect = m_SavedEffects;
    Database.m_vecPicture = m_SavedPictures;
    Database.m_vecAnimeSet = m_SavedAnimeSets;
    cPlayFixture::TearDown();
  }
  // A player at (3, 13) and a computer's character at (10, 13) on a floor,
  // each with the flows given, the play under way.
  void StartWith(std::vector<cFlow> playerFlows, std::vector<cFlow> charaFlows) {
    Floor(14);
    Player(3, 13).m_vecFlows = std::move(playerFlows);
    Chara(10, 13).m_vecFlows = std::move(charaFlows);
    StartPlaying();
  }
  cGameObj& TheChara() { return g_CharaList.front(); }
  int Run(cGameObj& chara, cFlowCmd& cmd, cFlowState* pRun = nullptr) {
    return g_CmdTable[cmd.m_cKind].pfnBody(CMDCONTEXT{chara, pRun, nullptr, cmd, Scene(), &chara});
  }

  cSafeVector<cEdEffect> m_SavedEffects;
  cSafeVector<cEdPicture> m_SavedPictures;
  cSafeVector<cEdAnimeSet> m_SavedAnimeSets;
};

TEST_F(Commands, FlowOperationsActOnTheRunsTheyName) {
  enum { THIS, OTHERS, BY_ID };
  struct Case {
    const char* szName;
    int32_t nOp, nScope, nId, nObject;
    // Per run of the acting character (runs 0 and 1 of ID 1 running, run 2
    // of ID 2 stopped; run 0 is the one the command runs in), then per run
    // of the player (IDs 1, 1, 2, all running): 'R' running, 'S' stopped,
    // 'P' paused, 'H' halted, 'E' erased when the step ends; a run erased
    // at once is not listed.
    const char* szChara;
    const char* szPlayer;
    // The animation run 1 of the acting character started: 'K' kept
    // running, 'P' paused, 'G' gone.
    char cAnim;
  };
  const Case cases[] = {
      {"end this flow", 1, THIS, 0, 0, "SRS", "RRR", 'K'},
      {"start by ID", 0, BY_ID, 2, 0, "RRR", "RRR", 'K'},
      {"restart by ID", 0, BY_ID, 1, 0, "RRS", "RRR", 'G'},
      {"pause the others", 2, OTHERS, 0, 0, "RPP", "RRR", 'P'},
      {"halt by ID", 5, BY_ID, 1, 0, "HHS", "RRR", 'G'},
      {"end the others", 1, OTHERS, 0, 0, "RSS", "RRR", 'G'},
      {"erase own flows by ID: when the step ends", 4, BY_ID, 1, 0, "EES", "RRR", 'K'},
      {"erase a target's adjacent flows at once", 4, BY_ID, 1, 1, "RRS", "R", 'K'},
      {"an empty target slot", 1, BY_ID, 1, 2, "RRS", "RRR", 'K'},
      {"an operation past the list", 9, BY_ID, 1, 0, "RRS", "RRR", 'K'},
      {"a scope past the list", 1, 7, 1, 0, "RRS", "RRR", 'K'},
  };
  auto Describe = [](const cGameObj& c) {
    std::string s;
    for (const cFlowState& r : c.m_vecFlowStates)
      s += r.m_nRemoval ? 'E' : r.m_nHalted ? 'H' : r.m_nPaused ? 'P' : r.m_nRunning ? 'R' : 'S';
    return s;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    delete m_pScene;
    m_pScene = nullptr;
    MakeStage(20, 15, 1);
    StartWith({LongFlow(1), LongFlow(1), LongFlow(2)}, {LongFlow(1), LongFlow(1), LongFlow(2)});
    cGameObj& chara = TheChara();
    cGameObj& player = ThePlayerObj();
    chara.m_vecTargets.assign(kTargetSlots, nullptr);
    chara.m_vecTargets[0] = &player;
    for (int i = 0; i < 2; ++i) chara.m_vecFlowStates[i].Start(chara, Scene());
    for (cFlowState& r : player.m_vecFlowStates) r.Start(player, Scene());
    for (int i = 0; i < 3; ++i) chara.m_vecFlowStates[i].m_nSerial = 100 + i;
    chara.m_AnimList.clear();
    chara.m_AnimList.emplace_back().m_nSerial = 101;
    cFlowCmd op = BodyCmd(CMD_FLOW_OP, {c.nOp, c.nScope, c.nId, c.nObject});
    Run(chara, op, &chara.m_vecFlowStates[0]);
    EXPECT_EQ(Describe(chara), c.szChara);
    EXPECT_EQ(Describe(player), c.szPlayer);
    const char cAnim =
        chara.m_AnimList.empty() ? 'G' : chara.m_AnimList.front().m_nPaused ? 'P' : 'K';
    EXPECT_EQ(cAnim, c.cAnim);
    chara.FinishFlowStep();
    std::string strLeft = c.szChara;
    std::erase(strLeft, 'E');
    EXPECT_EQ(chara.m_vecFlowStates.size(), strLeft.size());
  }
}

TEST_F(Commands, AFlowOperationHeldByConditionsThatFailDoesNothing) {
  StartWith({}, {LongFlow(1)});
  cGameObj& chara = TheChara();
  cFlowCmd op = BodyCmd(CMD_FLOW_OP, {0, BY_ID_SCOPE, 1, 0});
  NewCondList(op.m_pCondList);
  op.m_pCondList->m_cEnabled = 1;
  cCond cond;
  cond.m_cKind = 2;  // stage variable 0 equals 5
  cond.m_nConstant = 5;
  op.m_pCondList->m_vecConds.push_back(cond);
  Run(chara, op);
  EXPECT_EQ(chara.m_vecFlowStates[0].m_nRunning, 0);
  op.m_pCondList->m_cEnabled = 0;
  Run(chara, op);
  EXPECT_EQ(chara.m_vecFlowStates[0].m_nRunning, 1);
}

TEST_F(Commands, FlowsThatStartEachOtherBeforeTheStageStartsAreBounded) {
  // Two flows of the stage's start, each starting the other at once.
  cFlow a, b;
  a.m_cId = 1;
  b.m_cId = 2;
  a.m_cTrigger = b.m_cTrigger = 22;
  cFlowCmd startB = BodyCmd(CMD_FLOW_OP, {0, BY_ID_SCOPE, 2, 0});
  cFlowCmd startA = BodyCmd(CMD_FLOW_OP, {0, BY_ID_SCOPE, 1, 0});
  startA.m_cParallel = startB.m_cParallel = 1;
  a.m_vecCmds.push_back(startB);
  b.m_vecCmds.push_back(startA);
  StartWith({}, {a, b});
  cGameObj& chara = TheChara();
  chara.m_Def.m_vecFlows[0].m_cTrigger = chara.m_Def.m_vecFlows[1].m_cTrigger = 21;
  chara.m_vecFlowStates[0].Start(chara, Scene());
  EXPECT_NE(m_Dir.Read("Report_Game.txt").find("flows that start each other"), std::string::npos);
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Commands, AStageClearLeavesTheNextStageForTheStageEnd) {
  struct Case {
    int32_t nNext, nPart;
    const char* szText;
    int32_t nWantStage;
    const char* szWantPath;
    const char* szWantText;  // the command's own text afterwards
  };
  const Case cases[] = {
      {0, 0, "", 4, "", ""},
      {1, 7, "", 7, "", ""},
      {2, 0, "stg4\\next.stg4_783", 3, "stg4\\next.", "stg4\\next."},
      {2, 0, "", 3, "", ""},  // an empty path: a box says so (below)
      {3, 0, "", 0, "", ""},
      {9, 0, "", 55, "keep", ""},  // an unknown choice changes neither
  };
  StartWith({}, {});
  g_PlayData.m_nPartNo = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nNext);
    Scene().m_nNextStage = 55;
    Scene().m_strNextStage = "keep";
    Scene().m_nStepResult = 0;
    cFlowCmd cmd = BodyCmd(CMD_STAGE_CLEAR, {c.nNext, c.nPart, 0, 0, 0, 0, 0, 0, 0});
    cmd.m_strText = c.szText;
    EXPECT_EQ(Run(TheChara(), cmd), STEP_STAGE_OVER);
    EXPECT_EQ(Scene().m_nStepResult, STEP_STAGE_OVER);
    EXPECT_EQ(Scene().m_nNextStage, c.nWantStage);
    EXPECT_EQ(Scene().m_strNextStage, c.szWantPath);
    if (c.nNext == 2) {
      EXPECT_EQ(cmd.m_strText, c.szWantText);
    }
  }
  EXPECT_NE(GetLastErrorBoxText().find("が不正です"), std::string::npos);
  // The map place is held inside the map; the start place is kept for the
  // next stage, facing as the player does now.
  g_WorldMap.m_nWidth = 8;
  g_WorldMap.m_nHeight = 6;
  ThePlayerObj().m_nFacing = 1;
  cFlowCmd cmd = BodyCmd(CMD_STAGE_CLEAR, {3, 0, 1, 20, -4, 1, 5, 9, 2});
  Run(TheChara(), cmd);
  EXPECT_EQ(g_PlayData.m_nMapX, 7);
  EXPECT_EQ(g_PlayData.m_nMapY, 0);
  EXPECT_EQ(g_PlayData.m_bStartOverride, 1);
  EXPECT_EQ(g_PlayData.m_nOverrideX, 5);
  EXPECT_EQ(g_PlayData.m_nOverrideY, 9);
  EXPECT_EQ(g_PlayData.m_nOverrideDir, 1);
  cmd.m_vecParams[5] = 0;
  Run(TheChara(), cmd);
  EXPECT_EQ(g_PlayData.m_bStartOverride, 0);
  g_WorldMap.m_nWidth = g_WorldMap.m_nHeight = 0;
}

TEST_F(Commands, SecondStatusOperationSwitchesFlags) {
  struct Case {
    const char* szName;
    int32_t nSubject, nFlag, nValue;
    std::function<int32_t()> read;
    int32_t nWant;
  };
  auto chara = [this]() -> cGameObj& { return TheChara(); };
  const Case cases[] = {
      {"vanish", 0, 0, 1, [&] { return chara().m_nVanish; }, 1},
      {"transparent", 0, 1, 1, [&] { return int32_t{chara().m_Def.m_cTransparent}; }, 1},
      {"fixed facing", 0, 2, 0, [&] { return int32_t{chara().m_Def.m_cFixedDir}; }, 0},
      {"invincible", 0, 4, 2, [&] { return int32_t{chara().m_Def.m_cInvincible}; }, 2},
      {"giant", 0, 5, 3, [&] { return chara().m_nWidth / std::max(1, chara().m_nBaseWidth); }, 3},
      {"giant past its range", 0, 5, 40, [&] { return chara().GetScale(); }, 10},
      {"auto-scroll sync", 0, 6, 1, [&] { return chara().m_nScrollSync; }, 1},
      {"the player flies", 1, 3, 1, [&] { return ThePlayerObj().m_nFlying; }, 1},
      {"no flight but for the player", 0, 3, 1, [&] { return chara().m_nFlying; }, 0},
      {"the player vanishes: its HP", 1, 0, 1, [&] { return ThePlayerObj().m_nHP; }, 0},
      {"an empty target", 2, 1, 1, [&] { return int32_t{chara().m_Def.m_cTransparent}; }, 0},
      {"the system's scroll", 5, 0, 1, [&] { return Scene().m_ScrollX.m_bAuto; }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    delete m_pScene;
    m_pScene = nullptr;
    MakeStage(20, 15, 1);
    StartWith({}, {});
    chara().m_vecTargets.assign(kTargetSlots, nullptr);
    chara().m_vecTargets[0] = &ThePlayerObj();
    Scene().m_bCheckDefeats = 0;
    cFlowCmd cmd = BodyCmd(CMD_STATUS_OP2, {c.nSubject, c.nFlag, c.nValue});
    Run(chara(), cmd);
    EXPECT_EQ(c.read(), c.nWant);
    // Another character's vanishing is looked at by the next defeat pass.
    if (c.nFlag == 0 && c.nSubject != 5) {
      EXPECT_EQ(Scene().m_bCheckDefeats, c.nSubject != 0 ? 1 : 0);
    }
  }
}

TEST_F(Commands, VanishingReachesChildrenAndTheirChildren) {
  struct Case {
    int32_t nWhat;
    const char* szWant;  // vanished: parent, child, grandchild, other
  };
  const Case cases[] = {{0, "1111"}, {2, "0110"}, {3, "0000"}, {4, "0110"}, {5, "0110"}, {8, "0000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nWhat);
    delete m_pScene;
    m_pScene = nullptr;
    MakeStage(20, 15, 1);
    Floor(14);
    Player(1, 13);
    for (int16_t col : {5, 7, 9, 11}) Chara(col, 13);
    StartPlaying();
    std::vector<cGameObj*> c4;
    for (cCharaObj& ch : g_CharaList) c4.push_back(&ch);
    ASSERT_EQ(c4.size(), 4u);
    c4[1]->SetParent(c4[0]);
    c4[2]->SetParent(c4[1]);
    for (cGameObj* p : c4) p->m_nGroup = 3;
    Scene().m_CharaGroups.At(3).assign(c4.begin(), c4.end());
    cFlowCmd cmd = BodyCmd(CMD_VANISH, {c.nWhat, 3, 1});
    Run(*c4[0], cmd);
    std::string s;
    for (cGameObj* p : c4) s += p->m_nVanish ? '1' : '0';
    EXPECT_EQ(s, c.szWant);
  }
}

TEST_F(Commands, WarpsMoveAtOnceAndAreUndoneWhereTheyMayNotStand) {
  struct Case {
    const char* szName;
    int8_t cMode, cDirection, cCoordKind;
    int16_t sDistance, sXBl, sYBl, sXDot;
    bool bWall;
    double dWantDX;  // from where it stood
  };
  const Case cases[] = {
      {"right by 3 hbl", 0, 3, 0, 3, 0, 0, 0, false, 48},
      {"left by 2 hbl", 0, 2, 0, 2, 0, 0, 0, false, -32},
      {"into a wall: undone", 0, 3, 0, 2, 0, 0, 0, true, 0},
      {"out of the stage: undone", 0, 2, 0, 100, 0, 0, 0, false, 0},
      {"relative, mirrored as it faces right", 5, 0, 0, 0, 1, 0, 4, false, -36},
      {"to a stage cell", 5, 0, 1, 0, 15, 13, 0, false, 5 * 32},
      {"from an empty target", 4, 3, 0, 3, 0, 0, 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    delete m_pScene;
    m_pScene = nullptr;
    MakeStage(20, 15, 1);
    if (c.bWall) Block(11, 13);
    StartWith({}, {});
    cGameObj& chara = TheChara();
    chara.m_nFacing = 1;
    chara.m_Def.m_cFixedDir = 1;
    const double dX = chara.m_dX;
    cFlowCmd cmd = BodyCmd(CMD_WARP, {});
    NewEdMove(cmd.m_pMove);
    cmd.m_pMove->m_cMode = c.cMode;
    cmd.m_pMove->m_cDirection = c.cDirection;
    cmd.m_pMove->m_cCoordKind = c.cCoordKind;
    cmd.m_pMove->m_sDistance = c.sDistance;
    cmd.m_pMove->m_sTargetXBl = c.sXBl;
    cmd.m_pMove->m_sTargetYBl = c.sYBl;
    cmd.m_pMove->m_sTargetXDot = c.sXDot;
    Run(chara, cmd);
    EXPECT_DOUBLE_EQ(chara.m_dX - dX, c.dWantDX);
  }
}

TEST_F(Commands, DisplayCommandsChangeWhatIsShown) {
  Database.m_vecEffect.resize(3);
  Database.m_vecEffect[1].m_nCellW = 32;
  Database.m_vecEffect[1].m_nCellH = 10;
  const auto savedChara = g_CharaEffectRunTable;
  const auto savedScreen = g_ScrEffectRunTable;
  g_CharaEffectRunTable.resize(2);
  g_CharaEffectRunTable[1].m_nEffect = 1;
  g_ScrEffectRunTable.resize(2);
  g_ScrEffectRunTable[1].m_nEffect = 1;
  StartWith({}, {});
  cGameObj& chara = TheChara();
  struct Case {
    const char* szName;
    cFlowCmd cmd;
    std::function<bool()> check;
  };
  const Case cases[] = {
      {"a graphic", BodyCmd(CMD_GRAPHIC, {2, 70000, 5}),
       [&] {
         return chara.m_Def.m_cGraphicKind == 2 && chara.m_Def.m_sGraphic == 4464 &&
                chara.m_nKindValue == 4464 && chara.m_Def.m_sGraphicCell == 5;
       }},
      {"an effect at 150 %", BodyCmd(CMD_EFFECT, {1, 0, 0, 0, 0, 0, 150, 0}),
       [&] { return Scene().m_EffectList.back().m_nWidth == 48; }},
      {"an effect at 1 %", BodyCmd(CMD_EFFECT, {1, 0, 0, 0, 0, 0, 1, 0}),
       [&] { return Scene().m_EffectList.back().m_nWidth == 0; }},
      {"effect 0 clears them", BodyCmd(CMD_EFFECT, {0, 0, 0, 0, 0, 0, 100, 0}),
       [&] { return Scene().m_EffectList.empty(); }},
      {"an effect not in the list shows nothing", BodyCmd(CMD_EFFECT, {9, 0, 0, 0, 0, 0, 100, 1}),
       [&] { return Scene().m_EffectList.empty(); }},
      {"an animation not in the list", BodyCmd(CMD_ANIME, {30000}),
       [&] { return chara.m_AnimList.empty(); }},
      {"an animation set not in the list", BodyCmd(CMD_ANIME_SET, {-3}),
       [&] { return chara.m_Def.m_sAnimeSet == 0; }},
      {"a picture not in the list",
       BodyCmd(CMD_PICTURE, {40, 0, 0, 0, 0, 0, 0, 100, 0, 1, 1, 0, 0, 0, 0}),
       [&] { return Scene().m_PictureList.empty(); }},
      {"a screen effect", BodyCmd(CMD_SCREEN_EFFECT, {1, 0, 0}),
       [&] { return Scene().m_ScrEffect.m_nEffect == 1; }},
      {"a screen colour", BodyCmd(CMD_SCREEN_COLOR, {255, 0, 0, 50, 0, 10, 0, 0}),
       [&] {
         return Scene().m_ScreenColor.m_cRed == 255 && Scene().m_ScreenColor.m_nStrength == 50;
       }},
      {"a character effect", BodyCmd(CMD_CHARA_EFFECT, {1, 0, 0}),
       [&] { return chara.m_CharaEffect.m_nEffect == 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    cFlowCmd cmd = c.cmd;
    Run(chara, cmd);
    EXPECT_TRUE(c.check());
  }
  g_CharaEffectRunTable = savedChara;
  g_ScrEffectRunTable = savedScreen;
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Commands, PicturesTakeThePlaceOfTheirIDAndGoByIDOrAll) {
  Database.m_vecPicture.resize(4);
  StartWith({}, {});
  cGameObj& chara = TheChara();
  // Number, ID mode, ID; then the pictures (number and ID) after it, in
  // their drawing order.
  struct Step {
    int32_t nPicture, bIdMode, nId;
    std::vector<std::pair<int32_t, int32_t>> want;
  };
  const Step steps[] = {
      {1, 1, 7, {{1, 7}}},
      {2, 0, 0, {{1, 7}, {2, 0}}},
      {3, 1, 8, {{1, 7}, {2, 0}, {3, 8}}},
      {2, 1, 7, {{2, 7}, {2, 0}, {3, 8}}},  // in the place of the one with ID 7
      {0, 1, 8, {{2, 7}, {2, 0}}},          // number 0 takes away ID 8 only
      {0, 1, 9, {{2, 7}, {2, 0}}},          // an ID no picture has: nothing
      {0, 0, 0, {}},                        // number 0 without an ID: all go
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.nPicture);
    cFlowCmd cmd = BodyCmd(
        CMD_PICTURE, {step.nPicture, 0, 0, 0, 0, 0, 0, 100, 1, 0, 0, 0, step.bIdMode, step.nId, 0});
    Run(chara, cmd);
    std::vector<std::pair<int32_t, int32_t>> shown;
    for (const cPictureObj& p : Scene().m_PictureList)
      shown.emplace_back(p.m_nPicture, p.m_nCmdValue1 ? p.m_nCmdValue2 : 0);
    EXPECT_EQ(shown, step.want);
    // Each picture keeps its surface and record beside it.
    EXPECT_EQ(g_PictureSurfaces.size(), shown.size());
    EXPECT_EQ(g_PictureImages.size(), shown.size());
  }
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(Commands, ShowPositionsByKind) {
  StartWith({}, {});
  cGameObj& chara = TheChara();
  Scene().m_ScrollX.m_dPos = 100;
  Scene().m_ScrollY.m_dPos = 50;
  chara.m_nScrLeft = 200;
  chara.m_nScrTop = 300;
  chara.m_nDrawW = chara.m_nDrawH = 32;
  struct Case {
    int32_t nKind;
    double dX, dY;
  };
  const Case cases[] = {
      {SHOWPOS_VIEW_CENTRE, 1 + 100 + 320 - 5, 2 + 50 + 240 - 3},
      {SHOWPOS_CHARA, 1 + 200 + 16 + 100 - 5, 2 + 300 + 16 + 50 - 3},
      {SHOWPOS_SCREEN_CELL, 100 + 3 * 32 + 1, 50 + 4 * 32 + 2},
      {SHOWPOS_STAGE_CELL, 320 + 3 * 32 + 1, 320 + 4 * 32 + 2},
      {9, 1 + 100 + 320 - 5, 2 + 50 + 240 - 3},
  };
  for (const Case& c : cases) {
    double x = 0, y = 0;
    ShowPosition(x, y, 11, 7, chara, Scene(), c.nKind, 3, 4, 1, 2);
    EXPECT_DOUBLE_EQ(x, c.dX) << c.nKind;
    EXPECT_DOUBLE_EQ(y, c.dY) << c.nKind;
  }
}

TEST_F(Commands, BackgroundsSoundsAndMusic) {
  g_Stage.m_vecBgs.resize(2);
  StartWith({}, {});
  cGameObj& chara = TheChara();
  struct Case {
    int32_t nBg, nHow;
    int32_t bWant0, bWant1;
  };
  const Case cases[] = {{1, 1, 0, 1}, {1, 2, 1, 1}, {2, 2, 1, 0}, {0, 1, 1, 0},
                        {3, 1, 1, 0}, {-1, 1, 1, 0}, {1, 5, 1, 0}};
  for (const Case& c : cases) {
    cFlowCmd cmd = BodyCmd(CMD_BACKGROUND, {c.nBg, c.nHow});
    Run(chara, cmd);
    EXPECT_EQ(g_Stage.m_vecBgs[0].m_bShown, c.bWant0) << c.nBg << " " << c.nHow;
    EXPECT_EQ(g_Stage.m_vecBgs[1].m_bShown, c.bWant1) << c.nBg << " " << c.nHow;
  }
  // A sound for a character off the screen plays only when the command
  // allows it.
  cFlowCmd sound = BodyCmd(CMD_SOUND, {3});
  for (int bOnScreenOnly : {1, 0}) {
    sound.m_cSoundOnScreen = static_cast<uint8_t>(bOnScreenOnly);
    chara.m_nOnScreen = 0;
    Requests().vecSounds.clear();
    Run(chara, sound);
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) plat::DispatchMessage(msg);
    EXPECT_EQ(Requests().vecSounds, bOnScreenOnly ? std::vector<int>{} : std::vector<int>{19});
  }
  cFlowCmd bgm = BodyCmd(CMD_BGM, {2, 1});
  Requests().vecMusic.clear();
  Run(chara, bgm);
  plat::MSG msg;
  while (plat::PeekMessage(msg, true)) plat::DispatchMessage(msg);
  EXPECT_EQ(Requests().vecMusic, std::vector<int>{2});
}

TEST_F(Commands, ItemCommandsRunTheBodiesOfTheirKinds) {
  auto Item = [](eCmdKind eKind, std::vector<int32_t> params) {
    cFlowCmd cmd = BodyCmd(eKind, std::move(params));
    cmd.m_cCmdSet = 1;
    cmd.m_cKind = ItemCmdKind(eKind);
    return cmd;
  };
  struct Case {
    const char* szName;
    CMD_VECTOR cmds;
    int nWant;
    std::function<bool()> check;
  };
  g_Stage.m_vecBgs.resize(1);
  StartWith({}, {});
  cPlayerObj& player = ThePlayerObj();
  const Case cases[] = {
      {"a stage clear ends the list before its sound",
       {Item(CMD_STAGE_CLEAR, {3, 0, 0, 0, 0, 0, 0, 0, 0}), Item(CMD_STATUS_OP2, {0, 1, 1})},
       1,
       [&] { return player.m_Def.m_cTransparent == 0 && Scene().m_nNextStage == 0; }},
      {"a second status operation", {Item(CMD_STATUS_OP2, {0, 4, 1})}, 0,
       [&] { return player.m_Def.m_cInvincible == 1; }},
      {"a background", {Item(CMD_BACKGROUND, {1, 1})}, 0,
       [&] { return g_Stage.m_vecBgs[0].m_bShown == 0; }},
      {"a graphic", {Item(CMD_GRAPHIC, {3, 9, 0})}, 0,
       [&] { return player.m_Def.m_cGraphicKind == 3; }},
      {"a loop does nothing", {Item(CMD_LOOP, {2, 1})}, 0, [] { return true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.szName);
    CMD_VECTOR cmds = c.cmds;
    EXPECT_EQ(player.RunItemCommands(cmds, nullptr), c.nWant);
    EXPECT_TRUE(c.check());
  }
}

TEST_F(Commands, ItemsThatGiveThemselvesAreBounded) {
  // Stage palette item 1 gives stage palette item 1.
  cEdItem item;
  cFlowCmd give = BodyCmd(CMD_GET_ITEM, {1, 1});
  give.m_cCmdSet = 1;
  give.m_cKind = ItemCmdKind(CMD_GET_ITEM);
  item.m_vecCmds.push_back(give);
  g_Stage.m_vecPalItems.resize(2);
  g_Stage.m_vecPalItems[1] = item;
  StartWith({}, {});
  cFlowCmd cmd = BodyCmd(CMD_GET_ITEM, {1, 1});
  Run(TheChara(), cmd);
  EXPECT_EQ(Scene().m_nStepResult, 0);
  // An item that ends nothing leaves a stage clear due this step as it is.
  g_Stage.m_vecPalItems[1].m_vecCmds.clear();
  Scene().m_nStepResult = STEP_STAGE_OVER;
  Run(TheChara(), cmd);
  EXPECT_EQ(Scene().m_nStepResult, STEP_STAGE_OVER);
  // An item that clears the stage ends it.
  cFlowCmd clear = BodyCmd(CMD_STAGE_CLEAR, {3, 0, 0, 0, 0, 0, 0, 0, 0});
  clear.m_cCmdSet = 1;
  clear.m_cKind = ItemCmdKind(CMD_STAGE_CLEAR);
  g_Stage.m_vecPalItems[1].m_vecCmds.push_back(clear);
  Scene().m_nStepResult = 0;
  Run(TheChara(), cmd);
  EXPECT_EQ(Scene().m_nStepResult, STEP_STAGE_OVER);
  EXPECT_NE(m_Dir.Read("Report_Game.txt").find("items that give each other"), std::string::npos);
  // A palette past the two there are gives nothing.
  cFlowCmd none = BodyCmd(CMD_GET_ITEM, {4, 1});
  Scene().m_nStepResult = 9;
  Run(TheChara(), none);
  EXPECT_EQ(Scene().m_nStepResult, 9);
}

}  // namespace
