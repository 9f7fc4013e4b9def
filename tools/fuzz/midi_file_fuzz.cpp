// libFuzzer entry for the MIDI reader, the merge and the event stream
// (built by scripts/fuzz).
#include "tools/fuzz/midi_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  fuzz::FuzzMidi(pData, nSize);
  return 0;
}
