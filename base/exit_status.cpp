// The run's exit status and its failure line.
#include "base/exit_status.h"

#include <atomic>
#include <cstdio>

#include "platform/text/cp932.h"

namespace {
std::atomic<bool> g_bFailed{false};
std::atomic<bool> g_bDeclined{false};

std::string OneLine(std::string str) {
  for (char& ch : str)
    if (ch == '\n' || ch == '\r') ch = ' ';
  // Line breaks at the end of a text leave nothing worth a trailing blank.
  while (!str.empty() && str.back() == ' ') str.pop_back();
  return str;
}
}  // namespace

void ReportRunFailure(const std::string& strReason, const std::string& strOwnText) {
  g_bFailed = true;
  std::string strLine = "brimvale: " + plat::Cp932ToUtf8(OneLine(strReason));
  if (!strOwnText.empty()) strLine += ": " + plat::Cp932ToUtf8(OneLine(strOwnText));
  strLine += "\n";
  std::fputs(strLine.c_str(), stderr);
  std::fflush(stderr);
}

bool HasRunFailed() { return g_bFailed.load(); }

int GetRunExitStatus() { return g_bFailed.load() ? kExitFailed : 0; }

void NoteStartUpDeclined() { g_bDeclined = true; }

bool WasStartUpDeclined() { return g_bDeclined.load(); }

void ResetRunFailure() {
  g_bFailed = false;
  g_bDeclined = false;
}
