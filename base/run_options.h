// The command line: options that stand in for what the desktop told the
// program on its original system (test-play start, the project folder), the
// switches tests and benchmarks use, and the stage or replay file to open.
#pragma once

#include <string>

struct cRunOptions {
  std::string strProject;     // empty: the current folder
  bool bTestPlay = false;     // started by the kit's editor for a test play
  bool bHeadless = false;     // no window, no sound device, unattended boxes
  bool bNoWait = false;       // frames are not paced
  int nFrames = -1;           // quit after this many frames; -1: no limit
  std::string strScreenshot;  // PNG of the last frame at the end (UTF-8 path)
  std::string strFile;        // stage or replay file, as typed (UTF-8)
  std::string strKeys;        // key script for runs without a keyboard (UTF-8 path)
};

extern cRunOptions g_RunOptions;

// A run without a window that keeps no picture of its frames: nothing in
// the play reads pixels back, so the drawing library may leave them out
// while every state change of the drawing still happens.
bool SkipsRaster();

// What the command line asks for: a run, or only the usage or the version.
enum class eRunRequest { Run, Help, Version, Refused };

// Options are "--name value" or "--name=value"; "--" ends the options, so a
// file whose name begins with '-' can still be named. Refused comes with a
// one-line reason.
eRunRequest ParseRunOptions(int argc, const char* const* argv, cRunOptions& out,
                            std::string& strError);

const char* RunOptionsUsage();
