#pragma once

#include <cstdint>

// A picture on the play screen. Its set-up and drawing come with the picture
// commands; until then the list of pictures stays empty.
class cPictureObj {
 public:
  int32_t m_nPicture = 0;
};
