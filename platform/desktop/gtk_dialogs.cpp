// Dialog templates as GTK windows, and GTK's file chooser.
#include "platform/desktop/gtk_dialogs.h"

#include <fnmatch.h>
#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include "platform/clock/clock.h"
#include "platform/desktop/sdl_presenter.h"
#include "platform/fs/file_system.h"
#include "platform/input/keyboard.h"
#include "platform/text/cp932.h"
#include "platform/ui/dialog_box.h"

namespace plat::desktop {

namespace {

// The command a dialog gets for Escape: the cancel command, which the
// program's dialogs leave alone.
constexpr uint16_t kCancelCommand = 2;
constexpr const char* kDialogCssClass = "brimvale-dialog";

// UTF-8 from a GTK control in CP932; a character CP932 cannot hold (only
// text the program itself put there can have one) becomes '?'.
std::string ToCp932(const char* szUtf8) {
  std::string out;
  if (Utf8ToCp932(szUtf8, out)) return out;
  out.clear();
  for (const char* p = szUtf8; *p; p = g_utf8_next_char(p)) {
    std::string one;
    if (Utf8ToCp932(std::string_view(p, static_cast<size_t>(g_utf8_next_char(p) - p)), one))
      out += one;
    else
      out += '?';
  }
  return out;
}

// Byte offset in the CP932 text of the first nChars characters.
int CharsToBytes(const char* szUtf8, int nChars) {
  const char* pEnd = g_utf8_offset_to_pointer(szUtf8, nChars);
  return static_cast<int>(ToCp932(std::string(szUtf8, pEnd).c_str()).size());
}

// Characters of the UTF-8 text before byte nBytes of its CP932 form.
int BytesToChars(const char* szUtf8, int nBytes) {
  const std::string strCp932 = ToCp932(szUtf8);
  if (nBytes < 0 || nBytes > static_cast<int>(strCp932.size()))
    nBytes = static_cast<int>(strCp932.size());
  const std::string strPrefix = Cp932ToUtf8(std::string_view(strCp932).substr(0, nBytes));
  return static_cast<int>(g_utf8_strlen(strPrefix.c_str(), -1));
}

std::string CssString(const std::string& s) {
  std::string out = "\"";
  for (char ch : s) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"";
}

void FlushEvents() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

// Keeps a dialog above the game window and modal over it, where both live
// on X11.
void KeepAboveGameWindow(GtkWidget* pWindow, unsigned long nGameXid) {
  gtk_window_set_keep_above(GTK_WINDOW(pWindow), TRUE);
#ifdef GDK_WINDOWING_X11
  GdkDisplay* pDisplay = gtk_widget_get_display(pWindow);
  if (nGameXid == 0 || !GDK_IS_X11_DISPLAY(pDisplay)) return;
  gtk_widget_realize(pWindow);
  GdkWindow* pGame = gdk_x11_window_foreign_new_for_display(pDisplay, nGameXid);
  if (pGame) {
    gdk_window_set_transient_for(gtk_widget_get_window(pWindow), pGame);
    g_object_unref(pGame);
  }
#else
  (void)nGameXid;
#endif
}

class cGtkDialogWindow : public cDialogWindow {
 public:
  cGtkDialogWindow(const DLGTEMPLATE& tpl, WndHandle hDlg, cSdlPresenter* pPresenter);
  ~cGtkDialogWindow() override { Close(); }

  bool HasItem(uint16_t nId) const override { return Find(nId) != nullptr; }
  void SetItemText(uint16_t nId, const std::string& strText) override;
  std::string GetItemText(uint16_t nId) override;
  void SetCheck(uint16_t nId, int nState) override;
  int GetCheck(uint16_t nId) override;
  void GetSelection(uint16_t nId, int& nStart, int& nEnd) override;
  void SetSelection(uint16_t nId, int nStart, int nEnd) override;
  void SetFocus(uint16_t nId) override;
  void EnableItem(uint16_t nId, bool bEnable) override;
  bool GetItemRect(uint16_t nId, int& x, int& y, int& cx, int& cy) override;
  void SetTitle(const std::string& strTitle) override;
  void Move(int x, int y) override;
  void GetPosition(int& x, int& y) override;
  void GetClientSize(int& cx, int& cy) override;
  void Show(bool bShow) override;
  void Enable(bool bEnable) override;
  bool IsComposing() override;
  void Close() override;

 private:
  struct cItem {
    cGtkDialogWindow* pOwner = nullptr;
    uint16_t nId = 0;
    eDlgItemKind kind = eDlgItemKind::Label;
    GtkWidget* pWidget = nullptr;
    GtkWidget* pNoneRadio = nullptr;  // checked when none of the group is
    std::string strPreedit;           // what an input method is composing
  };
  cItem* Find(uint16_t nId) const;
  void Build(const DLGTEMPLATE& tpl);
  void Send(uint16_t nId, uint16_t nCode);

  static gboolean OnKey(GtkWidget*, GdkEventKey* pEvent, gpointer p);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer p);
  static void OnClicked(GtkButton*, gpointer p);
  static void OnChanged(GtkEditable*, gpointer p);
  static gboolean OnFocusOut(GtkWidget*, GdkEvent*, gpointer p);
  static void OnInsertText(GtkEditable* pEditable, gchar* szText, gint nLength, gint*, gpointer p);
  static void OnPreedit(GtkEntry*, gchar* szPreedit, gpointer p);

  WndHandle m_hDlg;
  cSdlPresenter* m_pPresenter;
  bool m_bDialogMode = false;  // the game window stepped out of full screen for it
  GtkWidget* m_pWindow = nullptr;
  GtkWidget* m_pDefault = nullptr;
  GtkWidget* m_pFocus = nullptr;  // the control to have the keys once shown
  std::vector<std::unique_ptr<cItem>> m_vItems;
  std::vector<GtkWidget*> m_vNoneRadios;
  std::set<int> m_Pressed;
  int m_nClientWidth = 0;
  int m_nClientHeight = 0;
  int m_nSetting = 0;  // the program is changing a control: its signals are not the person's
};

cGtkDialogWindow::cGtkDialogWindow(const DLGTEMPLATE& tpl, WndHandle hDlg,
                                   cSdlPresenter* pPresenter)
    : m_hDlg(hDlg), m_pPresenter(pPresenter) {
  m_pWindow = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_type_hint(GTK_WINDOW(m_pWindow), GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_modal(GTK_WINDOW(m_pWindow), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(m_pWindow), FALSE);
  gtk_window_set_decorated(GTK_WINDOW(m_pWindow), tpl.bCaption ? TRUE : FALSE);
  // The templates have no system menu: closing is left to the window
  // manager's own keys, which ask the dialog as its close box would.
  gtk_window_set_deletable(GTK_WINDOW(m_pWindow), FALSE);
  gtk_window_set_position(GTK_WINDOW(m_pWindow), GTK_WIN_POS_NONE);
  gtk_style_context_add_class(gtk_widget_get_style_context(m_pWindow), kDialogCssClass);
  g_signal_connect(m_pWindow, "key-press-event", G_CALLBACK(OnKey), this);
  g_signal_connect(m_pWindow, "key-release-event", G_CALLBACK(OnKey), this);
  g_signal_connect(m_pWindow, "delete-event", G_CALLBACK(OnDelete), this);
  Build(tpl);
}

void cGtkDialogWindow::Build(const DLGTEMPLATE& tpl) {
  // The template's font, with the Japanese faces this desktop has after it.
  std::string strFamily = Cp932ToUtf8(tpl.strFace);
  std::string strCss =
      "window." + std::string(kDialogCssClass) + ", window." + kDialogCssClass +
      " * { font-family: " + CssString(strFamily) +
      ", \"IPAPGothic\", \"IPAGothic\", sans-serif; font-size: " + std::to_string(tpl.nPointSize) +
      "pt; }";
  // One style sheet per font the templates ask for, for the whole run.
  static std::set<std::string> s_Fonts;
  if (s_Fonts.insert(strCss).second) {
    GtkCssProvider* pCss = gtk_css_provider_new();
    gtk_css_provider_load_from_data(pCss, strCss.c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(pCss),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(pCss);
  }

  // Dialog units measured on the dialog's own font: a quarter of the
  // font's average letter width, an eighth of its height.
  PangoFontDescription* pDesc = pango_font_description_new();
  pango_font_description_set_family(pDesc, (strFamily + ",IPAPGothic,IPAGothic,Sans").c_str());
  pango_font_description_set_size(pDesc, tpl.nPointSize * PANGO_SCALE);
  PangoLayout* pLayout = gtk_widget_create_pango_layout(m_pWindow, nullptr);
  pango_layout_set_font_description(pLayout, pDesc);
  pango_layout_set_text(pLayout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
  int nTextWidth = 0, nTextHeight = 0;
  pango_layout_get_pixel_size(pLayout, &nTextWidth, &nTextHeight);
  g_object_unref(pLayout);
  pango_font_description_free(pDesc);
  const double dUnitX = std::max(1.0, (nTextWidth / 26.0 + 1.0) / 2.0) / 4.0;
  const double dUnitY = std::max(8, nTextHeight) / 8.0;
  auto X = [&](int n) { return static_cast<int>(std::lround(n * dUnitX)); };
  auto Y = [&](int n) { return static_cast<int>(std::lround(n * dUnitY)); };

  GtkWidget* pFixed = gtk_fixed_new();
  m_nClientWidth = X(tpl.cx);
  m_nClientHeight = Y(tpl.cy);
  gtk_widget_set_size_request(pFixed, m_nClientWidth, m_nClientHeight);
  gtk_container_add(GTK_CONTAINER(m_pWindow), pFixed);

  GSList* pGroup = nullptr;
  bool bNewGroup = true;
  GList* pChain = nullptr;
  GtkWidget* pFirstStop = nullptr;
  for (const DLGITEM& def : tpl.vItems) {
    auto item = std::make_unique<cItem>();
    item->pOwner = this;
    item->nId = def.nId;
    item->kind = def.kind;
    const std::string strText = Cp932ToUtf8(def.strText);
    if (def.bGroup) bNewGroup = true;
    GtkWidget* w = nullptr;
    switch (def.kind) {
      case eDlgItemKind::Picture:
        w = gtk_drawing_area_new();
        break;
      case eDlgItemKind::Label:
        w = gtk_label_new(strText.c_str());
        gtk_label_set_line_wrap(GTK_LABEL(w), TRUE);
        gtk_label_set_xalign(GTK_LABEL(w), 0.0f);
        gtk_label_set_yalign(GTK_LABEL(w), 0.0f);
        gtk_label_set_max_width_chars(GTK_LABEL(w), 1);
        break;
      case eDlgItemKind::GroupBox:
        w = gtk_frame_new(strText.c_str());
        break;
      case eDlgItemKind::PushButton:
      case eDlgItemKind::DefPushButton:
        w = gtk_button_new_with_label(strText.c_str());
        g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), item.get());
        if (def.kind == eDlgItemKind::DefPushButton) {
          gtk_widget_set_can_default(w, TRUE);
          m_pDefault = w;
        }
        break;
      case eDlgItemKind::RadioButton:
        if (bNewGroup || !pGroup) {
          GtkWidget* pNone = gtk_radio_button_new(nullptr);
          g_object_ref_sink(pNone);
          m_vNoneRadios.push_back(pNone);
          pGroup = gtk_radio_button_get_group(GTK_RADIO_BUTTON(pNone));
          bNewGroup = false;
        }
        w = gtk_radio_button_new_with_label(pGroup, strText.c_str());
        pGroup = gtk_radio_button_get_group(GTK_RADIO_BUTTON(w));
        item->pNoneRadio = m_vNoneRadios.back();
        // A new group starts with nothing checked, as the dialog shows it.
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(item->pNoneRadio), TRUE);
        g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), item.get());
        break;
      case eDlgItemKind::CheckBox:
        w = gtk_check_button_new_with_label(strText.c_str());
        g_signal_connect(w, "clicked", G_CALLBACK(OnClicked), item.get());
        break;
      case eDlgItemKind::Edit:
        w = gtk_entry_new();
        gtk_entry_set_has_frame(GTK_ENTRY(w), TRUE);
        gtk_entry_set_width_chars(GTK_ENTRY(w), 1);
        g_signal_connect(w, "insert-text", G_CALLBACK(OnInsertText), item.get());
        g_signal_connect(w, "changed", G_CALLBACK(OnChanged), item.get());
        g_signal_connect(w, "focus-out-event", G_CALLBACK(OnFocusOut), item.get());
        g_signal_connect(w, "preedit-changed", G_CALLBACK(OnPreedit), item.get());
        ++m_nSetting;
        gtk_entry_set_text(GTK_ENTRY(w), strText.c_str());
        --m_nSetting;
        break;
    }
    gtk_widget_set_size_request(w, X(def.cx), Y(def.cy));
    gtk_fixed_put(GTK_FIXED(pFixed), w, X(def.x), Y(def.y));
    if (def.bTabStop) {
      pChain = g_list_append(pChain, w);
      if (!pFirstStop) pFirstStop = w;
    } else if (def.kind != eDlgItemKind::Label && def.kind != eDlgItemKind::GroupBox) {
      gtk_widget_set_can_focus(w, FALSE);
    }
    item->pWidget = w;
    m_vItems.push_back(std::move(item));
  }
  // Tab visits the template's tab stops in its order.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(pFixed), pChain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(pChain);
  if (m_pDefault) gtk_window_set_default(GTK_WINDOW(m_pWindow), m_pDefault);
  m_pFocus = pFirstStop;
}

cGtkDialogWindow::cItem* cGtkDialogWindow::Find(uint16_t nId) const {
  for (const auto& p : m_vItems)
    if (p->nId == nId) return p.get();
  return nullptr;
}

void cGtkDialogWindow::Send(uint16_t nId, uint16_t nCode) {
  if (!m_pWindow) return;
  SendMessage(m_hDlg, WM_COMMAND, (static_cast<uintptr_t>(nCode) << 16) | nId, 0);
}

void cGtkDialogWindow::SetItemText(uint16_t nId, const std::string& strText) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow) return;
  const std::string s = Cp932ToUtf8(strText);
  ++m_nSetting;
  switch (p->kind) {
    case eDlgItemKind::Label:
      gtk_label_set_text(GTK_LABEL(p->pWidget), s.c_str());
      break;
    case eDlgItemKind::GroupBox:
      gtk_frame_set_label(GTK_FRAME(p->pWidget), s.c_str());
      break;
    case eDlgItemKind::PushButton:
    case eDlgItemKind::DefPushButton:
    case eDlgItemKind::RadioButton:
    case eDlgItemKind::CheckBox:
      gtk_button_set_label(GTK_BUTTON(p->pWidget), s.c_str());
      break;
    case eDlgItemKind::Edit:
      // A new text puts the caret at its start; the change is reported.
      gtk_entry_set_text(GTK_ENTRY(p->pWidget), s.c_str());
      gtk_editable_set_position(GTK_EDITABLE(p->pWidget), 0);
      break;
    case eDlgItemKind::Picture:
      break;
  }
  --m_nSetting;
}

std::string cGtkDialogWindow::GetItemText(uint16_t nId) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow) return std::string();
  switch (p->kind) {
    case eDlgItemKind::Label:
      return ToCp932(gtk_label_get_text(GTK_LABEL(p->pWidget)));
    case eDlgItemKind::GroupBox: {
      const char* sz = gtk_frame_get_label(GTK_FRAME(p->pWidget));
      return sz ? ToCp932(sz) : std::string();
    }
    case eDlgItemKind::PushButton:
    case eDlgItemKind::DefPushButton:
    case eDlgItemKind::RadioButton:
    case eDlgItemKind::CheckBox: {
      const char* sz = gtk_button_get_label(GTK_BUTTON(p->pWidget));
      return sz ? ToCp932(sz) : std::string();
    }
    case eDlgItemKind::Edit:
      return ToCp932(gtk_entry_get_text(GTK_ENTRY(p->pWidget)));
    case eDlgItemKind::Picture:
      break;
  }
  return std::string();
}

void cGtkDialogWindow::SetCheck(uint16_t nId, int nState) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow || !GTK_IS_TOGGLE_BUTTON(p->pWidget)) return;
  ++m_nSetting;
  if (nState != 0) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(p->pWidget), TRUE);
  } else if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(p->pWidget))) {
    // A radio group can show nothing checked: its hidden member takes the
    // check.
    if (p->pNoneRadio)
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(p->pNoneRadio), TRUE);
    else
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(p->pWidget), FALSE);
  }
  --m_nSetting;
}

int cGtkDialogWindow::GetCheck(uint16_t nId) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow || !GTK_IS_TOGGLE_BUTTON(p->pWidget)) return 0;
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(p->pWidget)) ? 1 : 0;
}

void cGtkDialogWindow::GetSelection(uint16_t nId, int& nStart, int& nEnd) {
  nStart = nEnd = 0;
  cItem* p = Find(nId);
  if (!p || !m_pWindow || p->kind != eDlgItemKind::Edit) return;
  gint nCharStart = 0, nCharEnd = 0;
  if (!gtk_editable_get_selection_bounds(GTK_EDITABLE(p->pWidget), &nCharStart, &nCharEnd))
    nCharStart = nCharEnd = gtk_editable_get_position(GTK_EDITABLE(p->pWidget));
  const char* szText = gtk_entry_get_text(GTK_ENTRY(p->pWidget));
  nStart = CharsToBytes(szText, nCharStart);
  nEnd = CharsToBytes(szText, nCharEnd);
}

void cGtkDialogWindow::SetSelection(uint16_t nId, int nStart, int nEnd) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow || p->kind != eDlgItemKind::Edit) return;
  const char* szText = gtk_entry_get_text(GTK_ENTRY(p->pWidget));
  ++m_nSetting;
  gtk_editable_select_region(GTK_EDITABLE(p->pWidget), BytesToChars(szText, nStart),
                             nEnd < 0 ? -1 : BytesToChars(szText, nEnd));
  --m_nSetting;
}

void cGtkDialogWindow::SetFocus(uint16_t nId) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow) return;
  m_pFocus = p->pWidget;
  if (gtk_widget_get_mapped(m_pWindow)) gtk_widget_grab_focus(p->pWidget);
}

void cGtkDialogWindow::EnableItem(uint16_t nId, bool bEnable) {
  cItem* p = Find(nId);
  if (p && m_pWindow) gtk_widget_set_sensitive(p->pWidget, bEnable ? TRUE : FALSE);
}

bool cGtkDialogWindow::GetItemRect(uint16_t nId, int& x, int& y, int& cx, int& cy) {
  cItem* p = Find(nId);
  if (!p || !m_pWindow) return false;
  GtkAllocation a;
  gtk_widget_get_allocation(p->pWidget, &a);
  int nLeft = 0, nTop = 0;
  GdkWindow* pGdk = gtk_widget_get_window(m_pWindow);
  if (pGdk) gdk_window_get_origin(pGdk, &nLeft, &nTop);
  x = nLeft + a.x;
  y = nTop + a.y;
  cx = a.width;
  cy = a.height;
  return true;
}

void cGtkDialogWindow::SetTitle(const std::string& strTitle) {
  if (m_pWindow) gtk_window_set_title(GTK_WINDOW(m_pWindow), Cp932ToUtf8(strTitle).c_str());
}

void cGtkDialogWindow::Move(int x, int y) {
  if (m_pWindow) gtk_window_move(GTK_WINDOW(m_pWindow), x, y);
}

void cGtkDialogWindow::GetPosition(int& x, int& y) {
  x = y = 0;
  if (m_pWindow) gtk_window_get_position(GTK_WINDOW(m_pWindow), &x, &y);
}

void cGtkDialogWindow::GetClientSize(int& cx, int& cy) {
  cx = m_nClientWidth;
  cy = m_nClientHeight;
}

void cGtkDialogWindow::Show(bool bShow) {
  if (!m_pWindow) return;
  if (!bShow) {
    gtk_widget_hide(m_pWindow);
    return;
  }
  if (m_pPresenter && !m_bDialogMode) {
    m_pPresenter->SetDialogMode(true);
    m_bDialogMode = true;
  }
  KeepAboveGameWindow(m_pWindow, m_pPresenter ? m_pPresenter->GetX11Window() : 0);
  gtk_widget_show_all(m_pWindow);
  // The keys go where the dialog put them, else to its first tab stop;
  // the containers on the way learn it too, so Tab goes on from there.
  if (m_pFocus) gtk_widget_grab_focus(m_pFocus);
  gtk_window_present(GTK_WINDOW(m_pWindow));
}

void cGtkDialogWindow::Enable(bool bEnable) {
  if (m_pWindow) gtk_widget_set_sensitive(m_pWindow, bEnable ? TRUE : FALSE);
}

bool cGtkDialogWindow::IsComposing() {
  for (const auto& p : m_vItems)
    if (!p->strPreedit.empty()) return true;
  return false;
}

void cGtkDialogWindow::Close() {
  if (!m_pWindow) return;
  GtkWidget* pWindow = m_pWindow;
  m_pWindow = nullptr;
  gtk_widget_destroy(pWindow);
  for (GtkWidget* w : m_vNoneRadios) g_object_unref(w);
  m_vNoneRadios.clear();
  FlushEvents();
  if (m_bDialogMode) m_pPresenter->SetDialogMode(false);
  m_bDialogMode = false;
  // Keys let go while the dialog had the keyboard never reached the game
  // window.
  ReleaseAllKeys();
}

gboolean cGtkDialogWindow::OnKey(GtkWidget*, GdkEventKey* pEvent, gpointer p) {
  auto* self = static_cast<cGtkDialogWindow*>(p);
  if (!self->m_pWindow) return TRUE;
  const bool bRelease = pEvent->type == GDK_KEY_RELEASE;
  const int nVk = VirtualKeyFromKeyval(pEvent->keyval);
  if (nVk != 0) {
    const bool bRepeat = !bRelease && self->m_Pressed.count(nVk) != 0;
    if (bRelease)
      self->m_Pressed.erase(nVk);
    else
      self->m_Pressed.insert(nVk);
    SetKeyDown(nVk, !bRelease);
    const int nScan = pEvent->hardware_keycode >= 8 ? pEvent->hardware_keycode - 8 : 0;
    CallDialogKeyHook(nVk, bRelease, bRepeat, nScan);
  }
  if (bRelease || !self->m_pWindow) return bRelease ? FALSE : TRUE;
  // What a dialog does with Escape and Enter of its own: Escape asks for
  // command 2; Enter presses the focused push button, else the default one,
  // unless an input method takes it to finish its text.
  switch (pEvent->keyval) {
    case GDK_KEY_Escape:
      self->Send(kCancelCommand, BN_CLICKED);
      return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: {
      if (self->IsComposing()) return FALSE;
      GtkWidget* pFocus = gtk_window_get_focus(GTK_WINDOW(self->m_pWindow));
      if (pFocus && GTK_IS_BUTTON(pFocus) && !GTK_IS_TOGGLE_BUTTON(pFocus)) return FALSE;
      if (self->m_pDefault && gtk_widget_is_sensitive(self->m_pDefault))
        gtk_button_clicked(GTK_BUTTON(self->m_pDefault));
      return TRUE;
    }
    case GDK_KEY_Left:
    case GDK_KEY_Right:
    case GDK_KEY_Up:
    case GDK_KEY_Down: {
      // Arrows move among a group's radio buttons and check the one they
      // reach: the choice follows the keys, not only the focus.
      GtkWidget* pFocus = gtk_window_get_focus(GTK_WINDOW(self->m_pWindow));
      if (!pFocus || !GTK_IS_RADIO_BUTTON(pFocus)) return FALSE;
      const GtkDirectionType dir = pEvent->keyval == GDK_KEY_Left    ? GTK_DIR_LEFT
                                   : pEvent->keyval == GDK_KEY_Right ? GTK_DIR_RIGHT
                                   : pEvent->keyval == GDK_KEY_Up    ? GTK_DIR_UP
                                                                     : GTK_DIR_DOWN;
      gtk_widget_child_focus(self->m_pWindow, dir);
      GtkWidget* pNew =
          self->m_pWindow ? gtk_window_get_focus(GTK_WINDOW(self->m_pWindow)) : nullptr;
      if (pNew && pNew != pFocus && GTK_IS_RADIO_BUTTON(pNew) &&
          !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(pNew)))
        gtk_button_clicked(GTK_BUTTON(pNew));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

gboolean cGtkDialogWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer p) {
  auto* self = static_cast<cGtkDialogWindow*>(p);
  if (self->m_pWindow) SendMessage(self->m_hDlg, WM_CLOSE, 0, 0);
  return TRUE;  // the dialog decides; its run closes the window
}

void cGtkDialogWindow::OnClicked(GtkButton*, gpointer p) {
  auto* item = static_cast<cItem*>(p);
  if (item->pOwner->m_nSetting > 0) return;
  // A radio button reports only becoming checked, as a click on it does.
  if (item->kind == eDlgItemKind::RadioButton &&
      !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(item->pWidget)))
    return;
  item->pOwner->Send(item->nId, BN_CLICKED);
}

void cGtkDialogWindow::OnChanged(GtkEditable*, gpointer p) {
  auto* item = static_cast<cItem*>(p);
  item->pOwner->Send(item->nId, EN_UPDATE);
}

gboolean cGtkDialogWindow::OnFocusOut(GtkWidget*, GdkEvent*, gpointer p) {
  auto* item = static_cast<cItem*>(p);
  item->pOwner->Send(item->nId, EN_KILLFOCUS);
  return FALSE;
}

void cGtkDialogWindow::OnInsertText(GtkEditable* pEditable, gchar* szText, gint nLength, gint*,
                                    gpointer p) {
  auto* item = static_cast<cItem*>(p);
  if (item->pOwner->m_nSetting > 0) return;
  // Typed text must be CP932 text: anything else is refused whole.
  std::string strOut;
  const size_t nBytes = nLength < 0 ? std::strlen(szText) : static_cast<size_t>(nLength);
  if (!Utf8ToCp932(std::string_view(szText, nBytes), strOut)) {
    g_signal_stop_emission_by_name(pEditable, "insert-text");
    gtk_widget_error_bell(GTK_WIDGET(pEditable));
  }
}

void cGtkDialogWindow::OnPreedit(GtkEntry*, gchar* szPreedit, gpointer p) {
  static_cast<cItem*>(p)->strPreedit = szPreedit ? szPreedit : "";
}

// ---- File choosers ----

struct cFilterPatterns {
  std::vector<std::string> vPatterns;
};

gboolean MatchFilter(const GtkFileFilterInfo* pInfo, gpointer p) {
  if (!pInfo->display_name) return FALSE;
  for (const std::string& s : static_cast<cFilterPatterns*>(p)->vPatterns)
    if (fnmatch(s.c_str(), pInfo->display_name, FNM_CASEFOLD) == 0) return TRUE;
  return FALSE;
}

void FreeFilter(gpointer p) { delete static_cast<cFilterPatterns*>(p); }

struct cChooserRun {
  bool bDone = false;
  int nResponse = GTK_RESPONSE_CANCEL;
};

void OnChooserResponse(GtkDialog*, gint nResponse, gpointer p) {
  auto* run = static_cast<cChooserRun*>(p);
  run->nResponse = nResponse;
  run->bDone = true;
}

std::string AbsoluteFolder(const std::string& strFolder) {
  std::string strPath = fs::Resolve(strFolder);
  std::error_code ec;
  std::filesystem::path abs = std::filesystem::absolute(strPath, ec);
  return ec ? strPath : abs.lexically_normal().string();
}

}  // namespace

void cGtkDialogs::Open() {
  if (m_bOpen) return;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;
  if (!gtk_init_check(nullptr, nullptr)) return;
  m_bOpen = true;
}

void cGtkDialogs::Close() {
  if (m_bOpen) FlushEvents();
  m_bOpen = false;
}

std::unique_ptr<cDialogWindow> cGtkDialogs::CreateDialogWindow(const DLGTEMPLATE& tpl,
                                                               WndHandle hDlg) {
  if (!m_bOpen) return nullptr;
  return std::make_unique<cGtkDialogWindow>(tpl, hDlg, m_pPresenter);
}

void cGtkDialogs::Iterate() {
  if (m_bOpen) FlushEvents();
}

void cGtkDialogs::MoveCursor(int x, int y) {
  if (!m_bOpen) return;
  GdkDisplay* pDisplay = gdk_display_get_default();
  GdkSeat* pSeat = pDisplay ? gdk_display_get_default_seat(pDisplay) : nullptr;
  GdkDevice* pPointer = pSeat ? gdk_seat_get_pointer(pSeat) : nullptr;
  if (pPointer) gdk_device_warp(pPointer, gdk_display_get_default_screen(pDisplay), x, y);
}

bool cGtkDialogs::RunFileChooser(const FILECHOOSERREQUEST& req, std::vector<std::string>& vChosen,
                                 cModalTurn& turn) {
  vChosen.clear();
  if (!m_bOpen) return false;
  const GtkFileChooserAction action =
      req.bSave ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
  GtkWidget* pDialog = gtk_file_chooser_dialog_new(
      Cp932ToUtf8(req.strTitle).c_str(), nullptr, action, g_dgettext("gtk30", "_Cancel"),
      GTK_RESPONSE_CANCEL, req.bSave ? g_dgettext("gtk30", "_Save") : g_dgettext("gtk30", "_Open"),
      GTK_RESPONSE_ACCEPT, nullptr);
  // Escape destroys the chooser before the loop below sees its answer; our
  // own reference keeps it valid until we destroy it.
  g_object_ref(pDialog);
  GtkFileChooser* pChooser = GTK_FILE_CHOOSER(pDialog);
  gtk_dialog_set_default_response(GTK_DIALOG(pDialog), GTK_RESPONSE_ACCEPT);
  gtk_file_chooser_set_local_only(pChooser, TRUE);
  gtk_file_chooser_set_select_multiple(pChooser, req.bMultiple ? TRUE : FALSE);
  gtk_file_chooser_set_do_overwrite_confirmation(pChooser, req.bOverwritePrompt ? TRUE : FALSE);
  for (const auto& [strName, strPatterns] : req.vFilters) {
    auto* pPatterns = new cFilterPatterns;
    size_t nPos = 0;
    while (nPos <= strPatterns.size()) {
      size_t nEnd = strPatterns.find(';', nPos);
      if (nEnd == std::string::npos) nEnd = strPatterns.size();
      std::string s = Cp932ToUtf8(strPatterns.substr(nPos, nEnd - nPos));
      if (!s.empty()) pPatterns->vPatterns.push_back(s);
      nPos = nEnd + 1;
    }
    GtkFileFilter* pFilter = gtk_file_filter_new();
    gtk_file_filter_set_name(pFilter, Cp932ToUtf8(strName).c_str());
    gtk_file_filter_add_custom(pFilter, GTK_FILE_FILTER_DISPLAY_NAME, MatchFilter, pPatterns,
                               FreeFilter);
    gtk_file_chooser_add_filter(pChooser, pFilter);
  }
  if (!req.strInitialFolder.empty())
    gtk_file_chooser_set_current_folder(pChooser, AbsoluteFolder(req.strInitialFolder).c_str());
  if (req.bSave && !req.strInitialName.empty())
    gtk_file_chooser_set_current_name(pChooser, Cp932ToUtf8(req.strInitialName).c_str());

  cChooserRun run;
  g_signal_connect(pDialog, "response", G_CALLBACK(OnChooserResponse), &run);
  if (m_pPresenter) m_pPresenter->SetDialogMode(true);
  KeepAboveGameWindow(pDialog, m_pPresenter ? m_pPresenter->GetX11Window() : 0);
  gtk_widget_show_all(pDialog);
  gtk_window_present(GTK_WINDOW(pDialog));
  while (!run.bDone) {
    FlushEvents();
    if (run.bDone) break;
    if (!turn.Turn()) break;  // a close request: as a cancel
    SleepMs(2);
  }
  if (run.bDone && run.nResponse == GTK_RESPONSE_ACCEPT) {
    GSList* pFiles = gtk_file_chooser_get_filenames(pChooser);
    for (GSList* p = pFiles; p; p = p->next) {
      gchar* szUtf8 =
          g_filename_to_utf8(static_cast<const char*>(p->data), -1, nullptr, nullptr, nullptr);
      if (szUtf8) {
        std::string s = szUtf8;
        // A saved name typed without an extension gets the default one.
        const std::string strBase = std::filesystem::path(s).filename().string();
        if (req.bSave && !req.strDefaultExt.empty() &&
            req.strDefaultExt.find_first_of("*?;") == std::string::npos &&
            strBase.find('.') == std::string::npos)
          s += "." + Cp932ToUtf8(req.strDefaultExt);
        vChosen.push_back(s);
      }
      g_free(szUtf8);
      g_free(p->data);
    }
    g_slist_free(pFiles);
  }
  gtk_widget_destroy(pDialog);
  g_object_unref(pDialog);
  FlushEvents();
  if (m_pPresenter) m_pPresenter->SetDialogMode(false);
  ReleaseAllKeys();
  return !vChosen.empty();
}

int VirtualKeyFromKeyval(unsigned int nKeyval) {
  if (nKeyval >= GDK_KEY_a && nKeyval <= GDK_KEY_z)
    return 'A' + static_cast<int>(nKeyval - GDK_KEY_a);
  if (nKeyval >= GDK_KEY_A && nKeyval <= GDK_KEY_Z)
    return 'A' + static_cast<int>(nKeyval - GDK_KEY_A);
  if (nKeyval >= GDK_KEY_0 && nKeyval <= GDK_KEY_9)
    return '0' + static_cast<int>(nKeyval - GDK_KEY_0);
  if (nKeyval >= GDK_KEY_F1 && nKeyval <= GDK_KEY_F12)
    return VK_F1 + static_cast<int>(nKeyval - GDK_KEY_F1);
  if (nKeyval >= GDK_KEY_KP_0 && nKeyval <= GDK_KEY_KP_9)
    return VK_NUMPAD0 + static_cast<int>(nKeyval - GDK_KEY_KP_0);
  switch (nKeyval) {
    case GDK_KEY_BackSpace:
      return VK_BACK;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
      return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      return VK_RETURN;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
      return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
      return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
      return VK_MENU;
    case GDK_KEY_Escape:
      return VK_ESCAPE;
    case GDK_KEY_space:
    case GDK_KEY_KP_Space:
      return VK_SPACE;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
      return VK_PRIOR;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
      return VK_NEXT;
    case GDK_KEY_End:
    case GDK_KEY_KP_End:
      return VK_END;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home:
      return VK_HOME;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
      return VK_LEFT;
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
      return VK_UP;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
      return VK_RIGHT;
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
      return VK_DOWN;
    case GDK_KEY_Insert:
    case GDK_KEY_KP_Insert:
      return VK_INSERT;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
      return VK_DELETE;
    default:
      return 0;
  }
}

}  // namespace plat::desktop
