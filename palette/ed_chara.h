// A character definition: the player's hero and every computer-operated
// character. Who operates it, its picture and animation set, its statuses,
// its flying, invincible and giant modes, when it becomes active, and its
// behaviour as a list of flows.
#pragma once

#include <cstdint>

#include "flow/flow.h"
#include "palette/palette_entry.h"

class cEdChara : public cPaletteEntry {
 public:
  static constexpr int INHERIT_GROUPS = 37;
  static constexpr int FLOW_GROUP = 36;

  cEdChara();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Back to a new definition's values; the conditions and flows stay.
  void Reset();
  void Validate();
  void ValidateFlows();
  void Inherit();
  // The creation offset of copy n for direction d.
  double GetPosX(int n, int d) const;
  double GetPosY(int n, int d) const;

  int32_t m_nCarriedItem = 0;  // placed item it carries, -1 none
  uint8_t m_cMoveMirror = 0;   // 1: mirrored movements are mirrored for it
  uint8_t m_cExtraCopies = 0;  // value + 1 characters are made
  int16_t m_sOffsetX = 0;
  int16_t m_sStepX = 0;
  int16_t m_sOffsetY = 0;
  int16_t m_sStepY = 0;
  uint8_t m_cMirrorX = 0;
  uint8_t m_cMirrorY = 0;
  int16_t m_sGraphic = 0;
  uint8_t m_cGraphicKind = 1;
  int16_t m_sGraphicCell = 0;
  int16_t m_sAnimeSet = 0;
  uint8_t m_cLayer = 3;         // "Z座標"
  uint8_t m_cTransparent = 0;   // "透明"
  int16_t m_sAppearEffect = 0;  // character effect when it enters play
  uint8_t m_cAppearVariant = 0;
  uint8_t m_cAppearSetting = 1;
  int16_t m_sDeathEffect = 0;
  uint8_t m_cDeathVariant = 0;
  uint8_t m_cMarkShown = 0;
  int16_t m_sMark = 0;      // "マーク番号"
  uint8_t m_cOperator = 1;  // 0 a player's input, 1 the computer
  uint8_t m_cInputPlayer = 0;
  uint8_t m_cFaction = 1;
  uint8_t m_cCharaId = 0;     // "キャラID"
  uint8_t m_cFlying = 0;      // "飛行"
  uint8_t m_cFixedDir = 1;    // "向き固定"
  uint8_t m_cInvincible = 0;  // "無敵"
  uint8_t m_cInvDisplay = 0;
  uint8_t m_cBlockLike = 0;
  uint8_t m_cGiant = 1;       // "巨大化": size factor 1..10
  uint8_t m_cScrollSync = 0;  // "オートスクロールとシンクロ"
  uint8_t m_cSightShape = 0;
  uint8_t m_cSightRange = 0;  // "視界範囲(hbl)"
  int32_t m_nMaxHP = 10;      // "最大HP"
  int32_t m_nMaxSP = 0;       // "最大SP"
  int16_t m_sStopEase = 10;   // "止まりやすさ"
  uint8_t m_cBlockHitRange = 0;
  int32_t m_nBodyPower = 0;  // "体当たりの威力"
  int8_t m_cBodyImpact = 0;  // "体当たりの衝撃"
  int16_t m_sBodyHitEffect = 0;
  int32_t m_nDefence = 0;       // "防御力"
  uint8_t m_cImpactResist = 0;  // "衝撃耐性"
  int32_t m_nScore = 0;         // "倒したら獲得するスコア"
  uint8_t m_cSettingD = 1;
  uint8_t m_cActGroupUsed = 0;
  int16_t m_sActGroup = 0;
  uint8_t m_cActRange = 0;
  uint8_t m_cActMode = 0;
  FLOW_VECTOR m_vecFlows;

 private:
  void SetDefaults();
  // Inherit flag vector of 37 with a new group's flag, set, at nIndex.
  void InsertInheritFlag(int nIndex);
};
