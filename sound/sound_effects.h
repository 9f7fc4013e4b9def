// Sound effects: the sound table and its definitions.
#pragma once

#include <cstdint>
#include <string>

#include "app/safe_vector.h"
#include "platform/msg/messages.h"

// One entry of the sound table; a zeroed entry is a valid empty entry.
struct DSSOUNDDATA {
  std::string strFileName;
  int nBufferCount = 0;
  int nNextBuffer = 0;
};

// What start-up asks of one sound-table entry.
struct DSSOUNDINFO {
  char szFileName[260] = {};
  int32_t nBufferCount = 0;
  int32_t nVolume = 0;  // hundredths of a decibel; 0: the table's volume
  int32_t nFlag = 0;
};

extern cSafeVector<DSSOUNDDATA> g_SoundList;
extern cSafeVector<DSSOUNDINFO> g_SoundInfoList;

bool DS_Init(plat::WndHandle hWnd, int nRate, int nBits, int nChannels);
void DSCreateSoundList(cSafeVector<DSSOUNDDATA>& list, cSafeVector<DSSOUNDINFO>& infos,
                       int nVolume);
void DSPlay(DSSOUNDDATA& sound, uint32_t dwFlags);
void DSRelease();
