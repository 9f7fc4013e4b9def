// One fuzz input for the MIDI reader: the bytes as a MIDI file, read and
// merged into one track; the merged image is walked as an independent
// reader would, and its event stream is played into a recorder that stands
// in for the synthesiser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/midi_events.h"
#include "sound/midi_file.h"
#include "tools/fuzz/fuzz_check.h"

namespace fuzz {

// Receives what the player would send to the synthesiser, and checks it is
// something a synthesiser can take.
struct cMidiRecorder {
  size_t nShort = 0;
  size_t nSysEx = 0;
  void ShortMessage(uint8_t byStatus, uint8_t, uint8_t) {
    Check(byStatus >= 0x80 && byStatus <= 0xEF, "only channel messages go out as short ones");
    ++nShort;
  }
  void SysEx(const uint8_t* p, size_t n) {
    Check(n == 0 || p != nullptr, "a sysex has its bytes");
    ++nSysEx;
  }
};

// Walks a merged image: header, one track, every event whole and with its
// status (no running status), one end of track, last.
inline size_t WalkMidiImage(const std::vector<uint8_t>& img) {
  Check(img.size() >= kMidiImageFirstEvent, "an image has its header");
  if (img.size() < kMidiImageFirstEvent) return 0;
  const uint32_t nLen = (uint32_t(img[18]) << 24) | (img[19] << 16) | (img[20] << 8) | img[21];
  Check(nLen == img.size() - kMidiImageFirstEvent, "the track length is the image's");
  size_t p = kMidiImageFirstEvent, nEvents = 0;
  bool bEnded = false;
  while (p < img.size()) {
    Check(!bEnded, "nothing after the end of track");
    uint32_t nDelta = 0;
    const int n = ReadVarLen(&img[p], img.size() - p, &nDelta);
    Check(n > 0 && size_t(n) < img.size() - p, "each event has its delta and status");
    if (n <= 0 || size_t(n) >= img.size() - p) return nEvents;
    p += size_t(n);
    const uint8_t s = img[p++];
    Check(s & 0x80, "every event has its status");
    uint32_t nData = (s >= 0xC0 && s <= 0xDF) ? 1 : 2;
    if (s == 0xFF) {
      Check(p < img.size(), "a meta event has its type");
      if (p >= img.size()) return nEvents;
      bEnded = img[p++] == 0x2F;
    }
    if (s == 0xF0 || s == 0xF7 || s == 0xFF) {
      const int m = ReadVarLen(&img[p], img.size() - p, &nData);
      Check(m > 0, "a sysex or meta event has its length");
      if (m <= 0) return nEvents;
      p += size_t(m);
    }
    Check(nData <= img.size() - p, "an event's data is in the image");
    if (nData > img.size() - p) return nEvents;
    p += nData;
    ++nEvents;
  }
  Check(bEnded, "the image ends with an end of track");
  return nEvents;
}

// True when the file was read.
inline bool FuzzMidi(const uint8_t* pData, size_t nSize) {
  cMidiData midi("fuzz.mid");
  if (!midi.Init(pData, nSize)) {
    Check(!midi.HasImage(), "a refused file leaves no image");
    return false;
  }
  const std::vector<uint8_t>& img = midi.GetImage();
  WalkMidiImage(img);
  const std::vector<MIDISEQEVENT> vEvents = BuildMidiEvents(img, 48000);
  Check(!vEvents.empty() && vEvents.back().bEnd, "the stream ends with the end of the piece");
  cMidiRecorder recorder;
  int64_t nFrame = 0;
  for (const MIDISEQEVENT& ev : vEvents) {
    Check(ev.nFrame >= nFrame, "events come in time order");
    nFrame = ev.nFrame;
    if (ev.bEnd) break;
    Check(ev.nData + uint64_t(ev.nLength) <= img.size(), "an event's data is in the image");
    SendMidiEvent(img, ev, recorder);
  }
  return true;
}

}  // namespace fuzz
