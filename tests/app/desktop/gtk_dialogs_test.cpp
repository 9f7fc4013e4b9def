// The program's dialogs and file choosers as GTK windows on an X server of
// the tests' own, driven by synthetic key events while the program's own
// loop runs them: what the player's keys leave in the program's records and
// files.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/boot_data.h"
#include "app/dialog_templates.h"
#include "app/main_window.h"
#include "app/name_dialog.h"
#include "app/start_steps.h"
#include "app/window_list.h"
#include "base/file_dialogs.h"
#include "base/text_helpers.h"
#include "files/options.h"
#include "files/system_data.h"
#include "files/system_ini.h"
#include "platform/clock/clock.h"
#include "platform/fs/file_system.h"
#include "platform/msg/window.h"
#include "platform/ui/dialog_box.h"
#include "platform/ui/message_box.h"
#include "scenes/scene_manager.h"
#include "support/temp_folder.h"
#include "tests/app/desktop/x_server.h"

extern cXServer g_XServer;

namespace {

const char* U8(const char8_t* sz) { return reinterpret_cast<const char*>(sz); }

GtkWindow* ShownWindow(bool bChooser);

// Steps run one per tick of GTK's main context while the program's loop
// runs a dialog; a step returns false to be tried again at the next tick.
// Whatever is still open after the time limit is closed, so a broken step
// fails the test instead of hanging it.
class cDriver {
 public:
  using STEP = std::function<bool()>;
  cDriver& Then(STEP fn) {
    m_vSteps.push_back(std::move(fn));
    return *this;
  }
  void Start() {
    m_nDeadline = plat::GetTickMs() + 15000;
    m_nSource = g_timeout_add(30, Tick, this);
  }
  ~cDriver() {
    if (m_nSource) g_source_remove(m_nSource);
  }
  bool Finished() const { return m_nNext == m_vSteps.size(); }

 private:
  static gboolean Tick(gpointer p) {
    auto* self = static_cast<cDriver*>(p);
    if (static_cast<int32_t>(plat::GetTickMs() - self->m_nDeadline) > 0) {
      if (self->m_nNext < self->m_vSteps.size())
        ADD_FAILURE() << "step " << self->m_nNext << " never came about";
      else
        ADD_FAILURE() << "a window was still open after the last step";
      CloseEverything();
      self->m_nSource = 0;
      return G_SOURCE_REMOVE;
    }
    if (self->m_nNext < self->m_vSteps.size() && self->m_vSteps[self->m_nNext]()) ++self->m_nNext;
    // Kept watching after the last step: a window the steps should have
    // closed and did not is closed at the deadline all the same.
    if (self->m_nNext < self->m_vSteps.size() || ShownWindow(false) || ShownWindow(true))
      return G_SOURCE_CONTINUE;
    self->m_nSource = 0;
    return G_SOURCE_REMOVE;
  }
  static void CloseEverything() {
    GList* pAll = gtk_window_list_toplevels();
    for (GList* p = pAll; p; p = p->next)
      if (gtk_widget_get_visible(GTK_WIDGET(p->data))) {
        if (GTK_IS_DIALOG(p->data))
          gtk_dialog_response(GTK_DIALOG(p->data), GTK_RESPONSE_CANCEL);
        else
          gtk_window_close(GTK_WINDOW(p->data));
      }
    g_list_free(pAll);
  }
  std::vector<STEP> m_vSteps;
  size_t m_nNext = 0;
  guint m_nSource = 0;
  uint32_t m_nDeadline = 0;
};

// The shown window of one of the program's dialogs, or of a chooser.
GtkWindow* ShownWindow(bool bChooser) {
  GtkWindow* pFound = nullptr;
  GList* pAll = gtk_window_list_toplevels();
  for (GList* p = pAll; p; p = p->next) {
    GtkWidget* w = GTK_WIDGET(p->data);
    if (!gtk_widget_get_mapped(w)) continue;
    const bool bIsChooser = GTK_IS_FILE_CHOOSER_DIALOG(w);
    const bool bIsDialog =
        gtk_style_context_has_class(gtk_widget_get_style_context(w), "brimvale-dialog");
    if (bChooser ? bIsChooser : bIsDialog) pFound = GTK_WINDOW(w);
  }
  g_list_free(pAll);
  return pFound;
}

GtkWidget* Focus(GtkWindow* w) { return w ? gtk_window_get_focus(w) : nullptr; }

// A key pressed and let go on the focused control, as the X server sends it.
bool Key(bool bChooser, guint nKeyval, GdkModifierType mods = GdkModifierType(0)) {
  GtkWindow* w = ShownWindow(bChooser);
  if (!w) return false;
  GtkWidget* f = Focus(w);
  gtk_test_widget_send_key(f ? f : GTK_WIDGET(w), nKeyval, mods);
  // Handled before the next step looks.
  gdk_display_sync(gdk_display_get_default());
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  return true;
}

std::string ButtonLabel(GtkWidget* w) {
  return w && GTK_IS_BUTTON(w) && gtk_button_get_label(GTK_BUTTON(w))
             ? gtk_button_get_label(GTK_BUTTON(w))
             : std::string();
}

class GtkDialogs : public testing::Test {
 protected:
  void SetUp() override {
    if (!g_XServer.HasDisplay()) GTEST_SKIP() << g_XServer.Why();
    if (!GetBackendDialogsAttended()) GTEST_SKIP() << "GTK did not open on the X server";
    std::filesystem::create_directories(m_Dir / "user_data");
    plat::fs::ForgetListings();
    g_BootData = cBootData();
    SYSTEMINI = SYSTEMINIDATA{};
    m_hMain = plat::CreateWnd(MainWndProc, &g_MainWindow);
    g_MainWindow.m_hWnd = m_hMain;
  }
  void TearDown() override {
    if (m_hMain) plat::DestroyWnd(m_hMain);
    g_MainWindow.m_hWnd = nullptr;
    g_BootData = cBootData();
    SYSTEMINI = SYSTEMINIDATA{};
    TakeMessages();
  }
  static bool GetBackendDialogsAttended();
  std::vector<plat::MSG> TakeMessages() {
    std::vector<plat::MSG> out;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) out.push_back(msg);
    return out;
  }
  std::string BootFile() const { return m_Dir.Read("user_data/Boot.dat"); }

  cTempFolder m_Dir{true};
  plat::WndHandle m_hMain = nullptr;
};

}  // namespace

#include "platform/backend/backend.h"

namespace {

bool GtkDialogs::GetBackendDialogsAttended() { return plat::GetBackend().pDialogs->IsAttended(); }

TEST_F(GtkDialogs, TheStartDialogTakesThePlayersChoiceFromTheKeys) {
  SYSTEMINI.nDirect3D = 2;
  g_SystemData.m_strTitle = "テスト";
  std::string strTitle, strFirstFocus;
  cDriver drive;
  drive.Then([&] { return ShownWindow(false) != nullptr; })
      .Then([&] {
        strTitle = gtk_window_get_title(ShownWindow(false))
                       ? gtk_window_get_title(ShownWindow(false))
                       : "";
        strFirstFocus = ButtonLabel(Focus(ShownWindow(false)));
        return Key(false, GDK_KEY_Tab);  // to Cancel
      })
      .Then([] { return Key(false, GDK_KEY_Tab); })      // to the checked drawing mode
      .Then([] { return Key(false, GDK_KEY_Right); })    // DirectDraw, checked
      .Then([] { return Key(false, GDK_KEY_Tab); })      // the check box
      .Then([] { return Key(false, GDK_KEY_space); })    // ticked
      .Then([] { return Key(false, GDK_KEY_Return); });  // the default button: Start
  drive.Start();
  EXPECT_TRUE(RunStartDialogStep());
  EXPECT_TRUE(drive.Finished());
  EXPECT_EQ(strTitle, U8(u8"テスト"));
  EXPECT_EQ(strFirstFocus, U8(u8"ゲーム開始"));
  EXPECT_EQ(SYSTEMINI.nDirect3D, 0);
  EXPECT_EQ(BootFile(), std::string("\x0f\x03\0\0\x02\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0", 20));
  g_SystemData = cSystemData();
}

TEST_F(GtkDialogs, EscapeLeavesTheStartDialogOpenItsCloseRequestCancels) {
  SYSTEMINI.nDirect3D = 2;
  cDriver drive;
  drive.Then([&] { return ShownWindow(false) != nullptr; })
      .Then([] { return Key(false, GDK_KEY_Escape); })
      .Then([] {
        // Still there a tick later; then the window manager's close.
        GtkWindow* w = ShownWindow(false);
        if (w) gtk_window_close(w);
        return w != nullptr;
      });
  drive.Start();
  EXPECT_FALSE(RunStartDialogStep());
  EXPECT_TRUE(drive.Finished());
  EXPECT_EQ(BootFile(), "");
}

TEST_F(GtkDialogs, TheNameEntryTakesTypedTextUpToThreeCharacters) {
  g_SceneManager.m_nGameMode = 5;
  const std::string strOld = g_Option.m_strName;
  g_Option.m_strName = "aaa";
  std::string strSelected;
  auto Insert = [](const char* szUtf8) {
    GtkWindow* w = ShownWindow(false);
    GtkWidget* f = Focus(w);
    if (!f || !GTK_IS_ENTRY(f)) return false;
    // What an input method's committed text does.
    g_signal_emit_by_name(f, "insert-at-cursor", szUtf8);
    return true;
  };
  cDriver drive;
  drive.Then([&] { return ShownWindow(false) != nullptr; })
      .Then([&] {
        GtkWidget* f = Focus(ShownWindow(false));
        gint s = 0, e = 0;
        if (f && GTK_IS_ENTRY(f) && gtk_editable_get_selection_bounds(GTK_EDITABLE(f), &s, &e))
          strSelected = std::to_string(s) + "," + std::to_string(e);
        return Key(false, GDK_KEY_x);  // types over the whole name
      })
      .Then([&] { return Insert(U8(u8"😀")); })  // no Shift-JIS character: refused
      .Then([] { return Key(false, GDK_KEY_y); })
      .Then([&] { return Insert(U8(u8"あ")); })
      .Then([] { return Key(false, GDK_KEY_z); })  // a fourth character: refused
      .Then([] { return Key(false, GDK_KEY_Return); });
  drive.Start();
  cNameDlg* pDialog = new cNameDlg(IDD_NAME_DIALOG, &g_MainWindow, 1, &g_WindowList);
  EXPECT_EQ(pDialog->DoModal(0), 1);
  DeleteWindowObject(pDialog);
  EXPECT_TRUE(drive.Finished());
  EXPECT_EQ(strSelected, "0,3");
  EXPECT_EQ(g_Option.m_strName, "xyあ");
  g_Option.m_strName = strOld;
  g_SceneManager.m_nGameMode = 0;
}

TEST_F(GtkDialogs, ACloseRequestDuringTheNameEntryKeepsTheNameAndClosesAfterIt) {
  g_SceneManager.m_nGameMode = 5;
  const std::string strOld = g_Option.m_strName;
  g_Option.m_strName = "aaa";
  cDriver drive;
  drive.Then([&] { return ShownWindow(false) != nullptr; })
      .Then([] { return Key(false, GDK_KEY_q); })
      .Then([&] { return plat::PostMessage(m_hMain, plat::WM_CLOSE, 0, 0); });
  drive.Start();
  cNameDlg* pDialog = new cNameDlg(IDD_NAME_DIALOG, &g_MainWindow, 1, &g_WindowList);
  EXPECT_EQ(pDialog->DoModal(0), 0);
  DeleteWindowObject(pDialog);
  EXPECT_EQ(g_Option.m_strName, "aaa");
  std::vector<plat::MSG> msgs = TakeMessages();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].hWnd, m_hMain);
  EXPECT_EQ(msgs[0].message, plat::WM_CLOSE);
  g_Option.m_strName = strOld;
  g_SceneManager.m_nGameMode = 0;
}

constexpr char kStageFilter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";

TEST_F(GtkDialogs, TheStageChooserOpensWhatIsTypedIntoIt) {
  m_Dir.Write("data/stg4/a.stg4_783", "a");
  m_Dir.Write("data/stg4/c.txt", "c");
  std::string strFolder;
  bool bStageShown = false, bTextShown = true;
  cDriver drive;
  drive.Then([&] { return ShownWindow(true) != nullptr; }).Then([&] {
    GtkFileChooser* c = GTK_FILE_CHOOSER(ShownWindow(true));
    gchar* sz = gtk_file_chooser_get_current_folder(c);
    strFolder = sz ? sz : "";
    g_free(sz);
    GtkFileFilter* f = gtk_file_chooser_get_filter(c);
    GtkFileFilterInfo info{};
    info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
    info.display_name = "A.STG4_783";
    bStageShown = f && gtk_file_filter_filter(f, &info);
    info.display_name = "c.txt";
    bTextShown = f && gtk_file_filter_filter(f, &info);
    return Key(true, GDK_KEY_l, GDK_CONTROL_MASK);  // the location field
  });
  // The field takes the focus in a later turn of the chooser's own work;
  // keys sent before that land in the file list.
  drive.Then([] {
    GtkWidget* f = Focus(ShownWindow(true));
    return f && GTK_IS_ENTRY(f);
  });
  for (const char* p = "a.stg4_783"; *p; ++p) {
    const guint nKeyval = gdk_unicode_to_keyval(static_cast<guint32>(*p));
    drive.Then([nKeyval] { return Key(true, nKeyval); });
  }
  // The field completes names from a listing read in the background; Return
  // goes once the field holds just the typed name. When the list of
  // completions has come up meanwhile, the first Return only takes the
  // completion and puts the list away, as it does for a player: Return again.
  // The chooser closing ends the program's loop, so this step is never seen
  // to finish; the Returns it sent are counted instead.
  int nTicks = 0, nReturns = 0;
  drive.Then([&] {
    GtkWidget* f = Focus(ShownWindow(true));
    if (nTicks++ % 10 == 0 && f && GTK_IS_ENTRY(f) &&
        std::strcmp(gtk_entry_get_text(GTK_ENTRY(f)), "a.stg4_783") == 0 &&
        Key(true, GDK_KEY_Return))
      ++nReturns;
    return false;
  });
  drive.Start();
  char szPath[MAX_PATH];
  EXPECT_EQ(OpenFileDialog(m_hMain, szPath, MAX_PATH, "data\\stg4\\", "Load stage file",
                           kStageFilter, "stg4_*;rpl4_*", 0, nullptr),
            1);
  EXPECT_GE(nReturns, 1);
  EXPECT_STREQ(szPath, "data\\stg4\\a.stg4_783");
  EXPECT_EQ(std::filesystem::path(strFolder), std::filesystem::path(m_Dir / "data/stg4"));
  EXPECT_TRUE(bStageShown);
  EXPECT_FALSE(bTextShown);
}

TEST_F(GtkDialogs, ACancelledOrInterruptedChooserChoosesNothing) {
  m_Dir.Write("data/stg4/a.stg4_783", "a");
  char szPath[MAX_PATH];
  {
    cDriver drive;
    drive.Then([] { return ShownWindow(true) != nullptr; }).Then([] {
      return Key(true, GDK_KEY_Escape);
    });
    drive.Start();
    EXPECT_EQ(OpenFileDialog(m_hMain, szPath, MAX_PATH, "data\\stg4\\", "t", kStageFilter,
                             "stg4_*;rpl4_*", 0, nullptr),
              0);
    EXPECT_STREQ(szPath, "");
  }
  {
    cDriver drive;
    drive.Then([] { return ShownWindow(true) != nullptr; }).Then([&] {
      return plat::PostMessage(m_hMain, plat::WM_CLOSE, 0, 0);
    });
    drive.Start();
    EXPECT_EQ(OpenFileDialog(m_hMain, szPath, MAX_PATH, "data\\stg4\\", "t", kStageFilter,
                             "stg4_*;rpl4_*", 0, nullptr),
              0);
    std::vector<plat::MSG> msgs = TakeMessages();
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].message, plat::WM_CLOSE);
  }
}

TEST_F(GtkDialogs, TheSaveChooserOffersTheProposedNameAndAddsTheExtension) {
  std::filesystem::create_directories(m_Dir / "user_data/rpl4");
  plat::fs::ForgetListings();
  std::string strOffered;
  cDriver drive;
  drive.Then([] { return ShownWindow(true) != nullptr; }).Then([&] {
    gchar* sz = gtk_file_chooser_get_current_name(GTK_FILE_CHOOSER(ShownWindow(true)));
    strOffered = sz ? sz : "";
    g_free(sz);
    return Key(true, GDK_KEY_Return);
  });
  drive.Start();
  char szPath[MAX_PATH] = "stage01_00";
  EXPECT_EQ(SaveFileDialog(m_hMain, szPath, "user_data\\rpl4\\", "Save replay file",
                           "ReplayFile ( *.rpl4_783 )\0*.rpl4_783\0", "rpl4_783", 1),
            1);
  EXPECT_TRUE(drive.Finished());
  EXPECT_EQ(strOffered, "stage01_00");
  EXPECT_STREQ(szPath, "user_data\\rpl4\\stage01_00.rpl4_783");
}

// Escape closes a box by destroying its window; the box's loop still has to
// read its answer afterwards.
TEST_F(GtkDialogs, EscapeOnAMessageBoxGivesItsDefaultAnswer) {
  const struct {
    uint32_t uType;
    int nAnswer;
  } kCases[] = {{plat::MB_OK, plat::IDOK},
                {plat::MB_OKCANCEL | plat::MB_ICONQUESTION, plat::IDCANCEL},
                {plat::MB_YESNO | plat::MB_ICONEXCLAMATION, plat::IDNO}};
  for (const auto& c : kCases) {
    cDriver drive;
    drive.Then([] {
      GtkWidget* pBox = nullptr;
      GList* pAll = gtk_window_list_toplevels();
      for (GList* p = pAll; p; p = p->next)
        if (GTK_IS_MESSAGE_DIALOG(p->data) && gtk_widget_get_mapped(GTK_WIDGET(p->data)))
          pBox = GTK_WIDGET(p->data);
      g_list_free(pAll);
      if (!pBox) return false;
      // What Escape is bound to on a box; a synthetic key would outlive its
      // window when let go.
      g_signal_emit_by_name(pBox, "close");
      return true;
    });
    drive.Start();
    EXPECT_EQ(plat::MessageBox(m_hMain, "text", "caption", c.uType), c.nAnswer) << c.uType;
  }
}

}  // namespace
