#include "stage_parts.h"

#include <memory>
#include <string>

#include "demo_pictures.h"
#include "flow/key_cond.h"

namespace {

constexpr int16_t kHeight = 15;
constexpr int16_t kJumpHbl = 6;     // jump height, 16-dot units
constexpr int16_t kWalkSpeed = 30;  // tenths of a dot per frame
constexpr int32_t kSwordPower = 5;

}  // namespace

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
  flow.m_vecKeys.push_back(Held(kSlotButton1));
  cFlowCmd jump;
  jump.m_cKind = 10;
  jump.m_vecParams.assign(5, 0);
  jump.m_vecParams[0] = 1;  // the height follows the key
  jump.m_vecParams[2] = kJumpHbl;
  jump.m_sSound = 1;
  flow.m_vecCmds.push_back(std::move(jump));
  return flow;
}

namespace {

// Button 2 swings the sword of the first sword type in front of the hero.
cFlow AttackFlow() {
  cFlow flow;
  flow.m_cTrigger = 0;
  flow.m_cGroup = 2;
  flow.m_vecKeys.push_back(Held(kSlotButton2));
  cFlowCmd sword;
  sword.m_cKind = 12;
  sword.m_sTime = 3;
  sword.m_sSound = 1;
  sword.m_pShot = std::make_unique<cEdShot>();
  sword.m_pShot->m_cMoveType = 0;  // the sword type
  sword.m_pShot->m_nPower = kSwordPower;
  sword.m_pShot->m_cRefObject = 2;  // from the hero
  flow.m_vecCmds.push_back(std::move(sword));
  return flow;
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

cStageData NewStage(const char* szName, int16_t sWidth) {
  cStageData stage;
  stage.m_strName = szName;
  stage.m_nWidth = sWidth;
  stage.m_nHeight = kHeight;
  stage.m_nExtentX = sWidth * 32;
  stage.m_nExtentY = kHeight * 32;
  stage.m_nLimitRight = sWidth - 1;
  stage.m_nLimitBottom = kHeight - 1;
  stage.m_bStartCaption = 1;
  stage.m_bClearCaption = 1;
  stage.m_nHitLevel = 2;
  stage.SetHitLevel(2);
  stage.m_nBgm = 1;
  stage.m_nBgmLoop = 1;
  stage.m_vRanking.assign(kStageRankingCount, 1);
  SetBackgroundLayers(stage);
  if (stage.m_vecTexts.size() < static_cast<size_t>(kStageTextCount))
    stage.m_vecTexts.resize(kStageTextCount, cStageText());
  return stage;
}

void SetBackgroundLayers(cStageData& stage) {
  stage.m_vecBgs.clear();
  stage.m_vecBgs.push_back(Layer(kSkyPicture, 0.1));
  stage.m_vecBgs.push_back(Layer(kHillsPicture, 0.4));
}

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

void PutGround(cStageData& stage, int16_t a, int16_t b) {
  PutRow(stage, kGroundRow, a, b, BLOCK_GRASS);
  PutRow(stage, kGroundRow + 1, a, b, BLOCK_DIRT);
}

void PutWall(cStageData& stage, int16_t sColumn) {
  for (int16_t r = 0; r < kGroundRow; ++r) PutBlock(stage, sColumn, r, BLOCK_STONE);
}

cEdChara Hero(int16_t sColumn, int16_t sRow) {
  cEdChara hero;
  hero.m_strName = "hero";
  hero.m_cOperator = 0;
  hero.m_cFaction = kHeroGroup;
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
  hero.m_vecFlows.push_back(AttackFlow());
  hero.m_sColumn = sColumn;
  hero.m_sRow = sRow;
  return hero;
}

cEdItem Coin(int16_t sColumn, int16_t sRow) {
  cEdItem coin;
  coin.m_strName = "coin";
  coin.m_sColumn = sColumn;
  coin.m_sRow = sRow;
  coin.m_cGraphicKind = 2;
  coin.m_sGraphic = ITEM_COIN;  // 0 would be an item without a picture, which gives nothing
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

cEdItem GoalFlag(int16_t sColumn, int16_t sRow) {
  cEdItem goal;
  goal.m_strName = "goal";
  goal.m_sColumn = sColumn;
  goal.m_sRow = sRow;
  goal.m_cGraphicKind = 2;
  goal.m_sGraphic = ITEM_GOAL;
  goal.m_sSound = 1;
  cFlowCmd clear;
  clear.m_cCmdSet = 1;
  clear.m_cKind = 2;  // stage clear
  clear.m_vecParams.assign(9, 0);
  clear.m_vecParams[0] = 3;  // no further part: the stage's chain ends here
  goal.m_vecCmds.push_back(std::move(clear));
  return goal;
}

void SetStageText(cStageData& stage, int n, const char* szText) {
  stage.m_vecTexts.At(n) = cStageText(szText);
}
