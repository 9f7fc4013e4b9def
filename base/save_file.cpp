#include "base/save_file.h"

#include <cstdio>
#include <cstring>

#include "base/logs.h"
#include "platform/fs/file_system.h"
#include "platform/text/cp932.h"

bool SaveFile(const std::string& strPath, const void* pData, size_t nSize, const char* szOwnText) {
  int nError = 0;
  if (plat::fs::WriteFileAtomic(strPath, pData, nSize, &nError)) return true;
  ReportSaveFailed(strPath, nError, szOwnText);
  return false;
}

void ReportSaveFailed(const std::string& strPath, int nError, const char* szOwnText) {
  const char* szReason = nError ? std::strerror(nError) : "unknown error";
  std::string strOwn;
  if (szOwnText) {
    char buf[1024];
    std::snprintf(buf, sizeof buf, szOwnText, strPath.c_str());
    strOwn = buf;
    ReportF("%s", strOwn.c_str());
  } else {
    ReportF("save failed: %s (%s)", strPath.c_str(), szReason);
  }
  // The terminal reads UTF-8; the program's text is CP932.
  std::string strLine =
      "brimvale: save failed: " + plat::Cp932ToUtf8(strPath) + " (" + szReason + ")";
  if (!strOwn.empty()) strLine += " " + plat::Cp932ToUtf8(strOwn);
  std::fprintf(stderr, "%s\n", strLine.c_str());
  std::fflush(stderr);
}
