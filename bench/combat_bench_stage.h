// The combat stress stage the combat benchmarks share: a 100 x 40-cell
// stage at 10 update steps a frame with 300 characters (walkers on the
// floor, every fifth a flyer above them, the player among them at the left)
// and a shot population kept at a fixed size: shots fired by the characters
// and the player, straight, waving and homing on the player, most passing
// through blocks, long-lived, in the two sides' hit groups.
#pragma once

#include <cstdint>
#include <random>

#include "files/stage_data.h"
#include "flow/ed_shot.h"
#include "play_bench_scene.h"
#include "stage/play_scene.h"
#include "stage/shot_moves.h"
#include "stage/shot_obj.h"
#include "stage/shot_volley.h"
#include "stage/stage_objects.h"

constexpr int kCombatCharas = 300;
constexpr size_t kCombatShots = 1500;

inline void BuildCombatStage() {
  const int16_t w = 100, h = 40;
  ResetBenchStage(w, h, 10);
  for (cStageParam8& rule : g_Stage.m_aRules) rule.Set(0, 0, 0, 0, 0, 0, 0, 0);
  std::mt19937 rng(29);
  const int16_t nFloor = static_cast<int16_t>(h - 1);
  for (int16_t c = 0; c < w; ++c) AddBlock(c, nFloor);
  for (int16_t c = 10; c < w; c += 20) AddBlock(c, static_cast<int16_t>(nFloor - 1));
  for (int i = 0; i < 300; ++i)
    AddBlock(static_cast<int16_t>(rng() % w), static_cast<int16_t>(2 + rng() % (h - 10)));
  cEdChara player;
  player.m_cOperator = 0;
  player.m_nCarriedItem = -1;
  player.m_sColumn = 2;
  player.m_sRow = static_cast<int16_t>(nFloor - 1);
  player.m_cFaction = 0;
  g_Stage.m_vecCharas.push_back(player);
  for (int i = 0; i < kCombatCharas; ++i) {
    cEdChara def;
    def.m_nCarriedItem = -1;
    int16_t c = static_cast<int16_t>(rng() % w);
    if (c % 20 == 10) ++c;
    def.m_sColumn = c;
    def.m_cFlying = i % 5 == 0 ? 2 : 0;
    def.m_sRow = static_cast<int16_t>(def.m_cFlying ? nFloor - 5 - (i % 7) : nFloor - 1);
    def.m_cActRange = 3;
    def.m_nMaxHP = 1000000;
    g_Stage.m_vecCharas.push_back(def);
  }
  g_Stage.SetHitLevel(10);
  CopyStageSettings(g_StageCopy, g_Stage);
}

// Fires shots until nCount are in flight: every fourth from the player,
// the rest from random characters; a third straight, a third waving, a
// third homing on the player; one in ten stopped by blocks.
inline void TopUpShots(cPlayScene& scene, size_t nCount, std::mt19937& rng) {
  if (g_CharaList.empty() || g_Players.empty()) return;
  std::vector<cGameObj*> vecShooters;
  for (cCharaObj& c : g_CharaList) vecShooters.push_back(&c);
  while (scene.m_ShotList.size() < nCount) {
    const uint32_t r = rng();
    cGameObj& shooter =
        r % 4 == 0 ? static_cast<cGameObj&>(ThePlayer()) : *vecShooters[r % vecShooters.size()];
    cEdShot def;
    def.m_cShotCount = 1;
    def.m_sSpeed = static_cast<int16_t>(20 + r % 60);
    def.m_cPassBlocks = (r >> 8) % 10 == 0 ? 0 : 1;
    switch ((r >> 4) % 3) {
      case 0:
        def.m_cMoveType = SHOTMOVE_STRAIGHT;
        break;
      case 1:
        def.m_cMoveType = SHOTMOVE_WAVE;
        def.m_sMoveParam[0] = 2;
        def.m_sMoveParam[1] = 8;
        break;
      default:
        def.m_cMoveType = SHOTMOVE_HOME_PLAYER;
        def.m_sMoveParam[1] = 400;
        break;
    }
    SHOTLAUNCH launch;
    launch.nX = static_cast<int32_t>(shooter.m_dX) + 8;
    launch.nY = static_cast<int32_t>(shooter.m_dY) + 8;
    launch.dSpeed = def.m_sSpeed * 0.1;
    VelocityOfAngle(static_cast<double>(r % 360), launch.dSpeed, launch.dVX, launch.dVY);
    if (!FireOne(scene, shooter, SHOTKIND_SHOT, def, launch)) return;
  }
}
