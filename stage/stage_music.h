// The stage's music: the number and loop flag of the music the play engine
// plays, and its request to the window thread.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<int32_t> nStageMusic;      // database music entry now playing in the stage
extern std::atomic<int32_t> bStageMusicLoop;  // set by the sender before it asks

// Stores the loop flag and asks the window thread to play database music n
// on the stage's track.
void PlayStageMusic(int nMusic, int bLoop);
