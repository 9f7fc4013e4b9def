// What a command body acts in: the character that runs the command, the flow
// run and instance it belongs to, the command itself and the play state. The
// executor builds one for every command it runs and hands it to the kind's
// set-up and body (stage/command_table.h); a body reaches everything it acts
// on through it, never through the play scene's globals, and passes it on to
// whatever it calls that needs to know whom it acts for.
#pragma once

class cCmdState;
class cFlowCmd;
class cFlowState;
class cGameObj;
class cPlayScene;

struct CMDCONTEXT {
  // The executing character: the owner of the flow, or the player for an
  // item's command.
  cGameObj& m_Chara;
  // The flow run and the command's instance in it; both null for an item's
  // command, which runs at once and keeps no state.
  cFlowState* m_pRun;
  cCmdState* m_pInst;
  cFlowCmd& m_Cmd;
  cPlayScene& m_Scene;
  // The character whose flows are being stepped or started while the
  // command runs: m_Chara itself for a flow's command; for an item's, the
  // one whose flow handed over the item, null for an item taken in the
  // stage. The player's flow changes wait while it is the player.
  const cGameObj* m_pFlowOwner;
};
