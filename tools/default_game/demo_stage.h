// The demo stage of the bundled game: a few screens of ground with gaps,
// platforms and a ceiling to bump into, coins to take, a background in two
// layers, and a hero whose flows walk it with the arrow keys and jump it
// with button 1; and the hero's basic animations in the database.
#pragma once

#include "database/database.h"
#include "files/stage_data.h"

// The file the stage is written to and System.ini starts.
constexpr const char* kDemoStageFile = "data\\stg4\\demo.stg4_783";

cStageData DemoStage();
void SetDemoAnimations(cDatabase& db);
