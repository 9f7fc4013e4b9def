// Starting play straight from a file (named at start, or chosen in the stage
// chooser, or the same file again after its stage ended): a new play record,
// the stage loaded for play and entered as its first part. A replay file is
// loaded as a replay, and the game mode becomes the replay's.
#pragma once

#include <string>

// 1 when the stage (or replay) is loaded and the play record set up for it;
// 0 after the load has reported why not.
int StartStageFile(const std::string& strPath, int bNewest);

// The scene manager goes to the play scene at once, for the file
// StartStageFile loaded at start-up: free play (or the replay), with
// rankings.
void PlayStageFileAtOnce();

// A new story game: a new play record standing on the world map's start
// cell, with the story's lives (the lives shown are those left besides the
// one being played).
void StartNewStory();
