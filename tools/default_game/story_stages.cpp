#include "story_stages.h"

#include <memory>

#include "demo_pictures.h"
#include "stage_parts.h"

namespace {

// What the signs say.
constexpr const char* kCaveSign1 =
    "この洞窟は暗い。Zで跳び、Xで剣を振れ。\nボタンを押すと先へ進める。";
constexpr const char* kCaveSign2 = "出口はすぐそこだ。旗を取ればクリア！";
constexpr const char* kMeadowSign = "動く足場に乗って谷を越えよう。";
constexpr const char* kFortSign = "砦の番兵をXの剣で倒せ。砲台の弾に気をつけろ！";

// A straight move of the given direction (2 left, 3 right, 6 up, 7 down)
// over a distance in half blocks.
cFlowCmd Move(int8_t cDir, int16_t sSpeed, int16_t sDistanceHbl) {
  cFlowCmd move;
  move.m_cKind = 2;
  move.m_pMove = std::make_unique<cEdMove>();
  move.m_pMove->m_cDirection = cDir;
  move.m_pMove->m_sSpeed = sSpeed;
  move.m_pMove->m_cTimeFromDist = 0;
  move.m_pMove->m_cKeepFacing = 1;
  // The time the distance takes at the speed (tenths of a dot a frame), in
  // tenths of a second.
  move.m_sTime = static_cast<int16_t>(sDistanceHbl * 16 * 10 / (sSpeed * 6));
  return move;
}

cFlowCmd Wait(int16_t sTenths) {
  cFlowCmd wait;
  wait.m_cKind = 1;
  wait.m_sTime = sTenths;
  return wait;
}

// A block of stone that flies back and forth: what stands on it rides it.
cEdChara Platform(int16_t sColumn, int16_t sRow, int8_t cFirst, int8_t cBack, int16_t sHbl) {
  cEdChara lift;
  lift.m_strName = "lift";
  lift.m_sColumn = sColumn;
  lift.m_sRow = sRow;
  lift.m_nCarriedItem = -1;
  // On the hero's side, so the sword passes it by; shots of the enemies
  // cannot wear it down.
  lift.m_cFaction = kHeroGroup;
  lift.m_nMaxHP = 999999;
  lift.m_cGraphicKind = 1;
  lift.m_sGraphic = 4;
  lift.m_cFlying = 1;
  lift.m_cBlockLike = 1;
  lift.m_cActRange = 3;  // moves wherever it is
  cFlow flow;
  flow.m_cTrigger = 0;
  flow.m_vecCmds.push_back(Move(cFirst, 20, sHbl));
  flow.m_vecCmds.push_back(Wait(5));
  flow.m_vecCmds.push_back(Move(cBack, 20, sHbl));
  flow.m_vecCmds.push_back(Wait(5));
  lift.m_vecFlows.push_back(std::move(flow));
  return lift;
}

// A guard that walks its ground, turning at walls and edges; it hurts on
// touch and falls to two strokes of the sword.
cEdChara Guard(int16_t sColumn, int16_t sRow) {
  cEdChara guard;
  guard.m_strName = "guard";
  guard.m_sColumn = sColumn;
  guard.m_sRow = sRow;
  guard.m_nCarriedItem = -1;
  guard.m_cFaction = kEnemyGroup;
  guard.m_cGraphicKind = 1;
  guard.m_sGraphic = 2;
  guard.m_cFixedDir = 0;
  guard.m_nMaxHP = 10;
  guard.m_nBodyPower = 2;
  guard.m_nScore = 100;
  cFlow flow;
  flow.m_cTrigger = 0;
  cFlowCmd walk;
  walk.m_cKind = 3;  // walk on the ground, turning round at walls and edges
  walk.m_sTime = 50;
  walk.m_pMove = std::make_unique<cEdMove>();
  walk.m_pMove->m_sSpeed = 12;
  walk.m_pMove->m_cTimeFromDist = 0;
  flow.m_vecCmds.push_back(std::move(walk));
  guard.m_vecFlows.push_back(std::move(flow));
  return guard;
}

// A turret that fires a fan of three shots to its left every two seconds.
cEdChara Turret(int16_t sColumn, int16_t sRow) {
  cEdChara turret;
  turret.m_strName = "turret";
  turret.m_sColumn = sColumn;
  turret.m_sRow = sRow;
  turret.m_nCarriedItem = -1;
  turret.m_cFaction = kEnemyGroup;
  turret.m_cGraphicKind = 1;
  turret.m_sGraphic = 3;
  turret.m_nMaxHP = 10;
  turret.m_nScore = 200;
  cFlow flow;
  flow.m_cTrigger = 0;
  cFlowCmd fire;
  fire.m_cKind = 11;
  fire.m_sTime = 1;
  fire.m_pShot = std::make_unique<cEdShot>();
  cEdShot& shot = *fire.m_pShot;
  shot.m_cShotCount = 3;
  shot.m_cFormation = 1;  // a spread
  shot.m_sSpread = 30;    // degrees between the shots
  shot.m_cRefObject = 2;  // from the turret
  shot.m_cDirection = 2;  // to the left
  shot.m_sAngle = 180;
  shot.m_cMirrorAngle = 0;
  shot.m_sGraphic = 3;  // a red ball
  shot.m_sSpeed = 25;
  shot.m_nPower = 2;
  shot.m_cRangeOn = 1;
  shot.m_sRange = 30;
  fire.m_sSound = 1;
  flow.m_vecCmds.push_back(std::move(fire));
  flow.m_vecCmds.push_back(Wait(20));
  turret.m_vecFlows.push_back(std::move(flow));
  return turret;
}

// A sign: walking into it shows its text until a button is pressed.
cEdItem Sign(int16_t sColumn, int16_t sRow, const char* szText) {
  cEdItem sign;
  sign.m_strName = "sign";
  sign.m_sColumn = sColumn;
  sign.m_sRow = sRow;
  sign.m_cGraphicKind = 2;
  sign.m_sGraphic = ITEM_SIGN;
  sign.m_cPopup = 0;
  cFlowCmd message;
  message.m_cCmdSet = 1;
  message.m_cKind = 4;  // message
  message.m_vecParams.assign(18, 0);
  message.m_vecParams[0] = 7;   // at a place on the screen
  message.m_vecParams[1] = 2;   // column
  message.m_vecParams[2] = 3;   // row
  message.m_vecParams[5] = 1;   // kept inside the screen
  message.m_vecParams[10] = 1;  // fixed on the screen
  message.m_vecParams[6] = 0;   // until the progress button
  message.m_vecParams[8] = 1;   // the play waits for it
  message.m_vecParams[14] = 1;  // in a window frame
  message.m_strText = szText;
  sign.m_vecCmds.push_back(std::move(message));
  return sign;
}

}  // namespace

cStageData MeadowStage() {
  cStageData stage = NewStage("meadow", 40);
  PutGround(stage, 0, 13);
  PutGround(stage, 26, 39);
  PutWall(stage, 0);
  PutWall(stage, 39);
  // The valley between the two meadows is crossed on a lift.
  stage.m_vecCharas.push_back(Hero(2, kGroundRow - 1));
  stage.m_vecCharas.push_back(Platform(14, kGroundRow, 3, 2, 22));
  for (int16_t c : {5, 6, 7}) stage.m_vecItems.push_back(Coin(c, kGroundRow - 1));
  for (int16_t c : {18, 20, 22}) stage.m_vecItems.push_back(Coin(c, 10));
  stage.m_vecItems.push_back(Sign(10, kGroundRow - 1, kMeadowSign));
  stage.m_vecItems.push_back(GoalFlag(36, kGroundRow - 1));
  SetStageText(stage, 0, kMeadowSign);
  return stage;
}

cStageData CaveStage() {
  cStageData stage = NewStage("cave", 40);
  PutGround(stage, 0, 39);
  PutWall(stage, 0);
  PutWall(stage, 39);
  PutRow(stage, 0, 1, 38, BLOCK_STONE);
  PutRow(stage, 11, 14, 17, BLOCK_BRICK);
  PutRow(stage, 10, 24, 26, BLOCK_STONE);
  stage.m_vecCharas.push_back(Hero(2, kGroundRow - 1));
  stage.m_vecItems.push_back(Sign(6, kGroundRow - 1, kCaveSign1));
  stage.m_vecItems.push_back(Sign(30, kGroundRow - 1, kCaveSign2));
  for (int16_t c : {14, 15, 16, 17}) stage.m_vecItems.push_back(Coin(c, 10));
  stage.m_vecItems.push_back(GoalFlag(36, kGroundRow - 1));
  SetStageText(stage, 0, kCaveSign1);
  SetStageText(stage, 1, kCaveSign2);
  return stage;
}

cStageData FortStage() {
  cStageData stage = NewStage("fort", 50);
  PutGround(stage, 0, 21);
  PutGround(stage, 30, 49);
  PutWall(stage, 0);
  PutWall(stage, 49);
  PutRow(stage, 9, 40, 44, BLOCK_BRICK);
  stage.m_vecCharas.push_back(Hero(2, kGroundRow - 1));
  stage.m_vecCharas.push_back(Guard(14, kGroundRow - 1));
  stage.m_vecCharas.push_back(Platform(22, 11, 3, 2, 12));
  stage.m_vecCharas.push_back(Turret(43, 8));
  stage.m_vecItems.push_back(Sign(5, kGroundRow - 1, kFortSign));
  for (int16_t c : {8, 9, 10}) stage.m_vecItems.push_back(Coin(c, kGroundRow - 1));
  stage.m_vecItems.push_back(GoalFlag(47, kGroundRow - 1));
  SetStageText(stage, 0, kFortSign);
  return stage;
}
