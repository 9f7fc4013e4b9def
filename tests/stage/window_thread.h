// The main window, served on a thread of its own as in the program: the
// requests of a nested loop (sounds, the close, the name box) come from its
// thread while the play's thread waits for the loop. The name box answers
// at once with the name a test set, as the player's OK would.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/window_requests.h"
#include "platform/clock/clock.h"
#include "platform/msg/window.h"
#include "stage/play_scene.h"

// The main window, served on a thread of its own: the loop's requests
// (sounds, the close) come from the pause thread while the play's thread
// waits for the loop.
class cWindowThread {
 public:
  cWindowThread() {
    Sounds().clear();
    Closes() = 0;
    NameAnswer().clear();
    NameBoxes() = 0;
    m_Thread = std::thread([this] {
      m_hWnd = plat::CreateWnd(&Proc, nullptr);
      m_bReady = true;
      while (!m_bStop) {
        plat::MSG msg;
        while (plat::PeekMessage(msg, true)) plat::DispatchMessage(msg);
        plat::SleepMs(1);
      }
      plat::DestroyWnd(m_hWnd);
    });
    while (!m_bReady) plat::SleepMs(1);
  }
  ~cWindowThread() {
    m_bStop = true;
    m_Thread.join();
  }
  plat::WndHandle Handle() const { return m_hWnd; }
  // Returns once the window's thread has taken every message posted to it
  // before (posts are taken in their order).
  void Settle() {
    const int nMark = ++Marks();
    plat::PostMessage(m_hWnd, kSettleMessage, static_cast<uintptr_t>(nMark), 0);
    for (int i = 0; i < 10000 && Settled().load() < nMark; ++i) plat::SleepMs(1);
  }
  static std::vector<int> TakeSounds() {
    std::lock_guard<std::mutex> lock(Mutex());
    std::vector<int> v;
    v.swap(Sounds());
    return v;
  }
  static std::atomic<int>& Closes() {
    static std::atomic<int> n{0};
    return n;
  }
  // The name the next name boxes enter ("" closes them, keeping the name),
  // and how many were opened.
  static std::string& NameAnswer() {
    static std::string str;
    return str;
  }
  static int& NameBoxes() {
    static int n = 0;
    return n;
  }

 private:
  static std::mutex& Mutex() {
    static std::mutex m;
    return m;
  }
  static constexpr uint32_t kSettleMessage = plat::WM_APP + 0x100;
  static std::atomic<int>& Marks() {
    static std::atomic<int> n{0};
    return n;
  }
  static std::atomic<int>& Settled() {
    static std::atomic<int> n{0};
    return n;
  }
  static std::vector<int>& Sounds() {
    static std::vector<int> v;
    return v;
  }
  static intptr_t Proc(plat::WndHandle, uint32_t message, uintptr_t wParam, intptr_t) {
    if (message == WM_PLAYSE) {
      std::lock_guard<std::mutex> lock(Mutex());
      Sounds().push_back(static_cast<int>(wParam));
    }
    if (message == plat::WM_CLOSE) ++Closes();
    if (message == kSettleMessage) Settled() = static_cast<int>(wParam);
    if (message == WM_NAMEDLG) {
      std::lock_guard<std::mutex> lock(Mutex());
      ++NameBoxes();
      if (g_PlayScene && !NameAnswer().empty()) g_PlayScene->m_strRankName = NameAnswer();
      bNameDlgDone = 1;
    }
    return 0;
  }

  std::thread m_Thread;
  std::atomic<plat::WndHandle> m_hWnd{nullptr};
  std::atomic<bool> m_bReady{false};
  std::atomic<bool> m_bStop{false};
};
