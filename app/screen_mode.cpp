// The screen-mode decision of start-up.
#include "app/screen_mode.h"

bool DecideScreenMode(const SCREENMODEINPUT& in, SCREENMODE& out) {
  const bool bD3D = in.nDirect3D != 0;
  out = SCREENMODE{};
  out.bWindowed = in.nWindowMode != 0 ? 1 : 0;

  out.nVSync = in.nVSync;
  if (bD3D) {
    if (out.nVSync >= 2) out.nVSync = 1;
  } else if (out.bWindowed) {
    out.nVSync = 0;
  } else if (out.nVSync >= 2) {
    // Flipping in step with the screen was reliable before Vista's compositor.
    out.nVSync = in.bOsVistaOrLater ? 0 : 1;
  }

  if (in.nBpp != 0) {
    out.nBpp = in.nBpp;
  } else if (out.bWindowed) {
    out.nBpp = in.nDesktopBpp;
  } else if (bD3D) {
    out.nBpp = in.nPreferredDepth == 1 ? 16 : 32;
  } else if (in.nPreferredDepth == 1) {
    out.nBpp = 16;
  } else if (in.nPreferredDepth == 2) {
    out.nBpp = in.bRgbColourKey ? 32 : 8;
  } else {
    out.nBpp = 32;
  }

  bool bValid = bD3D ? (out.nBpp == 16 || out.nBpp == 32)
                     : (out.nBpp == 16 || out.nBpp == 32 || (out.nBpp == 8 && !in.bRgbColourKey));
  if (out.bWindowed && (out.nBpp != in.nDesktopBpp || out.nBpp == 8)) bValid = false;
  if (!bValid) {
    out.szError = out.bWindowed && (out.nBpp == 16 || out.nBpp == 32)
                      ? "画面モードが不正です！\nウインドウモードではSystem."
                        "iniの設定と画面の色の設定を合わせて下さい！"
                      : "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！";
    return false;
  }
  out.bResizable = (bD3D && out.bWindowed && in.nWindowMode == 2) ? 1 : 0;
  return true;
}
