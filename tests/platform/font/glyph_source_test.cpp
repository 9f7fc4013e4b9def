// Text at the platform's edge: which installed face stands for the faces
// games name, glyphs rendered one bit deep that keep to their cells and
// come out the same every time, and the mask writer's clipping. The glyph
// shapes come from the Japanese fonts scripts/setup installs.
#include "platform/font/glyph_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/font/face_choice.h"
#include "platform/gfx/image.h"
#include "platform/text/cp932.h"

namespace {

using plat::font::GLYPHMASK;

bool HasJapaneseFonts() {
  plat::font::FACECHOICE c;
  return plat::font::ChooseFace("IPAGothic", c, nullptr) && c.strFamily == "IPAGothic" &&
         plat::font::ChooseFace("IPAMincho", c, nullptr) && c.strFamily == "IPAMincho";
}

std::string Sjis(const std::string& strUtf8) {
  std::string s;
  EXPECT_TRUE(plat::Utf8ToCp932(strUtf8, s));
  return s;
}

plat::font::GLYPHCODE Code(const std::string& strUtf8) {
  return plat::font::ReadGlyphCode(Sjis(strUtf8), nullptr);
}

// The mask as rows of '#' and '.'.
std::string Art(const GLYPHMASK& g) {
  std::string s;
  for (int y = 0; y < g.nHeight; ++y) {
    for (int x = 0; x < g.nWidth; ++x)
      s += g.Ink[size_t(y) * size_t(g.nWidth) + size_t(x)] ? '#' : '.';
    s += '\n';
  }
  return s;
}

TEST(FaceChoice, FacesOfAnotherSystemFindAJapaneseFaceOfTheirKind) {
  if (!HasJapaneseFonts()) GTEST_SKIP() << "needs fonts-ipafont-gothic and -mincho (scripts/setup)";
  struct {
    const char* szFace;
    const char* szFamily;
  } const cases[] = {
      {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"MS UI Gothic", "IPAPGothic"},
      {"ＭＳ 明朝", "IPAMincho"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},
      {"HGPｺﾞｼｯｸE", "IPAPGothic"},
      {"HG明朝B", "IPAMincho"},
      {"Arial", "IPAGothic"},
      {"", "IPAGothic"},
      {"メイリオ", "IPAGothic"},
      {"ipagothic", "IPAGothic"},
      {"DejaVu Sans Mono", "DejaVu Sans Mono"},
  };
  for (const auto& c : cases) {
    plat::font::FACECHOICE choice;
    std::string strError;
    ASSERT_TRUE(plat::font::ChooseFace(c.szFace, choice, &strError)) << c.szFace << strError;
    EXPECT_EQ(choice.strFamily, c.szFamily) << c.szFace;
    EXPECT_FALSE(choice.strFile.empty());
  }
}

TEST(GlyphSource, GlyphsKeepToTheirCellsAndComeOutTheSameEveryTime) {
  if (!HasJapaneseFonts()) GTEST_SKIP() << "needs fonts-ipafont-gothic and -mincho (scripts/setup)";
  for (const char* szFace : {"ＭＳ ゴシック", "ＭＳ Ｐ明朝"}) {
    for (int nHeight : {9, 16, 30}) {
      SCOPED_TRACE(testing::Message() << szFace << " " << nHeight);
      std::string strError;
      auto a = plat::font::OpenGlyphSource(Sjis(szFace), nHeight, 0, &strError);
      auto b = plat::font::OpenGlyphSource(Sjis(szFace), nHeight, 0, &strError);
      ASSERT_TRUE(a && b) << strError;
      EXPECT_EQ(a->GetCellHeight(), nHeight);
      for (const char* szChar :
           {"A", "g", "j", "_", "|", "Q", "ｶ", "漢", "あ", "■", "※", "＿", "ｇ"}) {
        const GLYPHMASK& g = a->GetGlyph(Code(szChar));
        EXPECT_GT(g.nAdvance, 0) << szChar;
        ASSERT_EQ(g.Ink.size(), size_t(g.nWidth) * size_t(g.nHeight)) << szChar;
        for (uint8_t v : g.Ink) ASSERT_LE(v, 1) << szChar << ": one bit deep";
        if (g.nHeight > 0) {
          EXPECT_GE(g.nTop, 0) << szChar << " reaches above its cell";
          EXPECT_LE(g.nTop + g.nHeight, nHeight) << szChar << " reaches below its cell";
        }
        const GLYPHMASK& h = b->GetGlyph(Code(szChar));
        EXPECT_EQ(Art(g), Art(h)) << szChar;
        EXPECT_EQ(g.nLeft, h.nLeft);
        EXPECT_EQ(g.nTop, h.nTop);
      }
    }
  }
  auto gothic = plat::font::OpenGlyphSource(Sjis("ＭＳ ゴシック"), 16, 0, nullptr);
  ASSERT_TRUE(gothic);
  EXPECT_EQ(plat::font::MeasureAdvance(*gothic, Sjis("AB漢")),
            2 * gothic->GetGlyph('A').nAdvance + gothic->GetGlyph(Code("漢")).nAdvance);
  // Spaces and control codes have no ink; a character the face lacks
  // neither, but each still advances.
  for (plat::font::GLYPHCODE w : {0x20, 0x0A, 0x01, 0x7F, 0x8140, 0xA0, 0xFD}) {
    const GLYPHMASK& g = gothic->GetGlyph(w);
    EXPECT_EQ(Art(g).find('#'), std::string::npos) << std::hex << w;
    EXPECT_GT(g.nAdvance, 0) << std::hex << w;
  }
}

TEST(GlyphSource, TheMainFontDrawsTheseShapes) {
  if (!HasJapaneseFonts()) GTEST_SKIP() << "needs fonts-ipafont-gothic and -mincho (scripts/setup)";
  auto font = plat::font::OpenGlyphSource(Sjis("ＭＳ ゴシック"), 16, 0, nullptr);
  ASSERT_TRUE(font);
  const GLYPHMASK& a = font->GetGlyph('A');
  const GLYPHMASK& kan = font->GetGlyph(Code("字"));
  EXPECT_EQ(Art(a),
            "...##..\n"
            "...##..\n"
            "..#.#..\n"
            "..#.#..\n"
            "..#..#.\n"
            "..#..#.\n"
            ".#####.\n"
            ".#...##\n"
            ".#...##\n"
            "##....#\n");
  EXPECT_EQ(Art(kan),
            "......#......\n"
            "......#......\n"
            "#############\n"
            "#...........#\n"
            "#.#########.#\n"
            "........##...\n"
            "......##.....\n"
            "......#......\n"
            "#############\n"
            "......#......\n"
            "......#......\n"
            "......#......\n"
            "......#......\n"
            "....###......\n");
  EXPECT_EQ(a.nLeft, 0);
  EXPECT_EQ(a.nTop, 2);
  EXPECT_EQ(kan.nLeft, 1);
  EXPECT_EQ(kan.nTop, 1);
}

TEST(GlyphCodes, ALeadByteCountsOnlyWithItsTrailByte) {
  int n = -1;
  EXPECT_EQ(plat::font::ReadGlyphCode("\x8a\xbf", &n), 0x8ABF);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(plat::font::ReadGlyphCode(std::string_view("\x8a\x00", 2), &n), 0x8A);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(plat::font::ReadGlyphCode("\x8a\x0a", &n), 0x8A);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(plat::font::ReadGlyphCode("\xb6\x41", &n), 0xB6);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(plat::font::ReadGlyphCode("", &n), 0);
  EXPECT_EQ(n, 0);
}

TEST(GlyphMask, InkIsWrittenInsideTheClipAndTheImageOnly) {
  GLYPHMASK g;
  g.nLeft = -1;
  g.nTop = 1;
  g.nWidth = 4;
  g.nHeight = 3;
  g.Ink.assign(12, 1);
  g.Ink[0] = 0;
  struct {
    plat::gfx::ePixelFormat format;
    uint32_t dwValue;
  } const formats[] = {{plat::gfx::ePixelFormat::P8, 0xAB},
                       {plat::gfx::ePixelFormat::R5G6B5, 0xF81F},
                       {plat::gfx::ePixelFormat::A8R8G8B8, 0xFF123456}};
  for (const auto& f : formats) {
    plat::gfx::cImage image(6, 5, f.format, plat::gfx::ePool::System, false);
    // Pen at (4, -1): the mask covers x 3..6 and y 0..2; the clip stops at x 5.
    plat::font::DrawGlyphMask(image, {0, 0, 5, 5}, 4, -1, g, f.dwValue);
    std::string s;
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) s += image.ReadPixel(x, y) == f.dwValue ? '#' : '.';
      s += '\n';
    }
    EXPECT_EQ(s,
              "....#.\n"
              "...##.\n"
              "...##.\n"
              "......\n"
              "......\n")
        << plat::gfx::GetFormatName(f.format);
    plat::font::DrawGlyphMask(image, {0, 0, 6, 5}, -10, 100, g, f.dwValue);
    plat::font::DrawGlyphMask(image, {3, 3, 2, 2}, 2, 2, g, f.dwValue);
  }
}

}  // namespace
