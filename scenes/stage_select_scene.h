// The stage select: the challenge's numbered stages, one row each with its
// cleared mark and best score; choosing a row loads the stage's first file
// and starts it. Where the challenge keeps rankings, the ranking of the
// stage under the cursor can be shown beside the list.
#pragma once

#include <cstdint>
#include <string>

#include "scenes/scene.h"

struct DDSURFACEDATA;

class cStageSelectScene : public cPhasedScene<cStageSelectScene, 3> {
 public:
  cStageSelectScene();
  ~cStageSelectScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;

  int SelectStage();

  // The rows of the list and how many of them show from the scroll offset.
  void CountStages();
  // The play record's current stage becomes stage n (from 1).
  void SetStageFile(int n);
  // The first file of stage n: data\stg4\c01-1.stg4 for stage 1.
  static std::string StageFileName(int n);

  int32_t m_nScroll = 0;
  int32_t m_nStageCount = 0;
  int32_t m_nVisible = 0;

 private:
  void CreateScreenSurface();
  void DrawScreen();
  void Draw();
  DDSURFACEDATA* m_pScreenSD = nullptr;
};
