// The small records the play progress keeps in lists: the best score of each
// stage played, the player's status carried from one stage into a later one,
// and the state of each challenge stage.
#pragma once

#include <cstdint>
#include <string>

#include "palette/ed_chara.h"
#include "records/record.h"

// The best score of one stage, found by its stage key.
class cStageResult : public cRecord {
 public:
  cStageResult() { Clear(); }
  void RegisterFields(int32_t nVersion) override;
  // Results of files before the key existed take the base name as key.
  void Read(cDataReader& r) override;

  int32_t m_bSuffix = 0;  // the world-map entry's suffix the key was made with
  int32_t m_nSuffix1 = 0;
  int32_t m_nSuffix2 = 0;
  int32_t m_nBest = 0;
  std::string m_strName;  // the stage's base name
  std::string m_strKey;
};

// The player's status at the end of a stage, for a later one: a copy of the
// character definition with the live values the carry list keeps.
class cPlayerStatus : public cRecord {
 public:
  cPlayerStatus() { Clear(); }
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  int32_t m_nHP = 0;
  int32_t m_nSP = 0;
  int32_t m_nTime = 0;  // the stage's time limit in seconds
  int32_t m_nLives = 0;
  int32_t m_nBgm = 0;  // the stage music
  cEdChara m_Chara;
};

// One challenge stage: cleared or not, and its best score.
class cChallengeRecord : public cRecord {
 public:
  cChallengeRecord() { Clear(); }
  void RegisterFields(int32_t nVersion) override;

  int32_t m_bCleared = 0;
  int32_t m_nBest = 0;
};
