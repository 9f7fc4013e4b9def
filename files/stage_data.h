// A stage: its size and scroll limits, physics and timing, music, the boxes
// its objects collide with, its own palette of definitions, the blocks,
// characters and items placed on its 32-pixel grid, its backgrounds, its
// texts, the rules that remove objects far off screen and the rankings its
// results may enter. Stage files (data\stg4\NAME.stg4_NNN) hold one; replay
// files hold one too. g_Stage is the stage being played; g_StageCopy keeps
// the settings as loaded, so a restart undoes what play changed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "palette/palette_lists.h"
#include "records/record.h"

// A rule that removes objects once they are far enough off screen: a side
// whose flag is set removes what lies beyond the camera's edge by more than
// its margin (in blocks).
class cStageParam8 : public cRecord {
 public:
  cStageParam8() { Clear(); }
  void RegisterFields(int32_t nVersion) override;
  void Set(int32_t bLeft, int32_t bRight, int32_t bTop, int32_t bBottom, int32_t nLeftMargin,
           int32_t nRightMargin, int32_t nTopMargin, int32_t nBottomMargin);

  int32_t m_bLeft = 0;
  int32_t m_bRight = 0;
  int32_t m_bTop = 0;
  int32_t m_bBottom = 0;
  int32_t m_nLeftMargin = 0;
  int32_t m_nRightMargin = 0;
  int32_t m_nTopMargin = 0;
  int32_t m_nBottomMargin = 0;
};

// One background: a tiled image or a plain colour, scrolled with the camera
// by a factor or running on its own.
class cStageBg : public cRecord {
 public:
  cStageBg() { Reset(); }
  void RegisterFields(int32_t nVersion) override;
  void Reset();

  int32_t m_bShown = 1;
  int32_t m_bFill = 0;     // a plain colour instead of the image
  int32_t m_nColour = 16;  // palette number of the fill
  int32_t m_nPass = 0;     // 0 behind the objects, 1 in front of them
  double m_dFactorX = 0.1;
  double m_dFactorY = 0.1;
  int32_t m_bAutoX = 0;
  int32_t m_bAutoY = 0;
  std::string m_strImage;
  double m_dOffsetX = 0;  // running positions of the auto scroll
  double m_dOffsetY = 0;
};

// One stored text of the stage (messages and the like).
class cStageText : public cRecord {
 public:
  cStageText() = default;
  explicit cStageText(std::string strText) : m_strText(std::move(strText)) {}
  void RegisterFields(int32_t nVersion) override;

  std::string m_strText;
};

using STAGEBG_VECTOR = cSafeVector<cStageBg>;
using STAGETEXT_VECTOR = cSafeVector<cStageText>;

// The five removal rules, in this order.
enum : int {
  RULE_CHARAS = 0,  // characters that are not block-like
  RULE_BLOCK_CHARAS = 1,
  RULE_ITEMS = 2,
  RULE_PLAYER_SHOTS = 3,
  RULE_OTHER_SHOTS = 4,
  STAGE_RULE_COUNT = 5
};

constexpr int kStageRankingCount = 5;  // one flag per ranking criterion
constexpr int kStageTextCount = 1000;  // texts an editor of 754 or later always stores
constexpr uint32_t kStageTrailer = 123456789;

class cStageData : public cRecord {
 public:
  cStageData();

  void RegisterFields(int32_t nVersion) override;
  // Reads a whole stage body over a reset record, upgrades old layouts and
  // normalises; the trailer, when the version has one, is consumed.
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // A new stage: defaults, one default entry per palette list, one colour
  // background, every ranking, the standard removal rules. Texts stay.
  void Reset();
  void SetDefaults();
  void ResetBlocks(int n);
  void ResetCharas(int n);
  void ResetItems(int n);
  void ResetBackgrounds(int n);

  // Repairs before writing and after reading: scroll limits inside the
  // stage, the derived step values, the music inside the music list, two
  // entries at least per palette list and every entry checked.
  void Normalize();
  // The hit-test level and everything derived from it.
  void SetHitLevel(int32_t nLevel);
  // The first placed character operated by a player, or -1.
  int FindPlayer() const;
  bool HasPlayer() const { return FindPlayer() != -1; }

  // The stage body of a replay: this record's palettes and placed lists
  // (normalised first), everything else from the settings record.
  void WriteForReplay(cDataWriter& w, cStageData& settings);

  std::string m_strName;

  // Placed entries: each one's column and row give its cell.
  BLOCK_VECTOR m_vecBlocks;
  CHARA_VECTOR m_vecCharas;
  ITEM_VECTOR m_vecItems;
  // The stage's own palette; entry 0 of each list is the none entry.
  BLOCK_VECTOR m_vecPalBlocks;
  CHARA_VECTOR m_vecPalCharas;
  ITEM_VECTOR m_vecPalItems;
  STAGEBG_VECTOR m_vecBgs;
  STAGETEXT_VECTOR m_vecTexts;

  // The numeric settings in file order. Sizes are pixels, times frames.
  int32_t m_nWidth = 0;  // in blocks
  int32_t m_nKept2 = 0;  // carried for the editor
  int32_t m_nKept3 = 0;
  int32_t m_nHeight = 0;
  int32_t m_bLimitLeft = 0;  // scroll limits on
  int32_t m_bLimitRight = 0;
  int32_t m_bLimitTop = 0;
  int32_t m_bLimitBottom = 0;
  int32_t m_nLimitLeft = 0;  // leftmost visible column
  int32_t m_nLimitRight = 0;
  int32_t m_nLimitTop = 0;
  int32_t m_nLimitBottom = 0;
  int32_t m_nFps = 0;
  int32_t m_bTimeLimit = 0;
  int32_t m_nTimeLimit = 0;    // seconds
  int32_t m_nTimeWarning = 0;  // seconds left from which the warning sounds
  int32_t m_nScrollKindX = 0;  // 0 follow the player, 1 auto scroll
  int32_t m_nScrollKindY = 0;
  int32_t m_nAutoSpeedX = 0;  // tenths of a pixel per frame
  int32_t m_nAutoSpeedY = 0;
  double m_dGravity = 0;
  int32_t m_nHitLevel = 0;     // 1..19; decides the update steps per frame
  int32_t m_nAttackTests = 0;  // 0 every update step, else that many per frame
  int32_t m_nBgm = 0;          // Bgm.dat entry, 0 none
  int32_t m_nBgmLoop = 0;
  int32_t m_bKeepBgm = 0;  // a restart keeps the same music running
  int32_t m_bLayers = 0;   // objects drawn in 8 passes by layer
  int32_t m_bTakeStatus = 0;
  int32_t m_bStoreStatus = 0;
  int32_t m_bStatusBar = 0;
  int32_t m_bNoResult = 0;  // the stage end goes on by itself after 200 frames
  int32_t m_bStartCaption = 0;
  int32_t m_bStartCaption2 = 0;
  int32_t m_bClearCaption = 0;
  int32_t m_bGameOverCaption = 0;
  int32_t m_nPlayerW = 0;  // player size, normal and flying
  int32_t m_nPlayerH = 0;
  int32_t m_nPlayerFlyW = 0;
  int32_t m_nPlayerFlyH = 0;
  int32_t m_nPlayerBodyW = 0;  // player body box of hit-range kind 0
  int32_t m_nPlayerBodyH = 0;
  int32_t m_nPlayerBodyFlyW = 0;
  int32_t m_nPlayerBodyFlyH = 0;
  int32_t m_nPlayerShotW = 0;  // player shot box, also hit-range kind 1
  int32_t m_nPlayerShotH = 0;
  int32_t m_nPlayerPickW = 0;  // the box items are picked up with
  int32_t m_nPlayerPickH = 0;
  int32_t m_bPlayerBottom = 0;  // 1 on the bottom of the cell, 0 centred
  int32_t m_bPlayerFlyBottom = 0;
  int32_t m_bPlayerBodyBottom = 0;
  int32_t m_bPlayerBodyFlyBottom = 0;
  int32_t m_nShowPlayerSize = 0;  // 0 hidden, 1 filled, 2 frame only
  int32_t m_nShowPlayerBody = 0;
  int32_t m_nShowPlayerShot = 0;
  int32_t m_nShowPlayerPick = 0;
  int32_t m_nColourPlayerSize = 0;  // palette number 208 + 4 x value
  int32_t m_nColourPlayerBody = 0;
  int32_t m_nColourPlayerShot = 0;
  int32_t m_nColourPlayerPick = 0;
  int32_t m_nCharaW = 0;
  int32_t m_nCharaH = 0;
  int32_t m_nCharaFlyW = 0;
  int32_t m_nCharaFlyH = 0;
  int32_t m_nCharaBodyW = 0;
  int32_t m_nCharaBodyH = 0;
  int32_t m_nCharaBodyFlyW = 0;
  int32_t m_nCharaBodyFlyH = 0;
  int32_t m_nCharaShotW = 0;
  int32_t m_nCharaShotH = 0;
  int32_t m_bCharaBottom = 0;
  int32_t m_bCharaFlyBottom = 0;
  int32_t m_bCharaBodyBottom = 0;
  int32_t m_bCharaBodyFlyBottom = 0;
  int32_t m_nItemW = 0;
  int32_t m_nItemH = 0;
  int32_t m_nPlayerShotHitW = 0;  // shots of the player, also its hit-range kind 2
  int32_t m_nPlayerShotHitH = 0;
  int32_t m_nKept78 = 0;
  int32_t m_nKept79 = 0;
  int32_t m_nOtherShotHitW = 0;  // every other shot, also a character's kind 2
  int32_t m_nOtherShotHitH = 0;
  int32_t m_nKept82 = 0;
  int32_t m_nKept83 = 0;
  int32_t m_nKept84 = 0;
  int32_t m_nExtentX = 0;  // the stage area for objects, in pixels
  int32_t m_nExtentY = 0;
  // Derived from the hit-test level (SetHitLevel); stored values are never used.
  int32_t m_nSteps = 0;
  double m_dSteps = 0;
  double m_dStepsSquared = 0;
  double m_dSpeedLimit = 0;  // per frame
  double m_dStepGravity = 0;
  double m_dStepSpeedLimit = 0;
  int32_t m_nSteps8 = 0;
  int32_t m_bOnScreenHits = 0;  // attack hits only between objects on screen
  int32_t m_nPlayerImmunity = 0;
  int32_t m_nPlayerInvincible = 0;
  int32_t m_nOtherImmunity = 0;
  int32_t m_nOtherInvincible = 0;

  cSafeVector<int32_t> m_vRanking;  // per ranking criterion: results may enter it
  std::array<cStageParam8, STAGE_RULE_COUNT> m_aRules;

  // Run time, never stored: the file this stage came from, the loading
  // thread's success, and six update steps (a derived frame length).
  std::string m_strPath;
  int32_t m_bLoaded = 0;
  int32_t m_nSteps6 = 0;

 private:
  void Upgrade(int32_t nVersion);
};

extern cStageData g_Stage;
extern cStageData g_StageCopy;

// The settings part of src into dst: the registered fields, backgrounds,
// texts, removal rules and ranking flags; dst's palette and placed lists are
// emptied.
void CopyStageSettings(cStageData& dst, cStageData& src);

// 1 when the file may be loaded. A file of version 174 or later whose last
// four bytes are not the trailer is reported damaged ("ステージファイル %s
// が破損しています！"), the program is asked to close, and 0 is returned. A
// file that cannot be opened, is too new or is older passes (the load that
// follows reports it).
int CheckStageTrailer(const std::string& strPath);

// The editor's labels of the hit-test levels 1..19 and of the attack-test
// counts 0..5, each list closed by an empty entry.
extern const char* const g_HitLevelLabels[20];
extern const char* const g_AttackTestLabels[7];
// The labels of the box displays (hidden, filled, frame only) and of their
// colours.
extern const char* const g_BoxDisplayLabels[4];
extern const char* const g_BoxColourLabels[9];
