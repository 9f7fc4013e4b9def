// A picture on the play screen: a whole bitmap that the picture command
// shows, fixed to the stage or to the screen, optionally for a limited
// number of frames.
#pragma once

#include <cstdint>

struct DDSURFACEDATA;

// Display modes of a picture.
enum : int32_t { PICTURE_TIMED = 2 };

class cPictureObj {
 public:
  void Setup(int32_t nPicture, double x, double y, int32_t nWidth, int32_t nHeight,
             int32_t bScreenRelative, int32_t nLayer, int32_t nPercent, int32_t nDispMode,
             int32_t nFrames, int32_t bCountWhenStill, int32_t nCmdValue1, int32_t nCmdValue2);
  // Draws the picture from its surface; 1 when a timed picture has expired.
  int Draw(DDSURFACEDATA* pTarget, DDSURFACEDATA* pPicture, int bStill);

  int32_t m_nPicture = 0;
  double m_dX = 0;
  double m_dY = 0;
  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_bScaled = 0;  // the display percentage is not 100
  int32_t m_nLayer = 0;
  int32_t m_nDispMode = 0;
  int32_t m_nFrames = 0;  // frames left of a timed picture
  int32_t m_bCountWhenStill = 0;
  int32_t m_bScreenRelative = 0;
  int32_t m_bAnchored = 0;  // stays at one place of the screen
  int32_t m_nScreenX = 0;   // that place: the position minus the camera at set-up
  int32_t m_nScreenY = 0;
  int32_t m_nCmdValue1 = 0;
  int32_t m_nCmdValue2 = 0;
};
