#pragma once

#include <cstdint>

struct DDSURFACEDATA;

// A message text on the play screen. Its set-up and drawing come with the
// message commands; until then the list of texts stays empty.
class cTextObj {
 public:
  // 1 when it has ended.
  int Draw(DDSURFACEDATA* /*pTarget*/, int /*bStill*/) { return 1; }
  int32_t m_nKind = 0;
};
