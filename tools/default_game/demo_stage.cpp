#include "demo_stage.h"

#include <memory>
#include <string>
#include <vector>

#include "demo_pictures.h"
#include "stage_parts.h"

namespace {

constexpr const char* kWelcome = "ようこそ！ 矢印キーで歩き、Zでジャンプ。コインを集めよう。";

constexpr int16_t kWidth = 60;
constexpr int16_t kHeight = 15;

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
  message.m_cParallel = 1;      // before the stage starts only parallel commands run
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
  hero.m_vecFlows.push_back(WalkFlow(kSlotRight, 3));
  hero.m_vecFlows.push_back(WalkFlow(kSlotLeft, 2));
  hero.m_vecFlows.push_back(JumpFlow());
  hero.m_vecFlows.push_back(WelcomeFlow());
  return hero;
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
  SetBackgroundLayers(stage);

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
