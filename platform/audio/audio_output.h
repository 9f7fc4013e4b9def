// The sound output: the back end's sound device pulling the mixer, or a
// silent output when there is no device (or none is wanted). The game plays
// on either way; only the caller decides what to log.
#pragma once

#include <string>

namespace plat::audio {

enum class OUTPUTKIND { None, Device, Silent, Offline };

// Opens the device at its own rate in float stereo. With bSilent, or when no
// device opens, the output is silent and the reason is kept for the log.
// Does nothing when an output is already open.
OUTPUTKIND OpenOutput(bool bSilent);
// For tests: no device, the mixer runs at nRate and is rendered by hand.
void OpenOfflineOutput(int nRate);
void CloseOutput();
OUTPUTKIND GetOutputKind();
// Why the output is silent ("" when it is not).
const std::string& GetSilentReason();

// A program-wide request for silence (a headless run) that DS-level
// start-up honours.
void SetSilentRequested(bool bSilent);
bool IsSilentRequested();

}  // namespace plat::audio
