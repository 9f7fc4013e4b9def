// Every file and folder the program uses, named relative to the game's
// folder: the project data under data\, its factory copy under default\, the
// player's files under user_data\. The tables are constant, so they are
// ready before any other global is built.
#pragma once

#include <cstdint>
#include <string>

#include "platform/msg/messages.h"

constexpr int kPathCount = 48;
constexpr int kExtCount = 4;
constexpr int kDataFolderCount = 22;

extern const char* const g_Paths[kPathCount];
extern const char* const g_Exts[kExtCount];
extern const char* const g_DataFolders[kDataFolderCount];

// Indices of g_Paths the program opens itself.
enum : int {
  PATH_DATA = 0,
  PATH_DEFAULT = 1,
  PATH_COMMON_PALETTE = 7,
  PATH_WORLD_MAP = 13,
  PATH_DB_ANIME_SET = 15,  // the ten database files are 15, 17, ... 33
  PATH_SYSTEM_DAT = 35,
  PATH_CHALLENGE_PREFIX = 37,
  PATH_RANKING_STORY = 38,  // + play mode for 39 challenge, 40 free play
  PATH_STORY_PREFIX = 41,
  PATH_CHALLENGE_DAT = 42,
  PATH_OPTION_DAT = 43,
  PATH_USER_DATA = 44,
  PATH_KEY_CONFIG_DAT = 45,
  PATH_BOOT_DAT = 46,
  PATH_WINDOW_DAT = 47,
};

enum : int { EXT_COMMON_PALETTE = 0, EXT_STAGE = 1, EXT_PALETTE = 2, EXT_RANKING = 3 };

// The question the factory-data copy asks; a test answers it itself.
using AskFunction = int (*)(plat::WndHandle hOwner, const std::string& strText,
                            const std::string& strCaption, uint32_t uType);

// 1 when data\ exists or was made from default\ (after asking the player),
// 0 otherwise. A copy that fails leaves no data\ behind.
int CreateDefaultData(plat::WndHandle hOwner, AskFunction pfnAsk = nullptr);

// Creates the 22 folders of g_DataFolders in order; existing ones are fine
// and failures are not errors.
void CreateDataFolders();

// Removes what saves that were killed half-way left beside their files (the
// atomic writer's temporary files from before this copy started; the saved
// files themselves were never touched). Only while this copy holds the
// project, so no other copy's save is under way. Returns how many went.
int RemoveInterruptedSaves();

// Start-up: CreateDefaultData with the main window; a refusal or failure is
// reported and ends start-up (false).
bool CreateDefaultDataAtStart(plat::WndHandle hMainWnd);
