// Message boxes as GTK dialogs on the window thread.
#include "platform/desktop/gtk_boxes.h"

#include <gtk/gtk.h>

#include <cstdlib>

#include "platform/clock/clock.h"
#include "platform/msg/window.h"
#include "platform/text/cp932.h"
#include "platform/ui/message_box.h"
#include "platform/window/event_pump.h"

namespace plat::desktop {

namespace {

constexpr uint32_t kRunBoxMessage = WM_APP + 0x100;

struct cBoxRequest {
  const std::string* pText;
  const std::string* pCaption;
  uint32_t uType;
};

uint32_t ButtonsOf(uint32_t type) { return type & 0xF; }

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
  // Escape or the close button destroys the box before the loop below sees
  // its answer; our own reference keeps it valid until we destroy it.
  g_object_ref(dlg);
  cGtkRun run;
  g_signal_connect(dlg, "response", G_CALLBACK(OnResponse), &run);
  gtk_widget_show_all(dlg);
  // Our own loop instead of a blocking GTK one: requests the game side
  // sends keep being served while the box is up. A close signal closes the
  // box as its close button would; the close request goes on to the main
  // window from there.
  while (!run.bDone && !IsCloseSignalPending()) {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    ProcessSentMessages();
    if (!run.bDone) SleepMs(5);
  }
  gtk_widget_destroy(dlg);
  g_object_unref(dlg);
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

void cGtkBoxes::Open() {
  if (m_hBoxWnd) return;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;
  if (!gtk_init_check(nullptr, nullptr)) return;
  m_WindowThread = GetCurrentThreadId();
  m_hBoxWnd = CreateWnd(BoxWndProc, nullptr);
}

void cGtkBoxes::Close() {
  if (m_hBoxWnd) DestroyWnd(m_hBoxWnd);
  m_hBoxWnd = nullptr;
}

int cGtkBoxes::Ask(const std::string& text, const std::string& caption, uint32_t type) {
  if (!m_hBoxWnd) return AnswerUnattended(text, caption, type);
  if (GetCurrentThreadId() == m_WindowThread) return RunGtkBox(text, caption, type);
  cBoxRequest req{&text, &caption, type};
  intptr_t n = SendMessage(m_hBoxWnd, kRunBoxMessage, 0, reinterpret_cast<intptr_t>(&req));
  // Released without an answer because the program is closing.
  return n != 0 ? static_cast<int>(n) : DefaultBoxAnswer(type);
}

}  // namespace plat::desktop
