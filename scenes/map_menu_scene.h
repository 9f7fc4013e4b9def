// The world-map menu, opened from the map with button 2: save the story
// into a slot, switch automatic saving on or off, go back to the map, or go
// back to the title. Every choice but the way back to the map opens a
// question on a cursor level of its own.
#pragma once

#include <cstdint>

#include "scenes/scene.h"

class cMapMenuScene : public cPhasedScene<cMapMenuScene, 7> {
 public:
  static constexpr int kEntryCount = 4;  // shown entries at most

  cMapMenuScene();
  ~cMapMenuScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectItem();
  int Save();
  int AutoSave();
  int BackToMap();
  int BackToTitle();

  void Draw();
  void DrawMenu();
  void DrawTotalScore();

  int32_t m_nShownCount = 1;
  int32_t m_anShown[kEntryCount] = {};  // map-menu entry of each shown line
  int32_t m_nScroll = 0;
  int32_t m_nVisible = 0;

 private:
  void DrawQuestion(int nFirstText, int nCount, int y);
  void DrawSlotList();
};
