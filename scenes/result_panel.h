// The stage-end result panel and the time text of clear times: the values
// a stage's results offer the rankings, in a framed box, with a mark beside
// each one that entered its table.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "draw/surface_data.h"

// t hundredths of a second as minutes, seconds and hundredths: "01:05.43".
void TimeToStr(std::string& strOut, int32_t t);
// vecPositions: per ranking table the row the result took, or -1.
void DrawResult(DDSURFACEDATA* lpDstSD, int x, int y, const cSafeVector<int32_t>& vecPositions);
