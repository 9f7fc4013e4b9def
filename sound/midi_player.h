// The MIDI player: one object per piece of music. It reads the file into a
// merged image, turns the image into events timed in output frames, and
// plays them on the process's synthesiser from inside the mix, so timing is
// exact to the frame and needs no thread of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/midi_synth.h"
#include "platform/audio/mixer.h"
#include "sound/midi_events.h"
#include "sound/midi_file.h"

class cMidiStream : public cMidiData, public plat::audio::cMusicSource {
 public:
  enum { STATE_STOPPED = 0, STATE_PLAYING = 1, STATE_PAUSED = 2 };

  using SEQEVENT = MIDISEQEVENT;

  explicit cMidiStream(const char* szPath);
  ~cMidiStream() override;

  // Starts, or resumes after a pause; the first two arguments are unused.
  void Play(int, int, int bLoop);
  // 0 stops and rewinds to the start; 1 pauses where the piece is.
  void Stop(int bPause);

  int GetState();
  int64_t GetFrame();
  const std::vector<SEQEVENT>& GetEvents() const { return m_vEvents; }

  void MixInto(float* pOut, int nFrames) override;

 private:
  void Open();
  void Send(const SEQEVENT& ev);

  std::vector<SEQEVENT> m_vEvents;
  size_t m_nPosition = 0;  // next event to send
  int m_nState = STATE_STOPPED;
  int m_bLoop = 0;
  int64_t m_nFrame = 0;  // frames played since the start of the piece
  std::shared_ptr<plat::audio::cSynth> m_pSynth;
};
