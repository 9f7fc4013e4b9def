// Window messages between the program's threads: the few operations the game
// uses (post, send, peek, wait, thread messages) over our own per-thread
// queues. Message numbers keep the values the game's data and code rely on.
#pragma once

#include <cstdint>

namespace plat {

struct cWnd;                // a window object with a procedure (see window.h)
using WndHandle = cWnd*;    // null means "no window"
using ThreadId = uint32_t;  // 0 means "no thread"

struct MSG {
  WndHandle hWnd = nullptr;
  uint32_t message = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_COPYDATA = 0x004A;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr uint32_t WM_USER = 0x0400;
constexpr uint32_t WM_APP = 0x8000;

// Posts to the queue of the thread that owns the window; never waits.
// False when the window does not exist.
bool PostMessage(WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Posts to a thread's own queue; false until that thread has a queue.
bool PostThreadMessage(ThreadId thread, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Calls the window procedure on the window's own thread and waits for the
// result; from that thread it is a direct call. Returns 0 without waiting
// once the program is quitting, so closing never hangs.
intptr_t SendMessage(WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Takes the next message of the calling thread's queue, if any (creates the
// queue on first use).
bool PeekMessage(MSG& msg, bool bRemove = true);

// Blocks until the calling thread's queue holds a message (or quitting).
void WaitMessage();
// The same with a time limit; true when a message is there.
bool WaitMessageFor(uint32_t nMs);

// Runs the messages other threads sent to the calling thread's windows; the
// peek does this too, and loops that wait for something else call it.
void ProcessSentMessages();

// Hands a message to its window's procedure.
intptr_t DispatchMessage(const MSG& msg);

// Puts WM_QUIT with the exit code into the calling thread's queue.
void PostQuitMessage(int nExitCode);

ThreadId GetCurrentThreadId();

// Set once closing has begun: every blocking wait lets go.
bool IsQuitting();
void SetQuitting(bool bQuitting);

// Waits that sleep instead of polling. A waiter takes a mark, looks at what
// it waits for, and sleeps from the mark: whatever came after the mark ends
// the sleep at once, so nothing that happens between the look and the
// sleep is missed. What ends a sleep: a message posted or sent to the
// calling thread, a notice, closing, or the due time.
struct WAITMARK {
  uint64_t nPosts = 0;
  uint64_t nNotices = 0;
};
WAITMARK GetWaitMark();
// A notice to every waiting thread: for a change that is no message (a
// thread ended, a request done, the application's activation).
void NotifyWaiters();
// Sleeps until the millisecond clock reaches dwDueTick, or until something
// came after the mark; true when woken before the due tick.
bool WaitFromMark(const WAITMARK& mark, uint32_t dwDueTick);
// The same for at most nMs milliseconds.
bool WaitFromMarkFor(const WAITMARK& mark, uint32_t nMs);
// Whether something came after the mark.
bool HasNewsSince(const WAITMARK& mark);
// Sleeps until the clock reaches dwDueTick; a message to this thread, a
// notice or closing end it early.
bool SleepUntilTick(uint32_t dwDueTick);

// For a thread that sleeps outside its queue (the window thread in the
// desktop's event wait): pfnWake runs after every post or send to the
// calling thread's queue, every notice and the start of closing, from the
// thread that caused it; it must only wake the sleeper.
void SetQueueWaker(void (*pfnWake)());

}  // namespace plat
