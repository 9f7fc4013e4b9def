// Whole-file reads for sound effects and music: the file is small enough to
// keep in memory, and a file larger than the given bound is not read at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// False when the file cannot be opened or read, or is larger than nMaxBytes.
bool ReadSoundFile(const std::string& strPath, std::vector<uint8_t>& vOut, size_t nMaxBytes);
