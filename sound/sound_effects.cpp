// Sound effects over the mixer: every entry's buffers are voices sharing one
// converted sample; a play request restarts the entry's next voice.
#include "sound/sound_effects.h"

#include <algorithm>
#include <mutex>

#include "base/global_order.h"
#include "base/logs.h"
#include "platform/audio/audio_output.h"
#include "sound/wave_reader.h"

GLOBAL_OBJECT(GLOBAL_SOUND_LIST) cSafeVector<DSSOUNDDATA> g_SoundList;
GLOBAL_OBJECT(GLOBAL_SOUND_INFO) cSafeVector<DSSOUNDINFO> g_SoundInfoList;

const int g_SoundVolumeTable[11] = {-10000, -3000, -2000, -1300, -800, -500,
                                    -300,   -150,  -80,   -30,   0};

namespace {

// DSPlay comes from the window thread and, for the cursor sound, from the
// game thread: the round-robin counters change under this lock.
std::recursive_mutex g_TableLock;
bool g_bReady = false;
plat::WndHandle g_hOwner = nullptr;
cSafeVector<DSSOUNDDATA>* g_pList = nullptr;
cSafeVector<DSSOUNDINFO>* g_pInfo = nullptr;

// More duplicates than this only multiply one sound's loudness.
constexpr int kMaxBuffers = 256;

void ReleaseEntry(DSSOUNDDATA& entry) {
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  for (size_t i = entry.vBuffers.size(); i-- > 0;) mixer.DeleteVoice(entry.vBuffers[i]);
  entry = DSSOUNDDATA{};
}

// Loads the file into buffer slot 0 of the entry.
int DSCreateBuffer(plat::audio::VoiceId& slot, const char* szFile) {
  WAVEDATA wave;
  if (!DSLoadWave(szFile, &wave)) {
    ReportFDebug("%s の読み込みに失敗しました！", szFile);
    return 0;
  }
  plat::audio::PCMFORMAT fmt;
  fmt.nChannels = wave.fmt.nChannels;
  fmt.nBitsPerSample = wave.fmt.wBitsPerSample;
  fmt.nSamplesPerSec = static_cast<int>(wave.fmt.nSamplesPerSec);
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  slot = mixer.CreateVoice(mixer.MakeSample(fmt, wave.vData.data(), wave.vData.size()));
  if (slot == plat::audio::kNoVoice) {
    DebugLogF("%s生成失敗！", szFile);
    return 0;
  }
  return 1;
}

}  // namespace

int DSVolumeFromLevel(int nLevel) { return g_SoundVolumeTable[std::clamp(nLevel, 0, 10)]; }

bool DSIsReady() {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  return g_bReady;
}

// The requested format is that of the old primary buffer; the mixer always
// runs in float stereo at the device's rate, so it is not used.
int DS_Init(plat::WndHandle hOwner, int, int, int) {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  const plat::audio::OUTPUTKIND kind = plat::audio::OpenOutput(plat::audio::IsSilentRequested());
  if (kind == plat::audio::OUTPUTKIND::Silent) {
    // No device is no reason to stop the game: it runs without sound.
    ReportF("Sound : no audio output, running silent (%s)", plat::audio::GetSilentReason().c_str());
  }
  g_hOwner = hOwner;
  g_pList = nullptr;
  g_pInfo = nullptr;
  g_bReady = true;
  return 1;
}

int DSCreateSound(DSSOUNDDATA& entry, const char* szFile, int nCount, int nVolume) {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  if (!g_bReady) return 1;
  ReleaseEntry(entry);
  const char* szName = szFile ? szFile : "";
  nCount = std::clamp(nCount, 1, kMaxBuffers);
  entry.vBuffers.assign(static_cast<size_t>(nCount), plat::audio::kNoVoice);
  if (!DSCreateBuffer(entry.vBuffers[0], szName)) return 0;
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  for (int i = 1; i < nCount; ++i) {
    entry.vBuffers[static_cast<size_t>(i)] = mixer.DuplicateVoice(entry.vBuffers[0]);
    if (entry.vBuffers[static_cast<size_t>(i)] == plat::audio::kNoVoice) {
      DebugLogF("%sのメモリ共用バッファの生成失敗！", szName);
      return 0;
    }
  }
  entry.nBufferCount = nCount;
  entry.strFileName.assign(szName, std::min<size_t>(std::char_traits<char>::length(szName), 259));
  if (nVolume != 0) {
    for (int i = 0; i < nCount; ++i) DSSetVolume(entry, i, nVolume, 0);
  }
  return 1;
}

int DSCreateSoundList(cSafeVector<DSSOUNDDATA>& vList, cSafeVector<DSSOUNDINFO>& vInfo,
                      int nVolume) {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  if (!g_bReady) return 1;
  if (vList.size() < kSystemSoundCount) vList.resize(kSystemSoundCount);
  if (vInfo.size() < vList.size()) vInfo.resize(vList.size());
  g_pList = &vList;
  g_pInfo = &vInfo;
  for (int i = 0; i < static_cast<int>(vList.size()); ++i) {
    DSSOUNDDATA& entry = vList.At(i);
    if (!entry.vBuffers.empty()) continue;
    const DSSOUNDINFO& info = vInfo.At(i);
    // A failed entry stays silent; the others still load.
    DSCreateSound(entry, info.strFileName.c_str(), info.nBufferCount,
                  nVolume != 0 ? nVolume : info.nVolume);
  }
  return 1;
}

void DSPlay(DSSOUNDDATA& entry, uint32_t dwFlags) {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  if (!g_bReady) return;
  if (entry.nNextBuffer < 0 || entry.nNextBuffer >= static_cast<int>(entry.vBuffers.size())) return;
  const plat::audio::VoiceId voice = entry.vBuffers[static_cast<size_t>(entry.nNextBuffer)];
  if (voice == plat::audio::kNoVoice) return;
  // Restarting cuts off whatever this buffer still played: the oldest of
  // the entry's sounds gives way.
  plat::audio::cMixer::Get().RestartVoice(voice, (dwFlags & kDSPlayLooping) != 0);
  ++entry.nNextBuffer;
  if (entry.nNextBuffer >= entry.nBufferCount) entry.nNextBuffer = 0;
}

int DSSetVolume(DSSOUNDDATA& entry, int nBuffer, int nVolume, int bRelative) {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  const bool bHasBuffer = g_bReady && nBuffer >= 0 &&
                          nBuffer < static_cast<int>(entry.vBuffers.size()) &&
                          entry.vBuffers[static_cast<size_t>(nBuffer)] != plat::audio::kNoVoice;
  // An entry without its buffer (a file that did not load) is skipped.
  if (!bHasBuffer) return std::clamp(nVolume, plat::audio::kVolumeSilent, plat::audio::kVolumeFull);
  const plat::audio::VoiceId voice = entry.vBuffers[static_cast<size_t>(nBuffer)];
  const int64_t nBase = bRelative ? mixer.GetVoiceVolume(voice) : 0;
  const int nSet = static_cast<int>(
      std::clamp<int64_t>(nBase + nVolume, plat::audio::kVolumeSilent, plat::audio::kVolumeFull));
  mixer.SetVoiceVolume(voice, nSet);
  return nSet;
}

void DSRelease() {
  std::lock_guard<std::recursive_mutex> lock(g_TableLock);
  if (g_pList) {
    for (DSSOUNDDATA& entry : *g_pList) ReleaseEntry(entry);
  }
  for (DSSOUNDDATA& entry : g_SoundList) ReleaseEntry(entry);
  plat::audio::cMixer::Get().DeleteAllVoices();
  plat::audio::CloseOutput();
  g_pList = nullptr;
  g_pInfo = nullptr;
  g_hOwner = nullptr;
  g_bReady = false;
}
