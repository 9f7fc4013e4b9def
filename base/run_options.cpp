// Command-line options.
#include "base/run_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

cRunOptions g_RunOptions;

const char* RunOptionsUsage() {
  return "usage: brimvale [options] [stage-or-replay-file]\n"
         "  --project DIR      the project folder (default: the current folder)\n"
         "  --test-play        start as a test play started by the kit's editor\n"
         "  --headless         no window and no sound device; boxes take scripted or\n"
         "                     default answers\n"
         "  --frames N         quit after N frames\n"
         "  --no-wait          do not pace frames\n"
         "  --screenshot FILE  write the last frame as PNG\n"
         "  --keys FILE        press and release keys at given frames: lines\n"
         "                     \"FRAME +KEY\" and \"FRAME -KEY\"\n"
         "  -h, --help         show this and quit\n"
         "  -v, --version      show the version and quit\n";
}

namespace {

enum class eArg { Flag, Value };

struct OPTIONSPEC {
  const char* szName;
  eArg arg;
};

constexpr OPTIONSPEC kOptions[] = {
    {"--project", eArg::Value}, {"--test-play", eArg::Flag}, {"--headless", eArg::Flag},
    {"--no-wait", eArg::Flag},  {"--frames", eArg::Value},   {"--screenshot", eArg::Value},
    {"--help", eArg::Flag},     {"--version", eArg::Flag},   {"--keys", eArg::Value},
};

const OPTIONSPEC* FindOption(const std::string& strName) {
  for (const OPTIONSPEC& o : kOptions)
    if (strName == o.szName) return &o;
  return nullptr;
}

bool ParseFrames(const std::string& s, int& nOut, std::string& strError) {
  char* pEnd = nullptr;
  errno = 0;
  long n = std::strtol(s.c_str(), &pEnd, 10);
  if (s.empty() || *pEnd != 0 || errno != 0 || n < 0 || n > 0x7FFFFFFF) {
    strError = "--frames needs a whole number of frames, not \"" + s + "\"";
    return false;
  }
  nOut = static_cast<int>(n);
  return true;
}

}  // namespace

eRunRequest ParseRunOptions(int argc, const char* const* argv, cRunOptions& out,
                            std::string& strError) {
  cRunOptions opts;
  bool bFileSeen = false;
  bool bOptionsEnded = false;
  eRunRequest request = eRunRequest::Run;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    const bool bOption = !bOptionsEnded && !a.empty() && a[0] == '-';
    if (!bOption) {
      if (bFileSeen) {
        strError = "only one stage or replay file can be given";
        return eRunRequest::Refused;
      }
      opts.strFile = a;
      bFileSeen = true;
      continue;
    }
    if (a == "--") {
      bOptionsEnded = true;
      continue;
    }
    if (a == "-h") a = "--help";
    if (a == "-v") a = "--version";
    std::optional<std::string> value;
    if (const size_t nEq = a.find('='); a.compare(0, 2, "--") == 0 && nEq != std::string::npos) {
      value = a.substr(nEq + 1);
      a.resize(nEq);
    }
    const OPTIONSPEC* pSpec = FindOption(a);
    if (!pSpec) {
      strError = "unknown option " + std::string(argv[i]);
      return eRunRequest::Refused;
    }
    if (pSpec->arg == eArg::Flag && value) {
      strError = a + " takes no value";
      return eRunRequest::Refused;
    }
    if (pSpec->arg == eArg::Value && !value) {
      if (i + 1 >= argc) {
        strError = a + " needs a value";
        return eRunRequest::Refused;
      }
      value = argv[++i];
    }
    if (a == "--project") {
      opts.strProject = *value;
    } else if (a == "--test-play") {
      opts.bTestPlay = true;
    } else if (a == "--headless") {
      opts.bHeadless = true;
    } else if (a == "--no-wait") {
      opts.bNoWait = true;
    } else if (a == "--frames") {
      if (!ParseFrames(*value, opts.nFrames, strError)) return eRunRequest::Refused;
    } else if (a == "--screenshot") {
      opts.strScreenshot = *value;
    } else if (a == "--keys") {
      opts.strKeys = *value;
    } else if (a == "--help") {
      // The first of help and version wins; the rest of the line is still
      // checked, so a mistyped option is never passed over in silence.
      if (request == eRunRequest::Run) request = eRunRequest::Help;
    } else if (a == "--version") {
      if (request == eRunRequest::Run) request = eRunRequest::Version;
    }
  }
  out = opts;
  return request;
}

bool SkipsRaster() { return g_RunOptions.bHeadless && g_RunOptions.strScreenshot.empty(); }
