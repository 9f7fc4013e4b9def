// The scene manager: owns the six scenes, builds the one that is due and
// deletes the others, and drives one frame at a time for the game thread.
#pragma once

#include <cstdint>
#include <string>

#include "draw/surface_data.h"
#include "input/input.h"
#include "scenes/scene.h"

// Work time of the last 16 frames, for the frame-rate display.
struct cFrameStats {
  uint32_t dwRing[16] = {};
  int32_t nPos = 0;
  uint32_t dwAverage = 0;  // of the last full ring; 0 until 16 frames were timed

  void AddFrameTime(uint32_t dwMs);
};

class cSceneManager {
 public:
  // Owned scenes, null when not built. The options scene's place comes
  // before the play scene's, unlike their ids.
  cScene* m_pTitle = nullptr;
  cScene* m_pWorldMap = nullptr;
  cScene* m_pMapMenu = nullptr;
  cScene* m_pStageSelect = nullptr;
  cScene* m_pOption = nullptr;
  cScene* m_pPlay = nullptr;
  int32_t m_nCurrentScene = 0;  // the scene Frame builds and runs
  int32_t m_nNextScene = 0;     // set by a scene that decides to leave
  int32_t m_nPrevScene = 0;     // set by a scene's fade-out to its own id
  int32_t m_nGameMode = 0;
  int32_t m_nSubMode = 0;
  int32_t m_nSelectRow = 0;  // stage-select position kept between visits
  int32_t m_nSelectScroll = 0;
  int32_t m_nModeFlag = 0;
  int32_t m_nFrameRate = 0;  // frames per second pacing aims at
  int32_t m_nFadeStep = 0;
  int32_t m_nMusicNo = 0;  // scene music number last requested

  cSceneManager() = default;
  cSceneManager(const cSceneManager&) = delete;
  cSceneManager& operator=(const cSceneManager&) = delete;
  ~cSceneManager() { DeleteAllScenes(); }

  // One frame; false only when lost surfaces could not be restored.
  bool Frame();
  // Deletes every scene but this id's, and builds that one when missing.
  void ChangeScene(int nSceneId);
  void DeleteAllScenes();
  void PollInput(cSafeVector<cInput>& inputs);
  void Present();
  // DirectDraw: when the screen's surfaces were lost, the library's and the
  // program's collections restored; false when that failed.
  bool CheckLostSurface();
  // Each record of a collection restored in order; false at the first that
  // fails. A vector or a list of records (or of pointers to them).
  template <class RECORDS>
  bool RestoreSurfaceVector(RECORDS& records) {
    for (auto& sd : records)
      if (!RestoreOneSurface(RecordOf(sd))) return false;
    return true;
  }
  template <class RECORDS>
  bool RestoreSurface(RECORDS& records) {
    return RestoreSurfaceVector(records);
  }
  // A lost DirectDraw surface restored; in video memory its picture is
  // loaded again from its file and bLost tells its owner that anything
  // composed on it at run time must be drawn again.
  bool RestoreOneSurface(DDSURFACEDATA& sd);
  // The fonts' digit sheets: a lost one restored and, in video memory, its
  // digits drawn again with the font of the same index. True.
  bool RestoreFontSurfaces(DDSURFACEDATA* lpSheets, int nCount);
  // The scene with this id, or null.
  cScene* GetScene(int nSceneId) const;

 private:
  static DDSURFACEDATA& RecordOf(DDSURFACEDATA& sd) { return sd; }
  template <class POINTER>
  static DDSURFACEDATA& RecordOf(POINTER& p) {
    return *p;
  }
  cScene*& SceneSlot(int nSceneId);
  void DeleteScene(int nSceneId);

 public:
  // A scene id whose construction threw: not built again while it stays
  // current, so a broken scene closes the program once instead of every frame.
  int32_t m_nFailedScene = -1;
};

extern cSceneManager g_SceneManager;
extern cFrameStats g_FrameStats;

// The frame gate of DirectDraw frames (Direct3D frames wait in the present).
void WaitFrameTiming();
// "FPS%2d(%2d)": frames per second and the average work time in ms.
std::string FormatFpsText(int nFps, uint32_t dwAverageMs);

// The end of a scene's fade-out: the scene hands over to the next id.
void FinishSceneFadeOut(int nOwnSceneId);
// One step of a scene's fade from black, or to black, at the manager's fade
// step; true on the step that completed it. Every scene fades in with its
// first phase and out with its last.
bool SceneFadeInStep();
bool SceneFadeOutStep();

// A menu scene's first-frame music: the scene music number of track k
// (0 title, 1 world map and its menu, 2 stage select, 3 options). Requested
// from the window thread when it is 0 or not the one last requested, so the
// same music plays on from one menu scene to the next.
void RequestSceneMusic(int nTrack);

// Builds the scene of an id (0 to 5). The scenes themselves are built above
// this framework: start-up installs the program's factory, tests their fakes;
// null installs the factory that builds nothing.
using SCENEFACTORY = cScene* (*)(int nSceneId);
void SetSceneFactory(SCENEFACTORY pfnFactory);
cScene* BuildScene(int nSceneId);
