// The boot settings record.
#include "app/boot_data.h"

#include "base/paths.h"

cBootData g_BootData;

cBootData::cBootData() {
  Clear();
  m_nDrawMode = BOOT_DRAW_DIRECT3D;
  m_bNoAsk = 0;
}

void cBootData::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_nDrawMode, 1);
  AddDword(&m_bNoAsk, 1);
}

void cBootData::Read(cDataReader& r) {
  cRecord::Read(r);
  if (m_nDrawMode != BOOT_DRAW_DIRECT3D && m_nDrawMode != BOOT_DRAW_DIRECTDRAW)
    m_nDrawMode = BOOT_DRAW_DIRECT3D;
  if (m_bNoAsk != 0 && m_bNoAsk != 1) m_bNoAsk = 0;
}

void LoadBootDataAtStart() { LoadWhole(g_BootData, g_Paths[PATH_BOOT_DAT]); }
