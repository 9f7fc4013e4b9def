// The file choosers the window thread shows for the game: open a stage or a
// replay, save a replay. How a chooser is shown is installed by the program
// (or a test); with none installed every chooser answers as cancelled, as an
// unattended run must.
#pragma once

#include <string>
#include <vector>

#include "platform/msg/messages.h"

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

// Fills strPath with the chosen path and returns 1, or returns 0 when the
// player cancelled.
using FILEDIALOGPROC = int (*)(plat::WndHandle hOwner, const FILEDIALOG& dlg, std::string& strPath);
void SetFileDialogProc(FILEDIALOGPROC pfnDialog);

// A path of at most 259 bytes, as file names are; a longer choice counts as
// cancelled. The chosen file of an open dialog exists.
int OpenFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt);
// With bKeep the text already in strPath is the proposed name.
int SaveFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt, int bKeep);
