#include "demo_stage.h"

#include <memory>
#include <string>
#include <vector>

#include "demo_pictures.h"
#include "flow/key_cond.h"

namespace {

constexpr const char* kWelcome = "ようこそ！ 矢印キーで歩き、Zでジャンプ。コインを集めよう。";

constexpr int16_t kWidth = 60;
constexpr int16_t kHeight = 15;
constexpr int16_t kGroundRow = 13;  // the top of the ground; row 14 below it
constexpr int16_t kJumpHbl = 6;     // jump height, 16-dot units
constexpr int16_t kWalkSpeed = 30;  // tenths of a dot per frame

void PutBlock(cStageData& stage, int16_t sColumn, int16_t sRow, int16_t sGraphic) {
  cEdBlock block;
  block.m_sColumn = sColumn;
  block.m_sRow = sRow;
  block.m_cGraphicKind = 0;
  block.m_sGraphic = sGraphic;
  stage.m_vecBlocks.push_back(block);
}

void PutRow(cStageData& stage, int16_t sRow, int16_t sFrom, int16_t sTo, int16_t sGraphic) {
  for (int16_t c = sFrom; c <= sTo; ++c) PutBlock(stage, c, sRow, sGraphic);
}

// Ground from column a to b: grass on dirt.
void PutGround(cStageData& stage, int16_t a, int16_t b) {
  PutRow(stage, kGroundRow, a, b, BLOCK_GRASS);
  PutRow(stage, kGroundRow + 1, a, b, BLOCK_DIRT);
}

// A key step: one key slot held, for any length of time.
cKeyCond Held(int nSlot) {
  cKeyCond key;
  key.m_vecKeys.At(nSlot) = 1;
  key.m_cAnyLength = 1;
  return key;
}

// While the key of slot nSlot is held, walk in direction code cDir (2
// left, 3 right); both walks share a group, so they never add up.
cFlow WalkFlow(int nSlot, int8_t cDir) {
  cFlow flow;
  flow.m_cTrigger = 0;
  flow.m_cGroup = 1;
  flow.m_cKeyRepeat = 1;
  flow.m_vecKeys.push_back(Held(nSlot));
  cFlowCmd walk;
  walk.m_cKind = 2;  // straight move
  walk.m_sTime = 1;  // a tenth of a second; the key is looked at again after it
  walk.m_pMove = std::make_unique<cEdMove>();
  walk.m_pMove->m_cDirection = cDir;
  walk.m_pMove->m_sSpeed = kWalkSpeed;
  walk.m_pMove->m_cTimeFromDist = 0;
  flow.m_vecCmds.push_back(std::move(walk));
  return flow;
}

// Button 1 jumps, higher the longer it is held.
cFlow JumpFlow() {
  cFlow flow;
  flow.m_cTrigger = 0;
  flow.m_vecKeys.push_back(Held(11));
  cFlowCmd jump;
  jump.m_cKind = 10;
  jump.m_vecParams.assign(5, 0);
  jump.m_vecParams[0] = 1;  // the height follows the key
  jump.m_vecParams[2] = kJumpHbl;
  jump.m_sSound = 1;
  flow.m_vecCmds.push_back(std::move(jump));
  return flow;
}

// As the stage begins, a framed welcome over the screen's centre for five
// seconds; the play goes on under it.
cFlow WelcomeFlow() {
  cFlow flow;
  flow.m_cTrigger = 21;  // before the stage starts
  cFlowCmd message;
  message.m_cKind = 19;
  message.m_vecParams.assign(18, 0);
  message.m_vecParams[0] = 7;   // at a place on the screen
  message.m_vecParams[1] = 2;   // column
  message.m_vecParams[2] = 3;   // row
  message.m_vecParams[5] = 1;   // kept inside the screen
  message.m_vecParams[10] = 1;  // where it first showed on the screen, however the stage scrolls
  message.m_vecParams[6] = 2;   // for a time
  message.m_vecParams[7] = 50;  // tenths of a second
  message.m_vecParams[14] = 1;  // in a window frame
  message.m_cParallel = 1;  // before the stage starts only parallel commands run
  message.m_strText = kWelcome;
  flow.m_vecCmds.push_back(std::move(message));
  return flow;
}

cEdChara Hero() {
  cEdChara hero;
  hero.m_strName = "hero";
  hero.m_cOperator = 0;
  hero.m_nCarriedItem = -1;
  hero.m_cFixedDir = 0;    // it turns to where it walks
  hero.m_cMoveMirror = 1;  // and starts facing right
  // Picture number 0 means none: the hero is row 1 of the first sheet.
  hero.m_cGraphicKind = 1;
  hero.m_sGraphic = 1;
  hero.m_nMaxHP = 10;
  hero.m_vecFlows.push_back(WalkFlow(2, 3));
  hero.m_vecFlows.push_back(WalkFlow(1, 2));
  hero.m_vecFlows.push_back(JumpFlow());
  hero.m_vecFlows.push_back(WelcomeFlow());
  return hero;
}

// A coin: taken once, adds 10 to the score.
cEdItem Coin(int16_t sColumn, int16_t sRow) {
  cEdItem coin;
  coin.m_strName = "coin";
  coin.m_sColumn = sColumn;
  coin.m_sRow = sRow;
  coin.m_cGraphicKind = 2;
  coin.m_sGraphic = 1;  // 0 would be an item without a picture, which gives nothing
  coin.m_sSound = 1;
  cFlowCmd add;
  add.m_cCmdSet = 1;
  add.m_cKind = 7;  // status operation
  add.m_vecParams.assign(18, 0);
  add.m_vecParams[3] = 5;  // the system's
  add.m_vecParams[4] = 3;  // score
  add.m_vecParams[5] = 1;  // plus
  add.m_vecParams[7] = 10;
  coin.m_vecCmds.push_back(std::move(add));
  return coin;
}

cStageBg Layer(const char* szImage, double dFactor) {
  cStageBg bg;
  bg.m_bFill = 0;
  bg.m_strImage = szImage;
  bg.m_dFactorX = dFactor;
  bg.m_dFactorY = 0;
  return bg;
}

}  // namespace

cStageData DemoStage() {
  cStageData stage;
  stage.m_strName = "demo";
  stage.m_nWidth = kWidth;
  stage.m_nHeight = kHeight;
  stage.m_nExtentX = kWidth * 32;
  stage.m_nExtentY = kHeight * 32;
  stage.m_nLimitRight = kWidth - 1;
  stage.m_nLimitBottom = kHeight - 1;
  stage.m_bStartCaption = 1;
  stage.m_nHitLevel = 2;
  stage.SetHitLevel(2);

  // Ground with two gaps to jump over.
  PutGround(stage, 0, 17);
  PutGround(stage, 21, 37);
  PutGround(stage, 40, kWidth - 1);
  // A low platform, a ceiling of stone to bump into, planks over the second
  // gap's approach and a brick stair up to a high ledge.
  PutRow(stage, 11, 8, 11, BLOCK_BRICK);
  PutRow(stage, 10, 14, 16, BLOCK_STONE);
  PutRow(stage, 11, 24, 26, BLOCK_PLANK);
  PutRow(stage, 9, 28, 31, BLOCK_BRICK);
  PutRow(stage, 11, 44, 46, BLOCK_BRICK);
  PutRow(stage, 9, 48, 50, BLOCK_BRICK);
  PutRow(stage, 10, 54, 56, BLOCK_STONE);
  // A wall at each end of the stage.
  for (int16_t r = 0; r < kGroundRow; ++r) {
    PutBlock(stage, 0, r, BLOCK_STONE);
    PutBlock(stage, kWidth - 1, r, BLOCK_STONE);
  }

  cEdChara hero = Hero();
  hero.m_sColumn = 2;
  hero.m_sRow = kGroundRow - 1;
  stage.m_vecCharas.push_back(hero);

  for (int16_t c : {5, 6, 7}) stage.m_vecItems.push_back(Coin(c, kGroundRow - 1));
  for (int16_t c : {9, 10}) stage.m_vecItems.push_back(Coin(c, 10));
  for (int16_t c : {19, 20}) stage.m_vecItems.push_back(Coin(c, 10));
  for (int16_t c : {29, 30}) stage.m_vecItems.push_back(Coin(c, 8));
  for (int16_t c : {38, 39}) stage.m_vecItems.push_back(Coin(c, 10));
  for (int16_t c : {45, 49, 52}) stage.m_vecItems.push_back(Coin(c, c == 49 ? 8 : 10));

  // Two background layers: the sky far behind, the hills nearer.
  stage.m_vecBgs.clear();
  stage.m_vecBgs.push_back(Layer(kSkyPicture, 0.1));
  stage.m_vecBgs.push_back(Layer(kHillsPicture, 0.4));

  // The welcome the hero's first flow shows, kept as the stage's first text.
  if (stage.m_vecTexts.size() < static_cast<size_t>(kStageTextCount))
    stage.m_vecTexts.resize(kStageTextCount, cStageText());
  stage.m_vecTexts.At(0) = cStageText(kWelcome);
  return stage;
}

void SetDemoAnimations(cDatabase& db) {
  // Standing is cell 0; walking steps through cells 1 and 2; flying is 3.
  cEdAnimeSet& set = db.m_vecAnimeSet.At(0);
  auto Frames = [](cEdAnime& anime, std::vector<int32_t> cells) {
    anime.m_vecFrame.clear();
    for (int32_t c : cells) {
      cEdAnimeFrame frame;
      frame.m_nCell = c;
      frame.m_nTime = 1;
      anime.m_vecFrame.push_back(frame);
    }
  };
  Frames(set.m_vecAnime.At(0), {0});
  Frames(set.m_vecAnime.At(1), {1, 0, 2, 0});
  Frames(set.m_vecAnime.At(2), {3});
  Frames(set.m_vecAnime.At(3), {3});
}
