// Editor notices over a local datagram socket.
#include "platform/proc/editor_link.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace plat {

namespace {
void PutLE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
}  // namespace

bool SendEditorNotice(uint32_t dwKind, int32_t nValue) {
  const char* szPath = std::getenv("BRIMVALE_EDITOR_SOCKET");
  if (!szPath || !*szPath) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (std::strlen(szPath) >= sizeof addr.sun_path) return false;
  std::strcpy(addr.sun_path, szPath);
  int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  uint8_t buf[12];
  PutLE32(buf, dwKind);
  PutLE32(buf + 4, 4);
  PutLE32(buf + 8, static_cast<uint32_t>(nValue));
  // Never waits: an editor that does not read its socket cannot stall the game.
  ssize_t n =
      ::sendto(fd, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::close(fd);
  return n == static_cast<ssize_t>(sizeof buf);
}

}  // namespace plat
