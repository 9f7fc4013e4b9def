#include "support/test_paths.h"

std::string TestDataDir() { return BRIMVALE_TEST_DATA; }

std::string ProgramPath() { return BRIMVALE_EXE; }
