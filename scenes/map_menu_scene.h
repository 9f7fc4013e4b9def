// The world-map menu: saving, the automatic save, back to the map or the title.
// Until its screens are drawn it shows an empty screen: it fades straight
// in, waits in its first phase, and hands over when told to leave.
#pragma once

#include "scenes/scene.h"

class cMapMenuScene : public cPhasedScene<cMapMenuScene, 7> {
 public:
  cMapMenuScene();
  ~cMapMenuScene() override = default;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectItem();
  int Save();
  int AutoSave();
  int BackToMap();
  int BackToTitle();
};
