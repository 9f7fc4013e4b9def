// The project's system data (data\System.dat): the game title, the rules of
// the play modes, every system text and menu, the status bar, the menu music,
// the system sound files, the System.ini defaults, colour and font choices,
// and the engine switches that keep older projects behaving as they were
// made. Loaded once at start-up and read-only afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "draw/surface_data.h"
#include "files/ini_key.h"
#include "records/menu_entry.h"
#include "records/record.h"

// One element of the status bar at the top of the play screen.
class cStatusItem : public cRecord {
 public:
  int32_t m_bShow = 0;
  int32_t m_bIcon = 0;  // the 16x16 icon instead of the label
  std::string m_strLabel;
  int32_t m_bNumberOnGauge = 0;
  int32_t m_nDigits = 0;  // width of the value in 16-pixel characters
  int32_t m_nLimit = 0;   // a gauge at or below it is drawn as a warning
  int32_t m_bLimitPercent = 0;

  cStatusItem() { Clear(); }
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
};

// Whether a play mode keeps rankings, and for which criteria (score,
// remaining time, clear time, remaining HP, remaining SP).
class cModeRanking : public cRecord {
 public:
  static constexpr int kCriteria = 5;
  int32_t m_bRanking = 0;
  cSafeVector<uint8_t> m_vCriteria;

  cModeRanking() : m_vCriteria(kCriteria, 0) { Clear(); }
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;
};

class cSystemData : public cRecord {
 public:
  static constexpr int kTextCount = 29;
  static constexpr int kSoundFileCount = 17;
  static constexpr int kCarryFlagCount = 25;

  // The numeric block, in file order.
  int32_t m_bExtraLifeByScore = 0;
  int32_t m_nExtraLifeScore = 0;
  int32_t m_bPauseHidesStage = 0;
  int32_t m_bFastFont = 0;
  int32_t m_nFontFace = 0;
  int32_t m_bCenterGlyphs = 0;
  int32_t m_bKeepDisabledFlows = 0;
  int32_t m_bReplayRecord = 0;
  int32_t m_bTitleMenuImage = 0;
  int32_t m_bStoryKeepLives = 0;
  int32_t m_bStoryDefeatMenu = 0;
  int32_t m_bMapShowLives = 0;
  int32_t m_nChallengeStages = 0;
  int32_t m_bChallengeAllOpen = 0;
  int32_t m_bMapShowScore = 0;
  int32_t m_bMapMenuShowTotal = 0;
  int32_t m_bRetryRestoreStory = 0;
  int32_t m_bPauseRetryStory = 0;
  int32_t m_bSelectShowHiScore = 0;
  int32_t m_bSelectShowTotal = 0;
  int32_t m_bRetryRestoreChallenge = 0;
  int32_t m_bPauseRetryChallenge = 0;
  int32_t m_bRetryRestoreFree = 0;
  int32_t m_bRetryRestoreFile = 0;
  int32_t m_bTrueColorImages = 0;
  uint8_t m_byKeyRed = 0;
  uint8_t m_byKeyGreen = 0;
  uint8_t m_byKeyBlue = 0;
  int32_t m_bCompat214 = 0;
  int32_t m_bCompat261 = 0;
  int32_t m_bOption272 = 0;
  int32_t m_bOption287 = 0;
  int32_t m_nCycleStep = 0;
  int32_t m_bPaletteCycle = 0;
  int32_t m_bPauseMapStory = 0;
  int32_t m_bCompat525 = 0;
  int32_t m_bCompat555 = 0;
  int32_t m_bCompat637 = 0;
  int32_t m_bCompat669 = 0;
  int32_t m_bCompat677 = 0;
  int32_t m_bCompat695 = 0;
  int32_t m_bCompat696 = 0;
  int32_t m_bCompat697 = 0;
  int32_t m_bCompat721 = 0;
  int32_t m_bCompat728 = 0;
  int32_t m_bCompat733 = 0;
  int32_t m_bCompat744 = 0;
  int32_t m_bCompat749 = 0;
  int32_t m_bCompat752 = 0;
  int32_t m_bCompat763a = 0;
  int32_t m_bCompat763b = 0;
  int32_t m_bCompat768 = 0;
  int32_t m_bCompat773 = 0;
  int32_t m_bCompat781 = 0;
  int32_t m_bCompat782 = 0;
  int32_t m_bCompat783 = 0;
  int32_t m_nD3DDepth = 0;
  int32_t m_nDDDepth = 0;

  std::string m_strTitle;

  // The lists, in file order.
  cSafeVector<uint8_t> m_vCarryFlags;
  cSafeVector<uint8_t> m_vResetFlags;
  cSafeVector<cStatusItem> m_vStatusItems;
  cSafeVector<int32_t> m_vStartLives;      // by play mode
  cSafeVector<int32_t> m_vUnlimitedLives;  // by play mode
  cSafeVector<cModeRanking> m_vModeRanking;
  cSafeVector<std::string> m_vTexts;
  cSafeVector<std::string> m_vSoundFiles;
  cSafeVector<int32_t> m_vSceneBgm;  // by scene slot: Bgm.dat entry, 0 none
  cSafeVector<uint8_t> m_vSceneBgmLoop;
  cSafeVector<cCmd> m_vTitleMenu;
  cSafeVector<cCmd> m_vMapMenu;
  cSafeVector<cCmd> m_vOptionMenu;
  cSafeVector<std::string> m_vRankEntryModes;
  cSafeVector<cIniKey> m_vIniKeys;

  cSystemData();
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Music slots that name no Bgm.dat entry become 0 (no music). Until the
  // database has loaded nothing is changed.
  void Validate();

  // Moves the keys from index i up by one (the last falls off); key i is
  // then set by the caller.
  cIniKey& InsertKey(int i);

  int CountEnabledEntries(int nMode);
  int IsAtOrBelowLimit(int nItem, int nValue, int nMax);

 private:
  void SetDefaults();
  void Upgrade(int32_t nVersion);
};

extern cSystemData g_SystemData;

// The left edge that centres a window of the texts first..first+count-1 on
// x; the cursor flag reserves one character column for the menu cursor.
int GetMenuTextLeft(int x, int nFirst, int nCount, int bCursor);
// The texts first..first+count-1 as one framed box of the main font at
// (x, y), one line each; the cursor flag adds the cursor's column before
// every line. Nothing for a count of 0.
void DrawMenuTextWindow(DDSURFACEDATA* lpDstSD, int x, int y, int nFirst, int nCount, int bCursor);

// Start-up (after the database): loads data\System.dat into g_SystemData.
// A failure is reported and ends start-up (false).
bool LoadSystemDataAtStart();
