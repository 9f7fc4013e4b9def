// Placeholder queues: replaced by the real per-thread queues.
#include "platform/msg/messages.h"

namespace plat {
bool PostMessage(WndHandle hWnd, uint32_t, uintptr_t, intptr_t) { return hWnd != nullptr; }
}  // namespace plat
