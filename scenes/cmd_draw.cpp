// A menu of entries drawn as a framed box of the main font: one 16-pixel
// line per shown entry, after the column the cursor image takes.
#include "scenes/cmd_draw.h"

#include "draw/font_tables.h"

void DrawCmd(DDSURFACEDATA* lpDstSD, int x, int y, cSafeVector<cCmd>& vMenu) {
  const int nWidest = cCmd::GetWidestLabel(vMenu);
  if (nWidest == 0) return;
  const int nShown = cCmd::GetCmdCount(vMenu);
  Font& font = g_Font[1];
  font.DrawFrame(lpDstSD, x, y, 16 * (nWidest + 1), 16 * nShown);
  for (int j = 0; j < nShown; ++j) {
    const cCmd& cmd = vMenu.At(cCmd::GetCmdNum(j, vMenu));
    font.DrawText(lpDstSD, x + 16, y + 16 * j, cmd.m_strLabel.c_str());
  }
}
