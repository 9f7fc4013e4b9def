// The real glyph source: an installed font opened with FreeType at the
// asked cell height, glyphs rendered one bit deep (hinted for one-bit
// output), each character rendered once and kept.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <mutex>
#include <unordered_map>

#include "platform/font/face_choice.h"
#include "platform/font/glyph_source.h"
#include "platform/text/cp932.h"

namespace plat::font {

namespace {

// One library for the process. Faces are made and freed under its lock;
// each face is then used by one thread at a time, as fonts are.
struct cFreeTypeLibrary {
  std::mutex mtx;
  FT_Library library = nullptr;
  bool bTried = false;
};

cFreeTypeLibrary& Library() {
  // Never destroyed: fonts held by program-wide objects close their faces
  // after every ordinary static has gone.
  static cFreeTypeLibrary* pLibrary = new cFreeTypeLibrary;
  return *pLibrary;
}

// The Unicode code point of a Shift-JIS character code; false for codes
// that are no character (half a pair, an unassigned code).
bool CodePointOf(GLYPHCODE wCode, char32_t& cp) {
  char bytes[2];
  size_t nBytes = 0;
  if (wCode > 0xFF) bytes[nBytes++] = char(wCode >> 8);
  bytes[nBytes++] = char(wCode & 0xFF);
  std::string strUtf8;
  if (!Cp932ToUtf8Strict(std::string_view(bytes, nBytes), strUtf8) || strUtf8.empty()) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(strUtf8.data());
  if (p[0] < 0x80) {
    cp = p[0];
  } else if ((p[0] & 0xE0) == 0xC0 && strUtf8.size() >= 2) {
    cp = char32_t(p[0] & 0x1F) << 6 | (p[1] & 0x3F);
  } else if ((p[0] & 0xF0) == 0xE0 && strUtf8.size() >= 3) {
    cp = char32_t(p[0] & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
  } else if ((p[0] & 0xF8) == 0xF0 && strUtf8.size() >= 4) {
    cp = char32_t(p[0] & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 |
         (p[3] & 0x3F);
  } else {
    return false;
  }
  return true;
}

// Sizes the face so that a line of it is nHeight pixels from the top of the
// tallest glyph to the bottom of the lowest: the whole height a face's
// glyphs may take (its "win" ascent and descent), as text is laid out in
// cells of that height and a glyph must not reach into the next cell. A
// width of 0 keeps the face's own proportions.
bool SizeFace(FT_Face face, int nHeight, int nWidth) {
  const auto* pOs2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const long nSpan = pOs2 ? long(pOs2->usWinAscent) + long(pOs2->usWinDescent) : 0;
  FT_Size_RequestRec req{};
  if (nSpan > 0 && face->units_per_EM > 0) {
    // The em size that makes the span nHeight pixels, in 1/64 pixel.
    req.type = FT_SIZE_REQUEST_TYPE_NOMINAL;
    req.height = FT_Long(int64_t(nHeight) * 64 * face->units_per_EM / nSpan);
    // A character width is that of a half-width character: half an em.
    req.width = nWidth > 0 ? FT_Long(nWidth) * 2 * 64 : 0;
  } else {
    req.type = FT_SIZE_REQUEST_TYPE_CELL;
    req.height = FT_Long(nHeight) * 64;
    req.width = nWidth > 0 ? FT_Long(nWidth) * 64 : 0;
  }
  return FT_Request_Size(face, &req) == 0;
}

// The distance from the top of a line to the baseline, in pixels.
int AscentOf(FT_Face face, int nHeight) {
  const auto* pOs2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const long nSpan = pOs2 ? long(pOs2->usWinAscent) + long(pOs2->usWinDescent) : 0;
  if (nSpan > 0) return int((int64_t(pOs2->usWinAscent) * nHeight + nSpan / 2) / nSpan);
  return int(face->size->metrics.ascender >> 6);
}

class cFreeTypeSource : public cGlyphSource {
 public:
  cFreeTypeSource(FT_Face face, int nCellHeight, std::string strFace)
      : m_Face(face), m_nCellHeight(nCellHeight), m_strFace(std::move(strFace)) {
    m_nAscent = AscentOf(face, nCellHeight);
    m_nHalfAdvance = Render(0x20).nAdvance;
    m_nFullAdvance = Render(0x8140).nAdvance;  // the ideographic space
    if (m_nHalfAdvance <= 0) m_nHalfAdvance = (m_nCellHeight + 1) / 2;
    if (m_nFullAdvance <= 0) m_nFullAdvance = m_nCellHeight;
  }
  ~cFreeTypeSource() override {
    cFreeTypeLibrary& lib = Library();
    std::lock_guard<std::mutex> lock(lib.mtx);
    FT_Done_Face(m_Face);
  }
  cFreeTypeSource(const cFreeTypeSource&) = delete;
  cFreeTypeSource& operator=(const cFreeTypeSource&) = delete;

  const GLYPHMASK& GetGlyph(GLYPHCODE wCode) override {
    auto it = m_Cache.find(wCode);
    if (it != m_Cache.end()) return it->second;
    return m_Cache.emplace(wCode, Render(wCode)).first->second;
  }
  int GetCellHeight() const override { return m_nCellHeight; }
  std::string GetFaceName() const override { return m_strFace; }

 private:
  GLYPHMASK Empty(GLYPHCODE wCode) const {
    GLYPHMASK g;
    g.nAdvance = wCode > 0xFF ? m_nFullAdvance : m_nHalfAdvance;
    return g;
  }

  GLYPHMASK Render(GLYPHCODE wCode) const {
    // Control codes draw nothing, as a device context draws nothing for them.
    if (wCode < 0x20 || wCode == 0x7F) return Empty(wCode);
    char32_t cp = 0;
    if (!CodePointOf(wCode, cp)) return Empty(wCode);
    const FT_UInt nIndex = FT_Get_Char_Index(m_Face, FT_ULong(cp));
    if (nIndex == 0) return Empty(wCode);
    if (FT_Load_Glyph(m_Face, nIndex, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
      return Empty(wCode);
    const FT_GlyphSlot slot = m_Face->glyph;
    const FT_Bitmap& bmp = slot->bitmap;
    GLYPHMASK g;
    g.nAdvance = int((slot->advance.x + 32) >> 6);
    g.nLeft = slot->bitmap_left;
    g.nTop = m_nAscent - slot->bitmap_top;
    g.nWidth = int(bmp.width);
    g.nHeight = int(bmp.rows);
    g.Ink.assign(size_t(g.nWidth) * size_t(g.nHeight), 0);
    for (int y = 0; y < g.nHeight; ++y) {
      const unsigned char* pRow = bmp.buffer + ptrdiff_t(y) * bmp.pitch;
      for (int x = 0; x < g.nWidth; ++x) {
        const bool bInk = bmp.pixel_mode == FT_PIXEL_MODE_MONO ? (pRow[x >> 3] >> (7 - (x & 7))) & 1
                                                               : pRow[x] >= 128;
        g.Ink[size_t(y) * size_t(g.nWidth) + size_t(x)] = bInk ? 1 : 0;
      }
    }
    return g;
  }

  FT_Face m_Face;
  int m_nCellHeight;
  int m_nAscent = 0;
  int m_nHalfAdvance = 0;
  int m_nFullAdvance = 0;
  std::string m_strFace;
  // Looked up by code only; its order never shows.
  std::unordered_map<GLYPHCODE, GLYPHMASK> m_Cache;
};

}  // namespace

std::unique_ptr<cGlyphSource> OpenFreeTypeSource(std::string_view strFace, int nHeight, int nWidth,
                                                 std::string* pstrError) {
  FACECHOICE choice;
  if (!ChooseFace(Cp932ToUtf8(strFace), choice, pstrError)) return nullptr;
  cFreeTypeLibrary& lib = Library();
  FT_Face face = nullptr;
  {
    std::lock_guard<std::mutex> lock(lib.mtx);
    if (!lib.library && !lib.bTried) {
      lib.bTried = true;
      if (FT_Init_FreeType(&lib.library) != 0) lib.library = nullptr;
    }
    if (!lib.library) {
      if (pstrError) *pstrError = "FreeType cannot be initialised";
      return nullptr;
    }
    if (FT_New_Face(lib.library, choice.strFile.c_str(), choice.nIndex, &face) != 0) {
      if (pstrError) *pstrError = "cannot open the font file " + choice.strFile;
      return nullptr;
    }
  }
  if (!SizeFace(face, nHeight > 0 ? nHeight : 1, nWidth)) {
    if (pstrError) *pstrError = "cannot size the font " + choice.strFile;
    std::lock_guard<std::mutex> lock(lib.mtx);
    FT_Done_Face(face);
    return nullptr;
  }
  return std::make_unique<cFreeTypeSource>(face, nHeight > 0 ? nHeight : 1, choice.strFamily);
}

}  // namespace plat::font
