// The sequencer: event times are worked out once, exactly, as fractions of
// ticks × tempo over the division, so a long piece with many tempo changes
// never drifts; playing only counts frames.
#include "sound/midi_player.h"

#include <algorithm>
#include <limits>

#include "base/logs.h"

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

}  // namespace

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
  BuildEvents(mixer.GetRate());
  // Every piece starts from the synthesiser's start state, whatever the
  // piece before it left behind.
  m_pSynth->SystemReset();
  m_nPosition = 0;
  m_nFrame = 0;
  m_nState = STATE_STOPPED;
  mixer.AddSource(this);
}

void cMidiStream::BuildEvents(int nRate) {
  const std::vector<uint8_t>& img = m_vImage;
  const uint16_t nDivision = static_cast<uint16_t>((img[12] << 8) | img[13]);
  // frames = ticks × tempo × rate / (division × 10^6); frame-based divisions
  // count ticks of 1 / (fps × ticks per frame) seconds, 29 meaning 29.97.
  const bool bFrames = (nDivision & 0x8000) != 0;
  unsigned __int128 nDenominator;
  if (bFrames) {
    const int nFps = -static_cast<int8_t>(nDivision >> 8);
    const unsigned nFps100 = nFps == 29 ? 2997u : static_cast<unsigned>(nFps) * 100u;
    nDenominator = static_cast<unsigned __int128>(nFps100) * (nDivision & 0xFF);
  } else {
    nDenominator = static_cast<unsigned __int128>(nDivision) * 1000000u;
  }
  unsigned __int128 nAcc = 0;
  uint32_t nTempo = kDefaultTempo;
  const int64_t nMaxFrame = std::numeric_limits<int64_t>::max() / 2;
  const size_t nEnd = img.size();
  size_t p = kMidiImageFirstEvent;
  m_vEvents.clear();
  while (p < nEnd) {
    uint32_t nDelta = 0;
    const int nDeltaBytes = ReadVarLen(&img[p], nEnd - p, &nDelta);
    if (nDeltaBytes == 0) break;
    p += static_cast<size_t>(nDeltaBytes);
    if (p >= nEnd) break;
    nAcc += static_cast<unsigned __int128>(nDelta) * (bFrames ? 100u : nTempo);
    const unsigned __int128 nFrame128 = nAcc * static_cast<unsigned>(nRate) / nDenominator;
    SEQEVENT ev;
    ev.nFrame = nFrame128 > static_cast<unsigned __int128>(nMaxFrame)
                    ? nMaxFrame
                    : static_cast<int64_t>(nFrame128);
    ev.nOffset = static_cast<uint32_t>(p);
    ev.byStatus = img[p++];
    uint8_t byType = 0;
    if (ev.byStatus == 0xFF) {
      if (p >= nEnd) break;
      byType = img[p++];
    }
    if (ev.byStatus == 0xF0 || ev.byStatus == 0xF7 || ev.byStatus == 0xFF) {
      uint32_t nLen = 0;
      const int n = ReadVarLen(&img[p], nEnd - p, &nLen);
      if (n == 0) break;
      p += static_cast<size_t>(n);
      ev.nLength = nLen;
    } else {
      ev.nLength = (ev.byStatus >= 0xC0 && ev.byStatus <= 0xDF) ? 1 : 2;
    }
    if (ev.nLength > nEnd - p) break;
    ev.nData = static_cast<uint32_t>(p);
    p += ev.nLength;
    if (ev.byStatus == 0xFF) {
      if (byType == 0x51 && ev.nLength >= 3) {
        const uint8_t* t = &img[ev.nData];
        const uint32_t nNew = (static_cast<uint32_t>(t[0]) << 16) | (t[1] << 8) | t[2];
        if (nNew != 0) nTempo = nNew;
      }
      if (byType != 0x2F) continue;  // other meta events only carry text and marks
      ev.bEnd = true;
    } else if (ev.byStatus > 0xF0) {
      continue;  // escapes and system messages have no place in a file's playback
    }
    m_vEvents.push_back(ev);
  }
  if (m_vEvents.empty() || !m_vEvents.back().bEnd) {
    SEQEVENT end;
    end.nFrame = m_vEvents.empty() ? 0 : m_vEvents.back().nFrame;
    end.bEnd = true;
    m_vEvents.push_back(end);
  }
}

void cMidiStream::Send(const SEQEVENT& ev) {
  const uint8_t* p = m_vImage.data() + ev.nData;
  if (ev.byStatus == 0xF0) {
    uint32_t n = ev.nLength;
    if (n > 0 && p[n - 1] == 0xF7) --n;
    m_pSynth->SysEx(p, n);
    return;
  }
  m_pSynth->ShortMessage(ev.byStatus, p[0], ev.nLength > 1 ? p[1] : 0);
}

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
