// Entry point of the tests of the program's dialogs on the desktop back
// end: an X server of their own (Xvfb) for GTK, SDL's dummy drivers for the
// rest. Without an X server the tests skip themselves.
#include <glib.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/desktop/desktop_backend.h"
#include "platform/ui/message_box.h"
#include "tests/app/desktop/x_server.h"

cXServer g_XServer;

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // GTK's key simulation sends core X events, which GDK reads only when it
  // is not reading the input extension's.
  setenv("GDK_CORE_DEVICE_EVENTS", "1", 1);
  // The file chooser keeps its settings for this run only.
  setenv("GSETTINGS_BACKEND", "memory", 1);
  // A GTK critical is a widget misused, most often one already destroyed:
  // fatal here, so the test that causes it fails. Widgets come from the
  // general allocator, where the sanitizer build sees one used after it
  // was freed.
  g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_FATAL_MASK));
  setenv("G_SLICE", "always-malloc", 1);
  unsetenv("BRIMVALE_BOX_ANSWERS");
  unsetenv("BRIMVALE_DIALOG_ANSWERS");
  plat::desktop::InstallDesktopBackend();
  testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (!testing::GTEST_FLAG(list_tests) && g_XServer.Start()) plat::InitMessageBoxes();
  const int nResult = RUN_ALL_TESTS();
  if (g_XServer.HasDisplay()) plat::ShutdownMessageBoxes();
  g_XServer.Stop();
  return nResult;
}
