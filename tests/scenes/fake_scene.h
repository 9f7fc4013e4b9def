// Scenes that record what the scene manager makes them do.
#pragma once

#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "scenes/scene_manager.h"

namespace {

// What the fake scenes did, in order: "Init 2", "Phase 2.0", "Delete 2", ...
std::vector<std::string> g_Events;

struct FAKEBEHAVIOUR {
  bool bThrowInConstructor = false;
  bool bThrowInInit = false;
  int nLeaveTo = -1;    // the middle phase leaves for this id
  int nMsPerFrame = 0;  // the middle phase's work time on the test clock
};
FAKEBEHAVIOUR g_Behaviour[SCENE_COUNT];

class cFakeScene : public cPhasedScene<cFakeScene, 3> {
 public:
  explicit cFakeScene(int nId) : m_nId(nId) {
    if (g_Behaviour[nId].bThrowInConstructor) throw "cannot build";
    m_PhaseProc[0] = &cFakeScene::CallFadeIn;
    m_PhaseProc[1] = &cFakeScene::Middle;
    m_PhaseProc[2] = &cFakeScene::CallFadeOut;
  }
  ~cFakeScene() override { Log("Delete"); }
  int Run() override { return RunPhases(false); }
  int Init() override {
    Log("Init");
    if (g_Behaviour[m_nId].bThrowInInit) throw "cannot set up";
    return 1;
  }
  int FadeIn() override {
    Log("FadeIn");
    m_nPhase = 1;
    return 1;
  }
  int Middle() {
    Log("Middle");
    if (g_Behaviour[m_nId].nMsPerFrame) plat::AdvanceTestClock(g_Behaviour[m_nId].nMsPerFrame);
    if (g_Behaviour[m_nId].nLeaveTo >= 0) {
      g_SceneManager.m_nNextScene = g_Behaviour[m_nId].nLeaveTo;
      m_nPhase = 2;
    }
    return 1;
  }
  int FadeOut() override {
    Log("FadeOut");
    FinishSceneFadeOut(m_nId);
    return 1;
  }
  void Log(const char* szWhat) {
    g_Events.push_back(std::string(szWhat) + " " + std::to_string(m_nId));
  }
  int m_nId;
};

cScene* BuildFakeScene(int nId) {
  if (nId < 0 || nId >= SCENE_COUNT) return nullptr;
  return new cFakeScene(nId);
}

}  // namespace
