// The brimvale executable: reads the command line, picks the platform back
// end, enters the project folder and hands over to the entry routine.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/entry.h"
#include "base/exit_status.h"
#include "base/key_script.h"
#include "base/run_options.h"
#include "platform/desktop/desktop_backend.h"
#include "platform/fs/file_system.h"
#include "platform/msg/threads.h"
#include "platform/null/null_backend.h"
#include "platform/present/presenter.h"
#include "platform/text/cp932.h"

namespace {

// Exit status of a command line that cannot be used.
constexpr int kExitUsage = 2;

std::string CurrentFolder() {
  char* szCwd = getcwd(nullptr, 0);
  if (!szCwd) return ".";
  std::string str = szCwd;
  free(szCwd);
  return str;
}

}  // namespace

int main(int argc, char** argv) {
  std::string strError;
  switch (ParseRunOptions(argc, argv, g_RunOptions, strError)) {
    case eRunRequest::Help:
      std::fputs(RunOptionsUsage(), stdout);
      return 0;
    case eRunRequest::Version:
      std::printf("brimvale %s\n", kAppVersion);
      return 0;
    case eRunRequest::Refused:
      std::fprintf(stderr, "brimvale: %s\n%s", strError.c_str(), RunOptionsUsage());
      return kExitUsage;
    case eRunRequest::Run:
      break;
  }
  // A headless run has no window, no sound device and nobody to answer its
  // boxes: the null back end stands in for the desktop.
  if (g_RunOptions.bHeadless)
    plat::null::InstallNullBackend();
  else
    plat::desktop::InstallDesktopBackend();
  // The key script is read before the folder changes, from where its name
  // was typed; one that cannot be used is a command line that cannot be used.
  if (!g_RunOptions.strKeys.empty() && !LoadKeyScript(g_RunOptions.strKeys, strError)) {
    std::fprintf(stderr, "brimvale: %s\n", strError.c_str());
    return kExitUsage;
  }
  // The screenshot path is taken before the folder changes.
  if (!g_RunOptions.strScreenshot.empty() && g_RunOptions.strScreenshot[0] != '/')
    g_RunOptions.strScreenshot = CurrentFolder() + "/" + g_RunOptions.strScreenshot;
  if (!g_RunOptions.strProject.empty() && chdir(g_RunOptions.strProject.c_str()) != 0) {
    // A folder that is not there is no project: a failed run, not a
    // command line that cannot be used.
    std::fprintf(stderr, "brimvale: cannot enter the project folder %s: %s\n",
                 g_RunOptions.strProject.c_str(), std::strerror(errno));
    return kExitFailed;
  }
  // The program writes its logs, saves and folders here: a folder it may
  // not write to would end in silence at the first of them.
  if (faccessat(AT_FDCWD, ".", W_OK, AT_EACCESS) != 0) {
    std::fprintf(stderr, "brimvale: the project folder %s cannot be written: %s\n",
                 CurrentFolder().c_str(), std::strerror(errno));
    return kExitFailed;
  }
  // Inside, file names are CP932 like the project's own; a name CP932
  // cannot spell is kept as typed.
  std::string strFile;
  if (!plat::Utf8ToCp932(g_RunOptions.strFile, strFile)) strFile = g_RunOptions.strFile;

  int nResult =
      WinMain(strFile.c_str(), g_RunOptions.bTestPlay ? kShowModeTestPlay : kShowModeNormal);

  if (!g_RunOptions.strScreenshot.empty() &&
      !plat::SaveLastFramePng(g_RunOptions.strScreenshot, &strError)) {
    // A run that failed already has said why; it never got to its picture.
    if (!HasRunFailed())
      std::fprintf(stderr, "brimvale: cannot write the screenshot %s: %s\n",
                   g_RunOptions.strScreenshot.c_str(), strError.c_str());
    nResult = kExitFailed;
  }
  if (nResult == 0) nResult = GetRunExitStatus();
  // A thread that would not end is still running: leave without running
  // destructors under it.
  if (plat::AbandonedThreadCount() > 0) {
    std::fflush(nullptr);
    _exit(nResult);
  }
  return nResult;
}
