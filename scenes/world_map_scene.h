// The world map: walking between stages and entering one.
// Until its screens are drawn it shows an empty screen: it fades straight
// in, waits in its first phase, and hands over when told to leave.
#pragma once

#include "scenes/scene.h"

class cWorldMapScene : public cPhasedScene<cWorldMapScene, 4> {
 public:
  cWorldMapScene();
  ~cWorldMapScene() override = default;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int Walk();
  int EnterStage();
};
