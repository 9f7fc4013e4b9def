// The options screen.
// Until its screens are drawn it shows an empty screen: it fades straight
// in, waits in its first phase, and hands over when told to leave.
#pragma once

#include "scenes/scene.h"

class cOptionScene : public cPhasedScene<cOptionScene, 3> {
 public:
  cOptionScene();
  ~cOptionScene() override = default;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectOption();
};
