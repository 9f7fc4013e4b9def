// Building palette entry files by hand for the palette tests: the registered
// body exactly as a version lays it out (without the validation a write
// would apply), followed by a tail the test spells out.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "palette/common_palette.h"
#include "support/byte_builder.h"

// Header, then the numeric and string fields of rec as version v stores them.
inline cByteBuilder RawEntryFile(cRecord& rec, int32_t v) {
  cByteBuilder b = cByteBuilder::File(static_cast<uint32_t>(v));
  FIELDTABLE t = rec.GetFieldTable(v);
  b.Count(static_cast<uint32_t>(t.vFields.size()));
  for (const FIELDDATA& f : t.vFields) b.Raw(f.data, static_cast<size_t>(f.count) * f.size);
  b.Count(static_cast<uint32_t>(t.vStrings.size()));
  for (const STRFIELDDATA& s : t.vStrings) b.Str(*s.string);
  return b;
}

// Column, row, (carried item,) the flags and no conditions.
inline cByteBuilder& HeadTail(cByteBuilder& b, const std::vector<uint8_t>& flags,
                              bool bCarried = false) {
  b.I16(3).I16(4);
  if (bCarried) b.I32(-1);
  b.Count(static_cast<uint32_t>(flags.size()));
  for (uint8_t c : flags) b.U8(c);
  return b.Count(0);
}

template <typename T>
int LoadEntry(T& rec, const cByteBuilder& b) {
  return rec.LoadFromBytes(b.Bytes().data(), b.Size());
}

// Leaves the common palette and the stage palette as a fresh program has
// them when the test ends.
class cPaletteFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    CommonPalette = cCommonPalette();
    SetStagePalette(PALETTELISTS());
  }
  BLOCK_VECTOR m_vecStageBlocks;
  CHARA_VECTOR m_vecStageCharas;
  ITEM_VECTOR m_vecStageItems;
  void UseStagePalette() {
    SetStagePalette({&m_vecStageBlocks, &m_vecStageCharas, &m_vecStageItems});
  }
};
