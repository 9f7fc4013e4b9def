// The music manager: five track slots, each an Ogg or a MIDI file, played
// one at a time.
#pragma once

#include <string>
#include <vector>

class cBgm {
 public:
  // Loads the players and makes nTracks slots; 0 when the player cannot be
  // loaded.
  int Init(int nMode, const char* szDefaultOgg, const char* szDefaultMidi, int nTracks);
  void SetTrack(int nTrack, const char* szFileName);
  void Play(int nPlayer, int nTrack, int bLoop, int nUnused, int bForce);
  void Stop();
  void Release();

  bool IsInitialised() const { return m_bInit; }
  int GetCurrentTrack() const { return m_nCurrent; }

 private:
  bool m_bInit = false;
  int m_nCurrent = -1;
  std::vector<std::string> m_vTracks;
};

extern cBgm g_Bgm;
