// What the game side asks of the window thread: the request messages, their
// done and result flags, and the calls that send a request and wait for it.
// The window thread's procedure serves them; the game side knows only the
// window to send to (g_hMainWnd).
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/msg/messages.h"

constexpr uint32_t WM_NAMEDLG = plat::WM_USER + 1;    // name-entry dialog
constexpr uint32_t WM_OPENSTAGE = plat::WM_USER + 2;  // choose a stage file and play it
constexpr uint32_t WM_OPENREPLAY = plat::WM_USER + 3;
constexpr uint32_t WM_SAVEREPLAY = plat::WM_USER + 4;  // wParam 0 this stage, 1 the one before
constexpr uint32_t WM_PLAYSE = plat::WM_USER + 5;
constexpr uint32_t WM_PLAYBGM = plat::WM_USER + 6;
constexpr uint32_t WM_RESTOREDEVICE = plat::WM_USER + 100;

// Done and result flags of the requests: the window thread sets the result
// first, then done; the sender clears done before it sends.
extern std::atomic<int> bNameDlgDone;
extern std::atomic<int> bFileRequestDone;
extern std::atomic<int> bFileRequestResult;

// Send a request and wait for its done flag. RequestFile returns the result
// flag (1 a file was chosen and acted on, 0 cancelled); both give 0 when the
// program closes meanwhile.
int RequestNameDialog();
int RequestFile(uint32_t message, uintptr_t wParam);
// The replay chooser and the load of the chosen replay, on the window
// thread; 1 when a replay was chosen.
int RequestLoadReplay();

// Ask the window thread to play sound-table entry n, or database sound n
// (entry n + 16; 0 is no sound).
intptr_t PlaySE(int n);
intptr_t PlayDatabaseSE(int n);

// Database sounds follow the 17 built-in entries of the sound table.
constexpr int kDatabaseSoundBase = 16;
