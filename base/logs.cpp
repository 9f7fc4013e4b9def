// The report log, the debug log and the error boxes.
#include "base/logs.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "base/exit_status.h"
#include "base/program_state.h"
#include "platform/fs/file_system.h"
#include "platform/ui/message_box.h"

namespace {

// Formatted boxes and the copying variants hold 1023 bytes of text.
constexpr size_t kBoxTextBytes = 1024;

struct cDebugLogState {
  std::string strPath;
  std::atomic<int> nEnabled{0};
  std::atomic<unsigned char> bWritten{0};
};

cDebugLogState& DebugState() {
  static cDebugLogState state;
  return state;
}

std::string& ReportPath() {
  static std::string strPath;
  return strPath;
}

std::atomic<SCREENBOXPROC> g_pfnScreenBox{nullptr};

std::string FormatBounded(const char* szFormat, va_list args) {
  char buf[kBoxTextBytes];
  std::vsnprintf(buf, sizeof buf, szFormat, args);
  return buf;
}

// Opens the debug log for one line: the first attempt of the run truncates
// it; once that attempt was made, a missing file is never created again.
std::FILE* OpenDebugLine() {
  cDebugLogState& st = DebugState();
  std::FILE* fp = nullptr;
  if (st.bWritten.load()) {
    fp = plat::fs::Open(st.strPath, "rt+");
    if (fp) std::fseek(fp, 0, SEEK_END);
  } else {
    fp = plat::fs::Open(st.strPath, "wt");
    st.bWritten = 1;
  }
  return fp;
}

int WriteDebugLine(const char* szText) {
  if (!DebugState().nEnabled.load()) return 0;
  std::FILE* fp = OpenDebugLine();
  if (!fp) return 0;
  std::fputs(szText, fp);
  std::fputc('\n', fp);
  return std::fclose(fp);
}

std::FILE* OpenReportLine() {
  if (ReportPath().empty()) return nullptr;
  std::FILE* fp = plat::fs::Open(ReportPath(), "rt+");
  if (fp) std::fseek(fp, 0, SEEK_END);
  return fp;
}

void PostCloseTo(plat::WndHandle hWnd) { plat::PostMessage(hWnd, plat::WM_CLOSE, 0, 0); }

}  // namespace

void DebugLogInit(int bEnabled, const char* szPath) {
  cDebugLogState& st = DebugState();
  st.strPath = szPath ? szPath : "";
  st.nEnabled = bEnabled;
  // A new path is a new log: its first line truncates it again.
  st.bWritten = 0;
}

bool IsDebugLogEnabled() { return DebugState().nEnabled.load() != 0; }

int DebugLog(const char* szText) { return WriteDebugLine(szText); }

int DebugLogText(const char* szText) { return WriteDebugLine(szText); }

int DebugLogF(const char* szFormat, ...) {
  if (!DebugState().nEnabled.load()) return 0;
  std::FILE* fp = OpenDebugLine();
  if (!fp) return 0;
  va_list args;
  va_start(args, szFormat);
  std::vfprintf(fp, szFormat, args);
  va_end(args);
  std::fputc('\n', fp);
  return std::fclose(fp);
}

void DebugLogFClose(plat::WndHandle hWnd, const char* szFormat, ...) {
  if (DebugState().nEnabled.load()) {
    if (std::FILE* fp = OpenDebugLine()) {
      va_list args;
      va_start(args, szFormat);
      std::vfprintf(fp, szFormat, args);
      va_end(args);
      std::fputc('\n', fp);
      std::fclose(fp);
    }
  }
  PostCloseTo(hWnd);
}

int ReportInit(const char* szPath) {
  std::FILE* fp = plat::fs::Open(szPath, "wt");
  if (!fp) return 0;
  std::fclose(fp);
  ReportPath() = szPath;
  return 1;
}

const std::string& GetReportPath() { return ReportPath(); }

int ReportF(const char* szFormat, ...) {
  std::FILE* fp = OpenReportLine();
  if (!fp) return 0;
  va_list args;
  va_start(args, szFormat);
  std::vfprintf(fp, szFormat, args);
  va_end(args);
  std::fputc('\n', fp);
  std::fclose(fp);
  return 1;
}

namespace {

// ReportFDebug and ReportFError: the finished text is written as it stands,
// never formatted a second time.
int ReportCopy(bool bBox, const char* szFormat, va_list args) {
  std::FILE* fp = OpenReportLine();
  if (!fp) return 0;
  std::string strText = FormatBounded(szFormat, args);
  std::fputs(strText.c_str(), fp);
  std::fputc('\n', fp);
  DebugLog(strText.c_str());
  if (bBox) ErrorBox(strText.c_str());
  std::fclose(fp);
  return 1;
}

}  // namespace

int ReportFDebug(const char* szFormat, ...) {
  va_list args;
  va_start(args, szFormat);
  int n = ReportCopy(false, szFormat, args);
  va_end(args);
  return n;
}

int ReportFError(const char* szFormat, ...) {
  va_list args;
  va_start(args, szFormat);
  int n = ReportCopy(true, szFormat, args);
  va_end(args);
  return n;
}

void SetFullScreenBoxProc(SCREENBOXPROC pfnBox) { g_pfnScreenBox = pfnBox; }

int ShowMessageBox(const char* szText, const char* szCaption, uint32_t uType) {
  SCREENBOXPROC pfnBox = g_pfnScreenBox.load();
  if (pfnBox && !bWindowed) return pfnBox(szText, szCaption, uType);
  return plat::MessageBox(nullptr, szText, szCaption, uType);
}

namespace {
std::mutex g_LastErrorLock;
std::string g_strLastError;
}  // namespace

int ErrorBox(const char* szText) {
  {
    std::lock_guard<std::mutex> lock(g_LastErrorLock);
    g_strLastError = szText;
  }
  return ShowMessageBox(szText, "エラー", plat::MB_OK);
}

std::string GetLastErrorBoxText() {
  std::lock_guard<std::mutex> lock(g_LastErrorLock);
  return g_strLastError;
}

void ClearLastErrorBoxText() {
  std::lock_guard<std::mutex> lock(g_LastErrorLock);
  g_strLastError.clear();
}

int ErrorBoxF(const char* szFormat, ...) {
  va_list args;
  va_start(args, szFormat);
  std::string strText = FormatBounded(szFormat, args);
  va_end(args);
  return ErrorBox(strText.c_str());
}

int DebugErrorBoxF(const char* szFormat, ...) {
  if (!IsDebugLogEnabled()) return 0;
  va_list args;
  va_start(args, szFormat);
  std::string strText = FormatBounded(szFormat, args);
  va_end(args);
  return ErrorBox(strText.c_str());
}

void OutOfMemoryClose() {
  const char* szText = "メモリが不足しています！";
  ErrorBox(szText);
  if (!HasRunFailed()) ReportRunFailure("out of memory", szText);
  PostFatalClose();
}
