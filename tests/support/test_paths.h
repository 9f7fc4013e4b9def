// Where the tests find their data files and the programs they run. The
// paths are compiled into one file only, so the rest of the tests build the
// same wherever the source tree lies.
#pragma once

#include <string>

// The folder of the tests' data files (tests/data in the source tree).
std::string TestDataDir();

// The built program; the tools are found beside it.
std::string ProgramPath();
