// Threads of the message layer: each has an id that messages can be posted
// to. A thread cannot be killed: one that does not end when asked is left to
// run and counted, and the process ends with _exit after shut-down.
#pragma once

#include <cstdint>

#include "platform/msg/messages.h"

namespace plat {

struct cThreadRecord;
using ThreadProc = unsigned (*)(void*);

// Starts pfnProc(pArg) on a new thread; null when no thread could be made.
cThreadRecord* StartThread(ThreadProc pfnProc, void* pArg, ThreadId& outId);

bool HasThreadEnded(const cThreadRecord* pThread);

// Frees the record: an ended thread is joined; one still running is left to
// run on its own and counted as abandoned.
void CloseThread(cThreadRecord* pThread);

int AbandonedThreadCount();

}  // namespace plat
