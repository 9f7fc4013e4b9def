// Starting play from a file.
#include "scenes/stage_start.h"

#include "base/logs.h"

int StartStageFile(const char* szPath, int bNewest) {
  // The play record's reset and the stage loading join here with the stage
  // files; until then the file is noted and the title stays.
  DebugLogF("StartStageFile %s (%d)", szPath ? szPath : "", bNewest);
  return 1;
}
