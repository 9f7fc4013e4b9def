// The parts the bundled game's stages are built from: a new stage of a
// size, ground and platforms of blocks, the hero with its walk, jump and
// attack, the coin and the goal flag, and the background layers.
#pragma once

#include <cstdint>

#include "files/stage_data.h"
#include "flow/key_cond.h"

constexpr int16_t kGroundRow = 13;  // the top of the ground; row 14 below it

// Key slots of the flows' key steps: the two walking directions, then
// buttons 1 and 2.
constexpr int kSlotLeft = 1;
constexpr int kSlotRight = 2;
constexpr int kSlotButton1 = 11;
constexpr int kSlotButton2 = 12;

// Hit groups: the hero's side and the enemies'.
constexpr uint8_t kHeroGroup = 0;
constexpr uint8_t kEnemyGroup = 1;

// A stage w x 15 blocks with its background layers, the start caption and
// every ranking table taking part.
cStageData NewStage(const char* szName, int16_t sWidth);
// The two background layers: the sky far behind, the hills nearer.
void SetBackgroundLayers(cStageData& stage);
void PutBlock(cStageData& stage, int16_t sColumn, int16_t sRow, int16_t sGraphic);
void PutRow(cStageData& stage, int16_t sRow, int16_t sFrom, int16_t sTo, int16_t sGraphic);
// Ground from column a to b: grass on dirt.
void PutGround(cStageData& stage, int16_t a, int16_t b);
// A wall of stone at a column, from the top down to the ground.
void PutWall(cStageData& stage, int16_t sColumn);
// A key step: one key slot held, for any length of time.
cKeyCond Held(int nSlot);
// While the key of slot nSlot is held, walk in direction code cDir (2
// left, 3 right); both walks share a group, so they never add up.
cFlow WalkFlow(int nSlot, int8_t cDir);
// Button 1 jumps, higher the longer it is held.
cFlow JumpFlow();
// The hero: the arrow keys walk it, button 1 jumps it, button 2 swings its
// sword.
cEdChara Hero(int16_t sColumn, int16_t sRow);
// A coin: taken once, adds 10 to the score.
cEdItem Coin(int16_t sColumn, int16_t sRow);
// The goal flag: taking it clears the stage.
cEdItem GoalFlag(int16_t sColumn, int16_t sRow);
// The stage's text entry n (the editor keeps message texts there too).
void SetStageText(cStageData& stage, int n, const char* szText);
