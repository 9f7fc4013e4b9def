// The rules and the map of the bundled game: the system data (every title
// entry, rankings in story, challenge and free play, three challenge stages,
// music in every scene), the world map the story walks, and the music
// itself, a short tune written as a standard MIDI file.
#pragma once

#include "files/system_data.h"
#include "files/world_map.h"
#include "pixel_art.h"

constexpr const char* kTuneFile = "bgm\\tune.mid";
constexpr int kChallengeStages = 3;

// The Bgm.dat entry every scene plays.
constexpr int kTuneEntry = 1;

void SetGameRules(cSystemData& system);
cWorldMap GameWorldMap();
Bytes TuneMidi();
