// The scene base: every screen of the game (title, world map, world-map
// menu, stage select, options, play) runs as one phase function per frame,
// after a first-frame set-up, fading in first and fading out last.
#pragma once

#include <cstdint>

// Scene ids, as the scene manager's current, next and previous ids hold them.
enum {
  SCENE_TITLE = 0,
  SCENE_WORLDMAP = 1,
  SCENE_MAPMENU = 2,
  SCENE_STAGESELECT = 3,
  SCENE_PLAY = 4,
  SCENE_OPTION = 5,
  SCENE_COUNT = 6,
};

// Game modes, as the title's menu sets them in the scene manager.
enum {
  GAMEMODE_NEW_STORY = 0,
  GAMEMODE_CONTINUE_STORY = 1,
  GAMEMODE_CHALLENGE = 2,
  GAMEMODE_FREE = 3,
  GAMEMODE_REPLAY = 4,
  GAMEMODE_OPTIONS = 5,
  GAMEMODE_QUIT = 6,
};

class cScene {
 public:
  cScene() = default;
  virtual ~cScene() = default;
  virtual int Run() { return 0; }
  virtual int Init() { return 0; }
  virtual int FadeIn() { return 0; }
  virtual int FadeOut() { return 0; }
  // What the frame driver hands to and asks of the play scene: the measured
  // frames per second, and the stage's frame rate (above 60 a full-screen
  // DirectDraw present does not wait for the vertical blank).
  virtual void SetMeasuredFps(int) {}
  virtual int GetFrameRate() const { return 60; }

  int32_t m_nPhase = -1;  // -1 until Init has run
  int32_t m_nSubStep = 0;
  // Set when Init threw: a half set-up scene never runs its phases; the
  // close request posted with the failure ends the program.
  int32_t m_bFailed = 0;

 protected:
  // The first half of every Run: the menu input filters when asked for, and
  // Init on the first frame. False when the phases must not run. The menus
  // make the buttons of the mask one-shot (1 and 2, or 1 to 4 where a menu
  // also switches its ranking display).
  bool BeginFrame(bool bMenuFilters, int nButtonMask = 3);
  // Forwarders that let the phase table reach the virtual fades.
  int CallFadeIn() { return FadeIn(); }
  int CallFadeOut() { return FadeOut(); }
};

// A scene with its fixed table of N phase functions; entry 0 fades in and
// entry N-1 fades out.
template <class T, int N>
class cPhasedScene : public cScene {
 public:
  static constexpr int PHASE_COUNT = N;
  using PHASEPROC = int (T::*)();

 protected:
  PHASEPROC m_PhaseProc[N] = {};

  int RunPhases(bool bMenuFilters, int nButtonMask = 3) {
    if (!BeginFrame(bMenuFilters, nButtonMask)) return 0;
    if (m_nPhase < 0 || m_nPhase >= N || !m_PhaseProc[m_nPhase]) return 0;
    return (static_cast<T*>(this)->*m_PhaseProc[m_nPhase])();
  }
};
