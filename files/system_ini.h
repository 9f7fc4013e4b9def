// System.ini: the player's machine-level settings (drawing back end, window
// or full screen, colour depth, vertical sync, font caches, the frame-rate
// display, a stage to open at start, English captions). The key names and
// defaults come from the system data's key table; the program never writes
// the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "files/ini_key.h"

struct SYSTEMINIDATA {
  int32_t nDirect3D = 0;    // 0 DirectDraw, 1 Direct3D, 2+ ask with the start dialog
  int32_t nWindowMode = 0;  // 0 full screen, 1 window, 2 resizable window
  int32_t nBpp = 0;         // 8, 16, 32; 0 chooses
  int32_t nVSync = 0;       // 0 off, 1 on, 2+ automatic
  int32_t nD3DFontCache = 0;
  int32_t nDDFontCache = 0;
  int32_t nDDVideoStretch = 0;
  int32_t nShowFps = 0;  // 0 none, 2 small text, other values a framed box
  int32_t nEnglish = 0;
  std::string strFreeStage;  // a stage or replay file to open at start
};

extern SYSTEMINIDATA SYSTEMINI;

// The longest stage name FreeStage takes (the rest of a 260-byte buffer).
constexpr size_t kFreeStageMax = 259;

// The eight integer settings and FreeStage from the key table's defaults;
// English always starts at 0.
void SetSystemIniDefaults(SYSTEMINIDATA& ini, cSafeVector<cIniKey>& vKeys);

// Reads the file over the settings. 1 when it was read to its "Exit" line
// (or a 0 byte), 0 when it cannot be opened or ends without one; values
// read before a failure stay.
int ReadSystemIni(const std::string& strFileName, SYSTEMINIDATA& ini, cSafeVector<cIniKey>& vKeys);
// The same over the file's bytes in memory.
int ParseSystemIni(const uint8_t* pData, size_t nSize, SYSTEMINIDATA& ini,
                   cSafeVector<cIniKey>& vKeys);

// A System.ini holds a dozen short lines; one above this is not one, and is
// refused (as an unreadable one is) before it is read.
constexpr size_t kMaxSystemIniBytes = size_t(1) << 20;

// Start-up: defaults from the system data's key table, then System.ini;
// a failed read is reported and the defaults apply again.
void LoadSystemIniAtStart();
