// Modal dialogs and file choosers on the window thread, through the
// installed back end's dialog service. A dialog shown to a person runs in
// our own loop: the back end's events, the desktop's events (so the game
// window keeps being served) and the program's messages, until the dialog
// ends. A close request or WM_QUIT that arrives meanwhile ends the dialog
// as its close box would and is posted again once the dialog is gone, so
// the program closes after it instead of under it.
//
// Where nobody can be asked (headless, or no display), a dialog runs on an
// in-memory window: after WM_INITDIALOG it takes the next scripted answer,
// then presses its default button; a chooser takes the next scripted answer
// as its path, or is cancelled. Nothing waits. Answers come from
// SetScriptedDialogAnswers and from the environment's BRIMVALE_DIALOG_ANSWERS
// (entries separated by ';', read at start).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/msg/window.h"
#include "platform/ui/dialog_service.h"

namespace plat {

// Runs a dialog made from the template, modal over hOwner: makes its window
// object (procedure and user data as CreateWnd takes them), sends it
// WM_INITDIALOG once the controls exist, shows it and serves every message
// until EndDialogBox; then sends WM_DESTROY and returns the end result.
intptr_t DialogBox(const DLGTEMPLATE& tpl, WndHandle hOwner, WndProc pfnProc, void* pUser);
// False when hDlg is no running dialog.
bool EndDialogBox(WndHandle hDlg, intptr_t nResult);

// The running dialog's window, or null.
cDialogWindow* GetDialogWindow(WndHandle hDlg);
// The innermost running dialog, which has the keyboard; null when none runs.
WndHandle GetActiveDialog();

// The program's key hook over dialogs: it sees every key a dialog window
// receives before the dialog's controls act on it, and cannot swallow it.
// nCode 0; wParam the virtual key; lParam the key flags (bits 0-15 repeat
// count, 16-23 scan code, 30 the previous state, 31 set on a release).
using DIALOGKEYHOOK = intptr_t (*)(int nCode, uintptr_t wParam, intptr_t lParam);
// One hook per program: null removes it.
void SetDialogKeyHook(DIALOGKEYHOOK pfnHook);
DIALOGKEYHOOK GetDialogKeyHook();
// Back ends: a key of a dialog window.
void CallDialogKeyHook(int nVk, bool bRelease, bool bRepeat, int nScanCode);

// The mouse pointer to a desktop position (nothing without a desktop).
void SetCursorPosition(int x, int y);

// A file chooser, modal over hOwner. The chosen paths in the program's form
// (CP932, Windows separators; relative to the project folder when inside
// it, else absolute). False when cancelled, and when a chosen name cannot
// be written in CP932 (the reason is told in a box).
bool ChooseFiles(const FILECHOOSERREQUEST& req, WndHandle hOwner,
                 std::vector<std::string>& vChosen);

// Scripted answers for the next dialogs and choosers, in order. For a
// dialog, actions separated by ',': "ID" clicks that control, "ID=text"
// types the text (UTF-8) into that edit, "close" asks the dialog to close
// as its close box would; the default button is pressed after them. For a
// chooser, the path (several separated by '|' for a chooser that takes
// several; ';' inside a path cannot be scripted), or "cancel" or nothing
// for a cancel.
void SetScriptedDialogAnswers(const std::vector<std::string>& vAnswers);
// Window thread, at start: the environment's answers are appended.
void ReadDialogAnswersFromEnvironment();

// An absolute UTF-8 path in the program's form: relative to the current
// folder when inside it. False when CP932 cannot spell it.
bool ToProgramPath(const std::string& strAbsoluteUtf8, std::string& strOut);

}  // namespace plat
