// The file choosers of the program: a stage or replay file to open, the
// name a replay is saved under. Both wrappers describe the chooser the same
// way everywhere (OPENFILENAME) and let the drawing library prepare the
// screen around it (a full-screen device, the 8-bit palette's entry 0 made
// black while the chooser is open). Window thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/msg/messages.h"

constexpr uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
constexpr uint32_t OFN_HIDEREADONLY = 0x00000004;
constexpr uint32_t OFN_NOCHANGEDIR = 0x00000008;
constexpr uint32_t OFN_ENABLEHOOK = 0x00000020;
constexpr uint32_t OFN_ALLOWMULTISELECT = 0x00000200;
constexpr uint32_t OFN_FILEMUSTEXIST = 0x00001000;
constexpr uint32_t OFN_NONETWORKBUTTON = 0x00020000;
constexpr uint32_t OFN_EXPLORER = 0x00080000;

// Flags of the open chooser, of one that takes several files, and of the
// save chooser (which asks before a file is overwritten).
constexpr uint32_t kOpenFileFlags =
    OFN_EXPLORER | OFN_NONETWORKBUTTON | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
constexpr uint32_t kSaveFileFlags = kOpenFileFlags | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT;

using FILEDIALOGHOOKPROC = intptr_t (*)(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                                        intptr_t lParam);

// A chooser as both wrappers fill it in; paths in the program's form.
struct OPENFILENAME {
  uint32_t lStructSize = 76;
  plat::WndHandle hwndOwner = nullptr;
  plat::WndHandle hInstance = nullptr;
  // Pairs of zero-terminated texts (a description, its patterns separated
  // by ';'), ended by an empty text.
  const char* lpstrFilter = nullptr;
  char* lpstrFile = nullptr;
  uint32_t nMaxFile = 0;
  uint32_t nMaxFileTitle = 260;
  const char* lpstrInitialDir = nullptr;
  const char* lpstrTitle = nullptr;
  uint32_t Flags = 0;
  const char* lpstrDefExt = nullptr;
  FILEDIALOGHOOKPROC lpfnHook = nullptr;
};

// 1 when a file was chosen, 0 when cancelled (also when the chosen path does
// not fit the buffer: the player is told). The buffer is cleared first and
// then holds the choice: one path, or for several files the folder and the
// names, each ended by a zero byte, with a zero byte after the last. With
// pvOut the chosen full paths are appended to it.
int OpenFileDialog(plat::WndHandle hOwner, char* szFile, int nFileBytes, const char* szInitialDir,
                   const char* szTitle, const char* szFilter, const char* szDefExt, int bMultiple,
                   std::vector<std::string>* pvOut);

// 1 when a name was chosen (in szFile, 260 bytes), 0 when cancelled. With
// bKeep the buffer's text is offered as the name, else it is cleared first.
int SaveFileDialog(plat::WndHandle hOwner, char* szFile, const char* szInitialDir,
                   const char* szTitle, const char* szFilter, const char* szDefExt, int bKeep);

// The hook a full-screen chooser is given; it does nothing.
intptr_t FileDialogHookProc(plat::WndHandle hWnd, uint32_t message, uintptr_t wParam,
                            intptr_t lParam);

// What the drawing library does around every chooser: before (bBefore) it
// may add to the chooser's description; after, cancelled or not, it puts
// the screen back. Installed from above at start-up.
using FILEDIALOGSCREENPROC = void (*)(OPENFILENAME& ofn, bool bBefore);
void SetFileDialogScreenProc(FILEDIALOGSCREENPROC pfnProc);

// A chooser as a test sees it when it answers choosers itself.
struct FILEDIALOG {
  bool bSave = false;
  std::string strFolder;  // where it opens
  std::string strTitle;
  // Pairs of a description and its pattern ("ReplayFile ( *.rpl4_* )",
  // "*.rpl4_*").
  std::vector<std::string> vFilter;
  std::string strDefExt;
  // Saving: the proposed name. Opening: empty.
  std::string strProposed;
};

// Answers every chooser in place of the desktop's (null: the desktop's, or
// unattended the scripted answers): fills strPath with the chosen path and
// returns 1, or returns 0 for a cancel.
using FILEDIALOGPROC = int (*)(plat::WndHandle hOwner, const FILEDIALOG& dlg, std::string& strPath);
void SetFileDialogProc(FILEDIALOGPROC pfnDialog);

// The same choosers for callers that keep paths in strings: one file, the
// filter as (description, pattern) pairs; strPath is empty after a cancel.
int OpenFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt);
// With bKeep the text already in strPath is the proposed name.
int SaveFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt, int bKeep);
