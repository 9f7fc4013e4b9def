// Sound effects. This build keeps the table; no device is opened yet, so
// effects are silent.
#include "sound/sound_effects.h"

cSafeVector<DSSOUNDDATA> g_SoundList;
cSafeVector<DSSOUNDINFO> g_SoundInfoList;

bool DS_Init(plat::WndHandle, int, int, int) { return true; }

void DSCreateSoundList(cSafeVector<DSSOUNDDATA>& list, cSafeVector<DSSOUNDINFO>& infos, int) {
  for (int i = 0; i < static_cast<int>(list.size()) && i < static_cast<int>(infos.size()); ++i) {
    list.At(i).strFileName = infos.At(i).szFileName;
    list.At(i).nBufferCount = infos.At(i).nBufferCount;
    list.At(i).nNextBuffer = 0;
  }
}

void DSPlay(DSSOUNDDATA& sound, uint32_t) {
  if (sound.nBufferCount > 0) sound.nNextBuffer = (sound.nNextBuffer + 1) % sound.nBufferCount;
}

void DSRelease() {
  g_SoundList.clear();
  g_SoundInfoList.clear();
}
