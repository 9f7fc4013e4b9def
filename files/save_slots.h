// The player's saved progress: 99 story slots (user_data\story\StoryNN.dat,
// NN = slot + 1) and the challenge file (user_data\challenge\Challenge.dat),
// each one play record. The slot summaries the menus list are read from the
// slot files and kept up to date by every save.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "files/system_time.h"
#include "records/record.h"

constexpr int kStorySlotCount = 99;

// What a menu shows of one slot: whether it holds a play, and when it was
// saved.
class cSaveSlotData : public cRecord {
 public:
  cSaveSlotData() { Clear(); }
  void RegisterFields(int32_t nVersion) override;

  int32_t m_bUsed = 0;
  SYSTEMTIME m_Time;
};

extern cSafeVector<cSaveSlotData> g_SaveSlots;

// The file of slot n: user_data\story\Story01.dat for slot 0.
void MakeStorySlotPath(std::string& strOut, int n);

// Every summary of the list from its slot file; a slot whose file is
// missing, too new or not a whole play record reads as unused.
void ReadStorySlotInfo(cSafeVector<cSaveSlotData>& vSlots);

// A slot's save time as the slot list writes it: "2009/03/07 08:05".
std::string FormatSlotTime(const SYSTEMTIME& st);
