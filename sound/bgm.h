// The music manager: five tracks (title, world map, stage select, options,
// stage), each an Ogg or a MIDI file chosen by its extension, played by the
// Ogg player or the MIDI player; at most one piece sounds at a time.
#pragma once

#include <mutex>
#include <string>

#include "base/safe_vector.h"
#include "sound/midi_player.h"
#include "sound/vox_player.h"

constexpr int kBgmTrackCount = 5;

// The program's two tables of track files, handed to cBgm::Init.
extern std::string g_BgmOggNames[kBgmTrackCount];
extern std::string g_BgmMidNames[kBgmTrackCount];

enum { BGM_KIND_UNDECIDED = 0, BGM_KIND_OGG = 1, BGM_KIND_MIDI = 2 };
enum { BGM_SILENT = 0, BGM_OGG_PLAYING = 1, BGM_MIDI_PLAYING = 2 };

class cBgm {
 public:
  cBgm() = default;
  ~cBgm();
  cBgm(const cBgm&) = delete;
  cBgm& operator=(const cBgm&) = delete;

  int Init(int nPlayers, std::string* pOggNames, std::string* pMidNames, int nTracks);
  int SetPlayerCount(int n);
  // 1 for an Ogg or MIDI name; 0 otherwise (the track is then undecided).
  int SetTrack(int nTrack, const char* szPath);
  int Play(int nPlayer, int nTrack, int bLoop, int bMidiStop, int bForce);
  void Stop();
  void Release();
  int MidiStop(int bPause);
  int MidiPlay(int nPlayer, const char* szPath, int bLoop);

  bool IsInitialised() const { return m_bActive != 0; }
  int GetCurrentTrack() const { return m_nCurTrack; }

  // Every operation above does nothing while this is 0.
  int m_bActive = 0;
  cVox m_Vox;
  std::string* m_pOggNames = nullptr;
  std::string* m_pMidNames = nullptr;
  cSafeVector<cMidiStream*> m_vMidi;
  cSafeVector<int> m_vMidiArg;  // handed to nothing; kept per player slot
  int m_nCurTrack = -1;
  cSafeVector<int> m_vTrackKind;
  cSafeVector<int> m_vPlayerState;

 private:
  void DeleteMidi();

  // Requests come from the window thread; switching the music option on or
  // off comes from the game thread.
  std::recursive_mutex m_Lock;
};

extern cBgm g_Bgm;
