// The command bodies not built yet: each of these kinds lasts its time and
// does nothing. A body built moves out of here into the file of its family.
#include "stage/command_bodies.h"

// Shots, swords, summons and targets.
int CmdShot(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdSword(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdSummonBlock(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdSummonChara(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdSummonItem(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdSetTarget(const CMDCONTEXT& /*ctx*/) { return 0; }

// Code and arrangement.
int CmdCode(const CMDCONTEXT& /*ctx*/) { return 0; }
int CmdArrange(const CMDCONTEXT& /*ctx*/) { return 0; }
