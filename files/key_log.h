// The key log of one run of a stage: player 1's direction bits and button
// bits of every play frame, each coded as runs of equal values on its own
// channel, and the random seed of the stage start. A replay file holds one
// with the stage and the play record of that start.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "records/record.h"

class cStageData;
class cPlayData;

class cKeyLog : public cRecord {
 public:
  cKeyLog() = default;
  cKeyLog(const cKeyLog& src) : cRecord(src) { *this = src; }
  // The recording and the seed; play-back cursors stay.
  cKeyLog& operator=(const cKeyLog& src);

  void RegisterFields(int32_t nVersion) override;
  // A log whose channels do not pair every value with a run of at least one
  // frame is refused.
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  void Reset();
  void AddKey(int16_t sDir, int16_t sButton);
  // The next frame's two words; 1 when either channel is used up (nothing
  // is written then), else 0.
  int GetKey(int16_t* pDir, int16_t* pButton);
  // Play-back from the first frame again.
  void Rewind();
  bool IsEmpty() const { return m_vDirValues.empty(); }

  // A replay file: the stage body (palettes and placed lists of the played
  // stage, everything else from the settings stage), this log, the play
  // record of the stage start. 1 when it was written.
  int SaveReplay(const std::string& strPath, cStageData& played, cStageData& settings,
                 cPlayData& start);
  // The whole replay file into the stage, its settings part into the
  // settings stage, the log into this one and (from version 173) the play
  // record. Nothing changes unless the whole file was read and its stage
  // has a player. 1 on success; a failure has been reported.
  int LoadReplay(const std::string& strPath, cStageData& stage, cStageData& settings,
                 cPlayData& play);

  cSafeVector<int16_t> m_vDirValues;
  cSafeVector<int16_t> m_vButtonValues;
  cSafeVector<int32_t> m_vDirRuns;
  cSafeVector<int32_t> m_vButtonRuns;
  int32_t m_nSeed = 0;

  // Play-back position, never stored.
  int32_t m_nDirIndex = 0;
  int32_t m_nButtonIndex = 0;
  int32_t m_nDirCount = 0;
  int32_t m_nButtonCount = 0;
};

extern cKeyLog g_KeyLog;      // the current run
extern cKeyLog g_KeyLogPrev;  // the run before the latest stage start
