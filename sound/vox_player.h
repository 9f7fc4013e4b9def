// The Ogg player of the music manager: a few player objects, of which at
// most one plays; each loads a file, plays it once or endlessly, stops and
// unloads.
#pragma once

#include <memory>
#include <vector>

#include "platform/audio/ogg_stream.h"

class cVox {
 public:
  // Always succeeds: the decoder is part of the program.
  int Init();
  // Replaces the players by n new ones.
  int Create(int n);
  // Stops what plays, then loads the file on the chosen player and plays it
  // (endlessly with bLoop); 0 when the path is empty or the file is not Ogg
  // Vorbis.
  int Play(int nPlayer, const char* szPath, int bLoop);
  void Stop();
  void Release();

  int GetCurrentPlayer() const { return m_nCurrent; }
  plat::audio::cOggStream* GetPlayer(int n);

 private:
  std::vector<std::unique_ptr<plat::audio::cOggStream>> m_vPlayers;
  int m_nCount = 0;
  int m_nCurrent = -1;
  int m_bLoaded = 0;
};
