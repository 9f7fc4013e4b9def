// The injectable display facts.
#include "platform/gfx/display_config.h"

#include <mutex>

namespace plat::gfx {

namespace {
std::mutex g_ConfigMutex;
GFXDISPLAYCONFIG g_Config;
}  // namespace

void SetDisplayConfig(const GFXDISPLAYCONFIG& config) {
  std::lock_guard<std::mutex> lock(g_ConfigMutex);
  g_Config = config;
}

GFXDISPLAYCONFIG GetDisplayConfig() {
  std::lock_guard<std::mutex> lock(g_ConfigMutex);
  return g_Config;
}

}  // namespace plat::gfx
