// Entry point of every test program on the null back end: GoogleTest with
// its own arguments, and no display, sound card or font needed.
#include <gtest/gtest.h>

#include "platform/null/null_backend.h"

int main(int argc, char** argv) {
  plat::null::InstallNullBackend();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
