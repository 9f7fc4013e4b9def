// A block definition: what stands in one 32-pixel cell of a stage. Its
// picture and mark, whether it is solid or deadly, what it does to the player
// standing on it, the item it gives, and the conditions under which it
// exists.
#pragma once

#include <cstdint>

#include "palette/palette_entry.h"

class cEdBlock : public cPaletteEntry {
 public:
  static constexpr int INHERIT_GROUPS = 11;

  cEdBlock();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // Back to a new block's values; the condition list stays.
  void Reset();
  void Validate();
  // Drops an item reference that its palette does not hold.
  void ValidateItem();
  void Inherit();
  // The hit type that applies to a mover of faction nFaction; whether the
  // block's conditions hold for its cell is the play engine's to say.
  uint8_t GetHitType(int32_t nFaction, bool bConditionsHold) const;

  int16_t m_sGraphic = 0;      // cell of the picture; 0 = no picture
  uint8_t m_cGraphicKind = 0;  // block, chara, item, shot sheet, own bitmap
  int16_t m_sGraphicCell = 0;
  uint8_t m_cLayer = 0;  // 0 before the characters, 1 after them
  uint8_t m_cHidden = 0;
  uint8_t m_cMarkShown = 0;  // only 1 draws the mark
  int16_t m_sMark = 0;       // cell of bmp\Mark.bmp
  uint8_t m_cHitType = 1;    // 0 none, 1 solid, 2 deadly to the player
  uint8_t m_cExempt = 255;   // faction let through; 255 none
  uint8_t m_cSpecial = 0;    // jump, no jump, speed, move left, move right
  int32_t m_nSpecialParam = 0;
  uint8_t m_cItemSrc = 0;  // item given on touch: 1 common, 2 stage palette
  int16_t m_sItem = 0;
  uint8_t m_cSummonProof = 0;  // a summoned block does not replace this one

 private:
  void SetDefaults();
};
