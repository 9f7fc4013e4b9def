// The project-wide palette: the block, character and item definitions every
// stage can place or inherit from, read once at start-up from
// data\CommonPalette.cplt4. Entry 0 of each list is the fixed none entry.
#pragma once

#include <string>

#include "palette/palette_lists.h"
#include "records/record.h"

class cCommonPalette : public cRecord {
 public:
  cCommonPalette();

  // The palette stores no fields of its own: its body is two zero counts and
  // the three lists.
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;

  // At least two entries per list, every entry validated against the lists
  // as they stand. The final item count.
  int Normalize();

  BLOCK_VECTOR m_vecBlock;
  CHARA_VECTOR m_vecChara;
  ITEM_VECTOR m_vecItem;
};

extern cCommonPalette CommonPalette;

// Start-up's load of the common palette from strPath (the path table's
// "data\CommonPalette.cplt4"): 1 on success; 0 after reporting
// "%s のロードに失敗！" for a file that is missing, too new or corrupt.
int LoadCommonPalette(const std::string& strPath);
// The same from the path table's entry; false ends start-up.
bool LoadCommonPaletteAtStartUp();
