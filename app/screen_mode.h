// The start-up decision on the screen: windowed or full screen, vertical
// sync, and the colour depth, with the combinations the drawing modes allow.
#pragma once

struct SCREENMODEINPUT {
  int nDirect3D = 0;        // System.ini "Direct3D" after the start dialog: 0 or 1
  int nWindowMode = 1;      // "WindowMode": 0 full screen, 1 window, 2 resizable window
  int nBpp = 0;             // "Bpp": 0 picks one
  int nVSync = 0;           // "VSync"
  int bRgbColourKey = 0;    // the system data's RGB colour-key flag
  int nPreferredDepth = 0;  // the system data's preferred full-screen depth choice
  int nDesktopBpp = 32;
  int bOsVistaOrLater = 1;
};

struct SCREENMODE {
  int bWindowed = 1;
  int nVSync = 0;
  int nBpp = 32;                  // also written back into "Bpp"
  int bResizable = 0;             // add the thick frame to the main window
  const char* szError = nullptr;  // the error box's text when the mode is refused
};

// False when the combination is refused; szError then holds the text.
bool DecideScreenMode(const SCREENMODEINPUT& in, SCREENMODE& out);
