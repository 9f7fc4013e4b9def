// Loading a stage for play: the newest numbered file when asked, the
// trailer check, the read of g_Stage on the stage-loading thread while the
// calling thread keeps serving its messages, the refusal of a stage without
// a player, and the settings part handed to the record restarts begin from.
#pragma once

#include <string>

class cStageData;

// With bNewest the path names the stage without its number
// ("data\stg4\c01-1.stg4") and the highest existing _NNN is loaded. With a
// target (g_StageCopy in practice) the settings part is copied into it.
// 1 on success; every failure but a missing numbered file has been shown.
int LoadPlayStage(const std::string& strPath, int bNewest, cStageData* pTarget);

// The procedure of thStageLoad: g_Stage from its path; sets its loaded flag
// on success.
unsigned StageLoadThread(void* pArg);
