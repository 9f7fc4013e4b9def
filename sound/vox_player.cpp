// Ogg players over the mixer's Ogg sources.
#include "sound/vox_player.h"

#include "sound/sound_file.h"

namespace {

// Music is decoded from memory; a file above this is not music.
constexpr size_t kMaxOggBytes = 512u << 20;

}  // namespace

int cVox::Init() {
  m_bLoaded = 1;
  return 1;
}

int cVox::Create(int n) {
  m_nCurrent = -1;
  m_vPlayers.clear();
  m_nCount = n > 0 ? n : 0;
  for (int i = 0; i < m_nCount; ++i)
    m_vPlayers.push_back(std::make_unique<plat::audio::cOggStream>());
  return 1;
}

plat::audio::cOggStream* cVox::GetPlayer(int n) {
  if (n < 0 || n >= static_cast<int>(m_vPlayers.size())) return nullptr;
  return m_vPlayers[static_cast<size_t>(n)].get();
}

int cVox::Play(int nPlayer, const char* szPath, int bLoop) {
  if (!szPath || !*szPath) return 0;
  Stop();
  plat::audio::cOggStream* pPlayer = GetPlayer(nPlayer);
  if (!pPlayer) return 0;
  pPlayer->Unload();
  std::vector<uint8_t> vBytes;
  if (!ReadSoundFile(szPath, vBytes, kMaxOggBytes) || !pPlayer->Load(std::move(vBytes))) {
    m_nCurrent = -1;
    return 0;
  }
  pPlayer->SetLoopCount(bLoop ? plat::audio::kLoopEndless : 0);
  pPlayer->Play();
  m_nCurrent = nPlayer;
  return 1;
}

void cVox::Stop() {
  if (plat::audio::cOggStream* pPlayer = GetPlayer(m_nCurrent)) pPlayer->Stop();
  m_nCurrent = -1;
}

void cVox::Release() {
  m_vPlayers.clear();
  m_nCount = 0;
  m_nCurrent = -1;
  m_bLoaded = 0;
}
