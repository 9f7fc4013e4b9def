// The brimvale executable: reads the command line, picks the platform back
// end, enters the project folder and hands over to the entry routine.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/entry.h"
#include "base/run_options.h"
#include "platform/desktop/desktop_backend.h"
#include "platform/fs/file_system.h"
#include "platform/msg/threads.h"
#include "platform/null/null_backend.h"
#include "platform/present/presenter.h"
#include "platform/text/cp932.h"

int main(int argc, char** argv) {
  std::string strError;
  if (!ParseRunOptions(argc, argv, g_RunOptions, strError)) {
    std::fprintf(stderr, "brimvale: %s\n%s", strError.c_str(), RunOptionsUsage());
    return 2;
  }
  // A headless run has no window, no sound device and nobody to answer its
  // boxes: the null back end stands in for the desktop.
  if (g_RunOptions.bHeadless)
    plat::null::InstallNullBackend();
  else
    plat::desktop::InstallDesktopBackend();
  // The screenshot path is taken before the folder changes.
  if (!g_RunOptions.strScreenshot.empty() && g_RunOptions.strScreenshot[0] != '/') {
    char* szCwd = getcwd(nullptr, 0);
    if (szCwd) {
      g_RunOptions.strScreenshot = std::string(szCwd) + "/" + g_RunOptions.strScreenshot;
      free(szCwd);
    }
  }
  if (!g_RunOptions.strProject.empty() && chdir(g_RunOptions.strProject.c_str()) != 0) {
    std::fprintf(stderr, "brimvale: cannot enter the project folder %s\n",
                 g_RunOptions.strProject.c_str());
    return 2;
  }
  // Inside, file names are CP932 like the project's own; a name CP932
  // cannot spell is kept as typed.
  std::string strFile;
  if (!plat::Utf8ToCp932(g_RunOptions.strFile, strFile)) strFile = g_RunOptions.strFile;

  int nResult =
      WinMain(strFile.c_str(), g_RunOptions.bTestPlay ? kShowModeTestPlay : kShowModeNormal);

  if (!g_RunOptions.strScreenshot.empty() && !plat::SaveLastFramePng(g_RunOptions.strScreenshot))
    std::fprintf(stderr, "brimvale: no frame written to %s\n", g_RunOptions.strScreenshot.c_str());
  // A thread that would not end is still running: leave without running
  // destructors under it.
  if (plat::AbandonedThreadCount() > 0) {
    std::fflush(nullptr);
    _exit(nResult);
  }
  return nResult;
}
