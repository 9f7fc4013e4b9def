// The stage select: the list of stages to start.
// Until its screens are drawn it shows an empty screen: it fades straight
// in, waits in its first phase, and hands over when told to leave.
#pragma once

#include "scenes/scene.h"

class cStageSelectScene : public cPhasedScene<cStageSelectScene, 3> {
 public:
  cStageSelectScene();
  ~cStageSelectScene() override = default;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectStage();
};
