// An item definition: something the player picks up. Its picture, size and
// mark, whether it can be taken once, any number of times or not at all, the
// sound of taking it, and what taking it does as a list of pickup commands.
#pragma once

#include <cstdint>

#include "flow/flow.h"
#include "palette/palette_entry.h"

class cEdItem : public cPaletteEntry {
 public:
  static constexpr int INHERIT_GROUPS = 13;

  cEdItem();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Back to a new item's values; the conditions and commands stay.
  void Reset();
  void Validate();
  void ValidateCommands();
  void Inherit();

  int16_t m_sWordA = 0;
  int16_t m_sWordB = 0;
  int16_t m_sGraphic = 0;
  uint8_t m_cGraphicKind = 2;
  int16_t m_sGraphicCell = 0;
  uint8_t m_cLayer = 6;  // drawing pass among the characters' layers
  uint8_t m_cHidden = 0;
  uint8_t m_cMarkShown = 0;
  int16_t m_sMark = 0;
  uint8_t m_cPopup = 1;     // taking it shows its picture briefly
  uint8_t m_cPickRule = 0;  // once, any number of times, never
  uint8_t m_cGiant = 1;
  int16_t m_sSound = 0;  // sound list index played when taken
  CMD_VECTOR m_vecCmds;  // pickup commands, item numbering
};
