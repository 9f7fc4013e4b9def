// The presenter: where finished frames go to be seen. The drawing side hands
// over whole frames from any thread; the window thread shows the newest one.
#pragma once

#include <cstdint>
#include <string>

namespace plat {
// Hands over a finished frame (X8R8G8B8, pitch in pixels); copied under a mutex, shown by the
// window thread.
void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels);
// The last frame handed over, as PNG (UTF-8 path); false on failure or when none was presented.
bool SaveLastFramePng(const std::string& strPath);
}  // namespace plat
