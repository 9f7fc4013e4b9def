// A glyph source of known boxes, for tests where the real font's shapes are
// not the point: a character's ink is a box from its pen position and the
// top of its cell, h / 2 wide for a single-byte character and h wide for a
// double-byte one (h the font's height), and 1 + code % h high, so a test
// can tell characters apart by their height. The advance is the box's
// width; the space and the control codes have no ink.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/font/glyph_source.h"

namespace boxglyphs {

class cBoxGlyphs : public plat::font::cGlyphSource {
 public:
  explicit cBoxGlyphs(int nHeight) : m_nHeight(nHeight > 0 ? nHeight : 1) {}
  const plat::font::GLYPHMASK& GetGlyph(plat::font::GLYPHCODE wCode) override {
    auto it = m_Cache.find(wCode);
    if (it != m_Cache.end()) return it->second;
    plat::font::GLYPHMASK g;
    g.nAdvance = wCode > 0xFF ? m_nHeight : std::max(1, m_nHeight / 2);
    if (wCode > 0x20 && wCode != 0x7F) {
      g.nWidth = g.nAdvance;
      g.nHeight = InkHeight(wCode, m_nHeight);
      g.Ink.assign(size_t(g.nWidth) * size_t(g.nHeight), 1);
    }
    return m_Cache.emplace(wCode, std::move(g)).first->second;
  }
  int GetCellHeight() const override { return m_nHeight; }
  std::string GetFaceName() const override { return "boxes"; }

  static int InkHeight(int nCode, int nHeight) { return 1 + nCode % nHeight; }

 private:
  int m_nHeight;
  std::unordered_map<plat::font::GLYPHCODE, plat::font::GLYPHMASK> m_Cache;
};

inline std::unique_ptr<plat::font::cGlyphSource> OpenBoxes(std::string_view, int nHeight, int,
                                                           std::string*) {
  return std::make_unique<cBoxGlyphs>(nHeight);
}

inline std::unique_ptr<plat::font::cGlyphSource> OpenNothing(std::string_view, int, int,
                                                             std::string* pstrError) {
  if (pstrError) *pstrError = "no font installed";
  return nullptr;
}

// Fonts made while it lives draw boxes (or, with OpenNothing, have no font).
class cUseGlyphs {
 public:
  explicit cUseGlyphs(plat::font::GLYPHSOURCEOPENER pfn = OpenBoxes) {
    plat::font::SetGlyphSourceOpener(pfn);
  }
  ~cUseGlyphs() { plat::font::SetGlyphSourceOpener(nullptr); }
  cUseGlyphs(const cUseGlyphs&) = delete;
  cUseGlyphs& operator=(const cUseGlyphs&) = delete;
};

}  // namespace boxglyphs
