// One running copy: an advisory lock on a file in the user's runtime folder
// ($XDG_RUNTIME_DIR, else /tmp), named after the program's instance name and
// holding the process id of the copy that holds it.
#pragma once

#include <string>

namespace plat {

enum class eInstanceLock { Acquired, HeldByOther, Failed };

// Tries to take the lock; with HeldByOther, nOtherPid is the running copy's
// process id (0 when it could not be read).
eInstanceLock AcquireInstanceLock(const std::string& strNameUtf8, int& nOtherPid);
void ReleaseInstanceLock();
std::string InstanceLockPath(const std::string& strNameUtf8);

enum class eEndCopy { NotRunning, Ended, NotPermitted };

// Asks the copy to close (SIGTERM), waits up to nWaitMs for it to go, then
// ends it (SIGKILL) when it is still there.
eEndCopy EndOtherCopy(int nPid, int nWaitMs);

}  // namespace plat
