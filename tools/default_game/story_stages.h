// The stages of the bundled game's story and challenge: a meadow crossed on
// a moving platform, a cave whose signs speak and wait for a button, and a
// fort held by a walking guard and a turret, with a lift to ride.
#pragma once

#include "files/stage_data.h"

cStageData MeadowStage();
cStageData CaveStage();
cStageData FortStage();

// Where they are kept: the story names them in its world map, the challenge
// by number.
constexpr const char* kMeadowFile = "data\\stg4\\meadow.stg4_783";
constexpr const char* kCaveFile = "data\\stg4\\cave.stg4_783";
constexpr const char* kFortFile = "data\\stg4\\fort.stg4_783";
