// The title screen: the game-mode menu and the saved-game list.
// Until its screens are drawn it shows an empty screen: it fades straight
// in, waits in its first phase, and hands over when told to leave.
#pragma once

#include "scenes/scene.h"

class cTitleScene : public cPhasedScene<cTitleScene, 4> {
 public:
  cTitleScene();
  ~cTitleScene() override = default;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectMode();
  int SelectSaveData();
};
