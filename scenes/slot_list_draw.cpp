// The story-slot list.
#include "scenes/slot_list_draw.h"

#include "draw/blit.h"
#include "draw/font_tables.h"

void DrawStorySlotInfo(DDSURFACEDATA* lpDstSD, int x, int y, cSafeVector<cSaveSlotData>& vSlots,
                       int nFirst, int nRows) {
  if (nRows <= 0) return;
  Font& font = g_Font[1];
  font.DrawFrame(lpDstSD, x, y, 320, 16 * nRows);
  for (int i = 0; i < nRows; ++i) {
    const int yRow = y + 16 * i;
    // A line of palette colour 240 parts each row from the next.
    if (i < nRows - 1) DDFillRect(lpDstSD, x, yRow + 15, 320, 1, 240);
    const int nSlot = nFirst + i;
    if (nSlot < 0 || nSlot >= static_cast<int>(vSlots.size())) break;
    DDFontPrintf(&font, lpDstSD, x + 16, yRow, "%d", nSlot + 1);
    const cSaveSlotData& slot = vSlots[nSlot];
    if (slot.m_bUsed) DDFontPrintf(&font, lpDstSD, x + 64, yRow, "%s", FormatSlotTime(slot.m_Time).c_str());
  }
}
