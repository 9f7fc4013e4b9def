// One fuzz input for the project and save files: the bytes are taken as a
// whole stage file, replay file, world map and play record in turn. A load
// that succeeds must write back a file that loads again and writes back the
// same bytes; nothing else may happen, whatever the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "files/play_data.h"
#include "files/replay_file.h"
#include "files/stage_data.h"
#include "files/world_map.h"
#include "tools/fuzz/fuzz_check.h"

namespace files_fuzz {

template <typename T>
inline void LoadAndCheck(const uint8_t* pData, size_t nSize) {
  T rec;
  if (!rec.LoadFromBytes(pData, nSize)) return;
  std::vector<uint8_t> first = rec.SaveToBytes();
  T again;
  fuzz::Check(again.LoadFromBytes(first.data(), first.size()) == 1,
              "what a file wrote loads again");
  fuzz::Check(again.SaveToBytes() == first, "and writes back the same bytes");
}

inline std::vector<uint8_t> WriteReplay(REPLAYFILE& rep) {
  cDataWriter w;
  w.U32(static_cast<uint32_t>(nDataVersion));
  rep.stage.WriteForReplay(w, rep.stage);
  rep.log.Write(w);
  rep.play.Write(w);
  return w.Data();
}

inline void ReplayAndCheck(const uint8_t* pData, size_t nSize) {
  std::unique_ptr<cDataReader> r = DataFileOpenBytes(pData, nSize);
  if (!r) return;
  REPLAYFILE rep;
  if (!ReadReplayFile(*r, rep)) return;
  std::vector<uint8_t> first = WriteReplay(rep);
  std::unique_ptr<cDataReader> r2 = DataFileOpenBytes(first.data(), first.size());
  REPLAYFILE again;
  fuzz::Check(r2 && ReadReplayFile(*r2, again), "a written replay loads again");
  fuzz::Check(WriteReplay(again) == first, "and writes back the same bytes");
}

inline int FuzzFilesInput(const uint8_t* pData, size_t nSize) {
  LoadAndCheck<cStageData>(pData, nSize);
  LoadAndCheck<cWorldMap>(pData, nSize);
  LoadAndCheck<cPlayData>(pData, nSize);
  LoadAndCheck<cKeyLog>(pData, nSize);
  ReplayAndCheck(pData, nSize);
  return 0;
}

}  // namespace files_fuzz
