// Starting play straight from a file (named at start, or chosen in the stage
// chooser): a new play record, the stage loaded for play and entered as its
// first part. A replay file is loaded as a replay instead.
#pragma once

#include <string>

// 1 when the stage (or replay) is loaded and the play record set up for it;
// 0 after the load has reported why not.
int StartStageFile(const std::string& strPath, int bNewest);
