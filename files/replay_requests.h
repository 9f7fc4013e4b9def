// Saving and loading replays while a game runs. The game thread asks (F1
// saves the current run, F2 the run before the latest stage start; the
// title asks for a replay to load); the window thread runs the chooser and
// the file work while the game thread waits.
#pragma once

#include <cstdint>
#include <string>

// The replay extension: "rpl4_" and the data version.
std::string GetReplayExtension();

// The proposed name for a replay of the stage file strStageFile (the stage's
// name with the play's suffix, the replay extension and the first free
// number _00.._88, in user_data\rpl4\), then the save chooser. 1 and the
// chosen path when the player confirmed.
int GetReplaySaveName(std::string& strPath, const std::string& strStageFile);
// Only the proposal (a path in user_data\rpl4\; empty for an empty name).
std::string ProposeReplayName(const std::string& strStageFile);

// Game thread, once per frame of the phases that allow it: F1 or F2 held
// asks the window thread to save that run (1), after the confirmation
// sound; an empty run gets the error sound at most once a second (0).
// Nothing in a replay or when the project does not record replays.
int CheckReplaySaveKey(int bReplayPlay);

// Window thread. WM_SAVEREPLAY (nWhich 0 current run, 1 the one before):
// the chooser and the save; a failed save is shown and play goes on. 1 when
// the player confirmed a name.
int ServeSaveReplayRequest(int nWhich);
// WM_OPENREPLAY: the chooser, then the whole replay into the key log, the
// stage, its settings copy and the play; a replay that cannot be loaded
// asks the program to close. 1 when a file was chosen.
int ServeOpenReplayRequest();

// Whether a file name has the replay extension (any case): such a file,
// chosen with the stages or named at start, is played as a replay.
bool IsReplayFileName(const std::string& strPath);
