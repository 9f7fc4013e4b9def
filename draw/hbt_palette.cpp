// Choosing the 8-bit palette variant.
#include "draw/hbt_palette.h"

#include <string>

#include "base/logs.h"
#include "base/program_state.h"
#include "base/text_helpers.h"
#include "draw/blend_table.h"
#include "draw/built_in_tables.h"
#include "draw/draw_context.h"
#include "draw/fades.h"
#include "draw/palette_key.h"

bool LoadHbtPalette(int n) {
  if (g_DD.lpDTCon || !g_DD.lpDDCon || g_DD.nBpp != 8) return true;
  std::string strFile;
  FormatString(strFile, "bmp\\hbt\\hbt%02d.dat", n);
  if (!DDLoadBlendTable(g_BlendTable, strFile.c_str())) {
    ErrorBoxF("%s の読み込みに失敗！", strFile.c_str());
    return false;
  }
  if (!DDLoadPaletteFromFile(g_DD.ProgramPalette, g_ImageTable[0].szFileName, bWindowed)) {
    DebugLog("DDLoadPaletteFromFile失敗");
    return false;
  }
  if (n >= 0 && n < kHbtBlocks)
    DDCyclePalette(g_DD.ProgramPalette, kHbtFirstEntry,
                   kHbtFirstEntry + kHbtBlocks * kHbtBlockSize - 1, kHbtBlockSize * n, 1,
                   g_DD.ProgramPalette);
  else
    RecolourHbtBlocks(g_DD.ProgramPalette.data(), n);
  g_DD.DisplayPalette = g_DD.ProgramPalette;
  if (g_DD.lpDDPalette) g_DD.lpDDPalette->SetEntries(0, 256, g_DD.DisplayPalette.data());
  return true;
}
