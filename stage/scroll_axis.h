// One axis of the 640 x 480 view into the stage: the camera's position on it,
// the range that position is kept in, the stage's extent on that axis and
// its automatic scrolling. The play scene holds one for x and one for y.
#pragma once

#include <cstdint>

class cStageData;

class cScrollAxis {
 public:
  double m_dPos = 0;          // left (or top) edge of the view, stage pixels
  int32_t m_bAtLimit = 0;     // the last clamp held the position at an end
  int32_t m_nAxis = 0;        // 0 x, 1 y
  int32_t m_nView = 0;        // 640 or 480
  int32_t m_nMin = 0;         // the range the view may show
  int32_t m_nMax = 0;         // the view's far edge may reach it
  int32_t m_nBase = 0;        // the margin: 10 cells of 32 pixels
  int32_t m_nStageLimit = 0;  // end of the stage without its far margin
  int32_t m_nMarginCells = 0;
  int32_t m_nOuterLimit = 0;  // objects exist below it
  int32_t m_nCells = 0;       // cells of the grid on this axis, margins included
  int32_t m_nPitch = 0;       // x: the grid's row length; y: its row count
  int32_t m_nShift = 0;       // x: the grid's row shift; y: 0
  double m_dSpeed = 0;        // auto scroll, pixels per update step
  int32_t m_bAuto = 0;

  // The fixed words of axis nAxis for a stage of nCells cells (without
  // margins) whose objects live within nExtent pixels (without the view).
  void SetUp(int nAxis, int32_t nCells, int32_t nExtent);
  // The fixed words, speed and range of both axes, from a stage.
  static void SetUpAxes(cScrollAxis& x, cScrollAxis& y, const cStageData& stage);

  void ClampPosition();
  void Step();
  // Speed in tenths of a pixel per frame, spread over the update steps.
  int SetAutoScroll(int bOn, int32_t nTenths, double dStepsPerFrame);
  void SetRange(int32_t nStartCell, int32_t nEndCell, int bStartOn, int bEndOn);
  // Centres the view on an object's near edge and size (integer halves),
  // kept in the range without touching the limit flag; auto scroll wins.
  void Follow(double dNearEdge, int32_t nSize);

  // Auto scrolling that moves now: a speed, not held at an end.
  bool IsScrolling() const { return m_dSpeed != 0 && !m_bAtLimit; }
  // The auto-scroll speed while it moves, else 0.
  double MovingSpeed() const { return m_bAtLimit ? 0.0 : m_dSpeed; }
};
