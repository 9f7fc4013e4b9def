// The report log, the switchable debug log and the error boxes. Every line
// opens its file, writes, and closes it again, so what was written survives a
// crash; no lock is taken.
#pragma once

#include <cstdint>
#include <string>

#include "platform/msg/messages.h"

void DebugLogInit(int bEnabled, const char* szPath);
int DebugLog(const char* szText);
int DebugLogText(const char* szText);
int DebugLogF(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
// Logs (when enabled) and then, enabled or not, asks the window to close.
void DebugLogFClose(plat::WndHandle hWnd, const char* szFormat, ...)
    __attribute__((format(printf, 2, 3)));
bool IsDebugLogEnabled();

int ReportInit(const char* szPath);
int ReportF(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
int ReportFDebug(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
int ReportFError(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
const std::string& GetReportPath();

int ShowMessageBox(const char* szText, const char* szCaption, uint32_t uType);
int ErrorBox(const char* szText);
// The text of the last error box (CP932), for the line that tells whoever
// started the program why it ended; empty when none was shown.
std::string GetLastErrorBoxText();
// Forgets it, so that a step can tell whether it showed a box of its own.
void ClearLastErrorBoxText();
int ErrorBoxF(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
int DebugErrorBoxF(const char* szFormat, ...) __attribute__((format(printf, 1, 2)));
void OutOfMemoryClose();

// A box over a full-screen device must be shown by the drawing library, which
// sits above the logs: it installs its box here once its device is ready, and
// from then on every box of a full-screen game goes through it. Windowed
// games, and every game before the device exists, get the desktop's box.
using SCREENBOXPROC = int (*)(const char* szText, const char* szCaption, uint32_t uType);
void SetFullScreenBoxProc(SCREENBOXPROC pfnBox);
