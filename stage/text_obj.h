#pragma once

#include <cstdint>

// A message text on the play screen. Its set-up and drawing come with the
// message commands; until then the list of texts stays empty.
class cTextObj {
 public:
  int32_t m_nKind = 0;
};
