// Text and path helpers.
#include "base/text_helpers.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/fs/file_system.h"
#include "platform/text/cp932.h"
#include "platform/ui/dialog_box.h"

namespace {

// Formatted strings hold at most 5119 bytes.
constexpr size_t kFormatBytes = 5120;
// Extensions that InsertFileNumber carries over.
constexpr size_t kMaxExtBytes = 31;

// Copies at most MAX_PATH - 1 bytes and the terminating zero.
void CopyPath(char* szOut, const char* szSrc) {
  if (szOut == szSrc) return;
  size_t n = std::strlen(szSrc);
  if (n > MAX_PATH - 1) n = MAX_PATH - 1;
  std::memmove(szOut, szSrc, n);
  szOut[n] = 0;
}

// Byte offset of the last '.', or -1. A dot is never a trail byte.
int FindLastDot(const char* szPath) {
  const char* p = std::strrchr(szPath, '.');
  return p ? static_cast<int>(p - szPath) : -1;
}

bool IsRelativePath(const std::string& strPath) {
  if (strPath.empty()) return true;
  if (strPath[0] == '/' || strPath[0] == '\\') return false;
  // A drive letter ("C:") means another file system: never relative here.
  if (strPath.size() >= 2 && strPath[1] == ':') return false;
  return true;
}

// Folds "." and ".." components away.
std::vector<std::string> Normalise(const std::vector<std::string>& parts) {
  std::vector<std::string> out;
  for (const std::string& s : parts) {
    if (s == ".") continue;
    if (s == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    out.push_back(s);
  }
  return out;
}

}  // namespace

void FormatString(std::string& strOut, const char* szFormat, ...) {
  char buf[kFormatBytes];
  va_list args;
  va_start(args, szFormat);
  std::vsnprintf(buf, sizeof buf, szFormat, args);
  va_end(args);
  strOut = buf;
}

int SetStrFromBuf(std::string& str) {
  size_t n = std::strlen(str.c_str());
  if (n > kFormatBytes - 1) n = kFormatBytes - 1;
  str = std::string(str.c_str(), n);
  return static_cast<int>(n);
}

std::string SubStrSafe(std::string& strSrc, int nStart, int nCount) {
  int64_t start = nStart;
  int64_t count = nCount;
  if (start < 0) {
    count += start;
    start = 0;
  } else {
    SetStrFromBuf(strSrc);
    if (start > static_cast<int64_t>(strSrc.size())) return std::string();
  }
  if (count == 0) return std::string();
  SetStrFromBuf(strSrc);
  int64_t len = static_cast<int64_t>(strSrc.size());
  if (start + count > len || count < 0) return strSrc.substr(static_cast<size_t>(start));
  return strSrc.substr(static_cast<size_t>(start), static_cast<size_t>(count));
}

bool IsSjisLeadByte(unsigned char ch) { return plat::IsCp932LeadByte(ch); }

bool IsSjisTrailByte(unsigned char ch) { return plat::IsCp932TrailByte(ch); }

int IsDBCSPair(const char* p) {
  return IsSjisLeadByte(static_cast<unsigned char>(p[0])) &&
                 IsSjisTrailByte(static_cast<unsigned char>(p[1]))
             ? 1
             : 0;
}

int CountChars(const char* szText) {
  int n = 0;
  for (const char* p = szText; *p;) {
    if (IsDBCSPair(p)) {
      ++n;
      p += 2;
    } else if (*p == '\n') {
      ++p;
    } else {
      ++n;
      ++p;
    }
  }
  return n;
}

int GetDlgItemString(plat::WndHandle hDlg, int nId, std::string& strOut, int nMax) {
  constexpr int kDialogTextBuffer = 5120;
  strOut.clear();
  plat::cDialogWindow* pWindow = plat::GetDialogWindow(hDlg);
  if (!pWindow || nId < 0 || nId > 0xFFFF) return 0;
  const std::string strText = pWindow->GetItemText(static_cast<uint16_t>(nId));
  const int nLimit = std::min(nMax, kDialogTextBuffer) - 1;
  int nLen = 0;
  while (nLen < static_cast<int>(strText.size())) {
    const int nChar = IsDBCSPair(strText.c_str() + nLen) ? 2 : 1;
    if (nLen + nChar > nLimit) break;
    nLen += nChar;
  }
  strOut.assign(strText, 0, static_cast<size_t>(std::max(0, nLen)));
  return static_cast<int>(strOut.size());
}

int SetDlgItemString(plat::WndHandle hDlg, int nId, const std::string& strText) {
  plat::cDialogWindow* pWindow = plat::GetDialogWindow(hDlg);
  if (!pWindow || nId < 0 || nId > 0xFFFF || !pWindow->HasItem(static_cast<uint16_t>(nId)))
    return 0;
  pWindow->SetItemText(static_cast<uint16_t>(nId), strText);
  return 1;
}

int MakeRelativePath(char* szPath) {
  std::string strPath = szPath;
  if (IsRelativePath(strPath)) return 1;
  if (strPath.size() >= 2 && strPath[1] == ':') return 0;
  std::string strCur = plat::fs::GetCurrentDirectory();
  if (strCur.empty()) return 0;
  std::vector<std::string> cur = Normalise(plat::SplitCp932Path(strCur));
  std::vector<std::string> target = Normalise(plat::SplitCp932Path(strPath));
  size_t nCommon = 0;
  while (nCommon < cur.size() && nCommon < target.size() && cur[nCommon] == target[nCommon])
    ++nCommon;
  std::string strOut;
  for (size_t i = nCommon; i < cur.size(); ++i) strOut += "..\\";
  for (size_t i = nCommon; i < target.size(); ++i) {
    strOut += target[i];
    if (i + 1 < target.size()) strOut += '\\';
  }
  if (strOut.empty()) strOut = ".";
  if (strOut.size() > MAX_PATH - 1) return 0;
  std::memcpy(szPath, strOut.c_str(), strOut.size() + 1);
  return 1;
}

int MakeRelativePathStr(std::string& strPath) {
  char buf[MAX_PATH];
  CopyPath(buf, strPath.c_str());
  int n = MakeRelativePath(buf);
  strPath = buf;
  return n;
}

int MakeFullPath(char* szPath) {
  std::string strPath = szPath;
  if (!IsRelativePath(strPath)) return 1;
  std::string strCur = plat::fs::GetCurrentDirectory();
  if (strCur.empty()) return 0;
  std::vector<std::string> parts = plat::SplitCp932Path(strCur);
  for (std::string& s : plat::SplitCp932Path(strPath)) parts.push_back(std::move(s));
  parts = Normalise(parts);
  std::string strOut;
  for (const std::string& s : parts) strOut += "/" + s;
  if (strOut.empty()) strOut = "/";
  if (strOut.size() > MAX_PATH - 1) return 0;
  std::memcpy(szPath, strOut.c_str(), strOut.size() + 1);
  return 1;
}

int StripDirectory(char* szPath) {
  // Walk from the front pairing lead and trail bytes: a trail byte of 0x5C
  // is part of a character, never a separator.
  const char* pAfter = nullptr;
  for (const char* p = szPath; *p;) {
    if (IsDBCSPair(p)) {
      p += 2;
      continue;
    }
    if (*p == '\\' || *p == '/') pAfter = p + 1;
    ++p;
  }
  if (!pAfter) return 0;
  std::memmove(szPath, pAfter, std::strlen(pAfter) + 1);
  return 1;
}

int ChangeExtension(char* szOut, const char* szSrc, const char* szExt) {
  char buf[MAX_PATH];
  CopyPath(buf, szSrc);
  int nDot = FindLastDot(buf);
  if (nDot < 0) {
    CopyPath(szOut, buf);
    return 0;
  }
  if (szExt) {
    buf[nDot + 1] = 0;
    std::string strOut = std::string(buf) + szExt;
    CopyPath(szOut, strOut.c_str());
  } else {
    buf[nDot] = 0;
    CopyPath(szOut, buf);
  }
  return 1;
}

int RemoveExtension(char* szPath) {
  int nDot = FindLastDot(szPath);
  if (nDot < 0) return 0;
  szPath[nDot] = 0;
  return 1;
}

int RemoveExtensionStr(std::string& strPath) {
  char buf[MAX_PATH];
  CopyPath(buf, strPath.c_str());
  if (!RemoveExtension(buf)) return 0;
  strPath = buf;
  return 1;
}

int GetExtension(char* szOut, const char* szPath) {
  int nDot = FindLastDot(szPath);
  if (nDot < 0) return 0;
  CopyPath(szOut, szPath + nDot + 1);
  return 1;
}

int InsertFileNumber(char* szOut, const char* szSrc, int a, int b) {
  char buf[MAX_PATH];
  CopyPath(buf, szSrc);
  int nDot = FindLastDot(buf);
  if (nDot < 0) return 0;
  std::string strExt(buf + nDot + 1);
  if (strExt.size() > kMaxExtBytes) strExt.resize(kMaxExtBytes);
  buf[nDot] = 0;
  std::string strOut;
  FormatString(strOut, "%s_%d%d.%s", buf, a, b, strExt.c_str());
  CopyPath(szOut, strOut.c_str());
  return 1;
}

int FindLatestVersionFile(char* szOut, const char* szPath, const char* szExt) {
  char szBase[MAX_PATH];
  ChangeExtension(szBase, szPath, szExt);
  // A numbered name longer than a path can be never exists.
  if (std::strlen(szBase) + 4 > MAX_PATH - 1) return 0;
  std::string strName = std::string(szBase) + "_000";
  const size_t nDigits = strName.size() - 3;
  for (int n = 999; n >= 0; --n) {
    strName[nDigits] = static_cast<char>('0' + n / 100);
    strName[nDigits + 1] = static_cast<char>('0' + n / 10 % 10);
    strName[nDigits + 2] = static_cast<char>('0' + n % 10);
    if (plat::fs::Exists(strName)) {
      CopyPath(szOut, strName.c_str());
      return 1;
    }
  }
  return 0;
}

int FindLatestVersionFileStr(std::string& strOut, const std::string& strPath, const char* szExt) {
  char szSrc[MAX_PATH];
  CopyPath(szSrc, strPath.c_str());
  char buf[MAX_PATH];
  if (!FindLatestVersionFile(buf, szSrc, szExt)) return 0;
  strOut = buf;
  return 1;
}
