// Message boxes: GTK dialogs on the window thread, or scripted and default
// answers that are logged to stderr and never block.
#include "platform/ui/message_box.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "platform/clock/clock.h"
#include "platform/msg/window.h"
#include "platform/text/cp932.h"

namespace plat {

namespace {

constexpr uint32_t kRunBoxMessage = WM_APP + 0x100;

struct cBoxRequest {
  const std::string* pText;
  const std::string* pCaption;
  uint32_t uType;
};

struct cBoxState {
  std::mutex mtx;
  std::deque<int> answers;
  bool bGtk = false;
  ThreadId windowThread = 0;
  WndHandle hBoxWnd = nullptr;
} g_Box;

uint32_t ButtonsOf(uint32_t type) { return type & 0xF; }

bool HasButton(uint32_t type, int nId) {
  switch (ButtonsOf(type)) {
    case MB_OKCANCEL:
      return nId == IDOK || nId == IDCANCEL;
    case MB_YESNO:
      return nId == IDYES || nId == IDNO;
    default:
      return nId == IDOK;
  }
}

const char* AnswerName(int nId) {
  switch (nId) {
    case IDOK:
      return "ok";
    case IDCANCEL:
      return "cancel";
    case IDYES:
      return "yes";
    case IDNO:
      return "no";
    default:
      return "?";
  }
}

void ReadEnvironmentAnswers() {
  const char* sz = std::getenv("BRIMVALE_BOX_ANSWERS");
  if (!sz) return;
  std::string s = sz;
  size_t nPos = 0;
  while (nPos <= s.size()) {
    size_t nEnd = s.find(',', nPos);
    if (nEnd == std::string::npos) nEnd = s.size();
    std::string w = s.substr(nPos, nEnd - nPos);
    if (w == "ok")
      g_Box.answers.push_back(IDOK);
    else if (w == "cancel")
      g_Box.answers.push_back(IDCANCEL);
    else if (w == "yes")
      g_Box.answers.push_back(IDYES);
    else if (w == "no")
      g_Box.answers.push_back(IDNO);
    nPos = nEnd + 1;
  }
}

int AnswerUnattended(const std::string& text, const std::string& caption, uint32_t type) {
  int nAnswer = DefaultBoxAnswer(type);
  bool bScripted = false;
  {
    std::lock_guard<std::mutex> lock(g_Box.mtx);
    if (!g_Box.answers.empty()) {
      int n = g_Box.answers.front();
      g_Box.answers.pop_front();
      if (HasButton(type, n)) {
        nAnswer = n;
        bScripted = true;
      }
    }
  }
  std::fprintf(stderr, "brimvale box [%s] %s -> %s (%s)\n", Cp932ToUtf8(caption).c_str(),
               Cp932ToUtf8(text).c_str(), AnswerName(nAnswer), bScripted ? "script" : "default");
  return nAnswer;
}

struct cGtkRun {
  bool bDone = false;
  int nResponse = GTK_RESPONSE_DELETE_EVENT;
};

void OnResponse(GtkDialog*, gint nResponse, gpointer p) {
  auto* run = static_cast<cGtkRun*>(p);
  run->nResponse = nResponse;
  run->bDone = true;
}

int RunGtkBox(const std::string& text, const std::string& caption, uint32_t type) {
  GtkButtonsType buttons = GTK_BUTTONS_OK;
  if (ButtonsOf(type) == MB_YESNO) buttons = GTK_BUTTONS_YES_NO;
  if (ButtonsOf(type) == MB_OKCANCEL) buttons = GTK_BUTTONS_OK_CANCEL;
  GtkMessageType kind = GTK_MESSAGE_OTHER;
  switch (type & 0xF0) {
    case MB_ICONHAND:
      kind = GTK_MESSAGE_ERROR;
      break;
    case MB_ICONQUESTION:
      kind = GTK_MESSAGE_QUESTION;
      break;
    case MB_ICONEXCLAMATION:
      kind = GTK_MESSAGE_WARNING;
      break;
    case MB_ICONASTERISK:
      kind = GTK_MESSAGE_INFO;
      break;
    default:
      break;
  }
  std::string strText = Cp932ToUtf8(text);
  GtkWidget* dlg =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, kind, buttons, "%s", strText.c_str());
  gtk_window_set_title(GTK_WINDOW(dlg), Cp932ToUtf8(caption).c_str());
  gtk_window_set_keep_above(GTK_WINDOW(dlg), TRUE);
  cGtkRun run;
  g_signal_connect(dlg, "response", G_CALLBACK(OnResponse), &run);
  gtk_widget_show_all(dlg);
  // Our own loop instead of a blocking GTK one: requests the game side
  // sends keep being served while the box is up.
  while (!run.bDone) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    ProcessSentMessages();
    if (!run.bDone) SleepMs(5);
  }
  gtk_widget_destroy(dlg);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  switch (run.nResponse) {
    case GTK_RESPONSE_YES:
      return IDYES;
    case GTK_RESPONSE_NO:
      return IDNO;
    case GTK_RESPONSE_OK:
      return IDOK;
    case GTK_RESPONSE_CANCEL:
      return IDCANCEL;
    default:
      // Closed without a button: what Escape does on such a box.
      return ButtonsOf(type) == MB_OK ? IDOK : (ButtonsOf(type) == MB_YESNO ? IDNO : IDCANCEL);
  }
}

intptr_t BoxWndProc(WndHandle, uint32_t message, uintptr_t, intptr_t lParam) {
  if (message != kRunBoxMessage) return 0;
  auto* req = reinterpret_cast<const cBoxRequest*>(lParam);
  return RunGtkBox(*req->pText, *req->pCaption, req->uType);
}

}  // namespace

int DefaultBoxAnswer(uint32_t type) {
  switch (ButtonsOf(type)) {
    case MB_OKCANCEL:
      return IDCANCEL;
    case MB_YESNO:
      return IDNO;
    default:
      return IDOK;
  }
}

void SetScriptedBoxAnswers(const std::vector<int>& answers) {
  std::lock_guard<std::mutex> lock(g_Box.mtx);
  g_Box.answers.assign(answers.begin(), answers.end());
}

void InitMessageBoxes(bool bHeadless) {
  {
    std::lock_guard<std::mutex> lock(g_Box.mtx);
    ReadEnvironmentAnswers();
  }
  if (bHeadless) return;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;
  if (!gtk_init_check(nullptr, nullptr)) return;
  g_Box.windowThread = GetCurrentThreadId();
  g_Box.hBoxWnd = CreateWnd(BoxWndProc, nullptr);
  g_Box.bGtk = true;
}

void ShutdownMessageBoxes() {
  if (g_Box.hBoxWnd) DestroyWnd(g_Box.hBoxWnd);
  g_Box.hBoxWnd = nullptr;
  g_Box.bGtk = false;
}

int MessageBox(WndHandle, const std::string& text, const std::string& caption, uint32_t type) {
  if (!g_Box.bGtk) return AnswerUnattended(text, caption, type);
  if (GetCurrentThreadId() == g_Box.windowThread) return RunGtkBox(text, caption, type);
  cBoxRequest req{&text, &caption, type};
  intptr_t n = SendMessage(g_Box.hBoxWnd, kRunBoxMessage, 0, reinterpret_cast<intptr_t>(&req));
  // Released without an answer because the program is closing.
  return n != 0 ? static_cast<int>(n) : DefaultBoxAnswer(type);
}

}  // namespace plat
