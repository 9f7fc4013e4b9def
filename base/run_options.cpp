// Command-line options.
#include "base/run_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

cRunOptions g_RunOptions;

const char* RunOptionsUsage() {
  return "usage: brimvale [--project DIR] [--test-play] [--headless] [--frames N] [--no-wait]\n"
         "                [--screenshot FILE] [stage-or-replay-file]\n";
}

bool ParseRunOptions(int argc, const char* const* argv, cRunOptions& out, std::string& strError) {
  cRunOptions opts;
  bool bFileSeen = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* szName, std::string& dst) {
      if (i + 1 >= argc) {
        strError = std::string(szName) + " needs a value";
        return false;
      }
      dst = argv[++i];
      return true;
    };
    if (a == "--project") {
      if (!value("--project", opts.strProject)) return false;
    } else if (a == "--test-play") {
      opts.bTestPlay = true;
    } else if (a == "--headless") {
      opts.bHeadless = true;
    } else if (a == "--no-wait") {
      opts.bNoWait = true;
    } else if (a == "--frames") {
      std::string s;
      if (!value("--frames", s)) return false;
      char* pEnd = nullptr;
      errno = 0;
      long n = std::strtol(s.c_str(), &pEnd, 10);
      if (s.empty() || *pEnd != 0 || errno != 0 || n < 0 || n > 0x7FFFFFFF) {
        strError = "--frames needs a whole number of frames, not \"" + s + "\"";
        return false;
      }
      opts.nFrames = static_cast<int>(n);
    } else if (a == "--screenshot") {
      if (!value("--screenshot", opts.strScreenshot)) return false;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      strError = "unknown option " + a;
      return false;
    } else if (bFileSeen) {
      strError = "only one stage or replay file can be given";
      return false;
    } else {
      opts.strFile = a;
      bFileSeen = true;
    }
  }
  out = opts;
  return true;
}
