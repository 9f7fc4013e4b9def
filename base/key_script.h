// Keys from a file for runs without a keyboard (--keys FILE): each line
// "FRAME +KEY" holds a key down from that frame on, "FRAME -KEY" lets it go.
// Frames are counted as the frame limit counts them: 0 is the first frame
// the game runs. Blank lines and lines starting with '#' are skipped.
#pragma once

#include <string>
#include <vector>

struct KEYSCRIPTEVENT {
  int nFrame = 0;
  int nVirtualKey = 0;
  bool bDown = false;
};

// The key names a script may use ("Left", "Z", "Space", "F1" ...) and their
// virtual-key codes; names are matched without regard to case. 0 when the
// name is none of them.
int KeyScriptVirtualKey(const std::string& strName);

// A script's text into its events. False with a reason naming the line for
// a line that is not "FRAME +KEY" or "FRAME -KEY", an unknown key, or a
// frame before the line above it.
bool ParseKeyScript(const std::string& strText, std::vector<KEYSCRIPTEVENT>& out,
                    std::string& strError);

// The run's script, read from its file; false with a reason when the file
// cannot be read or is not a script.
bool LoadKeyScript(const std::string& strPath, std::string& strError);
void SetKeyScript(std::vector<KEYSCRIPTEVENT> events);

// Applies every change due at or before nFrame that was not applied yet:
// the key-state table changes, and the main window hears of it as it hears
// of a real key (so Escape closes). Called as each frame polls its input.
void ApplyKeyScript(int nFrame);
