// The root of every stage object (characters, the player, items, shots):
// its position and size in stage pixels, its speeds, its drawing rectangle,
// its block-test state, and the operations every object and the flow
// commands use on it: the screen rectangle, the on-screen, inside-stage and
// removal tests, clamping into the view or the stage, scale changes, and the
// axis moves of one update step.
#pragma once

#include <cstdint>

#include "stage/anim_player.h"

class cCmdState;

// The flight kinds of a definition.
enum : int {
  FLIGHT_OFF = 0,
  FLIGHT_THROUGH = 1,  // flies through blocks
  FLIGHT_STOPPED = 2,  // flies, stopped by blocks
  FLIGHT_DEADLY = 3,   // flies, dies on touching a block
};

class cObjRoot {
 public:
  cObjRoot();
  cObjRoot(const cObjRoot&) = default;
  cObjRoot& operator=(const cObjRoot&) = default;

  // Virtual operations, in slot order.
  virtual ~cObjRoot();                                                          // 0
  virtual void CopyFrom(const cObjRoot& src);                                   // 1: the root part
  virtual void SetScale(int32_t nNew, int32_t nOld);                            // 2
  virtual void ScaleHitBoxes(int32_t /*nScale*/) {}                             // 3
  virtual void OnSizeChange(int32_t /*nNew*/, int32_t /*nOld*/) {}              // 4
  virtual void UpdateHitRectX() {}                                              // 5
  virtual void UpdateHitRectY() {}                                              // 6
  virtual void SetCenter(double /*x*/, double /*y*/) {}                         // 7
  virtual void WarpCenter(double /*x*/, double /*y*/, cCmdState& /*state*/) {}  // 8
  virtual void SetCenterX(double /*x*/) {}                                      // 9
  virtual void WarpCenterX(double /*x*/, cCmdState& /*state*/) {}               // 10
  virtual void SetCenterY(double /*y*/) {}                                      // 11
  virtual void WarpCenterY(double /*y*/, cCmdState& /*state*/) {}               // 12

  // Set-up shared by every class's own set-up. ppTables (built-in
  // sequences) or null; sizes go into the scaled and the scale-1 fields.
  void Init(int32_t nId, int32_t nControl, int32_t nSetupValue, int32_t nGroup, int32_t nKindValue,
            const ANIMESTEP* const* ppTables, int32_t nStartAnim, int32_t nDrawDX, int32_t nDrawDY,
            int32_t nWidth, int32_t nHeight, int32_t nDrawW, int32_t nDrawH, int32_t nFacing,
            int32_t nFlightKind, int16_t sSetupWord);

  // The drawing rectangle on the screen, from the position and the camera.
  void UpdateScreenRect();
  int IsOnScreen() const;
  int IsOnScreenAxes(int bIgnoreX, int bIgnoreY) const;
  // Mode 1: inside the stage's extent; mode 0: inside the active area.
  int IsInsideStage(int nMode) const;
  // Removal rule nRule (0..4) of the stage says the object is to go.
  int IsOutOfRange(int nRule) const;
  // Keep in the view (0), the active area (1) or the stage (2); the result
  // says where the object stood (ClampY: 1 above and 4 below the view, 2 and
  // 5 outside the active area, 3 and 6 held at the stage's edges).
  int ClampX(int nMode);
  int ClampY(int nMode);
  // Keeps the centre where it was when the scale changes.
  void KeepCentreX(int32_t nNew, int32_t nOld);
  void SetFlightKind(int32_t nKind);
  int FacingSign() const { return m_nFacing == 1 ? 1 : -1; }
  // 1 when a corner cell of the object has a hit type for its group.
  int IsInBlock();
  // The edge columns and rows from the edges.
  void UpdateEdgeCols();
  void UpdateEdgeRows();

  // One update step's move of one axis: the speed limited to the stage's
  // per-step limit, added to the position, then clamped.
  int AxisMoveX(int nClampMode);
  int AxisMoveY(int nClampMode);
  // Moves a speed toward 0 by m_dDecay, stopping at 0.
  void DecaySpeed(double& dSpeed, int bEnabled) const;
  // Gravity of a shot.
  void AddGravity();

  int32_t m_nId = 0;
  int32_t m_nLife = 0;    // update steps left; INT_MAX no limit
  int32_t m_nFacing = 0;  // 1 right, 0 left
  int16_t m_sSetupWord = 0;
  int32_t m_nKindValue = 0;  // graphic number
  cAnimPlayer m_Anim;
  int32_t m_nScrLeft = 0;
  int32_t m_nScrTop = 0;
  int32_t m_nScrRight = 0;
  int32_t m_nScrBottom = 0;
  int32_t m_nDrawDX = 0;  // drawing rectangle relative to the position, scaled
  int32_t m_nDrawDY = 0;
  int32_t m_nDrawW = 0;
  int32_t m_nDrawH = 0;
  int32_t m_nBaseDrawDX = 0;  // the same at scale 1
  int32_t m_nBaseDrawDY = 0;
  int32_t m_nBaseDrawW = 0;
  int32_t m_nBaseDrawH = 0;
  int32_t m_nControl = 0;  // 0 a player's, 1 the computer's
  int32_t m_nSetupValue = 0;
  int32_t m_nGroup = 0;  // hit group
  double m_dX = 0;       // top left of the collision rectangle
  double m_dY = 0;
  double m_dRight = 0;  // x + width - 1
  double m_dBottom = 0;
  int32_t m_nColL = 0;
  int32_t m_nRowT = 0;
  int32_t m_nColR = 0;
  int32_t m_nRowB = 0;
  double m_dVX = 0;  // speed of this step
  double m_dVY = 0;
  double m_dPushVX = 0;  // decaying speed of jumps and launches
  double m_dPushVY = 0;
  double m_dDecay = 0;
  int32_t m_nDecayX = 0;
  int32_t m_nDecayY = 0;
  int32_t m_nScrollSync = 0;  // moves with the auto scroll
  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_nBaseWidth = 0;
  int32_t m_nBaseHeight = 0;
  int32_t m_nFlying = 0;
  int8_t m_cBlockMode = 0;  // flying: 0 through blocks, 1 stopped, 2 dies
  int32_t m_nActive = 0;
  int32_t m_nOnScreen = 0;
  int8_t m_cCondLatch = 0;  // the activation conditions held once
};

// A speed per second as a speed per update step.
double ToStepSpeed(double dPerSecond);

// Launch speeds that carry an object over nDistance pixels along (dx, dy)
// under the stage's gravity; nothing changes for a distance of 0.
void CalcLaunchSpeed(double dx, double dy, int8_t cDistance, double& dVX, double& dVY);
// Speeds of a wave movement; dPhase (degrees) advances by dStep.
double CalcWaveSpeed(double dAmplitude, double dPeriod, double& dPhase, double dStep,
                     double dOffset);
double CalcWaveSpeedY(double dAmplitude, double dPeriod, double& dPhase, double dStep,
                      double dOffset);

// A span around a point on one axis, for the distance conditions: both ends
// start at the centre and move out by half the width on the sides asked for
// (both for the body), then by the extents.
void CalcFacingSpan(int32_t nPos, int32_t nWidth, int32_t nLeftExt, int32_t nRightExt, int bBody,
                    int32_t& nLeft, int32_t& nRight);
int IsSpanInRange(int32_t nPos, int32_t nWidth, int32_t nOtherStart, int32_t nOtherEnd,
                  int32_t nOtherOffset, int32_t nLeftExt, int32_t nRightExt, int bBody,
                  int bVertical, const cObjRoot& other);
