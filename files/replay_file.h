// The parts of a replay file as they are read: the stage, the key log and
// the play record of the stage start.
#pragma once

#include "files/key_log.h"
#include "files/play_data.h"
#include "files/stage_data.h"

struct REPLAYFILE {
  cStageData stage;
  cKeyLog log;
  cPlayData play;
  bool bHasPlay = false;
};

// A whole replay body (after the version header) into out: 1 when every
// byte was read. bHasPlay is false for files of 172 and older, which end
// with the log.
int ReadReplayFile(cDataReader& r, REPLAYFILE& out);
