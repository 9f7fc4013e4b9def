#pragma once

#include <cstdint>

struct DDSURFACEDATA;

// A picture on the play screen. Its set-up and drawing come with the picture
// commands; until then the list of pictures stays empty.
class cPictureObj {
 public:
  // 1 when it has ended.
  int Draw(DDSURFACEDATA* /*pTarget*/, DDSURFACEDATA* /*pPicture*/, int /*bStill*/) { return 1; }
  int32_t m_nPicture = 0;
};
