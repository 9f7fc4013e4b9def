// The kinds of screen effect the play screen draws (0 none, 1 move, 2 and 3
// shakes, 4 and 5 splits, 6 and 7 waves, 8 blink, 9 rotation, 10 circle,
// 11 zoom, 12 lens, 13 mosaic).
#pragma once

constexpr int kScreenEffectKinds = 14;
