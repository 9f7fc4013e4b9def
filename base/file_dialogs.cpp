#include "base/file_dialogs.h"

#include "base/logs.h"
#include "base/text_helpers.h"
#include "platform/fs/file_system.h"

namespace {

FILEDIALOGPROC g_pfnFileDialog = nullptr;

int RunDialog(plat::WndHandle hOwner, const FILEDIALOG& dlg, std::string& strPath) {
  std::string strChosen;
  if (!g_pfnFileDialog) {
    DebugLogF("file chooser \"%s\": no chooser, cancelled", dlg.strTitle.c_str());
    strPath.clear();
    return 0;
  }
  if (!g_pfnFileDialog(hOwner, dlg, strChosen) || strChosen.empty() ||
      strChosen.size() > MAX_PATH - 1) {
    strPath.clear();
    return 0;
  }
  if (!dlg.bSave && !plat::fs::Exists(strChosen)) {
    strPath.clear();
    return 0;
  }
  strPath = strChosen;
  return 1;
}

}  // namespace

void SetFileDialogProc(FILEDIALOGPROC pfnDialog) { g_pfnFileDialog = pfnDialog; }

int OpenFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt) {
  FILEDIALOG dlg;
  dlg.strFolder = strFolder;
  dlg.strTitle = strTitle;
  dlg.vFilter = vFilter;
  dlg.strDefExt = strDefExt;
  return RunDialog(hOwner, dlg, strPath);
}

int SaveFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt, int bKeep) {
  FILEDIALOG dlg;
  dlg.bSave = true;
  dlg.strFolder = strFolder;
  dlg.strTitle = strTitle;
  dlg.vFilter = vFilter;
  dlg.strDefExt = strDefExt;
  if (bKeep) dlg.strProposed = strPath;
  return RunDialog(hOwner, dlg, strPath);
}
