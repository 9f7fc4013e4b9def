// Modal dialogs and choosers: our own loop around the back end's windows,
// and the unattended runs on in-memory windows.
#include "platform/ui/dialog_box.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>

#include "platform/backend/backend.h"
#include "platform/clock/clock.h"
#include "platform/fs/file_system.h"
#include "platform/text/cp932.h"
#include "platform/ui/memory_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/window/event_pump.h"

namespace plat {

namespace {

namespace stdfs = std::filesystem;

struct cRunningDialog {
  WndHandle hDlg = nullptr;
  cDialogWindow* pWindow = nullptr;
  bool bEnded = false;
  intptr_t nResult = 0;
};

// Window thread only: the dialogs running now, innermost last.
std::vector<cRunningDialog*> g_vRunning;
DIALOGKEYHOOK g_pfnKeyHook = nullptr;

struct cDialogScript {
  std::mutex mtx;
  std::deque<std::string> answers;
} g_Script;

std::optional<std::string> TakeScriptedAnswer() {
  std::lock_guard<std::mutex> lock(g_Script.mtx);
  if (g_Script.answers.empty()) return std::nullopt;
  std::string s = g_Script.answers.front();
  g_Script.answers.pop_front();
  return s;
}

cRunningDialog* FindRunning(WndHandle hDlg) {
  for (cRunningDialog* p : g_vRunning)
    if (p->hDlg == hDlg) return p;
  return nullptr;
}

bool IsInput(uint32_t message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         (message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK);
}

// One turn of a modal loop: the desktop's events and the program's
// messages. A close request for another window, or WM_QUIT, is held back
// and ends the modal run; RepostHeld gives it back afterwards.
class cProgramTurn : public cModalTurn {
 public:
  cProgramTurn(WndHandle hOwner, WndHandle hDlg) : m_hOwner(hOwner), m_hDlg(hDlg) {}

  bool Turn() override {
    if (m_hOwner) PumpWindowEvents(m_hOwner);
    MSG msg;
    while (PeekMessage(msg, true)) {
      const bool bQuit = msg.message == WM_QUIT;
      if (bQuit || (msg.message == WM_CLOSE && msg.hWnd != m_hDlg)) {
        m_vHeld.push_back(msg);
        return false;
      }
      // The windows under a modal dialog take no input meanwhile: a key
      // pressed on the game window (Escape closes it) is not acted on.
      if (IsInput(msg.message) && (!m_hDlg || msg.hWnd != m_hDlg)) continue;
      DispatchMessage(msg);
    }
    return !IsQuitting();
  }

  void RepostHeld() {
    for (const MSG& msg : m_vHeld) {
      if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
      else
        PostMessage(msg.hWnd, msg.message, msg.wParam, msg.lParam);
    }
    m_vHeld.clear();
  }

 private:
  WndHandle m_hOwner;
  WndHandle m_hDlg;
  std::vector<MSG> m_vHeld;
};

std::vector<std::string> Split(const std::string& s, char ch) {
  std::vector<std::string> out;
  size_t nPos = 0;
  for (;;) {
    size_t nEnd = s.find(ch, nPos);
    if (nEnd == std::string::npos) {
      out.push_back(s.substr(nPos));
      return out;
    }
    out.push_back(s.substr(nPos, nEnd - nPos));
    nPos = nEnd + 1;
  }
}

// Applies one scripted action; false when it names nothing the dialog has.
bool ApplyAction(WndHandle hDlg, cMemoryDialogWindow& window, const std::string& strAction) {
  if (strAction == "close") {
    SendMessage(hDlg, WM_CLOSE, 0, 0);
    return true;
  }
  const size_t nEq = strAction.find('=');
  const std::string strId = strAction.substr(0, nEq);
  char* pEnd = nullptr;
  const long nId = std::strtol(strId.c_str(), &pEnd, 10);
  if (strId.empty() || *pEnd != '\0' || nId <= 0 || nId > 0xFFFF) return false;
  if (nEq == std::string::npos) return window.Click(static_cast<uint16_t>(nId));
  std::string strText;
  if (!Utf8ToCp932(strAction.substr(nEq + 1), strText)) return false;
  return window.Type(static_cast<uint16_t>(nId), strText);
}

void RunUnattended(const DLGTEMPLATE& tpl, cMemoryDialogWindow& window, cRunningDialog& run,
                   cProgramTurn& turn) {
  std::optional<std::string> answer = TakeScriptedAnswer();
  bool bGoOn = turn.Turn();
  if (answer && !answer->empty()) {
    for (const std::string& strAction : Split(*answer, ',')) {
      if (run.bEnded || !bGoOn) break;
      if (!ApplyAction(run.hDlg, window, strAction))
        std::fprintf(stderr, "brimvale dialog %u: no such action \"%s\"\n", tpl.nId,
                     strAction.c_str());
      bGoOn = turn.Turn();
    }
  }
  // What Enter does when nobody is there: the default button.
  if (!run.bEnded && bGoOn && window.GetDefaultButton() != 0) {
    window.Click(window.GetDefaultButton());
    turn.Turn();
  }
  std::fprintf(stderr, "brimvale dialog %u -> %s (%s)\n", tpl.nId,
               run.bEnded ? std::to_string(run.nResult).c_str() : "closed",
               answer ? ("script \"" + *answer + "\"").c_str() : "default");
}

}  // namespace

intptr_t DialogBox(const DLGTEMPLATE& tpl, WndHandle hOwner, WndProc pfnProc, void* pUser) {
  WndHandle hDlg = CreateWnd(pfnProc, pUser);
  cDialogService* pService = GetBackend().pDialogs;
  std::unique_ptr<cDialogWindow> pWindow;
  if (pService->IsAttended()) pWindow = pService->CreateDialogWindow(tpl, hDlg);
  cMemoryDialogWindow* pMemory = nullptr;
  if (!pWindow) {
    auto p = std::make_unique<cMemoryDialogWindow>(tpl, hDlg);
    pMemory = p.get();
    pWindow = std::move(p);
  }
  cRunningDialog run;
  run.hDlg = hDlg;
  run.pWindow = pWindow.get();
  g_vRunning.push_back(&run);

  cProgramTurn turn(hOwner, hDlg);
  SendMessage(hDlg, WM_INITDIALOG, 0, 0);
  if (pMemory) {
    RunUnattended(tpl, *pMemory, run, turn);
  } else {
    if (!run.bEnded) pWindow->Show(true);
    while (!run.bEnded) {
      pService->Iterate();
      if (!turn.Turn()) break;
      if (!run.bEnded) SleepMs(2);
    }
  }
  // Ended from outside (a close request, the program quitting): as its
  // close box would end it.
  if (!run.bEnded) SendMessage(hDlg, WM_CLOSE, 0, 0);
  if (!run.bEnded) {
    run.bEnded = true;
    run.nResult = 0;
  }
  pWindow->Close();
  g_vRunning.erase(std::find(g_vRunning.begin(), g_vRunning.end(), &run));
  DestroyWnd(hDlg);
  turn.RepostHeld();
  return run.nResult;
}

bool EndDialogBox(WndHandle hDlg, intptr_t nResult) {
  cRunningDialog* p = FindRunning(hDlg);
  if (!p || p->bEnded) return false;
  p->bEnded = true;
  p->nResult = nResult;
  p->pWindow->Show(false);
  return true;
}

cDialogWindow* GetDialogWindow(WndHandle hDlg) {
  cRunningDialog* p = FindRunning(hDlg);
  return p ? p->pWindow : nullptr;
}

WndHandle GetActiveDialog() {
  for (auto it = g_vRunning.rbegin(); it != g_vRunning.rend(); ++it)
    if (!(*it)->bEnded) return (*it)->hDlg;
  return nullptr;
}

void SetDialogKeyHook(DIALOGKEYHOOK pfnHook) { g_pfnKeyHook = pfnHook; }

DIALOGKEYHOOK GetDialogKeyHook() { return g_pfnKeyHook; }

void CallDialogKeyHook(int nVk, bool bRelease, bool bRepeat, int nScanCode) {
  if (!g_pfnKeyHook || nVk <= 0 || nVk > 0xFF) return;
  uint32_t dwFlags = 1u | (static_cast<uint32_t>(nScanCode & 0xFF) << 16);
  if (bRelease || bRepeat) dwFlags |= 1u << 30;
  if (bRelease) dwFlags |= 1u << 31;
  g_pfnKeyHook(0, static_cast<uintptr_t>(nVk), static_cast<intptr_t>(dwFlags));
}

void SetCursorPosition(int x, int y) { GetBackend().pDialogs->MoveCursor(x, y); }

bool ToProgramPath(const std::string& strAbsoluteUtf8, std::string& strOut) {
  std::error_code ec;
  stdfs::path cur = stdfs::weakly_canonical(stdfs::current_path(ec), ec);
  stdfs::path path = stdfs::weakly_canonical(stdfs::path(strAbsoluteUtf8), ec);
  if (ec) path = stdfs::path(strAbsoluteUtf8).lexically_normal();
  std::string s = path.string();
  stdfs::path rel = path.lexically_relative(cur);
  if (!cur.empty() && !rel.empty() && *rel.begin() != ".." && rel != ".") s = rel.string();
  std::replace(s.begin(), s.end(), '/', '\\');
  return Utf8ToCp932(s, strOut);
}

bool ChooseFiles(const FILECHOOSERREQUEST& req, WndHandle hOwner,
                 std::vector<std::string>& vChosen) {
  vChosen.clear();
  cDialogService* pService = GetBackend().pDialogs;
  if (!pService->IsAttended()) {
    std::optional<std::string> answer = TakeScriptedAnswer();
    bool bChosen = answer && !answer->empty() && *answer != "cancel";
    std::vector<std::string> vPaths;
    if (bChosen) vPaths = req.bMultiple ? Split(*answer, '|') : std::vector<std::string>{*answer};
    for (const std::string& strAnswer : vPaths) {
      std::string strPath;
      bool bOk = Utf8ToCp932(strAnswer, strPath);
      if (bOk && !strPath.empty() && strPath[0] == '/') bOk = ToProgramPath(strAnswer, strPath);
      std::replace(strPath.begin(), strPath.end(), '/', '\\');
      // A person could only have chosen a file that is there.
      if (bOk && req.bMustExist && !fs::Exists(strPath)) bOk = false;
      if (!bOk) {
        bChosen = false;
        break;
      }
      vChosen.push_back(strPath);
    }
    if (!bChosen) vChosen.clear();
    std::fprintf(stderr, "brimvale chooser [%s] -> %s (%s)\n", Cp932ToUtf8(req.strTitle).c_str(),
                 bChosen ? answer->c_str() : "cancel", answer ? "script" : "default");
    return bChosen;
  }
  std::vector<std::string> vAbsolute;
  cProgramTurn turn(hOwner, nullptr);
  const bool bChosen = pService->RunFileChooser(req, vAbsolute, turn);
  turn.RepostHeld();
  if (!bChosen || vAbsolute.empty()) return false;
  for (const std::string& strAbs : vAbsolute) {
    std::string strPath;
    if (!ToProgramPath(strAbs, strPath)) {
      // The program spells file names in CP932: a name it cannot spell
      // could be neither opened nor written again.
      std::fprintf(stderr, "brimvale chooser: %s cannot be spelt in CP932\n", strAbs.c_str());
      std::string strText, strCaption;
      Utf8ToCp932(
          "このファイル名はゲームで扱えない文字を含んでいます。\n"
          "This file name holds characters the game cannot use.",
          strText);
      Utf8ToCp932("ファイル名", strCaption);
      MessageBox(hOwner, strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
      vChosen.clear();
      return false;
    }
    vChosen.push_back(strPath);
  }
  return true;
}

void SetScriptedDialogAnswers(const std::vector<std::string>& vAnswers) {
  std::lock_guard<std::mutex> lock(g_Script.mtx);
  g_Script.answers.assign(vAnswers.begin(), vAnswers.end());
}

void ReadDialogAnswersFromEnvironment() {
  const char* sz = std::getenv("BRIMVALE_DIALOG_ANSWERS");
  if (!sz) return;
  std::lock_guard<std::mutex> lock(g_Script.mtx);
  for (const std::string& s : Split(sz, ';')) g_Script.answers.push_back(s);
}

}  // namespace plat
