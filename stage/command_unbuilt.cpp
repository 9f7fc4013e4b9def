// The command bodies not built yet: each of these kinds lasts its time and
// does nothing. A body built moves out of here into the file of its family.
#include "stage/command_bodies.h"


// Flows, the stage and the characters.
int CmdFlowOp(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdStageClear(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdGameWait(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdWarp(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdStatus2(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdVanish(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdGetItem(const CMDCONTEXT& /*ctx*/) { return 0; }

// Display and sound.
int CmdGraphic(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdAnimSet(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdAnim(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdEffect(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdCharaEffect(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdScrEffect(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdPicture(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdScreenColor(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdBackground(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdSound(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdBgm(const CMDCONTEXT& /*ctx*/) { return 0; }
