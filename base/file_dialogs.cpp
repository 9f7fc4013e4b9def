// The file chooser wrappers.
#include "base/file_dialogs.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "base/logs.h"
#include "base/text_helpers.h"
#include "platform/fs/file_system.h"
#include "platform/ui/dialog_box.h"

namespace {

FILEDIALOGSCREENPROC g_pfnScreenProc = nullptr;
FILEDIALOGPROC g_pfnFileDialog = nullptr;

std::vector<std::pair<std::string, std::string>> ParseFilter(const char* szFilter) {
  std::vector<std::pair<std::string, std::string>> out;
  if (!szFilter) return out;
  for (const char* p = szFilter; *p;) {
    std::string strName = p;
    p += strName.size() + 1;
    std::string strPatterns = p;
    p += strPatterns.size() + 1;
    out.emplace_back(strName, strPatterns);
    if (strPatterns.empty()) break;
  }
  return out;
}

// The folder part of a program path: up to its last separator, scanning
// character by character so a second byte of 0x5C is never one.
std::string FolderOf(const std::string& strPath, std::string& strName) {
  size_t nLast = std::string::npos;
  for (size_t i = 0; i < strPath.size();) {
    if (IsDBCSPair(strPath.c_str() + i)) {
      i += 2;
      continue;
    }
    if (strPath[i] == '\\' || strPath[i] == '/') nLast = i;
    ++i;
  }
  if (nLast == std::string::npos) {
    strName = strPath;
    return std::string();
  }
  strName = strPath.substr(nLast + 1);
  return strPath.substr(0, nLast);
}

// Runs the chooser the description asks for and writes the choice into its
// buffer as the desktop's choosers do. 0 when cancelled or when the choice
// does not fit.
int RunChooser(OPENFILENAME& ofn, bool bSave, const std::string& strInitialName) {
  plat::FILECHOOSERREQUEST req;
  req.bSave = bSave;
  req.bMultiple = !bSave && (ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
  // A name to save under need not exist yet: the flag is the open
  // chooser's alone.
  req.bMustExist = !bSave && (ofn.Flags & OFN_FILEMUSTEXIST) != 0;
  req.bOverwritePrompt = (ofn.Flags & OFN_OVERWRITEPROMPT) != 0;
  req.strTitle = ofn.lpstrTitle ? ofn.lpstrTitle : "";
  req.strInitialFolder = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
  req.strInitialName = strInitialName;
  req.strDefaultExt = ofn.lpstrDefExt ? ofn.lpstrDefExt : "";
  req.vFilters = ParseFilter(ofn.lpstrFilter);
  std::vector<std::string> vChosen;
  if (g_pfnFileDialog) {
    FILEDIALOG dlg;
    dlg.bSave = bSave;
    dlg.strFolder = req.strInitialFolder;
    dlg.strTitle = req.strTitle;
    for (const auto& [strName, strPatterns] : req.vFilters) {
      dlg.vFilter.push_back(strName);
      dlg.vFilter.push_back(strPatterns);
    }
    dlg.strDefExt = req.strDefaultExt;
    dlg.strProposed = strInitialName;
    std::string strChosen;
    if (!g_pfnFileDialog(ofn.hwndOwner, dlg, strChosen) || strChosen.empty()) return 0;
    // A chosen file to open is one that is there.
    if (req.bMustExist && !plat::fs::Exists(strChosen)) return 0;
    vChosen.push_back(strChosen);
  } else if (!plat::ChooseFiles(req, ofn.hwndOwner, vChosen) || vChosen.empty()) {
    return 0;
  }

  std::string strResult;
  if (vChosen.size() == 1) {
    strResult = vChosen[0];
    strResult.push_back('\0');
  } else {
    std::string strName;
    strResult = FolderOf(vChosen[0], strName);
    strResult.push_back('\0');
    for (const std::string& strPath : vChosen) {
      FolderOf(strPath, strName);
      strResult += strName;
      strResult.push_back('\0');
    }
  }
  strResult.push_back('\0');
  // The program's paths hold 259 bytes: a longer one could not be opened
  // again by name.
  if (strResult.size() - 1 > ofn.nMaxFile) {
    ErrorBoxF(
        "選んだファイルのパスが長すぎます。(%u バイトまで)\n\nThe chosen file's path is too long.",
        ofn.nMaxFile - 1);
    return 0;
  }
  std::memcpy(ofn.lpstrFile, strResult.data(), strResult.size() - 1);
  return 1;
}

}  // namespace

void SetFileDialogScreenProc(FILEDIALOGSCREENPROC pfnProc) { g_pfnScreenProc = pfnProc; }

void SetFileDialogProc(FILEDIALOGPROC pfnDialog) { g_pfnFileDialog = pfnDialog; }

intptr_t FileDialogHookProc(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

int OpenFileDialog(plat::WndHandle hOwner, char* szFile, int nFileBytes, const char* szInitialDir,
                   const char* szTitle, const char* szFilter, const char* szDefExt, int bMultiple,
                   std::vector<std::string>* pvOut) {
  if (!szFile || nFileBytes < 1) return 0;
  std::memset(szFile, 0, static_cast<size_t>(nFileBytes));
  OPENFILENAME ofn;
  ofn.hwndOwner = hOwner;
  ofn.hInstance = hOwner;
  ofn.lpstrFilter = szFilter;
  ofn.lpstrFile = szFile;
  ofn.nMaxFile = static_cast<uint32_t>(nFileBytes);
  ofn.lpstrInitialDir = szInitialDir;
  ofn.lpstrTitle = szTitle;
  ofn.lpstrDefExt = szDefExt;
  ofn.Flags = kOpenFileFlags | (bMultiple ? OFN_ALLOWMULTISELECT : 0);
  if (g_pfnScreenProc) g_pfnScreenProc(ofn, true);
  const int bChosen = RunChooser(ofn, false, std::string());
  if (g_pfnScreenProc) g_pfnScreenProc(ofn, false);
  if (!bChosen) {
    std::memset(szFile, 0, static_cast<size_t>(nFileBytes));
    return 0;
  }
  if (pvOut) {
    const std::string strFirst = szFile;
    std::vector<std::string> vParts;  // the parts after the first
    std::string strPart;
    bool bFirstDone = false;
    for (int i = 0; i < nFileBytes; ++i) {
      if (szFile[i] != '\0') {
        strPart.push_back(szFile[i]);
        continue;
      }
      if (bFirstDone) vParts.push_back(strPart);
      bFirstDone = true;
      strPart.clear();
      if (i + 1 >= nFileBytes || szFile[i + 1] == '\0') break;
    }
    if (!vParts.empty()) {
      // Several files: the folder came first, then the names.
      for (const std::string& strName : vParts) pvOut->push_back(strFirst + "\\" + strName);
    } else {
      pvOut->push_back(strFirst);
    }
  }
  return 1;
}

int SaveFileDialog(plat::WndHandle hOwner, char* szFile, const char* szInitialDir,
                   const char* szTitle, const char* szFilter, const char* szDefExt, int bKeep) {
  if (!szFile) return 0;
  constexpr int kSaveBytes = MAX_PATH;
  if (!bKeep) std::memset(szFile, 0, kSaveBytes);
  szFile[kSaveBytes - 1] = '\0';
  const std::string strProposed = bKeep ? std::string(szFile) : std::string();
  OPENFILENAME ofn;
  ofn.hwndOwner = hOwner;
  ofn.lpstrFilter = szFilter;
  ofn.lpstrFile = szFile;
  ofn.nMaxFile = kSaveBytes;
  ofn.lpstrInitialDir = szInitialDir;
  ofn.lpstrTitle = szTitle;
  ofn.lpstrDefExt = szDefExt;
  ofn.Flags = kSaveFileFlags;
  if (g_pfnScreenProc) g_pfnScreenProc(ofn, true);
  std::string strSaved = szFile;
  std::memset(szFile, 0, kSaveBytes);
  const int bChosen = RunChooser(ofn, true, strProposed);
  if (g_pfnScreenProc) g_pfnScreenProc(ofn, false);
  // A cancel leaves the buffer as it was given.
  if (!bChosen) std::memcpy(szFile, strSaved.c_str(), strSaved.size() + 1);
  return bChosen;
}

namespace {

// (description, pattern) pairs as the choosers' zero-separated list.
std::string FilterList(const std::vector<std::string>& vFilter) {
  std::string s;
  for (size_t i = 0; i + 1 < vFilter.size(); i += 2) {
    s += vFilter[i];
    s.push_back('\0');
    s += vFilter[i + 1];
    s.push_back('\0');
  }
  s.push_back('\0');
  return s;
}

}  // namespace

int OpenFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt) {
  char szFile[MAX_PATH];
  const std::string strFilter = FilterList(vFilter);
  const int bChosen = OpenFileDialog(hOwner, szFile, MAX_PATH, strFolder.c_str(), strTitle.c_str(),
                                     strFilter.c_str(), strDefExt.c_str(), 0, nullptr);
  strPath = bChosen ? szFile : "";
  return bChosen;
}

int SaveFileDialog(plat::WndHandle hOwner, std::string& strPath, const std::string& strFolder,
                   const std::string& strTitle, const std::vector<std::string>& vFilter,
                   const std::string& strDefExt, int bKeep) {
  char szFile[MAX_PATH] = {};
  if (bKeep) std::snprintf(szFile, sizeof szFile, "%s", strPath.c_str());
  const std::string strFilter = FilterList(vFilter);
  const int bChosen = SaveFileDialog(hOwner, szFile, strFolder.c_str(), strTitle.c_str(),
                                     strFilter.c_str(), strDefExt.c_str(), bKeep);
  strPath = bChosen ? szFile : "";
  return bChosen;
}
