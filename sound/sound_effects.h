// Sound effects: the sound table (one entry per sound number; 0 to 16 the
// system sounds, 16 + k the k-th entry of Sound.dat), each entry a few
// buffers over one set of samples played round robin, at volumes in
// hundredths of a decibel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/safe_vector.h"
#include "platform/audio/mixer.h"
#include "platform/msg/messages.h"

// One sound definition, as start-up fills it.
struct DSSOUNDINFO {
  std::string strFileName;
  int32_t nBufferCount = 0;
  int32_t nVolume = 0;  // 0: the volume given to DSCreateSoundList
  int32_t nFlag = 0;
};

// One entry of the sound table; a default entry is a valid empty one.
struct DSSOUNDDATA {
  std::string strFileName;
  // Buffer 0 holds the samples, the others are duplicates sharing them; an
  // entry whose file did not load has no buffer and plays nothing.
  std::vector<plat::audio::VoiceId> vBuffers;
  int32_t nBufferCount = 0;
  int32_t nNextBuffer = 0;
};

extern cSafeVector<DSSOUNDDATA> g_SoundList;
extern cSafeVector<DSSOUNDINFO> g_SoundInfoList;

// The system sounds come first: the table never holds fewer entries.
constexpr int kSystemSoundCount = 17;

// The options' sound level 0 to 10 as a volume; other levels are clamped.
extern const int g_SoundVolumeTable[11];
int DSVolumeFromLevel(int nLevel);

constexpr uint32_t kDSPlayLooping = 1;

int DS_Init(plat::WndHandle hOwner, int nSamplesPerSec, int nBitsPerSample, int nChannels);
int DSCreateSoundList(cSafeVector<DSSOUNDDATA>& vList, cSafeVector<DSSOUNDINFO>& vInfo,
                      int nVolume);
int DSCreateSound(DSSOUNDDATA& entry, const char* szFile, int nCount, int nVolume);
void DSPlay(DSSOUNDDATA& entry, uint32_t dwFlags);
int DSSetVolume(DSSOUNDDATA& entry, int nBuffer, int nVolume, int bRelative);
void DSRelease();
// True between a successful DS_Init and DSRelease.
bool DSIsReady();
