// Text at the platform's edge: a glyph source turns one Shift-JIS character
// into a one-colour mask with its advance, the way the window system's
// fonts put text on a surface. The real source renders installed fonts
// through FreeType (platform/font/freetype_source.cpp); tests install a
// source of known boxes instead. Masks are never anti-aliased: every place
// text lands is colour-keyed, so an edge pixel of a blended colour would
// show as a fringe of its own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/image.h"

namespace plat::font {

// One rendered character. The mask sits nLeft pixels right of the pen and
// nTop pixels below the top of the character's cell (both may be negative).
struct GLYPHMASK {
  int nLeft = 0;
  int nTop = 0;
  int nWidth = 0;
  int nHeight = 0;
  int nAdvance = 0;          // how far the pen moves after the character
  std::vector<uint8_t> Ink;  // nWidth × nHeight, row by row: 1 where the glyph is
};

// A character code: one byte (0..255), or lead << 8 | trail.
using GLYPHCODE = uint16_t;

class cGlyphSource {
 public:
  virtual ~cGlyphSource() = default;
  // The character's mask; never null (a character the face lacks, and the
  // control codes, come back as an empty mask that still advances).
  virtual const GLYPHMASK& GetGlyph(GLYPHCODE wCode) = 0;
  // Height of a line of this font: what a text extent reports as its height.
  virtual int GetCellHeight() const = 0;
  // The face actually used, for the logs.
  virtual std::string GetFaceName() const = 0;
};

// Opens the font a program names by face (Shift-JIS, as the game's data
// spells it), cell height and average character width (0: the face's own
// proportions). A face that is not installed falls back to a Japanese face
// of its kind, then to any Japanese monospace face. Null when no font can
// be opened at all; *pstrError then says why in English.
std::unique_ptr<cGlyphSource> OpenGlyphSource(std::string_view strFace, int nHeight, int nWidth,
                                              std::string* pstrError = nullptr);

// Replaces the opener (tests install a source of known boxes); null puts
// the real one back.
using GLYPHSOURCEOPENER = std::unique_ptr<cGlyphSource> (*)(std::string_view strFace, int nHeight,
                                                            int nWidth, std::string* pstrError);
void SetGlyphSourceOpener(GLYPHSOURCEOPENER pfnOpener);

// The code of the character at the start of a Shift-JIS text: a lead byte
// followed by a trail byte is one code, any other byte stands alone.
// *pnBytes receives 1 or 2; an empty text gives 0 and 0 bytes.
GLYPHCODE ReadGlyphCode(std::string_view text, int* pnBytes);

// Sum of the advances of a text's characters (no line feeds expected).
int MeasureAdvance(cGlyphSource& source, std::string_view text);

// Writes the mask's ink in the raw pixel value dwValue at pen position x
// and cell top y, clipped to rcClip and to the image.
void DrawGlyphMask(gfx::cImage& image, const gfx::GFXRECT& rcClip, int x, int y,
                   const GLYPHMASK& glyph, uint32_t dwValue);

}  // namespace plat::font
