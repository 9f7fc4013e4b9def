// Entry point of the desktop back end's tests: the desktop back end on SDL's
// dummy video and sound drivers, so nothing appears on a screen or a
// speaker and no display is needed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/desktop/desktop_backend.h"

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  plat::desktop::InstallDesktopBackend();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
