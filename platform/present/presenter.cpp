// The frame store between the drawing side and the presenter: the newest
// frame handed over, kept in memory for the window and for screenshots.
#include "platform/present/presenter.h"

#include <cstdio>
#include <mutex>

#include "platform/present/png_writer.h"
#include "platform/present/presenter_service.h"
#include "platform/present/presenter_window.h"

namespace plat {

namespace {

struct cFrameStore {
  std::mutex mtx;
  std::vector<uint32_t> pixels;
  int nWidth = 0;
  int nHeight = 0;
  bool bNew = false;
};

cFrameStore& Store() {
  static cFrameStore store;
  return store;
}

}  // namespace

void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  if (!pPixels || nWidth <= 0 || nHeight <= 0 || nPitchPixels < nWidth) return;
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  st.pixels.resize(static_cast<size_t>(nWidth) * nHeight);
  for (int y = 0; y < nHeight; ++y)
    std::copy(pPixels + static_cast<size_t>(y) * nPitchPixels,
              pPixels + static_cast<size_t>(y) * nPitchPixels + nWidth,
              st.pixels.begin() + static_cast<size_t>(y) * nWidth);
  st.nWidth = nWidth;
  st.nHeight = nHeight;
  st.bNew = true;
}

bool CopyLastFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight) {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (st.pixels.empty()) return false;
  pixels = st.pixels;
  nWidth = st.nWidth;
  nHeight = st.nHeight;
  return true;
}

bool TakeNewFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight) {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (!st.bNew) return false;
  pixels = st.pixels;
  nWidth = st.nWidth;
  nHeight = st.nHeight;
  st.bNew = false;
  return true;
}

bool SaveLastFramePng(const std::string& strPath) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!CopyLastFrame(pixels, w, h)) return false;
  std::vector<uint8_t> png = EncodePng(pixels.data(), w, h, w);
  std::FILE* fp = std::fopen(strPath.c_str(), "wb");
  if (!fp) return false;
  bool bOk = std::fwrite(png.data(), 1, png.size(), fp) == png.size();
  bOk = (std::fclose(fp) == 0) && bOk;
  return bOk;
}

}  // namespace plat
