#include "files/stage_data.h"

#include <algorithm>
#include <cstdio>

#include "base/global_order.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "platform/fs/file_system.h"
#include "records/database_refs.h"

GLOBAL_OBJECT(GLOBAL_STAGE) cStageData g_Stage;
GLOBAL_OBJECT(GLOBAL_STAGE) cStageData g_StageCopy;

namespace {

// Entries that inherit from "the stage palette" mean g_Stage's, the stage
// being played; while another stage record reads or checks its entries they
// mean that record's own. The palette of g_Stage is installed from the
// start, before anything is read.
const bool g_bStagePaletteInstalled =
    (SetStagePalette({&g_Stage.m_vecPalBlocks, &g_Stage.m_vecPalCharas, &g_Stage.m_vecPalItems}),
     true);

class cOwnStagePalette {
 public:
  explicit cOwnStagePalette(cStageData& stage) : m_old(GetStagePalette()) {
    SetStagePalette({&stage.m_vecPalBlocks, &stage.m_vecPalCharas, &stage.m_vecPalItems});
  }
  ~cOwnStagePalette() { SetStagePalette(m_old); }
  cOwnStagePalette(const cOwnStagePalette&) = delete;
  cOwnStagePalette& operator=(const cOwnStagePalette&) = delete;

 private:
  PALETTELISTS m_old;
};

// A placed entry is preceded by a word written as 0 and never looked at.
constexpr size_t kPlacedMinBytes = 4 + kMinRecordBodyBytes;

template <typename V>
void ReadPlacedVector(V& v, cDataReader& r) {
  const uint32_t nCount = r.Count(kPlacedMinBytes);
  if (r.Failed()) return;
  cDataReader::cNest nest(r);
  if (!nest.Ok()) return;
  v.clear();
  v.resize(nCount);
  for (auto& e : v) {
    r.Skip(4);
    e.Read(r);
    if (r.Failed()) return;
  }
}

template <typename V>
void WritePlacedVector(V& v, cDataWriter& w) {
  w.U32(static_cast<uint32_t>(v.size()));
  for (auto& e : v) {
    w.U32(0);
    e.Write(w);
  }
}

// Clamped from above only: a stage narrower than the screen keeps a
// negative limit, as it always has.
void ClampAbove(int32_t& n, int32_t nMax) {
  if (n > nMax) n = nMax;
}

}  // namespace

const char* const g_HitLevelLabels[20] = {"レベル1 (速度制限=60)",  "レベル2 (速度制限=120)",
                                          "レベル3 (速度制限=180)", "レベル4 (速度制限=240)",
                                          "レベル5 (速度制限=300)", "レベル6 (速度制限=360)",
                                          "レベル7 (速度制限=420)", "レベル8 (速度制限=480)",
                                          "レベル9 (速度制限=540)", "レベル10 (速度制限=600)",
                                          "レベル1 (速度制限=600)", "レベル2 (速度制限=600)",
                                          "レベル3 (速度制限=600)", "レベル4 (速度制限=600)",
                                          "レベル5 (速度制限=600)", "レベル6 (速度制限=600)",
                                          "レベル7 (速度制限=600)", "レベル8 (速度制限=600)",
                                          "レベル9 (速度制限=600)", ""};

const char* const g_AttackTestLabels[7] = {"最大 (当たり判定レベルと同じ)",
                                           "1 (対応速度=60)",
                                           "2 (対応速度=最大120)",
                                           "3 (対応速度=最大180)",
                                           "4 (対応速度=最大240)",
                                           "5 (対応速度=最大300)",
                                           ""};

const char* const g_BoxDisplayLabels[4] = {"表示しない", "表示する", "枠のみ表示", ""};

const char* const g_BoxColourLabels[9] = {"赤", "緑", "青", "黄", "赤紫", "青紫", "黒", "虹", ""};

// --- cStageParam8 ---------------------------------------------------------

void cStageParam8::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddDword(&m_bLeft);
  if (nVersion >= 125) {
    AddDword(&m_bRight);
    AddDword(&m_bTop);
    AddDword(&m_bBottom);
  }
  AddDword(&m_nLeftMargin);
  AddDword(&m_nRightMargin);
  AddDword(&m_nTopMargin);
  AddDword(&m_nBottomMargin);
}

void cStageParam8::Set(int32_t bLeft, int32_t bRight, int32_t bTop, int32_t bBottom,
                       int32_t nLeftMargin, int32_t nRightMargin, int32_t nTopMargin,
                       int32_t nBottomMargin) {
  m_bLeft = bLeft;
  m_bRight = bRight;
  m_bTop = bTop;
  m_bBottom = bBottom;
  m_nLeftMargin = nLeftMargin;
  m_nRightMargin = nRightMargin;
  m_nTopMargin = nTopMargin;
  m_nBottomMargin = nBottomMargin;
}

// --- cStageBg ---------------------------------------------------------------

void cStageBg::RegisterFields(int32_t nVersion) {
  ClearFields();
  if (nVersion >= 62) AddDword(&m_bShown);
  AddDword(&m_bFill);
  AddDword(&m_nColour);
  AddDword(&m_nPass);
  if (nVersion >= 61) {
    AddQword(&m_dFactorX);
    AddQword(&m_dFactorY);
    AddDword(&m_bAutoX);
    AddDword(&m_bAutoY);
  } else {
    // The factors were whole numbers then; they meant nothing usable.
    AddDword(&nDiscardField);
    AddDword(&nDiscardField);
  }
  AddString(&m_strImage);
  if (nVersion >= 62) {
    AddQword(&m_dOffsetX);
    AddQword(&m_dOffsetY);
  } else if (nVersion == 61) {
    AddDword(&nDiscardField);
    AddDword(&nDiscardField);
  }
}

void cStageBg::Reset() {
  Clear();
  m_bShown = 1;
  m_nColour = 16;
  m_dFactorX = 0.1;
  m_dFactorY = 0.1;
}

// --- cStageText -------------------------------------------------------------

void cStageText::RegisterFields(int32_t /*nVersion*/) {
  ClearFields();
  AddString(&m_strText);
}

// --- cStageData -------------------------------------------------------------

cStageData::cStageData() { Reset(); }

void cStageData::RegisterFields(int32_t v) {
  ClearFields();
  AddDword(&m_nWidth);
  AddDword(&m_nKept2);
  AddDword(&m_nKept3);
  AddDword(&m_nHeight);
  AddDword(&m_bLimitLeft);
  AddDword(&m_bLimitRight);
  AddDword(&m_bLimitTop);
  AddDword(&m_bLimitBottom);
  AddDword(&m_nLimitLeft);
  AddDword(&m_nLimitRight);
  AddDword(&m_nLimitTop);
  AddDword(&m_nLimitBottom);
  AddDword(&m_nFps);
  AddDword(&m_bTimeLimit);
  AddDword(&m_nTimeLimit);
  AddDword(&m_nTimeWarning);
  AddDword(&m_nScrollKindX);
  AddDword(&m_nScrollKindY);
  AddDword(&m_nAutoSpeedX);
  AddDword(&m_nAutoSpeedY);
  AddQword(&m_dGravity);
  AddDword(&m_nHitLevel);
  AddDword(&m_nAttackTests);
  AddDword(&m_nBgm);
  if (v >= 166) AddDword(&m_nBgmLoop);
  if (v >= 199) AddDword(&m_bKeepBgm);
  AddDword(&m_bLayers);
  AddDword(&m_bTakeStatus);
  AddDword(&m_bStoreStatus);
  if (v >= 183) AddDword(&m_bStatusBar);
  if (v >= 184) AddDword(&m_bNoResult);
  AddDword(&m_bStartCaption);
  if (v >= 225) AddDword(&m_bStartCaption2);
  AddDword(&m_bClearCaption);
  AddDword(&m_bGameOverCaption);
  if (v >= 200) {
    AddDword(&m_nPlayerW);
    AddDword(&m_nPlayerH);
    AddDword(&m_nPlayerFlyW);
    AddDword(&m_nPlayerFlyH);
  }
  AddDword(&m_nPlayerBodyW);
  AddDword(&m_nPlayerBodyH);
  if (v >= 155) {
    AddDword(&m_nPlayerBodyFlyW);
    AddDword(&m_nPlayerBodyFlyH);
  }
  AddDword(&m_nPlayerShotW);
  AddDword(&m_nPlayerShotH);
  AddDword(&m_nPlayerPickW);
  AddDword(&m_nPlayerPickH);
  if (v >= 200) {
    AddDword(&m_bPlayerBottom);
    AddDword(&m_bPlayerFlyBottom);
  }
  if (v >= 155) {
    AddDword(&m_bPlayerBodyBottom);
    AddDword(&m_bPlayerBodyFlyBottom);
  }
  if (v >= 200) AddDword(&m_nShowPlayerSize);
  AddDword(&m_nShowPlayerBody);
  AddDword(&m_nShowPlayerShot);
  AddDword(&m_nShowPlayerPick);
  if (v >= 200) AddDword(&m_nColourPlayerSize);
  AddDword(&m_nColourPlayerBody);
  AddDword(&m_nColourPlayerShot);
  AddDword(&m_nColourPlayerPick);
  if (v >= 200) {
    AddDword(&m_nCharaW);
    AddDword(&m_nCharaH);
    AddDword(&m_nCharaFlyW);
    AddDword(&m_nCharaFlyH);
  }
  AddDword(&m_nCharaBodyW);
  AddDword(&m_nCharaBodyH);
  if (v >= 155) {
    AddDword(&m_nCharaBodyFlyW);
    AddDword(&m_nCharaBodyFlyH);
  }
  AddDword(&m_nCharaShotW);
  AddDword(&m_nCharaShotH);
  if (v >= 200) {
    AddDword(&m_bCharaBottom);
    AddDword(&m_bCharaFlyBottom);
  }
  if (v >= 155) {
    AddDword(&m_bCharaBodyBottom);
    AddDword(&m_bCharaBodyFlyBottom);
  }
  AddDword(&m_nItemW);
  AddDword(&m_nItemH);
  AddDword(&m_nPlayerShotHitW);
  AddDword(&m_nPlayerShotHitH);
  AddDword(&m_nKept78);
  AddDword(&m_nKept79);
  AddDword(&m_nOtherShotHitW);
  AddDword(&m_nOtherShotHitH);
  AddDword(&m_nKept82);
  AddDword(&m_nKept83);
  AddDword(&m_nKept84);
  AddDword(&m_nExtentX);
  AddDword(&m_nExtentY);
  AddDword(&m_nSteps);
  AddQword(&m_dSteps);
  AddQword(&m_dStepsSquared);
  AddQword(&m_dSpeedLimit);
  AddQword(&m_dStepGravity);
  AddQword(&m_dStepSpeedLimit);
  AddDword(&m_nSteps8);
  AddDword(&m_bOnScreenHits);
  AddDword(&m_nPlayerImmunity);
  AddDword(&m_nPlayerInvincible);
  AddDword(&m_nOtherImmunity);
  AddDword(&m_nOtherInvincible);
  AddString(&m_strName);
}

void cStageData::SetDefaults() {
  m_nPlayerW = 16;
  m_nPlayerH = 24;
  m_nPlayerFlyW = 16;
  m_nPlayerFlyH = 16;
  m_nPlayerBodyW = 16;
  m_nPlayerBodyH = 24;
  m_nPlayerBodyFlyW = 16;
  m_nPlayerBodyFlyH = 16;
  m_nPlayerShotW = 12;
  m_nPlayerShotH = 8;
  m_nPlayerPickW = 16;
  m_nPlayerPickH = 16;
  m_bPlayerBottom = 1;
  m_bPlayerFlyBottom = 0;
  m_bPlayerBodyBottom = 1;
  m_bPlayerBodyFlyBottom = 0;
  m_nShowPlayerSize = m_nShowPlayerBody = m_nShowPlayerShot = m_nShowPlayerPick = 0;
  m_nColourPlayerSize = m_nColourPlayerBody = m_nColourPlayerShot = m_nColourPlayerPick = 0;
  m_nCharaW = 16;
  m_nCharaH = 24;
  m_nCharaFlyW = 16;
  m_nCharaFlyH = 16;
  m_nCharaBodyW = 12;
  m_nCharaBodyH = 24;
  m_nCharaBodyFlyW = 12;
  m_nCharaBodyFlyH = 16;
  m_nCharaShotW = 30;
  m_nCharaShotH = 30;
  m_bCharaBottom = 1;
  m_bCharaFlyBottom = 0;
  m_bCharaBodyBottom = 1;
  m_bCharaBodyFlyBottom = 0;
  m_nItemW = 28;
  m_nItemH = 28;
  m_nPlayerShotHitW = m_nPlayerShotHitH = 16;
  m_nKept78 = m_nKept79 = 16;
  m_nOtherShotHitW = m_nOtherShotHitH = 16;
  m_nKept82 = m_nKept83 = 16;
}

void cStageData::ResetBlocks(int n) { m_vecPalBlocks.assign(std::max(n, 0), cEdBlock()); }
void cStageData::ResetCharas(int n) { m_vecPalCharas.assign(std::max(n, 0), cEdChara()); }
void cStageData::ResetItems(int n) { m_vecPalItems.assign(std::max(n, 0), cEdItem()); }

void cStageData::ResetBackgrounds(int n) { m_vecBgs.assign(std::max(n, 0), cStageBg()); }

void cStageData::Reset() {
  Clear();
  m_vecBlocks.clear();
  m_vecCharas.clear();
  m_vecItems.clear();
  ResetBlocks(1);
  ResetCharas(1);
  ResetItems(1);
  m_nTimeLimit = 200;
  m_bTimeLimit = 0;
  m_nTimeWarning = 20;
  m_dGravity = 0.4;
  m_nFps = 60;
  m_nHitLevel = 10;
  m_nAttackTests = 0;
  m_bLayers = 1;
  m_bOnScreenHits = 1;
  m_bStatusBar = 1;
  m_bNoResult = 0;
  m_bStartCaption = 0;
  m_bStartCaption2 = 1;
  m_bClearCaption = 1;
  m_bGameOverCaption = 1;
  m_nPlayerInvincible = 0;
  m_nPlayerImmunity = 30;
  m_nOtherInvincible = 0;
  m_nOtherImmunity = 30;
  ResetBackgrounds(1);
  m_vecBgs[0].m_bFill = 1;
  m_vRanking.assign(kStageRankingCount, 1);
  for (int i = 0; i < 3; ++i) m_aRules[i].Set(0, 0, 0, 0, 0, 0, 0, 0);
  m_aRules[3].Set(1, 1, 1, 1, 0, 0, 0, 0);
  m_aRules[4].Set(1, 1, 1, 1, 10, 10, 10, 10);
  SetDefaults();
  m_nKept84 = 1;
}

void cStageData::SetHitLevel(int32_t nLevel) {
  m_nHitLevel = nLevel;
  const bool bFine = nLevel >= 11 && nLevel <= 19;
  int32_t n = bFine ? nLevel - 10 : nLevel;
  // A stage cannot run no update at all, nor more than the finest level's
  // ten a frame (a damaged level would make every frame run millions): the
  // stored level stays as it is.
  if (n < 1) n = 1;
  if (n > kMostStepsPerFrame) n = kMostStepsPerFrame;
  m_nSteps = n;
  m_nSteps6 = n * 6;
  m_dSteps = n;
  m_dStepsSquared = static_cast<double>(n) * static_cast<double>(n);
  m_dSpeedLimit = bFine ? 60.0 : static_cast<double>(n * 6);
  m_nSteps8 = n * 8;
  m_dStepSpeedLimit = m_dSpeedLimit / m_dSteps;
  m_dStepGravity = m_dGravity / m_dStepsSquared;
}

void cStageData::Normalize() {
  ClampAbove(m_nLimitLeft, m_nWidth - 20);
  ClampAbove(m_nLimitRight, m_nWidth - 1);
  ClampAbove(m_nLimitTop, m_nHeight - 15);
  ClampAbove(m_nLimitBottom, m_nHeight - 1);
  SetHitLevel(m_nHitLevel);
  // Unsigned, so a negative index counts as past the end too.
  if (IsOutsideDbList(m_nBgm, DBLIST_BGM)) m_nBgm = 0;
  if (m_vecPalBlocks.size() < 2) m_vecPalBlocks.resize(2, cEdBlock());
  if (m_vecPalCharas.size() < 2) m_vecPalCharas.resize(2, cEdChara());
  if (m_vecPalItems.size() < 2) m_vecPalItems.resize(2, cEdItem());

  cOwnStagePalette own(*this);
  for (BLOCK_VECTOR* pList : {&m_vecPalBlocks, &m_vecBlocks}) {
    for (cEdBlock& e : *pList) {
      e.Validate();
      e.ValidateItem();
    }
  }
  for (CHARA_VECTOR* pList : {&m_vecPalCharas, &m_vecCharas}) {
    for (cEdChara& e : *pList) {
      e.Validate();
      e.ValidateFlows();
    }
  }
  for (ITEM_VECTOR* pList : {&m_vecPalItems, &m_vecItems}) {
    for (cEdItem& e : *pList) {
      e.Validate();
      e.ValidateCommands();
    }
  }
}

int cStageData::FindPlayer() const {
  // The player is the first placed character a player's input operates.
  for (int i = 0; i < static_cast<int>(m_vecCharas.size()); ++i) {
    if (m_vecCharas[i].m_cOperator == 0) return i;
  }
  return -1;
}

void cStageData::Read(cDataReader& r) {
  // Nothing of the stage read before may show through what an older file
  // does not hold.
  Reset();
  cOwnStagePalette own(*this);

  cRecord::Read(r);
  if (r.Failed()) return;
  const uint32_t nRanking = r.Count(4);
  if (r.Failed()) return;
  m_vRanking.resize(nRanking, 0);
  if (nRanking) r.ReadBytes(m_vRanking.data(), nRanking * sizeof(int32_t));
  for (cStageParam8& rule : m_aRules) {
    ReadSubRecord(rule, r);
    if (r.Failed()) return;
  }

  // In place: an entry that inherits from an earlier entry of its own list
  // finds it read already.
  ReadRecordVector(m_vecPalBlocks, r, cEdBlock());
  ReadRecordVector(m_vecPalCharas, r, cEdChara());
  ReadRecordVector(m_vecPalItems, r, cEdItem());
  if (r.Failed()) return;
  if (!m_vecPalBlocks.empty()) m_vecPalBlocks[0].Reset();
  if (!m_vecPalCharas.empty()) m_vecPalCharas[0].Reset();
  if (!m_vecPalItems.empty()) m_vecPalItems[0].Reset();

  ReadPlacedVector(m_vecBlocks, r);
  ReadPlacedVector(m_vecCharas, r);
  ReadPlacedVector(m_vecItems, r);
  if (r.Failed()) return;

  const uint32_t nBgs = r.Count(kMinRecordBodyBytes);
  if (r.Failed()) return;
  m_vecBgs.resize(nBgs, cStageBg());
  for (cStageBg& bg : m_vecBgs) {
    ReadSubRecord(bg, r);
    if (r.Failed()) return;
  }
  ReadRecordVector(m_vecTexts, r, cStageText());
  if (r.Failed()) return;

  const int32_t v = r.FileVersion();
  if (v >= 173) r.U32();  // the trailer; the loader checks it before reading
  if (r.Failed()) return;
  Upgrade(v);
  Normalize();
}

void cStageData::Upgrade(int32_t v) {
  if (v < 155) {
    m_nPlayerBodyFlyW = m_nPlayerBodyW;
    m_nPlayerBodyFlyH = m_nPlayerBodyH;
    m_nCharaBodyFlyW = m_nCharaBodyW;
    m_nCharaBodyFlyH = m_nCharaBodyH;
    m_bPlayerBodyBottom = m_bPlayerBodyFlyBottom = 0;
    m_bCharaBodyBottom = m_bCharaBodyFlyBottom = 0;
  }
  if (v < 166) m_nBgmLoop = 1;
  if (v < 181) {
    m_vRanking.resize(kStageRankingCount, 0);
    m_vRanking[3] = m_vRanking[4] = 0;
  }
  if (v < 183) m_bStatusBar = 1;
  if (v < 184) m_bNoResult = 0;
  if (v < 199) m_bKeepBgm = 0;
  if (v < 200) {
    m_nPlayerW = 16;
    m_nPlayerH = 24;
    m_nPlayerFlyW = 16;
    m_nPlayerFlyH = 16;
    m_bPlayerBottom = 1;
    m_bPlayerFlyBottom = 0;
    m_nShowPlayerSize = 0;
    m_nColourPlayerSize = 5;
    m_nCharaW = 16;
    m_nCharaH = 30;
    m_nCharaFlyW = 16;
    m_nCharaFlyH = 30;
    m_bCharaBottom = 1;
    m_bCharaFlyBottom = 1;
  }
  if (v < 225) m_bStartCaption2 = 0;
  if (v < 754) m_vecTexts.resize(kStageTextCount, cStageText());
  // Every ranking criterion has its flag, whatever the file held: the stage
  // end indexes them all.
  if (m_vRanking.size() < kStageRankingCount) m_vRanking.resize(kStageRankingCount, 0);
}

void cStageData::Write(cDataWriter& w) {
  // Every entry checks itself again as it is written.
  cOwnStagePalette own(*this);
  Normalize();
  cRecord::Write(w);
  WriteValueVector(m_vRanking, w);
  for (cStageParam8& rule : m_aRules) rule.Write(w);
  WriteRecordVector(m_vecPalBlocks, w);
  WriteRecordVector(m_vecPalCharas, w);
  WriteRecordVector(m_vecPalItems, w);
  WritePlacedVector(m_vecBlocks, w);
  WritePlacedVector(m_vecCharas, w);
  WritePlacedVector(m_vecItems, w);
  WriteRecordVector(m_vecBgs, w);
  WriteRecordVector(m_vecTexts, w);
  w.U32(kStageTrailer);
}

void cStageData::WriteForReplay(cDataWriter& w, cStageData& settings) {
  cOwnStagePalette own(*this);
  Normalize();
  settings.cRecord::Write(w);
  WriteValueVector(settings.m_vRanking, w);
  for (cStageParam8& rule : settings.m_aRules) rule.Write(w);
  WriteRecordVector(m_vecPalBlocks, w);
  WriteRecordVector(m_vecPalCharas, w);
  WriteRecordVector(m_vecPalItems, w);
  WritePlacedVector(m_vecBlocks, w);
  WritePlacedVector(m_vecCharas, w);
  WritePlacedVector(m_vecItems, w);
  WriteRecordVector(settings.m_vecBgs, w);
  WriteRecordVector(settings.m_vecTexts, w);
  w.U32(kStageTrailer);
}

void CopyStageSettings(cStageData& dst, cStageData& src) {
  if (&dst == &src) return;
  dst.Copy(src);
  dst.m_vecBgs = src.m_vecBgs;
  dst.m_vecTexts = src.m_vecTexts;
  dst.m_aRules = src.m_aRules;
  dst.m_vRanking = src.m_vRanking;
  dst.m_vecBlocks.clear();
  dst.m_vecCharas.clear();
  dst.m_vecItems.clear();
  dst.m_vecPalBlocks.clear();
  dst.m_vecPalCharas.clear();
  dst.m_vecPalItems.clear();
}

int CheckStageTrailer(const std::string& strPath) {
  const std::string strName = strPath.empty() ? std::string("err") : strPath;
  std::FILE* fp = plat::fs::Open(strName, "rb");
  if (!fp) return 1;
  uint8_t head[4];
  uint8_t tail[4];
  bool bDamaged = false;
  if (std::fread(head, 1, 4, fp) == 4) {
    const uint32_t nVersion = head[0] | head[1] << 8 | head[2] << 16 | uint32_t(head[3]) << 24;
    // Too new: refused by the load that follows. Older than 174: no check.
    if (nVersion <= static_cast<uint32_t>(nDataVersion) && nVersion >= 174) {
      bDamaged =
          std::fseek(fp, -4, SEEK_END) != 0 || std::fread(tail, 1, 4, fp) != 4 ||
          (tail[0] | tail[1] << 8 | tail[2] << 16 | uint32_t(tail[3]) << 24) != kStageTrailer;
    }
  }
  std::fclose(fp);
  if (!bDamaged) return 1;
  ErrorBoxF("ステージファイル %s が破損しています！", strPath.c_str());
  PostFatalClose();
  return 0;
}
