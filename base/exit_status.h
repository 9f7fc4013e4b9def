// How the run ends for whoever started it: a run that ended because
// something failed says so with a non-zero exit status and one line on
// standard error, whatever the window showed (the game's own box, or
// nothing at all). A start-up the player chose to end is no failure.
#pragma once

#include <string>

// The exit status of a run that failed; 2 is kept for a command line that
// cannot be used.
constexpr int kExitFailed = 1;

// Marks the run as failed and writes "brimvale: <reason>" to standard error,
// followed by ": <text>" when the program has its own text for the failure.
// Both are CP932 (English reasons are plain ASCII); the line is written in
// UTF-8, with the text's line breaks turned into spaces so it stays one line.
void ReportRunFailure(const std::string& strReason, const std::string& strOwnText = "");

// Whether a failure was reported, and the status the process should end with.
bool HasRunFailed();
int GetRunExitStatus();

// The player ended start-up on purpose (a cancelled start dialog, a close
// request while start-up ran): start-up returns false, but nothing failed.
void NoteStartUpDeclined();
bool WasStartUpDeclined();

// Tests: forgets every failure and decline.
void ResetRunFailure();
