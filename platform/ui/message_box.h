// Message boxes, shown by the installed back end: a GTK dialog on the window
// thread when a display exists; otherwise the answer comes from the script or
// the box's default, is logged, and the call returns at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/msg/messages.h"

namespace plat {

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_ICONHAND = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr uint32_t MB_ICONASTERISK = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Text and caption are CP932 bytes. Returns the pressed button's id.
int MessageBox(WndHandle hOwner, const std::string& text, const std::string& caption,
               uint32_t type);

// Window thread, at start: the environment's scripted answers are read (of
// boxes, dialogs and choosers), and on the desktop with a display boxes,
// dialogs and choosers become GTK windows run on this thread (other
// threads' boxes are sent here). Until then, and in headless runs, they are
// answered at once.
void InitMessageBoxes();
void ShutdownMessageBoxes();

// Answers given to the next boxes in order (IDOK, IDCANCEL, IDYES, IDNO);
// an answer the box has no button for gives the default. The environment
// variable BRIMVALE_BOX_ANSWERS ("yes,no,ok,cancel") adds to them at start.
void SetScriptedBoxAnswers(const std::vector<int>& answers);

// The answer of a box nobody answers: OK for an OK box, Cancel and No for
// the boxes that ask, so an unattended run never agrees to anything.
int DefaultBoxAnswer(uint32_t type);

}  // namespace plat
