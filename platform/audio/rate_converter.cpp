// Sample-rate conversion over libsamplerate.
#include "platform/audio/rate_converter.h"

#include <samplerate.h>

#include <algorithm>

namespace plat::audio {

namespace {

// Near-transparent for 16-bit sound (about 97 dB of signal above what the
// conversion adds) and fast enough to convert every sound at start-up and
// music as it plays.
constexpr int kConverter = SRC_SINC_MEDIUM_QUALITY;
constexpr int kChannels = 2;
// The converter takes ratios up to 256 in one pass; a sound recorded at a
// very low rate (down to 100 Hz) is raised in steps of at most this much.
constexpr int kMaxStepRatio = 200;

}  // namespace

std::vector<float> ConvertRate(const float* pIn, int64_t nIn, int nInRate, int nOutRate,
                               int64_t nOut) {
  std::vector<float> out(static_cast<size_t>(std::max<int64_t>(nOut, 0)) * kChannels, 0.0f);
  if (nIn <= 0 || nOut <= 0 || nInRate <= 0 || nOutRate <= 0) return out;
  if (static_cast<int64_t>(nOutRate) > static_cast<int64_t>(nInRate) * kMaxStepRatio) {
    const int nMidRate = nInRate * kMaxStepRatio;
    const int64_t nMid = nIn * kMaxStepRatio;
    std::vector<float> mid = ConvertRate(pIn, nIn, nInRate, nMidRate, nMid);
    if (mid.empty()) return {};
    return ConvertRate(mid.data(), nMid, nMidRate, nOutRate, nOut);
  }
  // Room for the frame or two the converter may give beyond the length.
  std::vector<float> work(static_cast<size_t>(nOut + 16) * kChannels, 0.0f);
  SRC_DATA data{};
  data.data_in = pIn;
  data.input_frames = static_cast<long>(nIn);
  data.data_out = work.data();
  data.output_frames = static_cast<long>(nOut + 16);
  data.src_ratio = static_cast<double>(nOutRate) / nInRate;
  data.end_of_input = 1;
  // One converter a thread, reset for each sound: making one fills tables
  // and buffers of its own, which every sound of a project would repeat.
  struct cState {
    SRC_STATE* pState = nullptr;
    ~cState() {
      if (pState) src_delete(pState);
    }
  };
  thread_local cState state;
  if (!state.pState) {
    int nError = 0;
    state.pState = src_new(kConverter, kChannels, &nError);
    if (!state.pState) return {};
  } else if (src_reset(state.pState) != 0) {
    return {};
  }
  if (src_process(state.pState, &data) != 0) return {};
  const int64_t nGot = std::min<int64_t>(data.output_frames_gen, nOut);
  std::copy(work.begin(), work.begin() + nGot * kChannels, out.begin());
  return out;
}

struct cRateStream::cImpl {
  SOURCE source;
  SRC_STATE* pState = nullptr;
  std::vector<float> vIn;  // what the source gave last, handed to the converter
  bool bSourceEnded = false;

  static long Pull(void* pData, float** ppFrames) {
    auto* self = static_cast<cImpl*>(pData);
    constexpr int64_t kChunk = 1024;
    self->vIn.resize(kChunk * kChannels);
    const int64_t n = self->bSourceEnded ? 0 : self->source(self->vIn.data(), kChunk);
    if (n <= 0) self->bSourceEnded = true;
    *ppFrames = self->vIn.data();
    return static_cast<long>(std::max<int64_t>(n, 0));
  }
};

cRateStream::cRateStream(SOURCE source) : m_pImpl(std::make_unique<cImpl>()) {
  m_pImpl->source = std::move(source);
  int nError = 0;
  m_pImpl->pState = src_callback_new(&cImpl::Pull, kConverter, kChannels, &nError, m_pImpl.get());
}

cRateStream::~cRateStream() {
  if (m_pImpl->pState) src_delete(m_pImpl->pState);
}

void cRateStream::Reset() {
  if (m_pImpl->pState) src_reset(m_pImpl->pState);
  m_pImpl->bSourceEnded = false;
}

int64_t cRateStream::MixInto(float* pOut, int64_t nFrames, int nInRate, int nOutRate) {
  cImpl& im = *m_pImpl;
  if (!im.pState || nFrames <= 0 || nInRate <= 0 || nOutRate <= 0) return 0;
  float buf[512 * kChannels];
  int64_t nDone = 0;
  while (nDone < nFrames) {
    const long nWant = static_cast<long>(std::min<int64_t>(512, nFrames - nDone));
    const long nGot =
        src_callback_read(im.pState, static_cast<double>(nOutRate) / nInRate, nWant, buf);
    if (nGot <= 0) break;
    for (long i = 0; i < nGot * kChannels; ++i) pOut[nDone * kChannels + i] += buf[i];
    nDone += nGot;
  }
  return nDone;
}

}  // namespace plat::audio
