// The blend table of the 8-bit palette mode: for every pair of palette
// entries, the entry that stands for their even mix. One table is kept,
// replaced when another palette is chosen; the 8-bit tint and translucency
// look their mixes up in it.
#pragma once

#include <array>
#include <cstdint>

constexpr int kBlendTableBytes = 65536;  // a x 256 + b: the mix of entries a and b

using DDBLENDTABLE = std::array<uint8_t, kBlendTableBytes>;
extern DDBLENDTABLE g_BlendTable;

// Direct3D: true at once. DirectDraw: the file read as one block of exactly
// 65536 bytes into the table; false (the table unchanged, a debug-log line)
// when the file cannot be opened or has another size.
bool DDLoadBlendTable(DDBLENDTABLE& Table, const char* szFileName);
