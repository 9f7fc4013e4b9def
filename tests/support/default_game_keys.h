// Key scripts that play the bundled game as a player would: a builder of
// key-file lines in frame order, and the way through each of the game's
// stages, timed from the frame of the key press that starts the stage. The
// stages run the same whichever mode starts them, so one walk-through serves
// the story and the challenge.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

class cKeyScript {
 public:
  // The key is held from nFrame on.
  void Press(int nFrame, const char* szKey) {
    m_Lines.emplace_back(nFrame, std::string("+") + szKey);
  }
  void Release(int nFrame, const char* szKey) {
    m_Lines.emplace_back(nFrame, std::string("-") + szKey);
  }
  // Pressed at nFrame and let go two frames later.
  void Tap(int nFrame, const char* szKey) {
    Press(nFrame, szKey);
    Release(nFrame + 2, szKey);
  }
  // The key file: the program refuses lines out of frame order, and the
  // steps of a script are written in the order a reader follows them.
  std::string Text() const {
    std::vector<std::pair<int, std::string>> lines = m_Lines;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string str;
    for (const auto& [nFrame, strKey] : lines) str += std::to_string(nFrame) + " " + strKey + "\n";
    return str;
  }

 private:
  std::vector<std::pair<int, std::string>> m_Lines;
};

namespace defaultgame {

// Each walk-through takes the frame of the press that started the stage and
// returns the frame at which its results screen is ready for button 1.

// The meadow: a sign whose message holds the play until a button, then a
// valley crossed on a lift that goes back and forth at ground level.
inline int PlayMeadow(cKeyScript& keys, int s) {
  keys.Press(s + 110, "Right");  // walk into the sign: its message stops the play
  keys.Release(s + 290, "Right");
  keys.Tap(s + 300, "Z");          // close the message
  keys.Press(s + 570, "Right");    // to the valley's edge and onto the lift,
  keys.Release(s + 616, "Right");  // back at the near side by then
  keys.Press(s + 815, "Right");    // the lift at the far side: off it and on to the goal flag
  keys.Release(s + 980, "Right");
  return s + 990;
}

// The cave: two signs on a straight way to the goal flag, each message
// closed by a button.
inline int PlayCave(cKeyScript& keys, int s) {
  keys.Press(s + 70, "Right");  // walk on; held through both messages
  keys.Tap(s + 260, "Z");       // close the first sign's message
  keys.Tap(s + 590, "Z");       // and the second's, near the goal flag
  keys.Release(s + 770, "Right");
  return s + 800;
}

// The fort: a sign, a guard walking its ground to meet the hero, a lift
// across a gap two blocks above the ground, and a turret over the way to the
// goal flag.
inline int PlayFort(cKeyScript& keys, int s) {
  keys.Press(s + 80, "Right");  // walk into the sign
  keys.Tap(s + 240, "Z");       // close its message, walking on
  keys.Release(s + 280, "Right");
  // Stand and let the guard come: the sword meets it twice (spare strokes
  // for when it is not yet in reach).
  for (int i = 0; i < 4; ++i) keys.Tap(s + 306 + 20 * i, "X");
  keys.Press(s + 390, "Right");  // over the coins the guard stood by
  keys.Release(s + 490, "Right");
  keys.Press(s + 630, "Right");  // to the edge of the gap
  keys.Release(s + 666, "Right");
  keys.Press(s + 692, "Z");  // jump onto the lift, back at the near side
  keys.Press(s + 692, "Right");
  keys.Release(s + 700, "Right");
  keys.Release(s + 706, "Z");
  keys.Press(s + 820, "Z");      // the lift at the far side: jump to the ground beyond,
  keys.Press(s + 820, "Right");  // and walk under the turret to the goal flag
  keys.Release(s + 834, "Z");
  keys.Release(s + 1110, "Right");
  return s + 1130;
}

}  // namespace defaultgame
