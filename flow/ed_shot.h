// The shot part of the shot, sword and summon commands: the formation a
// volley is fired in, how each shot moves, how far and long it flies, what it
// does when it hits, and what a summon command places. A volley is fired as
// copies 0..m_cCopies; the "Inc" values are added once per copy. Distances in
// hbl are half blocks of 16 dots; speeds are tenths of a dot per frame.
#pragma once

#include <cstdint>

#include "records/record.h"

class cEdShot : public cRecord {
 public:
  cEdShot();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // A size factor below 1 becomes 1; a hit effect outside the effect list
  // becomes none.
  void Validate();

  // Position offset of copy n of the volley for the firing direction.
  double GetPosX(int n, int nDirection) const;
  double GetPosY(int n, int nDirection) const;

  int8_t m_cShotCount = 0;            // "発射数"
  int8_t m_cFormation = 0;            // pattern kind 0..5
  int16_t m_sFormationParam[3] = {};  // "フォーメーション固有1..3"
  int8_t m_cRefObject = 0;            // 0 target slot, 1 player, 2 the shooter
  int8_t m_cDirection = 0;            // direction code
  int8_t m_cAim = 0;                  // straight and spreading patterns aim at the target
  int8_t m_cTargetSlot = 0;
  int16_t m_sAngle = 0;       // "角度のズレ"
  int16_t m_sAngleInc = 0;    // "分身値による角度のズレ"
  int8_t m_cMirrorAngle = 1;  // 360 - angle for facing direction 1
  int16_t m_sSpread = 0;      // "分散角度"
  int8_t m_cOption12 = 0;
  int8_t m_cCopies = 0;    // "発射数に対する分身数"
  int16_t m_sOffsetX = 0;  // "発射位置のズレX(dot)"
  int16_t m_sOffsetXInc = 0;
  int16_t m_sOffsetY = 0;  // "発射位置のズレY(dot)"
  int16_t m_sOffsetYInc = 0;
  int8_t m_cMirrorOffsetX = 1;  // the x offset is mirrored for direction 1
  int8_t m_cMirrorOffsetY = 0;
  int16_t m_sGraphic = 0;  // "グラフィック"
  int8_t m_cLayer = 0;     // "Z座標"
  int8_t m_cHidden = 0;
  int8_t m_cFactionFromShooter = 1;
  int8_t m_cFaction = 0;  // "勢力"
  int8_t m_cOption25 = 0;
  int8_t m_cScale = 1;  // size factor of hit boxes and picture
  int8_t m_cOption27 = 0;
  int8_t m_cMoveType = 0;        // movement kind 0..9; the sword type of a sword
  int16_t m_sMoveParam[3] = {};  // "移動タイプ固有1..3"
  int8_t m_cTargetSlot2 = 0;
  int8_t m_cScrollSync = 0;  // moves with the screen
  int16_t m_sSpeed = 0;      // "速度"
  int16_t m_sSpeedInc = 0;
  int8_t m_cAccelOn = 0;
  int16_t m_sAccel = 0;  // "加速度"
  int16_t m_sAccelInc = 0;
  int16_t m_sRange = 0;  // "飛距離(hbl)"
  int8_t m_cRangeOn = 0;
  int16_t m_sRangeInc = 0;
  int8_t m_cRangeEndStop = 0;  // at the end of its range: 0 vanish, else stop
  int8_t m_cLifeOn = 0;
  int16_t m_sLife = 0;  // "存在時間(1/10s)"
  int16_t m_sLifeInc = 0;
  int8_t m_cPassBlocks = 0;
  int8_t m_cPierceChara = 0;
  int8_t m_cPierceBlockChara = 0;
  int8_t m_cVsShot = 0;
  int8_t m_cVanishValue = 0;  // "消滅値"
  int32_t m_nPower = 0;       // "威力"
  int16_t m_sShotValue = 0;
  int8_t m_cImpact = 0;       // "衝撃"
  int16_t m_sHitEffect = 0;   // effect list index, 0 none
  int8_t m_cItemPalette = 0;  // item on hit: 1 common, 2 stage palette, 0 none
  int16_t m_sItemIndex = 0;
  int8_t m_cBlockSummonMode = 0;
  int8_t m_cOption56 = 0;
  int8_t m_cOption57 = 0;
  int8_t m_cSummonPalette = 0;  // 0 common, 1 stage palette
  int16_t m_sSummonIndex = 0;
  int8_t m_cSummonFaction = 0;  // own, the summoner's, or m_cFaction
  int8_t m_cOption61 = 0;
  int8_t m_cSummonReverse = 0;   // a summoned character faces the other way
  int8_t m_cReportHits = 0;      // hits fire the shooter's attack triggers
  int8_t m_cReportSelector = 0;  // 0 every such flow, s only flow ID s

 private:
  void SetDefaults();
};
