#include "files/system_data.h"

#include <algorithm>

#include "base/global_order.h"
#include "base/logs.h"
#include "base/paths.h"
#include "base/text_helpers.h"
#include "draw/font_tables.h"
#include "flow/flow.h"
#include "records/database_refs.h"

GLOBAL_OBJECT(GLOBAL_SYSTEM_DATA) cSystemData g_SystemData;

// --- cStatusItem -------------------------------------------------------------

void cStatusItem::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddDword(&m_bShow, 1);
  AddDword(&m_bIcon, 1);
  AddDword(&m_nDigits, 1);
  if (nVersion >= 204) AddDword(&m_bNumberOnGauge, 1);
  if (nVersion >= 587) {
    AddDword(&m_nLimit, 1);
    AddDword(&m_bLimitPercent, 1);
  }
  AddString(&m_strLabel, 1);
}

void cStatusItem::Read(cDataReader& r) {
  cRecord::Read(r);
  if (r.FileVersion() < 204) m_bNumberOnGauge = 1;
}

// --- cModeRanking ------------------------------------------------------------

void cModeRanking::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_bRanking, 1);
}

void cModeRanking::Read(cDataReader& r) {
  cRecord::Read(r);
  ReadValueVector(m_vCriteria, r);
}

void cModeRanking::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteValueVector(m_vCriteria, w);
}

// --- cSystemData -------------------------------------------------------------

cSystemData::cSystemData() {
  Clear();
  SetDefaults();
}

void cSystemData::SetDefaults() {
  m_nExtraLifeScore = 100;
  m_bPauseHidesStage = 1;
  m_nFontFace = kDefaultFontFace;
  m_bReplayRecord = 1;
  m_bTitleMenuImage = 1;
  m_bStoryKeepLives = 1;
  m_bStoryDefeatMenu = 1;
  m_bMapShowLives = 1;
  m_nChallengeStages = 40;
  m_bChallengeAllOpen = 1;
  m_bMapShowScore = 1;
  m_bMapMenuShowTotal = 1;
  m_bRetryRestoreStory = 1;
  m_bPauseRetryStory = 1;
  m_bSelectShowHiScore = 1;
  m_bSelectShowTotal = 1;
  m_bRetryRestoreChallenge = 1;
  m_bPauseRetryChallenge = 1;
  m_bRetryRestoreFree = 1;
  m_nCycleStep = 16;
  m_bPauseMapStory = 1;
  m_nDDDepth = 2;

  m_vCarryFlags.assign(kCarryFlagCount, 0);
  for (int i : {0, 1, 13, 14, 16, 17, 19, 20, 21}) m_vCarryFlags[i] = 1;
  m_vResetFlags.assign(kCarryFlagCount, 0);
  m_vResetFlags[11] = m_vResetFlags[12] = 1;

  struct {
    const char* szLabel;
    int32_t nDigits;
  } const statusItems[] = {{"スコア", 4}, {"スコア", 3}, {"HP", 0}, {"SP", 0}, {"人", 2}};
  m_vStatusItems.clear();
  for (const auto& s : statusItems) {
    cStatusItem item;
    item.m_bShow = 1;
    item.m_bIcon = 1;
    item.m_strLabel = s.szLabel;
    item.m_nDigits = s.nDigits;
    m_vStatusItems.push_back(item);
  }

  m_vStartLives = {5, 5, 5, 99};
  m_vUnlimitedLives = {1, 1, 1, 1};
  m_vModeRanking.assign(4, cModeRanking());
  for (int i = 0; i < 3; ++i) {
    m_vModeRanking[i].m_bRanking = 1;
    m_vModeRanking[i].m_vCriteria.assign(cModeRanking::kCriteria, 1);
  }

  m_vTexts = {"ワールド",
              "ステージ",
              "スコア",
              "ハイスコア",
              "トータルスコア",
              "スコア",
              "残り時間",
              "クリア時間",
              "残りHP",
              "残りSP",
              "ステージに挑む",
              "やっぱりやめる",
              "セーブする",
              "やっぱりやめる",
              "オートセーブＯＮ",
              "オートセーブＯＦＦ",
              "保存先が不明です！一度は「セーブ」して下さい！",
              "タイトルへ戻る",
              "やっぱりやめる",
              "しゅうりょう",
              "つづける",
              "リトライ",
              "マップへ戻る",
              "リトライ",
              "マップへ戻る",
              "Vキーでジャンルの切り替え",
              "スペースキーでタイトルへ戻る",
              "スペースキーで終了",
              "F3キーでランキングへ登録"};
  m_vSoundFiles.assign(kSoundFileCount, std::string());
  m_vSceneBgm = {0, 0, 0, 0};
  m_vSceneBgmLoop = {1, 1, 1, 1};

  auto Menu = [](std::initializer_list<const char*> labels) {
    cSafeVector<cCmd> v;
    for (const char* sz : labels) v.push_back(cCmd(1, sz));
    return v;
  };
  m_vTitleMenu = Menu({"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション",
                       "しゅうりょう"});
  m_vMapMenu = Menu({"セーブ", "オートセーブ", "もどる", "タイトルへ"});
  m_vOptionMenu = Menu({"", "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる"});
  m_vRankEntryModes = {"手動登録（登録名入力）", "手動登録（登録名固定）", "自動登録（登録名入力）",
                       "自動登録（登録名固定）"};

  m_vIniKeys.assign(kIniKeyCount, cIniKey());
  m_vIniKeys[0].SetInt("Direct3D", 2);
  m_vIniKeys[1].SetInt("WindowMode", 0);
  m_vIniKeys[2].SetInt("Bpp", 0);
  m_vIniKeys[3].SetInt("VSync", 2);
  m_vIniKeys[4].SetInt("D3D_FontCache", 0);
  m_vIniKeys[5].SetInt("DD_FontCache", 1);
  m_vIniKeys[6].SetInt("DD_VideoStretch", 0);
  m_vIniKeys[7].SetInt("ShowFps", 1);
  m_vIniKeys[8].SetString("FreeStage", "");
  m_vIniKeys[9].SetInt("English", 0);
}

void cSystemData::RegisterFields(int32_t v) {
  ClearFields();
  if (v >= 185) AddDword(&m_bExtraLifeByScore, 1);
  AddDword(&m_nExtraLifeScore, 1);
  AddDword(&m_bPauseHidesStage, 1);
  AddDword(&m_bFastFont, 1);
  if (v >= 205) AddDword(&m_nFontFace, 1);
  if (v >= 170) AddDword(&m_bCenterGlyphs, 1);
  if (v >= 113) AddDword(&m_bKeepDisabledFlows, 1);
  if (v >= 184) AddDword(&m_bReplayRecord, 1);
  if (v >= 157) AddDword(&m_bTitleMenuImage, 1);
  AddDword(&m_bStoryKeepLives, 1);
  if (v >= 191) AddDword(&m_bStoryDefeatMenu, 1);
  if (v >= 191) AddDword(&m_bMapShowLives, 1);
  AddDword(&m_nChallengeStages, 1);
  AddDword(&m_bChallengeAllOpen, 1);
  if (v >= 167) AddDword(&m_bMapShowScore, 1);
  if (v >= 167) AddDword(&m_bMapMenuShowTotal, 1);
  if (v >= 188) AddDword(&m_bRetryRestoreStory, 1);
  if (v >= 224) AddDword(&m_bPauseRetryStory, 1);
  if (v >= 167) AddDword(&m_bSelectShowHiScore, 1);
  if (v >= 167) AddDword(&m_bSelectShowTotal, 1);
  if (v >= 188) AddDword(&m_bRetryRestoreChallenge, 1);
  if (v >= 224) AddDword(&m_bPauseRetryChallenge, 1);
  if (v >= 188) AddDword(&m_bRetryRestoreFree, 1);
  if (v >= 192) AddDword(&m_bRetryRestoreFile, 1);
  if (v >= 187) {
    AddDword(&m_bTrueColorImages, 1);
    AddByte(&m_byKeyRed, 1);
    AddByte(&m_byKeyGreen, 1);
    AddByte(&m_byKeyBlue, 1);
  }
  if (v >= 214) AddDword(&m_bCompat214, 1);
  if (v >= 221 && v <= 259) AddDword(&nDiscardField, 1);
  if (v >= 261) AddDword(&m_bCompat261, 1);
  if (v >= 272) AddDword(&m_bOption272, 1);
  if (v >= 287) AddDword(&m_bOption287, 1);
  if (v >= 515) AddDword(&m_nCycleStep, 1);
  if (v >= 289) AddDword(&m_bPaletteCycle, 1);
  if (v >= 757) AddDword(&m_bPauseMapStory, 1);
  if (v >= 525) AddDword(&m_bCompat525, 1);
  if (v >= 555) AddDword(&m_bCompat555, 1);
  if (v >= 637) AddDword(&m_bCompat637, 1);
  if (v >= 669) AddDword(&m_bCompat669, 1);
  if (v >= 677) AddDword(&m_bCompat677, 1);
  if (v >= 695) AddDword(&m_bCompat695, 1);
  if (v >= 696) AddDword(&m_bCompat696, 1);
  if (v >= 697) AddDword(&m_bCompat697, 1);
  if (v >= 721) AddDword(&m_bCompat721, 1);
  if (v >= 728) AddDword(&m_bCompat728, 1);
  if (v >= 733) AddDword(&m_bCompat733, 1);
  if (v >= 744) AddDword(&m_bCompat744, 1);
  if (v >= 749) AddDword(&m_bCompat749, 1);
  if (v >= 752) AddDword(&m_bCompat752, 1);
  if (v >= 763) AddDword(&m_bCompat763a, 1);
  if (v >= 763) AddDword(&m_bCompat763b, 1);
  if (v >= 768) AddDword(&m_bCompat768, 1);
  if (v >= 773) AddDword(&m_bCompat773, 1);
  if (v >= 781) AddDword(&m_bCompat781, 1);
  if (v >= 782) AddDword(&m_bCompat782, 1);
  if (v >= 783) AddDword(&m_bCompat783, 1);
  if (v >= 670) AddDword(&m_nD3DDepth, 1);
  if (v >= 670) AddDword(&m_nDDDepth, 1);
  AddString(&m_strTitle, 1);
}

void cSystemData::Read(cDataReader& r) {
  const int32_t v = r.FileVersion();
  cRecord::Read(r);
  ReadValueVector(m_vCarryFlags, r);
  if (v >= 501) ReadValueVector(m_vResetFlags, r);
  ReadRecordVector(m_vStatusItems, r);
  ReadValueVector(m_vStartLives, r);
  if (v >= 191) ReadValueVector(m_vUnlimitedLives, r);
  if (v >= 186) ReadRecordVector(m_vModeRanking, r);
  ReadStringVector(m_vTexts, r);
  ReadStringVector(m_vSoundFiles, r);
  ReadValueVector(m_vSceneBgm, r);
  if (v >= 202) ReadValueVector(m_vSceneBgmLoop, r);
  ReadRecordVector(m_vTitleMenu, r);
  ReadRecordVector(m_vMapMenu, r);
  ReadRecordVector(m_vOptionMenu, r);
  if (v >= 674) ReadStringVector(m_vRankEntryModes, r);
  ReadRecordVector(m_vIniKeys, r);
  if (r.Failed()) return;
  if (v < kCurrentDataVersion) Upgrade(v);
  Validate();
}

cIniKey& cSystemData::InsertKey(int i) {
  InsertShifting(m_vIniKeys, i, cIniKey());
  return m_vIniKeys.At(i);
}

void cSystemData::Upgrade(int32_t v) {
  auto ResizeTexts = [this] { m_vTexts.resize(kTextCount); };
  auto ResizeCarry = [this] { m_vCarryFlags.resize(kCarryFlagCount, 0); };
  auto ResizeKeys = [this] { m_vIniKeys.resize(kIniKeyCount, cIniKey()); };

  if (v < 113) m_bKeepDisabledFlows = 0;
  if (v < 157) m_bTitleMenuImage = 0;
  if (v < 167)
    m_bMapShowScore = m_bMapMenuShowTotal = m_bSelectShowHiScore = m_bSelectShowTotal = 1;
  if (v < 168) {
    ResizeCarry();
    InsertShifting(m_vCarryFlags, 16, uint8_t{1});
  }
  if (v < 169) {
    m_vMapMenu.resize(4, cCmd(1, ""));
    InsertShifting(m_vMapMenu, 1, cCmd(1, "オートセーブ"));
    ResizeTexts();
    InsertShifting(m_vTexts, 12, std::string("保存先が不明です！一度は「セーブ」して下さい！"));
    InsertShifting(m_vTexts, 12, std::string("オートセーブＯＦＦ"));
    InsertShifting(m_vTexts, 12, std::string("オートセーブＯＮ"));
  }
  if (v < 170) m_bCenterGlyphs = 0;
  if (v < 181) {
    for (int i = 0; i < 4; ++i) {
      cSafeVector<uint8_t>& vCriteria = m_vModeRanking.At(i).m_vCriteria;
      vCriteria.resize(cModeRanking::kCriteria, 0);
      vCriteria[3] = vCriteria[4] = 0;
    }
    ResizeTexts();
    InsertShifting(m_vTexts, 8, std::string("残りHP"));
    InsertShifting(m_vTexts, 9, std::string("残りSP"));
  }
  if (v < 184) m_bReplayRecord = 1;
  if (v < 185) m_bExtraLifeByScore = 1;
  if (v < 187) {
    m_bTrueColorImages = 0;
    m_byKeyRed = 0;
    m_byKeyGreen = 177;
    m_byKeyBlue = 0;
  }
  if (v < 188) m_bRetryRestoreStory = m_bRetryRestoreChallenge = m_bRetryRestoreFree = 1;
  if (v < 191) {
    m_vUnlimitedLives = {0, 0, 0, 1};
    m_bStoryDefeatMenu = 0;
    m_bMapShowLives = 0;
  }
  if (v < 192) m_bRetryRestoreFile = 1;
  if (v < 193) {
    ResizeTexts();
    InsertShifting(m_vTexts, 22, std::string("リトライ"));
    InsertShifting(m_vTexts, 23, std::string("マップへ戻る"));
  }
  if (v < 201) {
    ResizeCarry();
    InsertShifting(m_vCarryFlags, 14, uint8_t{0});
  }
  if (v < 202) m_vSceneBgmLoop.assign(4, 1);
  if (v < 205) m_nFontFace = kDefaultFontFace;
  if (v < 210) {
    ResizeCarry();
    InsertShifting(m_vCarryFlags, 9, uint8_t{0});
  }
  if (v < 214) m_bCompat214 = 1;
  if (v < 224) m_bPauseRetryStory = m_bPauseRetryChallenge = 0;
  if (v < 261) m_bCompat261 = 1;
  if (v < 272) m_bOption272 = 0;
  if (v < 286) {
    ResizeKeys();
    InsertKey(0).SetInt("Direct3D", 1);
    cIniKey& vsync = m_vIniKeys.At(3);
    if (vsync.m_nDefault > 2) vsync.m_nDefault = 2;
  }
  if (v < 287) m_bOption287 = 0;
  if (v < 289) m_bPaletteCycle = m_bTrueColorImages == 0 ? 1 : 0;
  if (v < 501) m_vResetFlags.assign(kCarryFlagCount, 0);
  if (v < 515) m_nCycleStep = 16;
  if (v < 525) m_bCompat525 = 1;
  if (v < 555) m_bCompat555 = 1;
  if (v < 567) {
    ResizeKeys();
    InsertKey(4).SetInt("DD_VideoStretch", 0);
  }
  if (v < 568) {
    ResizeKeys();
    InsertKey(4).SetInt("D3D_FontCache", 0);
    InsertKey(5).SetInt("DD_FontCache", 1);
  }
  if (v < 587) {
    m_vStatusItems.resize(5);
    for (int i : {2, 3}) {
      m_vStatusItems[i].m_nLimit = 33;
      m_vStatusItems[i].m_bLimitPercent = 1;
    }
  }
  if (v < 637) m_bCompat637 = v <= 616 ? 1 : 0;
  if (v < 669) m_bCompat669 = 1;
  if (v < 670) {
    m_nD3DDepth = 0;
    m_nDDDepth = 2;
  }
  if (v < 672) {
    ResizeKeys();
    cIniKey english;
    english.SetInt("English", 0);
    m_vIniKeys.At(9) = english;
  }
  const std::pair<int32_t, int32_t*> switches[] = {
      {677, &m_bCompat677}, {695, &m_bCompat695}, {696, &m_bCompat696}, {697, &m_bCompat697},
      {721, &m_bCompat721}, {728, &m_bCompat728}, {733, &m_bCompat733}, {744, &m_bCompat744},
      {749, &m_bCompat749}, {752, &m_bCompat752}};
  for (const auto& [nSince, pSwitch] : switches) {
    if (v < nSince) *pSwitch = 1;
  }
  if (v < 756) {
    ResizeTexts();
    InsertShifting(m_vTexts, 22, std::string("マップへ戻る"));
  }
  if (v < 757) m_bPauseMapStory = 0;
  if (v < 763) m_bCompat763a = m_bCompat763b = 1;
  const std::pair<int32_t, int32_t*> lateSwitches[] = {{768, &m_bCompat768},
                                                       {773, &m_bCompat773},
                                                       {781, &m_bCompat781},
                                                       {782, &m_bCompat782},
                                                       {783, &m_bCompat783}};
  for (const auto& [nSince, pSwitch] : lateSwitches) {
    if (v < nSince) *pSwitch = 1;
  }
}

void cSystemData::Write(cDataWriter& w) {
  Validate();
  cRecord::Write(w);
  WriteValueVector(m_vCarryFlags, w);
  WriteValueVector(m_vResetFlags, w);
  WriteRecordVector(m_vStatusItems, w);
  WriteValueVector(m_vStartLives, w);
  WriteValueVector(m_vUnlimitedLives, w);
  WriteRecordVector(m_vModeRanking, w);
  WriteStringVector(m_vTexts, w);
  WriteStringVector(m_vSoundFiles, w);
  WriteValueVector(m_vSceneBgm, w);
  WriteValueVector(m_vSceneBgmLoop, w);
  WriteRecordVector(m_vTitleMenu, w);
  WriteRecordVector(m_vMapMenu, w);
  WriteRecordVector(m_vOptionMenu, w);
  WriteStringVector(m_vRankEntryModes, w);
  WriteRecordVector(m_vIniKeys, w);
}

void cSystemData::Validate() {
  if (!HasDbRefSource()) return;
  for (int32_t& nBgm : m_vSceneBgm) {
    if (IsOutsideDbList(nBgm, DBLIST_BGM)) nBgm = 0;
  }
}

int cSystemData::CountEnabledEntries(int nMode) {
  cModeRanking& mode = m_vModeRanking.At(nMode);
  if (!mode.m_bRanking) return 0;
  return static_cast<int>(std::count_if(mode.m_vCriteria.begin(), mode.m_vCriteria.end(),
                                        [](uint8_t b) { return b != 0; }));
}

int cSystemData::IsAtOrBelowLimit(int nItem, int nValue, int nMax) {
  cStatusItem& item = m_vStatusItems.At(nItem);
  if (!item.m_bLimitPercent) return item.m_nLimit >= nValue ? 1 : 0;
  // A gauge without a maximum has no meaningful percentage: never a warning.
  if (nMax == 0) return 0;
  double dPercent = static_cast<double>(nValue) * 100.0 / static_cast<double>(nMax);
  return static_cast<double>(item.m_nLimit) >= dPercent ? 1 : 0;
}

int GetMenuTextLeft(int x, int nFirst, int nCount, int bCursor) {
  int nWidest = 0;
  for (int i = 0; i < nCount; ++i) {
    nWidest = std::max(nWidest, CountChars(g_SystemData.m_vTexts.At(nFirst + i).c_str()));
  }
  return x - ((bCursor ? 1 : 0) + nWidest) * 16 / 2;
}

void DrawMenuTextWindow(DDSURFACEDATA* lpDstSD, int x, int y, int nFirst, int nCount, int bCursor) {
  if (nCount <= 0) return;
  std::string strText;
  int nWidest = 0;
  for (int i = 0; i < nCount; ++i) {
    const std::string& strLine = g_SystemData.m_vTexts.At(nFirst + i);
    nWidest = std::max(nWidest, CountChars(strLine.c_str()));
    if (bCursor) strText += ' ';
    strText += strLine;
    strText += '\n';
  }
  g_Font[1].DrawTextBox(lpDstSD, x, y, (nWidest + (bCursor ? 1 : 0)) * 16, nCount * 16,
                        strText.c_str(), 0);
}

bool LoadSystemDataAtStart() {
  if (g_SystemData.Load(g_Paths[PATH_SYSTEM_DAT])) {
    SetSystemKeepsDisabledFlows(g_SystemData.m_bKeepDisabledFlows);
    return true;
  }
  ReportFError("%s の読み込みに失敗…", g_Paths[PATH_SYSTEM_DAT]);
  return false;
}
