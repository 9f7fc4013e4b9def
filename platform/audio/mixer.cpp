// The mixer: voices and music sources summed into float stereo.
#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/audio/rate_converter.h"

namespace plat::audio {

float GainFromVolume(int nVolume) {
  if (nVolume <= kVolumeSilent) return 0.0f;
  if (nVolume >= kVolumeFull) return 1.0f;
  return static_cast<float>(std::pow(10.0, nVolume / 2000.0));
}

// Never destroyed: players held by global objects leave the mix from their
// destructors at exit, after function statics would already be gone.
cMixer& cMixer::Get() {
  static cMixer* pMixer = new cMixer;
  return *pMixer;
}

void cMixer::SetRate(int nRate) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (nRate > 0) m_nRate = nRate;
}

namespace {

// One input frame as float stereo; mono goes to both sides at full gain, as a
// centred sound buffer plays it.
void ReadFrame(const PCMFORMAT& fmt, const uint8_t* p, float& fL, float& fR) {
  if (fmt.nBitsPerSample == 8) {
    fL = (static_cast<int>(p[0]) - 128) / 128.0f;
    fR = fmt.nChannels == 2 ? (static_cast<int>(p[1]) - 128) / 128.0f : fL;
  } else {
    auto s16 = [](const uint8_t* q) {
      return static_cast<int16_t>(static_cast<uint16_t>(q[0] | (q[1] << 8)));
    };
    fL = s16(p) / 32768.0f;
    fR = fmt.nChannels == 2 ? s16(p + 2) / 32768.0f : fL;
  }
}

}  // namespace

SampleRef cMixer::MakeSample(const PCMFORMAT& fmt, const uint8_t* pData, size_t nBytes) const {
  if (fmt.nChannels < 1 || fmt.nChannels > 2) return nullptr;
  if (fmt.nBitsPerSample != 8 && fmt.nBitsPerSample != 16) return nullptr;
  if (fmt.nSamplesPerSec <= 0) return nullptr;
  const size_t nFrameBytes = static_cast<size_t>(fmt.nChannels * fmt.nBitsPerSample / 8);
  const int64_t nIn = static_cast<int64_t>(nBytes / nFrameBytes);
  const int64_t nInRate = fmt.nSamplesPerSec;
  const int64_t nOutRate = m_nRate;
  // The sound keeps its length in time: n frames at the file's rate become
  // n × out / in frames, rounded to the nearest.
  const int64_t nOut = (nIn * nOutRate + nInRate / 2) / nInRate;
  if (nOut > kMaxSampleFrames) return nullptr;

  auto data = std::make_shared<cSampleData>();
  std::vector<float> frames(static_cast<size_t>(nIn) * 2);
  for (int64_t i = 0; i < nIn; ++i)
    ReadFrame(fmt, pData + i * nFrameBytes, frames[2 * i], frames[2 * i + 1]);
  data->m_vSource = std::move(frames);
  data->m_nSourceRate = fmt.nSamplesPerSec;
  data->m_nRate = m_nRate;
  data->m_nFrames = nOut;
  return data;
}

void cSampleData::Convert() const {
  if (m_nSourceRate == m_nRate) {
    m_vFrames = std::move(m_vSource);
    return;
  }
  const int64_t nIn = static_cast<int64_t>(m_vSource.size() / 2);
  m_vFrames = ConvertRate(m_vSource.data(), nIn, m_nSourceRate, m_nRate, m_nFrames);
  std::vector<float>().swap(m_vSource);
  // A converter that failed leaves a sound that plays as nothing.
  if (m_vFrames.size() != static_cast<size_t>(m_nFrames) * 2) m_vFrames.clear();
}

cMixer::VOICE* cMixer::FindVoice(VoiceId id) {
  if (id < 0 || static_cast<size_t>(id) >= m_vVoices.size()) return nullptr;
  VOICE& v = m_vVoices[static_cast<size_t>(id)];
  return v.bUsed ? &v : nullptr;
}

VoiceId cMixer::CreateVoice(SampleRef sample) {
  if (!sample) return kNoVoice;
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  size_t i = 0;
  while (i < m_vVoices.size() && m_vVoices[i].bUsed) ++i;
  if (i == m_vVoices.size()) m_vVoices.emplace_back();
  VOICE& v = m_vVoices[i];
  v = VOICE{};
  v.sample = std::move(sample);
  v.bUsed = true;
  return static_cast<VoiceId>(i);
}

VoiceId cMixer::DuplicateVoice(VoiceId id) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  VOICE* v = FindVoice(id);
  if (!v) return kNoVoice;
  const int nVolume = v->nVolume;
  const VoiceId copy = CreateVoice(v->sample);  // may move the voice table
  SetVoiceVolume(copy, nVolume);
  return copy;
}

void cMixer::DeleteVoice(VoiceId id) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (VOICE* v = FindVoice(id)) *v = VOICE{};
}

void cMixer::RestartVoice(VoiceId id, bool bLoop) {
  // A sound not yet converted is converted before the lock is taken, so the
  // mix goes on meanwhile.
  SampleRef sample;
  {
    std::lock_guard<std::recursive_mutex> lock(m_Lock);
    if (VOICE* v = FindVoice(id)) sample = v->sample;
  }
  if (sample) sample->GetFrames();
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (VOICE* v = FindVoice(id)) {
    v->nPos = 0;
    v->bLoop = bLoop;
    v->bPlaying = v->sample->GetFrameCount() > 0;
  }
}

void cMixer::StopVoice(VoiceId id) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (VOICE* v = FindVoice(id)) v->bPlaying = false;
}

bool cMixer::IsVoicePlaying(VoiceId id) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  VOICE* v = FindVoice(id);
  return v && v->bPlaying;
}

void cMixer::SetVoiceVolume(VoiceId id, int nVolume) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (VOICE* v = FindVoice(id)) {
    v->nVolume = nVolume;
    v->fGain = GainFromVolume(nVolume);
  }
}

int cMixer::GetVoiceVolume(VoiceId id) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  VOICE* v = FindVoice(id);
  return v ? v->nVolume : 0;
}

void cMixer::DeleteAllVoices() {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  m_vVoices.clear();
}

int cMixer::GetVoiceCount() {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  return static_cast<int>(
      std::count_if(m_vVoices.begin(), m_vVoices.end(), [](const VOICE& v) { return v.bUsed; }));
}

void cMixer::AddSource(cMusicSource* pSource) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (std::find(m_vSources.begin(), m_vSources.end(), pSource) == m_vSources.end())
    m_vSources.push_back(pSource);
}

void cMixer::RemoveSource(cMusicSource* pSource) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  m_vSources.erase(std::remove(m_vSources.begin(), m_vSources.end(), pSource), m_vSources.end());
}

void cMixer::Render(float* pOut, int nFrames) {
  if (nFrames <= 0) return;
  std::fill(pOut, pOut + static_cast<size_t>(nFrames) * 2, 0.0f);
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  for (VOICE& v : m_vVoices) {
    if (!v.bUsed || !v.bPlaying) continue;
    const float* pSrc = v.sample->GetFrames().data();
    const int64_t nLen = v.sample->GetFrameCount();
    const float fGain = v.fGain;
    int nDone = 0;
    while (nDone < nFrames && v.bPlaying) {
      const int64_t nRun = std::min<int64_t>(nFrames - nDone, nLen - v.nPos);
      const float* s = pSrc + v.nPos * 2;
      float* d = pOut + static_cast<size_t>(nDone) * 2;
      if (fGain != 0.0f) {
        for (int64_t i = 0; i < nRun * 2; ++i) d[i] += s[i] * fGain;
      }
      v.nPos += nRun;
      nDone += static_cast<int>(nRun);
      if (v.nPos >= nLen) {
        v.nPos = 0;
        if (!v.bLoop) v.bPlaying = false;
      }
    }
  }
  for (cMusicSource* pSource : m_vSources) pSource->MixInto(pOut, nFrames);
  for (size_t i = 0; i < static_cast<size_t>(nFrames) * 2; ++i)
    pOut[i] = std::clamp(pOut[i], -1.0f, 1.0f);
}

}  // namespace plat::audio
