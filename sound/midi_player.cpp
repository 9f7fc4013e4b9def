// The sequencer: the event times are worked out once (midi_events.cpp);
// playing only counts frames.
#include "sound/midi_player.h"

#include <algorithm>
#include <limits>

#include "base/logs.h"

cMidiStream::cMidiStream(const char* szPath) : cMidiData(szPath) {
  if (HasImage()) Open();
}

cMidiStream::~cMidiStream() {
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  std::lock_guard<std::recursive_mutex> lock(mixer.GetLock());
  // Out of the mix first: from here on no render touches this object.
  mixer.RemoveSource(this);
  if (m_pSynth) m_pSynth->AllSoundsOff();
}

void cMidiStream::Open() {
  plat::audio::cMixer& mixer = plat::audio::cMixer::Get();
  std::lock_guard<std::recursive_mutex> lock(mixer.GetLock());
  std::string strError;
  m_pSynth = plat::audio::cSynth::Get(&strError);
  if (!m_pSynth) {
    // Without a synthesiser the piece cannot sound: it is refused.
    ReportFDebug("Midi %s Open %s", m_strFileName.c_str(), strError.c_str());
    m_vImage.clear();
    return;
  }
  m_vEvents = BuildMidiEvents(m_vImage, mixer.GetRate());
  // Every piece starts from the synthesiser's start state, whatever the
  // piece before it left behind.
  m_pSynth->SystemReset();
  m_nPosition = 0;
  m_nFrame = 0;
  m_nState = STATE_STOPPED;
  mixer.AddSource(this);
}

void cMidiStream::Send(const SEQEVENT& ev) { SendMidiEvent(m_vImage, ev, *m_pSynth); }

void cMidiStream::Play(int, int, int bLoop) {
  std::lock_guard<std::recursive_mutex> lock(plat::audio::cMixer::Get().GetLock());
  if (!HasImage()) return;
  m_bLoop = bLoop;
  if (m_nState == STATE_PLAYING) return;
  // From a pause the piece goes on where it was; after a stop it was rewound.
  m_nState = STATE_PLAYING;
}

void cMidiStream::Stop(int bPause) {
  std::lock_guard<std::recursive_mutex> lock(plat::audio::cMixer::Get().GetLock());
  if (!HasImage()) return;
  if (!bPause) {
    m_nState = STATE_STOPPED;
    m_nPosition = 0;
    m_nFrame = 0;
    m_pSynth->AllNotesOff();
  } else if (m_nState == STATE_PLAYING) {
    m_nState = STATE_PAUSED;
    // A paused piece must not leave notes hanging.
    m_pSynth->AllSoundsOff();
  }
}

int cMidiStream::GetState() {
  std::lock_guard<std::recursive_mutex> lock(plat::audio::cMixer::Get().GetLock());
  return m_nState;
}

int64_t cMidiStream::GetFrame() {
  std::lock_guard<std::recursive_mutex> lock(plat::audio::cMixer::Get().GetLock());
  return m_nFrame;
}

void cMidiStream::MixInto(float* pOut, int nFrames) {
  if (!m_pSynth) return;
  int nDone = 0;
  while (nDone < nFrames && m_nState == STATE_PLAYING) {
    while (m_nPosition < m_vEvents.size() && m_vEvents[m_nPosition].nFrame <= m_nFrame) {
      const SEQEVENT& ev = m_vEvents[m_nPosition];
      if (!ev.bEnd) {
        Send(ev);
        ++m_nPosition;
        continue;
      }
      // The end of the piece stops and rewinds it; a looping piece starts
      // again in the same frame. A piece of no length does not loop, or it
      // would spin here for ever.
      m_pSynth->AllNotesOff();
      m_nPosition = 0;
      m_nFrame = 0;
      if (!m_bLoop || ev.nFrame == 0) {
        m_nState = STATE_STOPPED;
        break;
      }
    }
    if (m_nState != STATE_PLAYING) break;
    const int64_t nNext = m_nPosition < m_vEvents.size() ? m_vEvents[m_nPosition].nFrame
                                                         : std::numeric_limits<int64_t>::max();
    const int nRun = static_cast<int>(std::min<int64_t>(nFrames - nDone, nNext - m_nFrame));
    m_pSynth->MixInto(pOut + static_cast<size_t>(nDone) * 2, nRun);
    m_nFrame += nRun;
    nDone += nRun;
  }
  // Notes that were let go, and the room they sounded in, still ring out.
  if (nDone < nFrames && m_pSynth->IsSounding())
    m_pSynth->MixInto(pOut + static_cast<size_t>(nDone) * 2, nFrames - nDone);
}
