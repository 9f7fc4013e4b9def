// Placeholder presenter until the real one arrives: keeps the last frame in
// memory and saves nothing.
#include "platform/present/presenter.h"

#include <mutex>
#include <vector>

namespace plat {

namespace {
std::mutex g_FrameMutex;
std::vector<uint32_t> g_LastFrame;
}  // namespace

void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  std::lock_guard<std::mutex> lock(g_FrameMutex);
  g_LastFrame.resize(size_t(nWidth) * size_t(nHeight));
  for (int y = 0; y < nHeight; ++y)
    for (int x = 0; x < nWidth; ++x)
      g_LastFrame[size_t(y) * size_t(nWidth) + size_t(x)] =
          pPixels[size_t(y) * size_t(nPitchPixels) + size_t(x)];
}

bool SaveLastFramePng(const std::string&) { return false; }

}  // namespace plat
