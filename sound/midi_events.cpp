// Event times are worked out once, exactly, as fractions of ticks × tempo
// over the division, so a long piece with many tempo changes never drifts.
#include "sound/midi_events.h"

#include <limits>

#include "sound/midi_file.h"

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

}  // namespace

std::vector<MIDISEQEVENT> BuildMidiEvents(const std::vector<uint8_t>& img, int nRate) {
  std::vector<MIDISEQEVENT> vEvents;
  const uint16_t nDivision =
      img.size() >= kMidiImageFirstEvent ? static_cast<uint16_t>((img[12] << 8) | img[13]) : 0;
  // The reader refuses a division that gives no time; any other image
  // without one is a piece of no length.
  if (nDivision == 0 || ((nDivision & 0x8000) && (nDivision & 0xFF) == 0)) {
    MIDISEQEVENT end;
    end.bEnd = true;
    vEvents.push_back(end);
    return vEvents;
  }
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
  while (p < nEnd) {
    uint32_t nDelta = 0;
    const int nDeltaBytes = ReadVarLen(&img[p], nEnd - p, &nDelta);
    if (nDeltaBytes == 0) break;
    p += static_cast<size_t>(nDeltaBytes);
    if (p >= nEnd) break;
    nAcc += static_cast<unsigned __int128>(nDelta) * (bFrames ? 100u : nTempo);
    const unsigned __int128 nFrame128 = nAcc * static_cast<unsigned>(nRate) / nDenominator;
    MIDISEQEVENT ev;
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
    vEvents.push_back(ev);
  }
  if (vEvents.empty() || !vEvents.back().bEnd) {
    MIDISEQEVENT end;
    end.nFrame = vEvents.empty() ? 0 : vEvents.back().nFrame;
    end.bEnd = true;
    vEvents.push_back(end);
  }
  return vEvents;
}
