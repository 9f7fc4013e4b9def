// Ogg Vorbis decoding from memory, brought to the mixer's rate.
#include "platform/audio/ogg_stream.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "platform/audio/rate_converter.h"

namespace plat::audio {

namespace {

struct MEMFILE {
  std::vector<uint8_t> vBytes;
  size_t nPos = 0;
};

size_t MemRead(void* pDst, size_t nSize, size_t nCount, void* pSource) {
  MEMFILE* f = static_cast<MEMFILE*>(pSource);
  if (nSize == 0) return 0;
  const size_t nLeft = f->vBytes.size() - f->nPos;
  const size_t nItems = std::min(nCount, nLeft / nSize);
  // An empty file has no bytes to copy from (and no address to copy from).
  if (nItems == 0) return 0;
  std::memcpy(pDst, f->vBytes.data() + f->nPos, nItems * nSize);
  f->nPos += nItems * nSize;
  return nItems;
}

int MemSeek(void* pSource, ogg_int64_t nOffset, int nWhence) {
  MEMFILE* f = static_cast<MEMFILE*>(pSource);
  int64_t nBase = 0;
  if (nWhence == SEEK_CUR)
    nBase = static_cast<int64_t>(f->nPos);
  else if (nWhence == SEEK_END)
    nBase = static_cast<int64_t>(f->vBytes.size());
  const int64_t nNew = nBase + nOffset;
  if (nNew < 0 || nNew > static_cast<int64_t>(f->vBytes.size())) return -1;
  f->nPos = static_cast<size_t>(nNew);
  return 0;
}

long MemTell(void* pSource) { return static_cast<long>(static_cast<MEMFILE*>(pSource)->nPos); }

}  // namespace

struct cOggStream::cImpl {
  MEMFILE file;
  OggVorbis_File vf{};
  bool bOpen = false;
  bool bPlaying = false;
  int nLoopsLeft = 0;
  int nLoopCount = 0;
  bool bEnded = false;  // the decoder has nothing more to give this pass
  // Decoded frames at the stream's own rate, float stereo, read from nRead.
  std::vector<float> vBuf;
  size_t nRead = 0;
  int nInRate = 0;
  // At another rate than the mixer's, frames go through a converter that
  // pulls them from the buffer above.
  cRateStream converter{[this](float* pOut, int64_t nMax) { return Take(pOut, nMax); }};

  size_t Available() const { return vBuf.size() / 2 - nRead; }

  // Up to nMax decoded frames, in order; 0 at the true end of the piece.
  int64_t Take(float* pOut, int64_t nMax) {
    if (Available() < 1 && !Decode()) return 0;
    const int64_t n = std::min<int64_t>(nMax, static_cast<int64_t>(Available()));
    std::copy(vBuf.begin() + static_cast<std::ptrdiff_t>(nRead * 2),
              vBuf.begin() + static_cast<std::ptrdiff_t>((nRead + n) * 2), pOut);
    nRead += static_cast<size_t>(n);
    return n;
  }

  // Decodes more frames; false at the true end of the piece.
  bool Decode() {
    if (!bOpen || bEnded) return false;
    if (nRead > 4096) {
      vBuf.erase(vBuf.begin(), vBuf.begin() + static_cast<std::ptrdiff_t>(nRead * 2));
      nRead = 0;
    }
    bool bSeeked = false;
    for (;;) {
      float** pcm = nullptr;
      int nLink = 0;
      const long n = ov_read_float(&vf, &pcm, 4096, &nLink);
      if (n > 0) {
        const vorbis_info* info = ov_info(&vf, nLink);
        const int nCh = info ? info->channels : 1;
        if (info && info->rate > 0) nInRate = static_cast<int>(info->rate);
        const size_t nOld = vBuf.size();
        vBuf.resize(nOld + static_cast<size_t>(n) * 2);
        for (long i = 0; i < n; ++i) {
          vBuf[nOld + 2 * i] = pcm[0][i];
          vBuf[nOld + 2 * i + 1] = nCh >= 2 ? pcm[1][i] : pcm[0][i];
        }
        return true;
      }
      if (n == OV_HOLE) continue;  // a gap in the data: keep going with what follows
      // End of the stream (or damage that ends it): loop back or stop.
      if (nLoopsLeft == 0 || bSeeked || ov_pcm_seek(&vf, 0) != 0) {
        bEnded = true;
        return false;
      }
      if (nLoopsLeft != kLoopEndless) --nLoopsLeft;
      bSeeked = true;  // a stream that yields nothing after a seek would spin
    }
  }
};

cOggStream::cOggStream() : m_pImpl(std::make_unique<cImpl>()) { cMixer::Get().AddSource(this); }

cOggStream::~cOggStream() {
  cMixer::Get().RemoveSource(this);
  Unload();
}

bool cOggStream::Load(std::vector<uint8_t> vBytes) {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  Unload();
  cImpl& im = *m_pImpl;
  im.file.vBytes = std::move(vBytes);
  im.file.nPos = 0;
  ov_callbacks cb{MemRead, MemSeek, nullptr, MemTell};
  if (ov_open_callbacks(&im.file, &im.vf, nullptr, 0, cb) != 0) {
    im.file.vBytes.clear();
    return false;
  }
  const vorbis_info* info = ov_info(&im.vf, -1);
  if (!info || info->channels < 1 || info->rate <= 0) {
    ov_clear(&im.vf);
    im.file.vBytes.clear();
    return false;
  }
  im.bOpen = true;
  im.nInRate = static_cast<int>(info->rate);
  return true;
}

void cOggStream::Unload() {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  cImpl& im = *m_pImpl;
  if (im.bOpen) ov_clear(&im.vf);
  im.bOpen = false;
  im.bPlaying = false;
  im.file.vBytes.clear();
  im.vBuf.clear();
  im.nRead = 0;
  im.converter.Reset();
  im.bEnded = false;
}

bool cOggStream::IsLoaded() {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  return m_pImpl->bOpen;
}

void cOggStream::SetLoopCount(int nLoops) {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  m_pImpl->nLoopCount = std::max(0, nLoops);
  m_pImpl->nLoopsLeft = m_pImpl->nLoopCount;
}

void cOggStream::Play() {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  cImpl& im = *m_pImpl;
  if (!im.bOpen) return;
  // Every play starts the piece from its beginning.
  ov_pcm_seek(&im.vf, 0);
  im.vBuf.clear();
  im.nRead = 0;
  im.converter.Reset();
  im.bEnded = false;
  im.nLoopsLeft = im.nLoopCount;
  im.bPlaying = true;
}

void cOggStream::Stop() {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  m_pImpl->bPlaying = false;
}

bool cOggStream::IsPlaying() {
  std::lock_guard<std::recursive_mutex> lock(cMixer::Get().GetLock());
  return m_pImpl->bPlaying;
}

void cOggStream::MixInto(float* pOut, int nFrames) {
  cImpl& im = *m_pImpl;
  if (!im.bPlaying) return;
  const int64_t nOutRate = cMixer::Get().GetRate();
  for (int i = 0; i < nFrames; ++i) {
    if (im.nInRate == nOutRate) {
      if (im.Available() < 1 && !im.Decode()) {
        im.bPlaying = false;
        return;
      }
      pOut[2 * i] += im.vBuf[im.nRead * 2];
      pOut[2 * i + 1] += im.vBuf[im.nRead * 2 + 1];
      ++im.nRead;
      continue;
    }
    // The rest of this pull through the converter, in one go.
    if (im.converter.MixInto(pOut + 2 * i, nFrames - i, im.nInRate, static_cast<int>(nOutRate)) <
        nFrames - i)
      im.bPlaying = false;
    return;
  }
}

}  // namespace plat::audio
