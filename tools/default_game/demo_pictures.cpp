#include "demo_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A 32 x 32 block at graphic number k of the block sheet: columns of 15.
void BlockAt(int k, int& x, int& y) {
  x = (k / 15) * 32;
  y = (k % 15) * 32;
}

// A few pixels of grain, the same every time the tool runs.
uint32_t Noise(uint32_t n) {
  n ^= n << 13;
  n ^= n >> 17;
  n ^= n << 5;
  return n;
}

void DrawDirt(cCanvas& c, int x, int y, int nTop) {
  c.Fill(x, y + nTop, 32, 32 - nTop, Hue(HUE_ORANGE, 6));
  uint32_t r = 0x9e3779b9u + uint32_t(x * 31 + y);
  for (int i = 0; i < 18; ++i) {
    r = Noise(r);
    const int px = int(r % 30), py = nTop + 1 + int((r >> 8) % uint32_t(30 - nTop));
    c.Fill(x + px, y + py, 2, 1, i % 3 ? Hue(HUE_ORANGE, 4) : Hue(HUE_ORANGE, 8));
  }
}

void DrawGrass(cCanvas& c, int x, int y) {
  DrawDirt(c, x, y, 8);
  c.Fill(x, y, 32, 7, Hue(HUE_GREEN, 10));
  c.Fill(x, y, 32, 2, Hue(HUE_GREEN, 13));
  // Blades hanging over the dirt.
  for (int i = 0; i < 32; i += 4) c.Fill(x + i + 1, y + 7, 2, 2 + (i / 4) % 2, Hue(HUE_GREEN, 7));
  c.Fill(x, y + 7, 32, 1, Hue(HUE_GREEN, 6));
}

void DrawBrick(cCanvas& c, int x, int y) {
  c.Fill(x, y, 32, 32, Grey(5));  // mortar
  for (int row = 0; row < 4; ++row) {
    const int off = row % 2 ? 8 : 0;
    for (int b = -1; b < 2; ++b) {
      const int bx = x + off + b * 16, by = y + row * 8;
      for (int i = 0; i < 15; ++i)
        for (int j = 0; j < 7; ++j) {
          const int px = bx + i;
          if (px < x || px >= x + 32) continue;
          uint8_t col = Hue(HUE_RED, 10);
          if (j == 0) col = Hue(HUE_RED, 13);
          if (j == 6 || i == 14) col = Hue(HUE_RED, 7);
          c.Set(px, by + j, col);
        }
    }
  }
}

void DrawStone(cCanvas& c, int x, int y) {
  c.Fill(x, y, 32, 32, Grey(9));
  c.Fill(x, y, 32, 2, Grey(12));
  c.Fill(x, y, 2, 32, Grey(12));
  c.Fill(x, y + 30, 32, 2, Grey(5));
  c.Fill(x + 30, y, 2, 32, Grey(5));
  c.Fill(x + 6, y + 8, 4, 2, Grey(7));
  c.Fill(x + 18, y + 20, 6, 2, Grey(7));
  c.Fill(x + 22, y + 7, 2, 4, Grey(7));
}

void DrawPlank(cCanvas& c, int x, int y) {
  c.Fill(x, y, 32, 12, Hue(HUE_ORANGE, 9));
  c.Fill(x, y, 32, 2, Hue(HUE_ORANGE, 12));
  c.Fill(x, y + 10, 32, 2, Hue(HUE_ORANGE, 5));
  c.Fill(x + 15, y, 1, 12, Hue(HUE_ORANGE, 5));
  c.Set(x + 4, y + 5, Grey(3));
  c.Set(x + 27, y + 5, Grey(3));
}

cCanvas BlockSheet() {
  cCanvas c(256, 480);
  int x, y;
  BlockAt(BLOCK_GRASS, x, y);
  DrawGrass(c, x, y);
  BlockAt(BLOCK_DIRT, x, y);
  DrawDirt(c, x, y, 0);
  BlockAt(BLOCK_BRICK, x, y);
  DrawBrick(c, x, y);
  BlockAt(BLOCK_STONE, x, y);
  DrawStone(c, x, y);
  BlockAt(BLOCK_PLANK, x, y);
  DrawPlank(c, x, y);
  return c;
}

// The hero, facing left, in a 32 x 32 cell: stride 0..2 (standing, two
// steps), airborne when bAir.
void DrawHero(cCanvas& c, int x, int y, int nStride, bool bAir, int nBright) {
  const uint8_t skin = Hue(HUE_ORANGE, std::min(15, 13 + nBright));
  const uint8_t coat = Hue(HUE_AZURE, std::min(15, 10 + nBright));
  const uint8_t coatDark = Hue(HUE_AZURE, 7 + nBright);
  const uint8_t hair = Hue(HUE_RED, 6 + nBright);
  const uint8_t boot = Grey(3 + nBright);
  // Head and hair.
  c.Fill(x + 12, y + 8, 9, 8, skin);
  c.Fill(x + 12, y + 7, 10, 3, hair);
  c.Fill(x + 18, y + 10, 4, 4, hair);
  c.Set(x + 14, y + 11, Grey(1));  // the eye, looking left
  c.Fill(x + 11, y + 13, 1, 2, skin);
  // Body.
  c.Fill(x + 12, y + 16, 9, 8, coat);
  c.Fill(x + 12, y + 22, 9, 2, coatDark);
  c.Fill(x + 15, y + 16, 3, 1, Hue(HUE_YELLOW, 13));
  // Arm.
  const int nArm = bAir ? -3 : (nStride == 1 ? 1 : nStride == 2 ? -1 : 0);
  c.Fill(x + 13 + nArm, y + 17, 3, 5, coatDark);
  c.Fill(x + 13 + nArm, y + 22, 3, 1, skin);
  // Legs.
  int l1 = 0, l2 = 0;
  if (nStride == 1) l1 = -3, l2 = 2;
  if (nStride == 2) l1 = 2, l2 = -3;
  if (bAir) l1 = -3, l2 = 3;
  c.Fill(x + 13 + l1, y + 24, 3, 6, coatDark);
  c.Fill(x + 17 + l2, y + 24, 3, 6, coatDark);
  c.Fill(x + 12 + l1, y + 29, 4, 3, boot);
  c.Fill(x + 16 + l2, y + 29, 4, 3, boot);
  c.Outline(x, y, 32, 32, Grey(1));
}

// A guard in red armour with a spear, walking: the hero's shape, recoloured.
void DrawGuard(cCanvas& c, int x, int y, int nStride) {
  DrawHero(c, x, y, nStride, false, 0);
  for (int j = 0; j < 32; ++j)
    for (int i = 0; i < 32; ++i) {
      const uint8_t p = c.At(x + i, y + j);
      if (p >= Hue(HUE_AZURE, 0) && p <= Hue(HUE_AZURE, 15))
        c.Set(x + i, y + j, Hue(HUE_RED, (p - Hue(HUE_AZURE, 0)) % 16));
    }
  c.Fill(x + 6, y + 4, 2, 26, Grey(10));
  c.Fill(x + 5, y + 2, 4, 3, Grey(14));
}

// A turret: a grey dome on a base, its barrel to the left.
void DrawTurret(cCanvas& c, int x, int y) {
  c.Fill(x + 6, y + 22, 20, 10, Grey(6));
  c.Disc(x + 16, y + 20, 9, Grey(9));
  c.Fill(x + 1, y + 17, 12, 5, Grey(4));
  c.Disc(x + 19, y + 17, 2, Hue(HUE_RED, 13));
  c.Outline(x, y, 32, 32, Grey(1));
}

// A lift: a slab of stone with bolts.
void DrawLift(cCanvas& c, int x, int y) {
  c.Fill(x, y, 32, 32, Grey(8));
  c.Fill(x, y, 32, 3, Grey(12));
  c.Fill(x, y + 29, 32, 3, Grey(4));
  for (int i : {5, 25}) c.Disc(x + i, y + 16, 2, Grey(3));
}

// Row 1 of the first character sheet is the hero: cells 0 standing, 1 and
// 2 walking, 3 flying; cells 4 to 7 the same lit up (invincible), 8 to 11
// again (as a block character). Row 2 is the guard, row 3 the turret, row 4
// the lift. Number 0 is no picture.
cCanvas CharacterSheet(bool bHero) {
  cCanvas c(384, 480);
  if (!bHero) return c;
  for (int k = 0; k < 3; ++k) {
    const int nBright = k == 1 ? 3 : 0;
    DrawHero(c, (4 * k + 0) * 32, 32, 0, false, nBright);
    DrawHero(c, (4 * k + 1) * 32, 32, 1, false, nBright);
    DrawHero(c, (4 * k + 2) * 32, 32, 2, false, nBright);
    DrawHero(c, (4 * k + 3) * 32, 32, 0, true, nBright);
  }
  for (int k = 0; k < 12; ++k) {
    DrawGuard(c, k * 32, 64, k % 4 == 1 ? 1 : k % 4 == 2 ? 2 : 0);
    DrawTurret(c, k * 32, 96);
    DrawLift(c, k * 32, 128);
  }
  return c;
}

// A coin: two frames side by side, full face and turned.
void DrawCoin(cCanvas& c, int x, int y, int nHalfWidth, int nSize) {
  const int cx = x + nSize / 2, cy = y + nSize / 2, r = nSize * 5 / 16;
  for (int j = -r; j <= r; ++j)
    for (int i = -nHalfWidth; i <= nHalfWidth; ++i) {
      const double u = double(i) / (nHalfWidth + 0.5), v = double(j) / (r + 0.5);
      if (u * u + v * v > 1.0) continue;
      uint8_t col = Hue(HUE_YELLOW, 13);
      if (u + v < -0.6) col = Hue(HUE_YELLOW, 15);
      if (u + v > 0.7) col = Hue(HUE_ORANGE, 11);
      c.Set(cx + i, cy + j, col);
    }
  if (nHalfWidth > 2) c.Fill(cx - 1, cy - r / 2, 2, r, Hue(HUE_ORANGE, 12));
  c.Outline(x, y, nSize, nSize, Hue(HUE_ORANGE, 5));
}

// The goal: a flag on a pole, its cloth waving in the second frame.
void DrawFlag(cCanvas& c, int x, int y, int s, int nWave) {
  c.Fill(x + s * 4 / 16, y + s / 16, std::max(1, s / 16), s * 15 / 16, Grey(12));
  for (int j = 0; j < s * 6 / 16; ++j)
    c.Fill(x + s * 5 / 16, y + s * 2 / 16 + j + (j % 4 < 2 ? nWave : 0), s * 9 / 16, 1,
           Hue(HUE_GREEN, 12));
  c.Outline(x, y, s, s, Grey(1));
}

// A sign: a wooden board on a post.
void DrawSign(cCanvas& c, int x, int y, int s) {
  c.Fill(x + s * 7 / 16, y + s * 8 / 16, std::max(1, s * 2 / 16), s * 8 / 16, Hue(HUE_ORANGE, 5));
  c.Fill(x + s * 2 / 16, y + s * 2 / 16, s * 12 / 16, s * 7 / 16, Hue(HUE_ORANGE, 10));
  for (int k = 0; k < 3; ++k)
    c.Fill(x + s * 4 / 16, y + s * (4 + 2 * k) / 16, s * 8 / 16, std::max(1, s / 16),
           Hue(HUE_ORANGE, 4));
  c.Outline(x, y, s, s, Grey(1));
}

// Items 1 coin, 2 goal flag, 3 sign (number 0 is no picture), two frames
// each.
cCanvas ItemSheet() {
  cCanvas c(128, 480);
  DrawCoin(c, 0, 32, 9, 32);
  DrawCoin(c, 32, 32, 4, 32);
  DrawFlag(c, 0, 64, 32, 0);
  DrawFlag(c, 32, 64, 32, 1);
  DrawSign(c, 0, 96, 32);
  DrawSign(c, 32, 96, 32);
  return c;
}

cCanvas ItemMiniSheet() {
  cCanvas c(64, 240);
  DrawCoin(c, 0, 16, 5, 16);
  DrawCoin(c, 16, 16, 2, 16);
  DrawFlag(c, 0, 32, 16, 0);
  DrawFlag(c, 16, 32, 16, 1);
  DrawSign(c, 0, 48, 16);
  DrawSign(c, 16, 48, 16);
  return c;
}

// 16 x 16 shots, four columns of two per 32-pixel row.
cCanvas ShotSheet() {
  cCanvas c(128, 480);
  const int kHues[4] = {HUE_YELLOW, HUE_CYAN, HUE_RED, HUE_GREEN};
  for (int i = 0; i < 8; ++i) {
    const int x = i * 16, hue = kHues[i / 2];
    c.Disc(x + 8, 8, 5, Hue(hue, 10));
    c.Disc(x + 7, 7, 2, Hue(hue, 15));
    c.Outline(x, 0, 16, 16, Hue(hue, 4));
  }
  return c;
}

cCanvas MarkSheet() {
  cCanvas c(320, 240);
  // Mark 0: an arrow pointing down, mark 1 up.
  for (int i = 0; i < 8; ++i) c.Fill(4 + i, 6 + i, 24 - 2 * i, 1, Hue(HUE_RED, 12));
  c.Fill(12, 0, 8, 6, Hue(HUE_RED, 12));
  for (int i = 0; i < 8; ++i) c.Fill(36 + i, 20 - i, 24 - 2 * i, 1, Hue(HUE_GREEN, 12));
  c.Fill(44, 20, 8, 8, Hue(HUE_GREEN, 12));
  c.Outline(0, 0, 64, 32, Grey(1));
  return c;
}

// The ground of every text box: boxes take its top left part at their own
// size and draw their frame around it, so it covers a whole screen.
cCanvas WindowPicture() {
  cCanvas c(640, 480);
  c.Fill(0, 0, 640, 480, Hue(HUE_BLUE, 4));
  return c;
}

cCanvas StatusBar() {
  cCanvas c(640, 20, Grey(2));
  c.Fill(0, 0, 640, 1, Grey(8));
  c.Fill(0, 19, 640, 1, Grey(1));
  for (int x = 0; x < 640; x += 160) c.Fill(x, 3, 1, 14, Grey(5));
  return c;
}

void DrawHeart(cCanvas& c, int x, int y) {
  c.Disc(x + 5, y + 6, 3, Hue(HUE_RED, 13));
  c.Disc(x + 10, y + 6, 3, Hue(HUE_RED, 13));
  for (int i = 0; i < 6; ++i) c.Fill(x + 2 + i, y + 8 + i, 12 - 2 * i, 1, Hue(HUE_RED, 13));
  c.Set(x + 4, y + 5, Grey(15));
  c.Outline(x, y, 16, 16, Hue(HUE_RED, 4));
}

// A five-pointed star in a square of side n at (x, y).
void DrawStar(cCanvas& c, int x, int y, int n, uint8_t col) {
  const double cx = x + n / 2.0, cy = y + n / 2.0 + 1, ro = n * 0.47, ri = ro * 0.42;
  double px[10], py[10];
  for (int k = 0; k < 10; ++k) {
    const double a = -3.14159265358979 / 2 + k * 3.14159265358979 / 5, r = k % 2 ? ri : ro;
    px[k] = cx + r * std::cos(a);
    py[k] = cy + r * std::sin(a);
  }
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      // Even-odd test of the pixel's centre against the outline.
      const double qx = x + i + 0.5, qy = y + j + 0.5;
      bool bIn = false;
      for (int k = 0, l = 9; k < 10; l = k++)
        if ((py[k] > qy) != (py[l] > qy) &&
            qx < (px[l] - px[k]) * (qy - py[k]) / (py[l] - py[k]) + px[k])
          bIn = !bIn;
      if (bIn) c.Set(x + i, y + j, col);
    }
}

void DrawArrowCursor(cCanvas& c, int x, int y, int nSize, uint8_t col) {
  for (int i = 0; i < nSize / 2; ++i) c.Fill(x + 2 + i, y + 2 + i, 1, nSize - 4 - 2 * i, col);
  c.Outline(x, y, nSize, nSize, Grey(1));
}

// Cursors, icons and the HP and SP gauges.
cCanvas AccessorySheet() {
  cCanvas c(128, 208);
  DrawArrowCursor(c, 0, 0, 32, Hue(HUE_YELLOW, 14));
  DrawArrowCursor(c, 64, 0, 16, Hue(HUE_YELLOW, 14));
  DrawArrowCursor(c, 80, 0, 16, Hue(HUE_CYAN, 12));
  // The cleared icon: a star.
  DrawStar(c, 97, 1, 30, Hue(HUE_YELLOW, 14));
  c.Outline(96, 0, 32, 32, Hue(HUE_ORANGE, 5));
  DrawCoin(c, 0, 32, 5, 16);  // score
  DrawHeart(c, 32, 32);       // HP
  // The life icon: the hero's face; then a small highlight arrow.
  c.Fill(3, 50, 10, 10, Hue(HUE_ORANGE, 13));
  c.Fill(3, 49, 10, 3, Hue(HUE_RED, 6));
  c.Set(5, 54, Grey(1));
  c.Outline(0, 48, 16, 16, Grey(1));
  DrawArrowCursor(c, 16, 48, 16, Hue(HUE_GREEN, 13));
  // The hero on the world map: two frames (32 apart) per facing, down at
  // (0, 64), up at (64, 64), left at (64, 96), right at (0, 96).
  for (int f = 0; f < 2; ++f) {
    const int nStride = f ? 1 : 2;
    DrawHero(c, 32 * f, 64, nStride, false, 0);
    DrawHero(c, 64 + 32 * f, 64, nStride, false, 0);
    DrawHero(c, 64 + 32 * f, 96, nStride, false, 0);
    // The hero is drawn facing left: facing right is its mirror image.
    cCanvas right(32, 32);
    DrawHero(right, 0, 0, nStride, false, 0);
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i) c.Set(32 * f + 31 - i, 96 + j, right.At(i, j));
  }
  // Gauges: a frame, then the normal, warning, loss and gain bars, for HP
  // at x 0 and SP at x 64.
  for (int g = 0; g < 2; ++g) {
    const int x = g * 64;
    c.Fill(x, 128, 50, 16, Grey(2));
    c.Frame(x, 128, 50, 16, Grey(12));
    c.Fill(x, 144, 50, 16, Hue(g ? HUE_AZURE : HUE_GREEN, 12));
    c.Fill(x, 144, 50, 4, Hue(g ? HUE_AZURE : HUE_GREEN, 15));
    c.Fill(x, 160, 50, 16, Hue(HUE_RED, 12));
    c.Fill(x, 176, 50, 16, Hue(HUE_ORANGE, 13));
    c.Fill(x, 192, 50, 16, Hue(HUE_CYAN, 13));
  }
  return c;
}

cCanvas SymbolSheet() {
  cCanvas c(256, 64);
  const char* kSymbols[] = {"!", "-", "0", "1"};
  for (int i = 0; i < 4; ++i) c.Text(i * 32 + 9, 5, kSymbols[i], 3, Grey(15));
  c.Outline(0, 0, 256, 64, Grey(1));
  return c;
}

// A caption centred in a w x 32 area, with a shadow.
void Caption(cCanvas& c, int y, int w, const std::string& str, int hue) {
  // Dots of three pixels when the caption fits, else of two.
  const int s = cCanvas::TextWidth(str, 3) + 2 <= w ? 3 : 2;
  const int x = (w - cCanvas::TextWidth(str, s)) / 2, top = y + (32 - 7 * s) / 2 - 1;
  c.Text(x + s - 1, top + 2, str, s, Hue(hue, 5));
  c.Text(x, top, str, s, Hue(hue, 14));
  c.Outline(0, y, w, 32, Grey(1));
}

// Captions (stage, replay, clear, game over) and two rows of 32 x 32 digits.
cCanvas WordSheet() {
  cCanvas c(320, 192);
  Caption(c, 0, 128, "STAGE", HUE_YELLOW);
  Caption(c, 32, 128, "REPLAY", HUE_CYAN);
  Caption(c, 64, 128, "CLEAR!", HUE_GREEN);
  Caption(c, 96, 144, "GAME OVER", HUE_RED);
  for (int row = 0; row < 2; ++row)
    for (int d = 0; d < 10; ++d) {
      const int x = d * 32, y = 128 + row * 32;
      const std::string s(1, char('0' + d));
      c.Text(x + 9, y + 5, s, 3, Hue(row ? HUE_ORANGE : HUE_YELLOW, 14));
      c.Outline(x, y, 32, 32, Grey(1));
    }
  return c;
}

// The far layer: sky bands darkening upwards, and clouds.
cCanvas SkyPicture() {
  cCanvas c(640, 480);
  for (int y = 0; y < 480; ++y) c.Fill(0, y, 640, 1, Hue(HUE_AZURE, 6 + y * 9 / 480));
  uint32_t r = 12345;
  for (int k = 0; k < 9; ++k) {
    r = Noise(r);
    const int cx = int(r % 640), cy = 40 + int((r >> 10) % 220);
    for (int p = 0; p < 4; ++p)
      c.Disc(cx + p * 14 - 21, cy - (p % 2) * 6, 12 - (p % 2) * 2, Grey(14));
    c.Fill(cx - 33, cy + 6, 72, 5, Grey(12));
  }
  return c;
}

// The near layer: rolling hills over the key, so the sky shows above them.
cCanvas HillsPicture() {
  cCanvas c(640, 480);
  for (int x = 0; x < 640; ++x) {
    // Two waves whose periods divide the width, so the layer tiles.
    const double d = 40 * std::sin(x * 2 * 3.14159265358979 / 320) +
                     22 * std::sin(x * 2 * 3.14159265358979 / 213.333333333);
    const int top = 300 + int(d);
    for (int y = top; y < 480; ++y)
      c.Set(x, y,
            y < top + 3 ? Hue(HUE_GREEN, 11) : Hue(HUE_GREEN, 7 - std::min(4, (y - top) / 40)));
  }
  return c;
}

// The world map's terrain tiles, five a row: water, trees, rock, deep
// water, a wall (not walkable); grass, road, flowers, sand, a bridge.
cCanvas WorldMapChips() {
  cCanvas c(160, 64);
  auto Tile = [&](int n, uint8_t ground) {
    const int x = (n % 5) * 32, y = (n / 5) * 32;
    c.Fill(x, y, 32, 32, ground);
    return std::pair<int, int>(x, y);
  };
  auto [wx, wy] = Tile(0, Hue(HUE_AZURE, 8));
  for (int k = 0; k < 4; ++k)
    c.Fill(wx + 4 + (k % 2) * 14, wy + 6 + k * 7, 8, 1, Hue(HUE_AZURE, 12));
  auto [tx, ty] = Tile(1, Hue(HUE_GREEN, 6));
  for (int k = 0; k < 4; ++k)
    c.Disc(tx + 8 + (k % 2) * 16, ty + 8 + (k / 2) * 16, 7, Hue(HUE_GREEN, 3 + k % 2));
  auto [rx, ry] = Tile(2, Grey(7));
  c.Disc(rx + 16, ry + 18, 10, Grey(10));
  Tile(3, Hue(HUE_BLUE, 6));
  auto [lx, ly] = Tile(4, Grey(5));
  for (int k = 0; k < 4; ++k) c.Fill(lx, ly + k * 8, 32, 1, Grey(3));
  auto [gx, gy] = Tile(5, Hue(HUE_LIME, 9));
  for (int k = 0; k < 6; ++k) c.Set(gx + 3 + k * 5, gy + 5 + (k * 11) % 22, Hue(HUE_LIME, 13));
  auto [ox, oy] = Tile(6, Hue(HUE_ORANGE, 10));
  c.Fill(ox, oy, 32, 2, Hue(HUE_ORANGE, 7));
  c.Fill(ox, oy + 30, 32, 2, Hue(HUE_ORANGE, 7));
  auto [fx, fy] = Tile(7, Hue(HUE_LIME, 9));
  for (int k = 0; k < 4; ++k)
    c.Disc(fx + 7 + (k % 2) * 16, fy + 7 + (k / 2) * 16, 2, Hue(HUE_ROSE, 13));
  Tile(8, Hue(HUE_YELLOW, 12));
  auto [bx, by] = Tile(9, Hue(HUE_ORANGE, 7));
  for (int k = 0; k < 4; ++k) c.Fill(bx + k * 8, by, 1, 32, Hue(HUE_ORANGE, 4));
  return c;
}

// A stage's icon on the world map: a gate, dark while the stage waits, a
// star over it once it is cleared.
cCanvas WorldEventIcons() {
  cCanvas c(64, 32);
  for (int k = 0; k < 2; ++k) {
    const int x = k * 32;
    c.Fill(x + 4, 8, 24, 22, Grey(k ? 12 : 6));
    c.Fill(x + 11, 16, 10, 14, Grey(1));
    c.Fill(x + 2, 4, 28, 5, Hue(HUE_RED, k ? 12 : 7));
    if (k) DrawStar(c, x + 20, 0, 12, Hue(HUE_YELLOW, 14));
    c.Outline(x, 0, 32, 32, Grey(1));
  }
  return c;
}

// The title menu as pictures: one strip 32 high per game mode.
cCanvas GameModeStrips() {
  static const char* kModes[] = {"NEW GAME", "CONTINUE", "CHALLENGE", "FREE PLAY",
                                 "REPLAY",   "OPTIONS",  "QUIT"};
  // On the key, so the title shows between the letters; a dark edge keeps
  // them readable on the sky and the hills.
  cCanvas c(192, 32 * 7);
  for (int i = 0; i < 7; ++i) {
    c.Text(9, 32 * i + 10, kModes[i], 2, Grey(2));
    c.Text(8, 32 * i + 9, kModes[i], 2, Hue(HUE_YELLOW, 14));
  }
  c.Outline(0, 0, 192, 32 * 7, Grey(1));
  return c;
}

cCanvas TitlePicture() {
  cCanvas c = SkyPicture();
  cCanvas hills = HillsPicture();
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      if (hills.At(x, y) != kKey) c.Set(x, y, hills.At(x, y));
  const std::string strTitle = "BRIMVALE";
  const int w = cCanvas::TextWidth(strTitle, 8);
  c.Text((640 - w) / 2 + 4, 124, strTitle, 8, Grey(2));
  c.Text((640 - w) / 2, 120, strTitle, 8, Hue(HUE_YELLOW, 14));
  // The hero stands on the hills beside the menu.
  DrawHero(c, 520, 300, 0, false, 0);
  return c;
}

}  // namespace

std::vector<std::pair<std::string, Bytes>> DemoPictures() {
  std::vector<std::pair<std::string, Bytes>> v;
  v.emplace_back("bmp\\Block.bmp", BlockSheet().Bitmap());
  for (int n = 1; n <= 8; ++n)
    v.emplace_back("bmp\\Character" + std::to_string(n) + ".bmp", CharacterSheet(n == 1).Bitmap());
  v.emplace_back("bmp\\Shot.bmp", ShotSheet().Bitmap());
  v.emplace_back("bmp\\Item.bmp", ItemSheet().Bitmap());
  v.emplace_back("bmp\\Item_Mini.bmp", ItemMiniSheet().Bitmap());
  v.emplace_back("bmp\\Mark.bmp", MarkSheet().Bitmap());
  v.emplace_back("bmp\\Window.bmp", WindowPicture().Bitmap());
  v.emplace_back("bmp\\StatusWindow.bmp", StatusBar().Bitmap());
  v.emplace_back("bmp\\Title.bmp", TitlePicture().Bitmap());
  v.emplace_back("bmp\\Accessory.bmp", AccessorySheet().Bitmap());
  v.emplace_back("bmp\\Symbol.bmp", SymbolSheet().Bitmap());
  v.emplace_back("bmp\\Word.bmp", WordSheet().Bitmap());
  v.emplace_back("bmp\\WorldMapChip.bmp", WorldMapChips().Bitmap());
  v.emplace_back("bmp\\WorldEvent.bmp", WorldEventIcons().Bitmap());
  v.emplace_back("bmp\\GameMode.bmp", GameModeStrips().Bitmap());
  v.emplace_back(kSkyPicture, SkyPicture().Bitmap());
  v.emplace_back(kHillsPicture, HillsPicture().Bitmap());
  return v;
}
