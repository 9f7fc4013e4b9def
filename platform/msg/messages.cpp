// Per-thread message queues, window objects, cross-thread sends and the
// threads that own queues.
#include "platform/msg/messages.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/msg/threads.h"
#include "platform/msg/window.h"

namespace plat {

namespace {

struct cSentMsg {
  MSG msg;
  intptr_t nResult = 0;
  bool bDone = false;       // guarded by g_SendMutex
  bool bAbandoned = false;  // the sender stopped waiting (closing)
};

struct cQueue {
  std::mutex mtx;
  std::condition_variable cv;
  std::deque<MSG> posted;
  std::deque<std::shared_ptr<cSentMsg>> sent;
  uint64_t nPosts = 0;  // posts and sends ever made to it, guarded by mtx
  std::atomic<void (*)()> pfnWake{nullptr};
};

std::mutex g_RegMutex;
std::map<ThreadId, std::shared_ptr<cQueue>> g_Queues;
std::set<WndHandle> g_Windows;
// Window objects live until the program ends, so a stale handle never points
// at freed memory; the set above says which are windows.
std::vector<std::unique_ptr<cWnd>> g_AllWindows;

std::mutex g_SendMutex;
std::condition_variable g_SendCv;
std::atomic<bool> g_bQuitting{false};
std::atomic<ThreadId> g_nNextThreadId{1};
std::atomic<int> g_nAbandoned{0};
std::atomic<uint64_t> g_nNotices{0};

// Unregisters the thread's queue when the thread ends, so posts to an ended
// thread fail as they would for a thread without a queue.
struct cThreadSlot {
  ThreadId id = 0;
  std::shared_ptr<cQueue> queue;
  ~cThreadSlot() {
    if (queue) {
      std::lock_guard<std::mutex> lock(g_RegMutex);
      g_Queues.erase(id);
    }
  }
};

thread_local cThreadSlot t_Slot;

std::shared_ptr<cQueue> OwnQueue() {
  if (!t_Slot.queue) {
    auto q = std::make_shared<cQueue>();
    std::lock_guard<std::mutex> lock(g_RegMutex);
    g_Queues[GetCurrentThreadId()] = q;
    t_Slot.queue = q;
  }
  return t_Slot.queue;
}

std::shared_ptr<cQueue> QueueOf(ThreadId id) {
  std::lock_guard<std::mutex> lock(g_RegMutex);
  auto it = g_Queues.find(id);
  return it == g_Queues.end() ? nullptr : it->second;
}

void Wake(cQueue& q) {
  q.cv.notify_all();
  if (void (*pfnWake)() = q.pfnWake.load()) pfnWake();
}

bool Post(const std::shared_ptr<cQueue>& q, const MSG& msg) {
  if (!q) return false;
  {
    std::lock_guard<std::mutex> lock(q->mtx);
    q->posted.push_back(msg);
    ++q->nPosts;
  }
  Wake(*q);
  return true;
}

std::vector<std::shared_ptr<cQueue>> AllQueues() {
  std::vector<std::shared_ptr<cQueue>> queues;
  std::lock_guard<std::mutex> lock(g_RegMutex);
  for (auto& [id, q] : g_Queues) queues.push_back(q);
  return queues;
}

// Wakes every waiting thread to look again; taking each queue's lock
// orders the change before any waiter's next check.
void WakeAll() {
  for (auto& q : AllQueues()) {
    { std::lock_guard<std::mutex> lock(q->mtx); }
    Wake(*q);
  }
}

bool IsNews(const cQueue& q, const WAITMARK& mark) {
  return q.nPosts != mark.nPosts || g_nNotices.load() != mark.nNotices || g_bQuitting.load();
}

// The owner thread and procedure of a live window.
bool LookUpWindow(WndHandle hWnd, ThreadId& owner, WndProc& proc) {
  std::lock_guard<std::mutex> lock(g_RegMutex);
  if (!hWnd || !g_Windows.count(hWnd)) return false;
  owner = hWnd->owner;
  proc = hWnd->pfnProc;
  return true;
}

}  // namespace

ThreadId GetCurrentThreadId() {
  if (t_Slot.id == 0) t_Slot.id = g_nNextThreadId++;
  return t_Slot.id;
}

bool PostMessage(WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  ThreadId owner;
  WndProc proc;
  if (!LookUpWindow(hWnd, owner, proc)) return false;
  return Post(QueueOf(owner), MSG{hWnd, message, wParam, lParam});
}

bool PostThreadMessage(ThreadId thread, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return Post(QueueOf(thread), MSG{nullptr, message, wParam, lParam});
}

intptr_t SendMessage(WndHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  ThreadId owner;
  WndProc proc;
  if (!LookUpWindow(hWnd, owner, proc)) return 0;
  if (owner == GetCurrentThreadId()) return proc ? proc(hWnd, message, wParam, lParam) : 0;
  if (g_bQuitting.load()) return 0;
  std::shared_ptr<cQueue> q = QueueOf(owner);
  if (!q) return 0;
  auto rec = std::make_shared<cSentMsg>();
  rec->msg = MSG{hWnd, message, wParam, lParam};
  {
    std::lock_guard<std::mutex> lock(q->mtx);
    q->sent.push_back(rec);
    ++q->nPosts;
  }
  Wake(*q);
  std::unique_lock<std::mutex> lock(g_SendMutex);
  g_SendCv.wait(lock, [&] { return rec->bDone || g_bQuitting.load(); });
  if (rec->bDone) return rec->nResult;
  // Closing has begun: the window thread may be waiting for this thread to
  // end, so the send gives up instead of waiting for an answer.
  rec->bAbandoned = true;
  return 0;
}

void ProcessSentMessages() {
  std::shared_ptr<cQueue> q = OwnQueue();
  for (;;) {
    std::shared_ptr<cSentMsg> rec;
    {
      std::lock_guard<std::mutex> lock(q->mtx);
      if (q->sent.empty()) return;
      rec = q->sent.front();
      q->sent.pop_front();
    }
    {
      std::lock_guard<std::mutex> lock(g_SendMutex);
      if (rec->bAbandoned) continue;
    }
    intptr_t nResult = 0;
    ThreadId owner;
    WndProc proc;
    if (LookUpWindow(rec->msg.hWnd, owner, proc) && proc)
      nResult = proc(rec->msg.hWnd, rec->msg.message, rec->msg.wParam, rec->msg.lParam);
    {
      std::lock_guard<std::mutex> lock(g_SendMutex);
      rec->nResult = nResult;
      rec->bDone = true;
    }
    g_SendCv.notify_all();
  }
}

bool PeekMessage(MSG& msg, bool bRemove) {
  std::shared_ptr<cQueue> q = OwnQueue();
  ProcessSentMessages();
  std::lock_guard<std::mutex> lock(q->mtx);
  if (q->posted.empty()) return false;
  msg = q->posted.front();
  if (bRemove) q->posted.pop_front();
  return true;
}

void WaitMessage() {
  std::shared_ptr<cQueue> q = OwnQueue();
  std::unique_lock<std::mutex> lock(q->mtx);
  q->cv.wait(lock, [&] { return !q->posted.empty() || !q->sent.empty() || g_bQuitting.load(); });
}

bool WaitMessageFor(uint32_t nMs) {
  std::shared_ptr<cQueue> q = OwnQueue();
  std::unique_lock<std::mutex> lock(q->mtx);
  return q->cv.wait_for(lock, std::chrono::milliseconds(nMs), [&] {
    return !q->posted.empty() || !q->sent.empty() || g_bQuitting.load();
  });
}

intptr_t DispatchMessage(const MSG& msg) {
  ThreadId owner;
  WndProc proc;
  if (!LookUpWindow(msg.hWnd, owner, proc) || !proc) return 0;
  return proc(msg.hWnd, msg.message, msg.wParam, msg.lParam);
}

void PostQuitMessage(int nExitCode) {
  Post(OwnQueue(), MSG{nullptr, WM_QUIT, static_cast<uintptr_t>(nExitCode), 0});
}

bool IsQuitting() { return g_bQuitting.load(); }

void SetQuitting(bool bQuitting) {
  {
    std::lock_guard<std::mutex> lock(g_SendMutex);
    g_bQuitting = bQuitting;
  }
  g_SendCv.notify_all();
  WakeAll();
}

WAITMARK GetWaitMark() {
  std::shared_ptr<cQueue> q = OwnQueue();
  std::lock_guard<std::mutex> lock(q->mtx);
  return WAITMARK{q->nPosts, g_nNotices.load()};
}

void NotifyWaiters() {
  ++g_nNotices;
  WakeAll();
}

bool HasNewsSince(const WAITMARK& mark) {
  std::shared_ptr<cQueue> q = OwnQueue();
  std::lock_guard<std::mutex> lock(q->mtx);
  return IsNews(*q, mark);
}

bool WaitFromMarkFor(const WAITMARK& mark, uint32_t nMs) {
  std::shared_ptr<cQueue> q = OwnQueue();
  std::unique_lock<std::mutex> lock(q->mtx);
  return q->cv.wait_for(lock, std::chrono::milliseconds(nMs), [&] { return IsNews(*q, mark); });
}

bool WaitFromMark(const WAITMARK& mark, uint32_t dwDueTick) {
  const int32_t nLeft = static_cast<int32_t>(dwDueTick - GetTickMs());
  if (nLeft <= 0) return false;
  // The due tick begins at a whole millisecond of the monotonic clock that
  // GetTickMs reads; the sleep ends exactly there, not a tick late.
  const auto now = std::chrono::steady_clock::now();
  const auto sinceTick = now.time_since_epoch() % std::chrono::milliseconds(1);
  const auto due = now - sinceTick + std::chrono::milliseconds(nLeft);
  std::shared_ptr<cQueue> q = OwnQueue();
  std::unique_lock<std::mutex> lock(q->mtx);
  return q->cv.wait_until(lock, due, [&] { return IsNews(*q, mark); });
}

bool SleepUntilTick(uint32_t dwDueTick) { return WaitFromMark(GetWaitMark(), dwDueTick); }

void SetQueueWaker(void (*pfnWake)()) { OwnQueue()->pfnWake = pfnWake; }

WndHandle CreateWnd(WndProc pfnProc, void* pUser) {
  OwnQueue();
  auto wnd = std::make_unique<cWnd>();
  wnd->pfnProc = pfnProc;
  wnd->pUser = pUser;
  wnd->owner = GetCurrentThreadId();
  std::lock_guard<std::mutex> lock(g_RegMutex);
  WndHandle h = wnd.get();
  g_AllWindows.push_back(std::move(wnd));
  g_Windows.insert(h);
  return h;
}

bool DestroyWnd(WndHandle hWnd) {
  ThreadId owner;
  WndProc proc;
  if (!LookUpWindow(hWnd, owner, proc)) return false;
  if (proc) proc(hWnd, WM_DESTROY, 0, 0);
  std::lock_guard<std::mutex> lock(g_RegMutex);
  g_Windows.erase(hWnd);
  return true;
}

bool IsWindow(WndHandle hWnd) {
  std::lock_guard<std::mutex> lock(g_RegMutex);
  return hWnd && g_Windows.count(hWnd) != 0;
}

// Threads.

struct cThreadShared {
  std::atomic<bool> bEnded{false};
};

struct cThreadRecord {
  std::thread thread;
  std::shared_ptr<cThreadShared> shared;
};

cThreadRecord* StartThread(ThreadProc pfnProc, void* pArg, ThreadId& outId) {
  ThreadId id = g_nNextThreadId++;
  auto rec = std::make_unique<cThreadRecord>();
  rec->shared = std::make_shared<cThreadShared>();
  std::shared_ptr<cThreadShared> shared = rec->shared;
  try {
    rec->thread = std::thread([pfnProc, pArg, id, shared] {
      t_Slot.id = id;
      pfnProc(pArg);
      shared->bEnded = true;
      // Whoever joins this thread sleeps until it ends.
      NotifyWaiters();
    });
  } catch (const std::system_error&) {
    return nullptr;
  }
  outId = id;
  return rec.release();
}

bool HasThreadEnded(const cThreadRecord* pThread) {
  return !pThread || pThread->shared->bEnded.load();
}

void CloseThread(cThreadRecord* pThread) {
  if (!pThread) return;
  if (pThread->thread.joinable()) {
    if (pThread->shared->bEnded.load()) {
      pThread->thread.join();
    } else {
      pThread->thread.detach();
      ++g_nAbandoned;
    }
  }
  delete pThread;
}

int AbandonedThreadCount() { return g_nAbandoned.load(); }

}  // namespace plat
