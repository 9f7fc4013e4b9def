// What the window thread does with a music request: tracks 0 to 3 belong to
// the menu scenes (title, world map and its menu, stage select, options),
// track 4 to the stage.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/safe_vector.h"

constexpr int kStageMusicTrack = 4;

struct MUSICORDER {
  enum { NOTHING, STOP, PLAY } eAction = NOTHING;
  bool bSetTrack = false;  // give the track strFile first
  int nTrack = -1;
  std::string strFile;
  int bLoop = 0;
};

// The scene music numbers and loop flags by track, and the file name of a
// database music entry (checked access: a bad entry reports and gives entry 0).
struct MUSICTABLES {
  cSafeVector<int32_t>* pSceneBgm = nullptr;
  cSafeVector<uint8_t>* pSceneBgmLoop = nullptr;
  std::function<std::string(int)> MusicFile;
};

// k 0..3: the scene music of track k (0 stops the music); k 4: database
// music m on the stage's track with the stage's loop flag (0 stops it).
MUSICORDER DecideMusic(int k, int m, const MUSICTABLES& tables, int bStageLoop);

// Serves WM_USER+6 with the program's tables: decides, plays, and keeps m as
// the stage's music for k 4.
void ServeMusicRequest(int k, int m);
