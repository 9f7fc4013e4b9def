// Pixel art for the bundled game's pictures: the 256-colour palette every
// picture uses, a canvas of palette indexes with a few drawing operations,
// a small block font, and the 8-bit bitmap file a canvas becomes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct RGB {
  uint8_t r, g, b;
};

// Entry 0 is the colour key; 1..15 greys; 16..207 twelve ramps of sixteen
// (the blocks the 8-bit palette variants turn); 208..255 a grey ramp.
std::vector<RGB> PaletteColours();

// Palette indexes by name: hue 0..11 (red, orange, yellow, lime, green,
// spring, cyan, azure, blue, violet, magenta, rose) at level 0..15 (dark to
// full); greys 0..15 (black to white).
enum : int {
  HUE_RED = 0,
  HUE_ORANGE,
  HUE_YELLOW,
  HUE_LIME,
  HUE_GREEN,
  HUE_SPRING,
  HUE_CYAN,
  HUE_AZURE,
  HUE_BLUE,
  HUE_VIOLET,
  HUE_MAGENTA,
  HUE_ROSE
};
uint8_t Hue(int nHue, int nLevel);
uint8_t Grey(int nLevel);
constexpr uint8_t kKey = 0;

class cCanvas {
 public:
  cCanvas(int w, int h, uint8_t cFill = kKey);
  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  uint8_t At(int x, int y) const;
  void Set(int x, int y, uint8_t c);  // outside the canvas: nothing
  void Fill(int x, int y, int w, int h, uint8_t c);
  void Frame(int x, int y, int w, int h, uint8_t c);
  void Disc(int cx, int cy, int r, uint8_t c);
  // Every non-key pixel of a w x h area that borders the key gets c.
  void Outline(int x, int y, int w, int h, uint8_t c);
  // Copies a w x h area to (dx, dy), mirrored left to right when asked.
  void Copy(int sx, int sy, int w, int h, int dx, int dy, bool bMirror = false);
  // Text in the 5 x 7 block font, each dot s x s pixels, one dot between
  // letters; characters without a glyph leave a gap.
  void Text(int x, int y, const std::string& str, int s, uint8_t c);
  static int TextWidth(const std::string& str, int s);
  // The 8-bit bitmap file of the canvas.
  Bytes Bitmap() const;

 private:
  int m_nWidth;
  int m_nHeight;
  std::vector<uint8_t> m_vecPixels;
};
