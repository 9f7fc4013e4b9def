// The music manager. This build keeps the track table and the current track;
// no music player is attached yet, so nothing is heard.
#include "sound/bgm.h"

cBgm g_Bgm;

int cBgm::Init(int, const char*, const char*, int nTracks) {
  m_vTracks.assign(nTracks > 0 ? nTracks : 0, std::string());
  m_nCurrent = -1;
  m_bInit = true;
  return 1;
}

void cBgm::SetTrack(int nTrack, const char* szFileName) {
  if (nTrack < 0 || nTrack >= static_cast<int>(m_vTracks.size())) return;
  m_vTracks[nTrack] = szFileName ? szFileName : "";
}

void cBgm::Play(int, int nTrack, int, int, int bForce) {
  if (!m_bInit) return;
  if (nTrack == m_nCurrent && !bForce) return;
  m_nCurrent = nTrack;
}

void cBgm::Stop() {
  if (!m_bInit) return;
}

void cBgm::Release() {
  m_vTracks.clear();
  m_nCurrent = -1;
  m_bInit = false;
}
