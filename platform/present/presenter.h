// The presenter: shows finished frames (an SDL window, or in memory when
// headless) and saves the last one as PNG.
#pragma once

#include <cstdint>
#include <string>

namespace plat {
void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels);
bool SaveLastFramePng(const std::string& strPath);
}  // namespace plat
