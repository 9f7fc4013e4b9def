// The player's progress through a game: lives, scores and totals, the
// world-map position and round, the stage being played with its key, the
// cleared-stage flags and common variables, per-stage best scores, the
// challenge list, the status carried between stages and the save time. Kept
// in story slots, in the challenge file and at the end of every replay.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "files/play_records.h"
#include "files/system_time.h"
#include "records/record.h"

class cWorldStage;

constexpr int kCarryItemCount = 25;
constexpr int kClearedStageCount = 1000;
constexpr int kCommonVariableCount = 1001;
constexpr int32_t kUnlimitedLives = 999999;

// The carry items whose values are not the character definition's.
enum : int {
  CARRY_HP = 11,
  CARRY_SP = 12,
  CARRY_FLOWS = 21,
  CARRY_TIME = 22,
  CARRY_LIVES = 23,
  CARRY_BGM = 24,
};

// Play modes, as the retry and lives rules tell them apart.
enum : int { PLAYMODE_STORY = 0, PLAYMODE_CHALLENGE = 1, PLAYMODE_FREE = 2, PLAYMODE_REPLAY = 3 };

class cPlayData : public cRecord {
 public:
  cPlayData();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // The state a new play starts from.
  void Reset();
  // The cursor inside the world map, the challenge list as long as the
  // project's challenge stages.
  void Validate();

  // The stage being played, its base name and its key.
  void SetCurStage(const std::string& strPath, int32_t bSuffix, int32_t nSuffix1, int32_t nSuffix2);
  void SetStageScore(const std::string& strBase, const std::string& strKey, int32_t bSuffix,
                     int32_t nSuffix1, int32_t nSuffix2, int32_t nScore);
  int32_t GetStageScore(const std::string& strKey) const;
  // The best-score total over the results whose stages the map still has.
  void CalcTotalScore();

  // The retry snapshot, taken at every stage set-up. bAll brings back the
  // variables, lives and running total; otherwise the variables come back
  // when the play mode's switch asks for it and the running total always.
  // Returns the running total.
  void SaveRetryState();
  int32_t LoadRetryState(int bAll, int nPlayMode);

  // The carried status of player slot n.
  void StoreCharaStatus(int n, const cEdChara& chara, int32_t nHP, int32_t nSP, int16_t sEffect,
                        uint8_t cEffectVariant, uint8_t cEffectSetting, int32_t nTime,
                        int32_t nLives, int32_t nBgm);
  void RestoreCharaStatus(int n, cEdChara& chara);
  void RestoreExtraStatus(int n, int32_t* pHP, int32_t* pSP);
  void ClearStatusFlags();

  void StartNextRound();
  // Moves the ranking genre shown by n enabled genres of play mode nMode.
  void StepSelection(int nMode, int n);

  // The lives rule of a loaded play of mode nMode: unlimited when the mode
  // says so; a play saved while lives were unlimited gets the mode's start
  // lives now that they are not.
  void ApplyLivesRule(int nMode);

  // Story slot n (0..98) and the challenge file; see save_slots.h.
  int SaveSlot(int n);
  int LoadSlot(int n);
  int LoadChallenge();
  int SaveChallenge();

  // The stored parts of src, keeping this record's run-time members.
  void AssignStored(const cPlayData& src);

  int32_t m_bStatusStored = 0;
  int32_t m_nMapX = 0;
  int32_t m_nMapY = 0;
  int32_t m_nReserved = 0;  // stored; its value means nothing
  int32_t m_nRound = 0;
  int32_t m_bSuffix = 0;  // of the current stage's world-map entry
  int32_t m_nSuffix1 = 0;
  int32_t m_nSuffix2 = 0;
  int32_t m_nStageNo = 0;
  int32_t m_nPartNo = 0;
  int32_t m_nLifeCount = 0;  // lives at the stage's start
  int32_t m_nLives = 0;
  int32_t m_nStageScore = 0;
  int32_t m_nTotalScore = 0;
  int32_t m_nBestTotal = 0;
  int32_t m_nTimeSum = 0;
  int32_t m_nPlayTimeSum = 0;
  int32_t m_nHPSum = 0;
  int32_t m_nSPSum = 0;
  int32_t m_bChain = 0;
  int32_t m_nBgm = 0;
  int32_t m_nBgmLoop = 0;
  int32_t m_nMapDir = 0;
  int32_t m_bReturnPos = 0;
  int32_t m_nReturnX = 0;
  int32_t m_nReturnY = 0;
  int32_t m_nChallengeOpen = 0;
  int32_t m_nLastSlot = 0;
  int32_t m_bAutoSave = 0;
  int32_t m_bMapRanking = 0;
  int32_t m_nRankGenre = 0;
  int32_t m_bStartOverride = 0;
  int32_t m_nOverrideX = 0;
  int32_t m_nOverrideY = 0;
  int32_t m_nOverrideDir = 0;
  std::string m_strStageBase;
  std::string m_strStageKey;
  std::string m_strPlayerName;

  SYSTEMTIME m_SaveTime;
  cSafeVector<int32_t> m_vHolding;  // per carry item: the slots hold it
  cSafeVector<cPlayerStatus> m_vStatus;
  cSafeVector<cStageResult> m_vResults;
  cSafeVector<cChallengeRecord> m_vChallenge;
  cSafeVector<int32_t> m_vCleared;  // by stage number
  cSafeVector<int32_t> m_vVars;     // the common variables

  // Run time, never stored.
  struct RUNTIME {
    const cWorldStage* pMapEntry = nullptr;  // the entry the stage was entered by
    cSafeVector<int32_t> vRetryVars;
    int32_t nRetryLives = 0;
    int32_t nRetryTotal = 0;
  } m_Run;
};

extern cPlayData g_PlayData;
extern cPlayData g_PlayDataStart;      // at the start of the current stage
extern cPlayData g_PlayDataStartPrev;  // at the start of the stage before

// The carried player-status list as n cleared entries (a new play carries
// one: the player's).
void ResetPlayerStatusList(cSafeVector<cPlayerStatus>& vList, int n);

// The suffix a world-map entry gives a stage key: a final "." taken off,
// "_c", a in three digits, "_" and b appended, the "." put back.
void AppendStageSuffix(std::string& str, int32_t bSuffix, int32_t a, int32_t b);

// A whole play record from r into a fresh record, assigned to dst only when
// every byte was read; dst keeps its run-time members. 1 on success.
int ReadPlayRecordWhole(cPlayData& dst, cDataReader& r);
// The same from a file.
int LoadPlayRecordFile(cPlayData& dst, const std::string& strPath);
