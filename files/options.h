// The player's options (user_data\Option.dat): the 8-bit palette variant,
// music on or off, the sound-effect volume step, how rankings are entered,
// and the name offered for rankings.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.h"

class cOptionData : public cRecord {
 public:
  int32_t m_nPalette = 0;   // 0 to 23, used only at colour depth 8
  int32_t m_bMusic = 1;     // 0 off: the music manager is never started
  int32_t m_nVolume = 7;    // 0 (silence) to 10 (full volume)
  int32_t m_nRankMode = 0;  // 0 to 3
  std::string m_strName;

  cOptionData();
  void RegisterFields(int32_t nVersion) override;
  // The body, then every value brought into its range: the options scene
  // and the sound table index with them.
  void Read(cDataReader& r) override;
  size_t MaxFileBytes() const override { return kMaxPlayerFileBytes; }
  void ClampValues();
};

extern cOptionData g_Option;

// Start-up: user_data\Option.dat over the defaults. A missing, damaged or
// too new file leaves every option as it was, silently.
void LoadOptionsAtStart();
