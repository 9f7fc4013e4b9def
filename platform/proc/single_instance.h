// One running copy per project folder: an advisory lock on a file in the
// user's runtime folder ($XDG_RUNTIME_DIR, else /tmp), named from the real
// path of the project folder and holding the process id of the copy that
// holds it. Two different games never meet here; the same game started
// twice does. The file goes when its copy lets go of it.
#pragma once

#include <string>

namespace plat {

enum class eInstanceLock { Acquired, HeldByOther, Failed };

// Takes the lock of the project folder strProjectDir (any spelling of it:
// the real path names the lock). With HeldByOther, nOtherPid is the running
// copy's process id (0 when it could not be read); with Failed, strError
// says why in English.
eInstanceLock AcquireInstanceLock(const std::string& strProjectDir, int& nOtherPid,
                                  std::string& strError);
// Removes the lock file and lets go of it.
void ReleaseInstanceLock();
// Where the lock of a project folder lives; empty when the folder's real
// path cannot be found.
std::string InstanceLockPath(const std::string& strProjectDir);

enum class eEndCopy { NotRunning, Ended, NotPermitted };

// Asks the copy to close (SIGTERM), waits up to nWaitMs for it to go, then
// ends it (SIGKILL) when it is still there.
eEndCopy EndOtherCopy(int nPid, int nWaitMs);

}  // namespace plat
