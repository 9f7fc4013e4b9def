// The play scene, in which a stage is played. Until the play engine is in
// place it shows an empty screen in its phases.
#pragma once

#include <cstdint>
#include <string>

#include "scenes/scene.h"

class cPlayScene : public cPhasedScene<cPlayScene, 8> {
 public:
  cPlayScene();
  ~cPlayScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;
  void SetMeasuredFps(int nFps) override { m_nFps = nFps; }
  int GetFrameRate() const override { return m_nStageFrameRate; }

  int PhaseReady();
  int PhasePlay();
  int PhasePause();
  int PhaseStageEnd();
  int PhaseContinue();
  int PhaseWaitButton();

  int32_t m_bCloseRequest = 0;     // set by the window thread while the pause thread runs
  int32_t m_nFps = 0;              // measured frames per second, handed over each frame
  int32_t m_nStageFrameRate = 60;  // above 60 a windowed present does not wait for the blank
  std::string m_strRankName;       // the name the stage's results enter the rankings under
};

// The play scene while it exists, null otherwise.
extern cPlayScene* g_PlayScene;
