// The event stream of a merged MIDI image: every event the player sends,
// with the output frame at which it sounds, worked out once from the image
// alone. Apart from the player so that whatever receives the events (the
// synthesiser, or a recorder in a test) needs nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One image event with the output frame at which it sounds.
struct MIDISEQEVENT {
  int64_t nFrame = 0;
  uint32_t nOffset = 0;  // of its status byte in the image
  uint32_t nData = 0;    // of its first data byte (after a sysex count)
  uint32_t nLength = 0;  // data bytes
  uint8_t byStatus = 0;
  bool bEnd = false;  // the end of the piece
};

// The events of an image (cMidiData's) at nRate frames a second: channel
// messages and sysex in time order, tempo changes applied, the end of the
// piece last.
std::vector<MIDISEQEVENT> BuildMidiEvents(const std::vector<uint8_t>& vImage, int nRate);

// Hands one event to a receiver with ShortMessage(status, data1, data2) and
// SysEx(bytes, count) (the sysex without its F0 and closing F7).
template <typename RECEIVER>
void SendMidiEvent(const std::vector<uint8_t>& vImage, const MIDISEQEVENT& ev, RECEIVER& to) {
  const uint8_t* p = vImage.data() + ev.nData;
  if (ev.byStatus == 0xF0) {
    uint32_t n = ev.nLength;
    if (n > 0 && p[n - 1] == 0xF7) --n;
    to.SysEx(p, n);
    return;
  }
  to.ShortMessage(ev.byStatus, p[0], ev.nLength > 1 ? p[1] : 0);
}
