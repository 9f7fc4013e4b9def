// The test-play link to the kit's editor: when the environment variable
// BRIMVALE_EDITOR_SOCKET names a local datagram socket, each notice is sent
// there as 12 little-endian bytes: the notice kind (1 start, 0 end), the data
// size 4, and the 32-bit value.
#pragma once

#include <cstdint>

namespace plat {

// False when no socket is named or the notice could not be sent.
bool SendEditorNotice(uint32_t dwKind, int32_t nValue);

}  // namespace plat
