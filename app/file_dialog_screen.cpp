// The screen around file choosers.
#include "app/file_dialog_screen.h"

#include "app/system_report.h"
#include "draw/draw_context.h"

namespace {

void SetScreenEntryZero(const DDPALENTRY& entry) {
  DDPALENTRY e = entry;
  e.byFlags = 0;
  g_DD.lpDDPalette->SetEntries(0, 1, &e);
  // The screen shows the palette as it is now.
  if (g_DD.lpDD) g_DD.lpDD->ShowPrimary();
}

}  // namespace

void PrepareScreenForFileDialog(OPENFILENAME& ofn, bool bBefore) {
  if (!g_DD.lpDDCon && !g_DD.lpDTCon) return;
  const bool bPaletteMode = !DDIsDirect3D() && g_DD.nBpp == 8 && g_DD.lpDDPalette;
  if (bBefore) {
    if (!g_DD.bWindow && IsOSAtLeast(6, 0)) {
      ofn.Flags |= OFN_ENABLEHOOK;
      ofn.lpfnHook = FileDialogHookProc;
    }
    if (bPaletteMode) SetScreenEntryZero(DDPALENTRY{});
  } else if (bPaletteMode) {
    SetScreenEntryZero(g_DD.DisplayPalette[0]);
  }
}

void InstallFileDialogScreen() { SetFileDialogScreenProc(PrepareScreenForFileDialog); }
