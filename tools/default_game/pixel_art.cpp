#include "pixel_art.h"

#include <cstring>

#include "tools/indexed_bmp.h"

std::vector<RGB> PaletteColours() {
  std::vector<RGB> c(256);
  c[0] = {255, 0, 255};
  for (int i = 1; i < 16; ++i) c[i] = {uint8_t(i * 17), uint8_t(i * 17), uint8_t(i * 17)};
  static const RGB kHues[12] = {{255, 0, 0}, {255, 128, 0}, {255, 255, 0}, {128, 255, 0},
                                {0, 255, 0}, {0, 255, 128}, {0, 255, 255}, {0, 128, 255},
                                {0, 0, 255}, {128, 0, 255}, {255, 0, 255}, {255, 0, 128}};
  for (int k = 0; k < 12; ++k)
    for (int j = 0; j < 16; ++j) {
      const int s = j + 1;  // dark to full
      c[16 + k * 16 + j] = {uint8_t(kHues[k].r * s / 16), uint8_t(kHues[k].g * s / 16),
                            uint8_t(kHues[k].b * s / 16)};
    }
  for (int i = 208; i < 256; ++i) {
    const uint8_t v = uint8_t((i - 208) * 255 / 47);
    c[i] = {v, v, v};
  }
  // The key colour must be unique or those pixels vanish too.
  c[16 + 10 * 16 + 15] = {254, 0, 254};
  return c;
}

uint8_t Hue(int nHue, int nLevel) { return uint8_t(16 + nHue * 16 + nLevel); }
uint8_t Grey(int nLevel) { return nLevel <= 0 ? uint8_t(208) : uint8_t(nLevel); }

cCanvas::cCanvas(int w, int h, uint8_t cFill)
    : m_nWidth(w), m_nHeight(h), m_vecPixels(size_t(w) * size_t(h), cFill) {}

uint8_t cCanvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return kKey;
  return m_vecPixels[size_t(y) * size_t(m_nWidth) + size_t(x)];
}

void cCanvas::Set(int x, int y, uint8_t c) {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
  m_vecPixels[size_t(y) * size_t(m_nWidth) + size_t(x)] = c;
}

void cCanvas::Fill(int x, int y, int w, int h, uint8_t c) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) Set(x + i, y + j, c);
}

void cCanvas::Frame(int x, int y, int w, int h, uint8_t c) {
  Fill(x, y, w, 1, c);
  Fill(x, y + h - 1, w, 1, c);
  Fill(x, y, 1, h, c);
  Fill(x + w - 1, y, 1, h, c);
}

void cCanvas::Disc(int cx, int cy, int r, uint8_t c) {
  for (int j = -r; j <= r; ++j)
    for (int i = -r; i <= r; ++i)
      if (i * i + j * j <= r * r + r / 2) Set(cx + i, cy + j, c);
}

void cCanvas::Outline(int x, int y, int w, int h, uint8_t c) {
  std::vector<uint8_t> mark(size_t(w) * size_t(h), 0);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (At(x + i, y + j) != kKey) continue;
      // A key pixel next to a drawn one inside the area takes the outline.
      const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
      for (int k = 0; k < 4; ++k) {
        const int u = i + dx[k], v = j + dy[k];
        if (u < 0 || v < 0 || u >= w || v >= h) continue;
        const uint8_t n = At(x + u, y + v);
        if (n != kKey && n != c) mark[size_t(j) * size_t(w) + size_t(i)] = 1;
      }
    }
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (mark[size_t(j) * size_t(w) + size_t(i)]) Set(x + i, y + j, c);
}

void cCanvas::Copy(int sx, int sy, int w, int h, int dx, int dy, bool bMirror) {
  std::vector<uint8_t> area(size_t(w) * size_t(h));
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) area[size_t(j) * size_t(w) + size_t(i)] = At(sx + i, sy + j);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      Set(dx + (bMirror ? w - 1 - i : i), dy + j, area[size_t(j) * size_t(w) + size_t(i)]);
}

namespace {

// Rows of 5 dots, top first; bit 4 is the left dot.
struct GLYPH {
  char c;
  uint8_t rows[7];
};
constexpr GLYPH kGlyphs[] = {
    {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},
    {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {30, 1, 1, 14, 1, 1, 30}},
    {'4', {2, 6, 10, 18, 31, 2, 2}},     {'5', {31, 16, 30, 1, 1, 17, 14}},
    {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},
    {'8', {14, 17, 17, 14, 17, 17, 14}}, {'9', {14, 17, 17, 15, 1, 2, 12}},
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}},
    {'C', {14, 17, 16, 16, 16, 17, 14}}, {'D', {28, 18, 17, 17, 17, 18, 28}},
    {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},      {'J', {7, 2, 2, 2, 2, 18, 12}},
    {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 25, 21, 19, 17, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}}, {'P', {30, 17, 17, 30, 16, 16, 16}},
    {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},
    {'U', {17, 17, 17, 17, 17, 17, 14}}, {'V', {17, 17, 17, 17, 17, 10, 4}},
    {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},
    {'!', {4, 4, 4, 4, 4, 0, 4}},        {'-', {0, 0, 0, 31, 0, 0, 0}},
};

const GLYPH* FindGlyph(char c) {
  for (const GLYPH& g : kGlyphs)
    if (g.c == c) return &g;
  return nullptr;
}

}  // namespace

int cCanvas::TextWidth(const std::string& str, int s) {
  return str.empty() ? 0 : int(str.size()) * 6 * s - s;
}

void cCanvas::Text(int x, int y, const std::string& str, int s, uint8_t c) {
  for (char ch : str) {
    if (const GLYPH* g = FindGlyph(ch))
      for (int r = 0; r < 7; ++r)
        for (int b = 0; b < 5; ++b)
          if (g->rows[r] & (16 >> b)) Fill(x + b * s, y + r * s, s, s, c);
    x += 6 * s;
  }
}

Bytes cCanvas::Bitmap() const {
  std::vector<uint32_t> table;
  for (const RGB& c : PaletteColours())
    table.push_back(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b));
  return tools::EncodeIndexedBmp(m_nWidth, m_nHeight, m_vecPixels.data(), table);
}
