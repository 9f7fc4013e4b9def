// The frame store between the drawing side and the presenter: the newest
// frame handed over, kept in memory for the window and for screenshots, and
// the hand-shake that lets the display pace frames.
#include "platform/present/presenter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/clock/clock.h"
#include "platform/present/png_writer.h"
#include "platform/present/presenter_service.h"
#include "platform/present/presenter_window.h"

namespace plat {

namespace {

// Shows closer together than this cannot be a display we sync with (the
// drawing side keeps vertical sync for 60 Hz displays only); this many of
// them in a row mean the window does not wait at all.
constexpr uint32_t kQuickShowMs = 12;
constexpr int kQuickShowsToGiveUp = 10;

struct cFrameStore {
  std::mutex mtx;
  std::condition_variable cvShown;
  std::vector<uint32_t> pixels;
  int nWidth = 0;
  int nHeight = 0;
  bool bNew = false;
  // The window's image lent for frames of its size, and whether the newest
  // frame lives only there (pixels then holds an older one).
  FRAMEIMAGE image;
  bool bInImage = false;
  // The window thread is putting the image on the screen, outside the lock
  // (a round trip to the display server): frames handed over meanwhile go
  // into the store's memory, and the window copies them over on its next turn.
  bool bImageShowing = false;
  // Frames handed over, taken by the presenter, and known to be on screen.
  uint64_t nHanded = 0;
  uint64_t nTaken = 0;
  uint64_t nShown = 0;
  bool bVSync = false;
  uint32_t dwLastShow = 0;
  int nQuickShows = 0;
};

std::atomic<void (*)()> g_pfnFrameWaker{nullptr};

cFrameStore& Store() {
  static cFrameStore store;
  return store;
}

// The newest frame back from the window's image into the store's memory,
// and the image no longer lent.
void TakeBackImage(cFrameStore& st) {
  if (st.bInImage) {
    st.pixels.resize(size_t(st.nWidth) * size_t(st.nHeight));
    for (int y = 0; y < st.nHeight; ++y) {
      const uint32_t* pRow = st.image.pPixels + size_t(y) * size_t(st.image.nPitch);
      std::copy(pRow, pRow + st.nWidth, st.pixels.data() + size_t(y) * size_t(st.nWidth));
    }
    st.bInImage = false;
  }
  st.image = FRAMEIMAGE{};
}

// Under the lock: the newest frame wherever it lives (the store's memory
// unless the window's image holds it), nPitch pixels apart.
const uint32_t* FramePixels(const cFrameStore& st, int& nPitch) {
  nPitch = st.bInImage ? st.image.nPitch : st.nWidth;
  return st.bInImage ? st.image.pPixels : st.pixels.data();
}

void CopyFrameOut(const cFrameStore& st, std::vector<uint32_t>& pixels) {
  int nPitch = 0;
  const uint32_t* pSrc = FramePixels(st, nPitch);
  pixels.resize(size_t(st.nWidth) * size_t(st.nHeight));
  for (int y = 0; y < st.nHeight; ++y)
    std::copy(pSrc + size_t(y) * size_t(nPitch), pSrc + size_t(y) * size_t(nPitch) + st.nWidth,
              pixels.data() + size_t(y) * size_t(st.nWidth));
}

}  // namespace

void PresentFrameWith(int nWidth, int nHeight, FrameWriteFn fnWrite, const void* pContext) {
  if (!fnWrite || nWidth <= 0 || nHeight <= 0) return;
  cFrameStore& st = Store();
  {
    std::lock_guard<std::mutex> lock(st.mtx);
    // Straight into the window's image when it was lent for this size and is
    // not being shown: the window then shows it without copying it again.
    st.bInImage = st.image.pPixels && st.image.nWidth == nWidth && st.image.nHeight == nHeight &&
                  !st.bImageShowing;
    if (st.bInImage) {
      fnWrite(st.image.pPixels, nWidth, nHeight, st.image.nPitch, pContext);
    } else {
      const size_t nPixels = static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight);
      if (st.pixels.size() != nPixels) st.pixels.resize(nPixels);
      fnWrite(st.pixels.data(), nWidth, nHeight, nWidth, pContext);
    }
    st.nWidth = nWidth;
    st.nHeight = nHeight;
    st.bNew = true;
    ++st.nHanded;
  }
  if (void (*pfnWake)() = g_pfnFrameWaker.load()) pfnWake();
}

void SetFrameWaker(void (*pfnWake)()) { g_pfnFrameWaker = pfnWake; }

void PresentFrame(const uint32_t* pPixels, int nWidth, int nHeight, int nPitchPixels) {
  if (!pPixels || nPitchPixels < nWidth) return;
  struct cSource {
    const uint32_t* pPixels;
    int nPitch;
  } src{pPixels, nPitchPixels};
  PresentFrameWith(
      nWidth, nHeight,
      [](uint32_t* pDst, int w, int h, int nDstPitch, const void* pContext) {
        const cSource& s = *static_cast<const cSource*>(pContext);
        for (int y = 0; y < h; ++y)
          std::copy(s.pPixels + static_cast<size_t>(y) * s.nPitch,
                    s.pPixels + static_cast<size_t>(y) * s.nPitch + w,
                    pDst + static_cast<size_t>(y) * nDstPitch);
      },
      &src);
}

void ForgetFrames() {
  cFrameStore& st = Store();
  {
    std::lock_guard<std::mutex> lock(st.mtx);
    std::vector<uint32_t>().swap(st.pixels);
    st.bInImage = false;
    st.nWidth = st.nHeight = 0;
    st.bNew = false;
    st.nHanded = st.nTaken = st.nShown = 0;
    st.bVSync = false;
    st.dwLastShow = 0;
    st.nQuickShows = 0;
  }
  st.cvShown.notify_all();
}

bool CopyLastFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight) {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (st.nWidth <= 0) return false;
  CopyFrameOut(st, pixels);
  nWidth = st.nWidth;
  nHeight = st.nHeight;
  return true;
}

bool TakeNewFrame(std::vector<uint32_t>& pixels, int& nWidth, int& nHeight) {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (!st.bNew) return false;
  CopyFrameOut(st, pixels);
  nWidth = st.nWidth;
  nHeight = st.nHeight;
  st.bNew = false;
  st.nTaken = st.nHanded;
  return true;
}

bool ShowNewFrame(FrameShowFn fnShow, void* pContext) {
  if (!fnShow) return false;
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (!st.bNew) return false;
  TakeBackImage(st);
  fnShow(st.pixels.data(), st.nWidth, st.nHeight, pContext);
  st.bNew = false;
  st.nTaken = st.nHanded;
  return true;
}

bool ShowLastFrame(FrameShowFn fnShow, void* pContext) {
  if (!fnShow) return false;
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  if (st.nWidth <= 0) return false;
  TakeBackImage(st);
  fnShow(st.pixels.data(), st.nWidth, st.nHeight, pContext);
  st.bNew = false;
  st.nTaken = st.nHanded;
  return true;
}

bool ShowFramesInImage(cFrameImageOwner& owner, bool bForce) {
  cFrameStore& st = Store();
  bool bShow = false;
  {
    std::lock_guard<std::mutex> lock(st.mtx);
    // A forced show draws the whole image again (its bars as well) from the
    // store's memory.
    if (st.image.pPixels && (bForce || owner.IsImageStale())) TakeBackImage(st);
    const FRAMEIMAGE image = owner.PrepareImage(st.nWidth, st.nHeight);
    if (!(image == st.image)) {
      // Made anew without warning: a frame that lived only in the old image
      // is gone with it, and the store's older one is all there is.
      if (st.bInImage) st.pixels.resize(size_t(st.nWidth) * size_t(st.nHeight));
      st.bInImage = false;
      st.image = image;
    }
    bShow = bForce ? st.nWidth > 0 : st.bNew;
    if (bShow) {
      if (!st.bInImage) owner.WriteFrame(st.pixels.data(), st.nWidth, st.nHeight);
      st.bNew = false;
      st.nTaken = st.nHanded;
    }
    if (!bShow && !bForce) return false;
    st.bImageShowing = true;
  }
  // Outside the lock: the drawing side never waits for the display server,
  // and writes into the store's memory until the image is free again.
  owner.PutImage();
  {
    std::lock_guard<std::mutex> lock(st.mtx);
    st.bImageShowing = false;
  }
  return bShow;
}

void TakeBackFrameImage() {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  TakeBackImage(st);
}

void NoteFramesShown() {
  cFrameStore& st = Store();
  {
    std::lock_guard<std::mutex> lock(st.mtx);
    if (st.nTaken == st.nShown) return;
    st.nShown = st.nTaken;
    if (st.bVSync) {
      const uint32_t dwNow = GetTickMs();
      st.nQuickShows = dwNow - st.dwLastShow < kQuickShowMs ? st.nQuickShows + 1 : 0;
      st.dwLastShow = dwNow;
      if (st.nQuickShows >= kQuickShowsToGiveUp) st.bVSync = false;
    }
  }
  st.cvShown.notify_all();
}

bool SetPresentVSync(bool bOn) {
  const bool bSynced = GetBackend().pPresenter->SetVSync(bOn);
  cFrameStore& st = Store();
  {
    std::lock_guard<std::mutex> lock(st.mtx);
    st.bVSync = bOn && bSynced;
    st.nQuickShows = 0;
    st.dwLastShow = GetTickMs();
  }
  // A frame waiting for the display goes at once when the display no
  // longer paces it.
  st.cvShown.notify_all();
  return bOn && bSynced;
}

bool IsPresentVSyncOn() {
  cFrameStore& st = Store();
  std::lock_guard<std::mutex> lock(st.mtx);
  return st.bVSync;
}

bool WaitFrameShown(int nTimeoutMs) {
  cFrameStore& st = Store();
  std::unique_lock<std::mutex> lock(st.mtx);
  const uint64_t nWanted = st.nHanded;
  return st.cvShown.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), [&] {
    return !st.bVSync || st.nShown >= nWanted;
  }) && st.bVSync;
}

bool SaveLastFramePng(const std::string& strPath, std::string* pstrError) {
  auto Fail = [&](const std::string& strWhy) {
    if (pstrError) *pstrError = strWhy;
    return false;
  };
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  if (!CopyLastFrame(pixels, w, h)) return Fail("no frame was shown");
  std::vector<uint8_t> png = EncodePng(pixels.data(), w, h, w);
  if (png.empty()) return Fail("the frame could not be encoded");
  std::FILE* fp = std::fopen(strPath.c_str(), "wb");
  if (!fp) return Fail(std::strerror(errno));
  bool bOk = std::fwrite(png.data(), 1, png.size(), fp) == png.size();
  int nErrno = bOk ? 0 : errno;
  if (std::fclose(fp) != 0 && bOk) {
    bOk = false;
    nErrno = errno;
  }
  if (bOk) return true;
  // Half a picture is no screenshot.
  std::remove(strPath.c_str());
  return Fail(std::strerror(nErrno));
}

}  // namespace plat
