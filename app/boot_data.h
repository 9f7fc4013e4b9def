// The boot settings (user_data\Boot.dat): the drawing mode the player chose
// in the start dialog and whether to ask again at the next start.
#pragma once

#include <cstdint>

#include "records/record.h"

constexpr int32_t BOOT_DRAW_DIRECT3D = 1;
constexpr int32_t BOOT_DRAW_DIRECTDRAW = 0;

class cBootData : public cRecord {
 public:
  int32_t m_nDrawMode = BOOT_DRAW_DIRECT3D;
  int32_t m_bNoAsk = 0;  // 1: start without the start dialog

  cBootData();
  void RegisterFields(int32_t nVersion) override;
  // The fields, then values that no choice of the dialog makes brought back
  // to the defaults: an unknown drawing mode is Direct3D, and anything but
  // 1 asks again.
  void Read(cDataReader& r) override;
};

extern cBootData g_BootData;

// Start-up: user_data\Boot.dat over the defaults. A missing, short, damaged
// or too new file leaves the record as it was, silently.
void LoadBootDataAtStart();
