// The bitmap reader: every encoding on tiny files written here, refusal of
// bad files, and the public bitmap test suite against its reference renderings.
#include "platform/gfx/bmp_reader.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/gfx/pixel_rules.h"
#include "support/test_paths.h"
#include "tests/platform/gfx/bmp_builder.h"

namespace plat::gfx {
namespace {

using test::cBmpBuilder;

std::vector<uint32_t> AllPixels(const cBitmap& b) {
  std::vector<uint32_t> v;
  for (int y = 0; y < b.GetHeight(); ++y)
    for (int x = 0; x < b.GetWidth(); ++x) v.push_back(b.GetArgb(x, y));
  return v;
}

struct ENCODING {
  const char* szName;
  cBmpBuilder bmp;
  std::vector<uint32_t> expected;  // top row first
};

std::vector<uint32_t> Table16() {
  std::vector<uint32_t> t;
  for (uint32_t i = 0; i < 16; ++i) t.push_back(i * 0x111111);
  return t;
}

std::vector<uint32_t> Table256() {
  std::vector<uint32_t> t;
  for (uint32_t i = 0; i < 256; ++i) t.push_back(i << 16 | (255 - i));
  return t;
}

uint32_t Pal256(uint32_t i) { return 0xFF000000u | i << 16 | (255 - i); }

std::vector<ENCODING> Encodings() {
  std::vector<ENCODING> v;
  {
    ENCODING e{"1 bit, bottom-up", {}, {}};
    e.bmp.nWidth = 3, e.bmp.nHeight = 2, e.bmp.nBitCount = 1;
    e.bmp.colorTable = {0x000000, 0xFFFFFF};
    e.bmp.pixels = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};  // bottom row 101, top row 010
    e.expected = {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF};
    v.push_back(e);
  }
  {
    ENCODING e{"4 bit", {}, {}};
    e.bmp.nWidth = 3, e.bmp.nBitCount = 4;
    e.bmp.colorTable = Table16();
    e.bmp.pixels = {0x1F, 0x30, 0, 0};
    e.expected = {0xFF111111, 0xFFFFFFFF, 0xFF333333};
    v.push_back(e);
  }
  {
    ENCODING e{"8 bit, top-down", {}, {}};
    e.bmp.nWidth = 2, e.bmp.nHeight = -2, e.bmp.nBitCount = 8;
    e.bmp.colorTable = Table256();
    e.bmp.pixels = {5, 6, 0, 0, 7, 255, 0, 0};
    e.expected = {Pal256(5), Pal256(6), Pal256(7), Pal256(255)};
    v.push_back(e);
  }
  {
    ENCODING e{"8 bit, colour table shorter than 256", {}, {}};
    e.bmp.nWidth = 2, e.bmp.nBitCount = 8;
    e.bmp.colorTable = {0x102030, 0x405060};
    e.bmp.pixels = {1, 9, 0, 0};  // index 9 lies past the table: black
    e.expected = {0xFF405060, 0xFF000000};
    v.push_back(e);
  }
  {
    ENCODING e{"16 bit 555", {}, {}};
    e.bmp.nWidth = 3, e.bmp.nBitCount = 16;
    e.bmp.pixels = {0x00, 0x7C, 0x1F, 0x00, 0x10, 0x02, 0, 0};
    e.expected = {0xFFFF0000, 0xFF0000FF, MakeArgb(255, 0, 132, 132)};
    v.push_back(e);
  }
  {
    ENCODING e{"16 bit 565 bit fields", {}, {}};
    e.bmp.nWidth = 2, e.bmp.nBitCount = 16, e.bmp.dwCompression = 3;
    e.bmp.masks = {0xF800, 0x07E0, 0x001F};
    e.bmp.pixels = {0xE0, 0x07, 0x10, 0x84};
    e.expected = {0xFF00FF00, MakeArgb(255, 132, 130, 132)};
    v.push_back(e);
  }
  {
    ENCODING e{"32 bit, fourth byte ignored", {}, {}};
    e.bmp.nWidth = 1, e.bmp.nBitCount = 32;
    e.bmp.pixels = {0x30, 0x20, 0x10, 0x00};
    e.expected = {0xFF102030};
    v.push_back(e);
  }
  {
    ENCODING e{"32 bit bit fields with alpha, v5 header", {}, {}};
    e.bmp.nWidth = 1, e.bmp.nBitCount = 32, e.bmp.dwCompression = 3, e.bmp.dwHeaderSize = 124;
    e.bmp.masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};  // B G R A from the top byte
    e.bmp.pixels = {0x80, 0x10, 0x20, 0x30};
    e.expected = {MakeArgb(0x80, 0x10, 0x20, 0x30)};
    v.push_back(e);
  }
  {
    ENCODING e{"RLE8 with runs, literals and end of line", {}, {}};
    e.bmp.nWidth = 4, e.bmp.nHeight = 2, e.bmp.nBitCount = 8, e.bmp.dwCompression = 1;
    e.bmp.colorTable = Table256();
    e.bmp.pixels = {2, 1, 0, 0, 0, 3, 5, 6, 7, 0, 0, 1};
    e.expected = {Pal256(5), Pal256(6), Pal256(7), Pal256(0),
                  Pal256(1), Pal256(1), Pal256(0), Pal256(0)};
    v.push_back(e);
  }
  {
    ENCODING e{"RLE8 delta", {}, {}};
    e.bmp.nWidth = 3, e.bmp.nHeight = 2, e.bmp.nBitCount = 8, e.bmp.dwCompression = 1;
    e.bmp.colorTable = Table256();
    e.bmp.pixels = {0, 2, 2, 1, 1, 9, 0, 1};  // move to (2, one row up), one pixel 9
    e.expected = {Pal256(0), Pal256(0), Pal256(9), Pal256(0), Pal256(0), Pal256(0)};
    v.push_back(e);
  }
  {
    ENCODING e{"RLE4 runs alternate nibbles, literals", {}, {}};
    e.bmp.nWidth = 7, e.bmp.nBitCount = 4, e.bmp.dwCompression = 2;
    e.bmp.colorTable = Table16();
    e.bmp.pixels = {4, 0x12, 0, 3, 0xAB, 0xC0, 0, 1};
    e.expected = {0xFF111111, 0xFF222222, 0xFF111111, 0xFF222222,
                  0xFFAAAAAA, 0xFFBBBBBB, 0xFFCCCCCC};
    v.push_back(e);
  }
  {
    ENCODING e{"OS/2 core header with 3-byte table", {}, {}};
    // Built by hand: the builder writes the 40-byte form.
    v.push_back(e);
  }
  return v;
}

TEST(BmpReader, ReadsEveryEncoding) {
  for (ENCODING& e : Encodings()) {
    std::vector<uint8_t> file;
    if (std::string(e.szName).rfind("OS/2", 0) == 0) {
      // 1 bit, 2 x 1: two 3-byte entries (blue first), one padded row.
      file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0,    0,    32,   0,    0,    0,    12,   0, 0, 0,
              2,   0,   1, 0, 1, 0, 1, 0, 0x30, 0x20, 0x10, 0x03, 0x02, 0x01, 0x40, 0, 0, 0};
      e.expected = {0xFF102030, 0xFF010203};
    } else {
      file = e.bmp.Build();
    }
    cBitmap b;
    std::string why;
    ASSERT_TRUE(ReadBitmap(file.data(), file.size(), b, &why)) << e.szName << ": " << why;
    EXPECT_EQ(AllPixels(b), e.expected) << e.szName;
  }
}

TEST(BmpReader, KeepsIndicesAndTheFileBitCount) {
  cBmpBuilder bmp;
  bmp.nWidth = 2, bmp.nBitCount = 8, bmp.colorTable = Table256(), bmp.pixels = {3, 4, 0, 0};
  const auto file = bmp.Build();
  cBitmap b;
  ASSERT_TRUE(ReadBitmap(file.data(), file.size(), b));
  EXPECT_TRUE(b.IsIndexed());
  EXPECT_EQ(b.GetBitCount(), 8);
  EXPECT_EQ(b.GetIndex(1, 0), 4);
  EXPECT_EQ(b.GetColorTable().size(), 256u);
}

TEST(BmpReader, WideRowsArePaddedWithoutSkew) {
  // 250 pixels of 24 bits: 750 bytes, padded to 752 per row.
  cBmpBuilder bmp;
  bmp.nWidth = 250, bmp.nHeight = 2, bmp.nBitCount = 24;
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 250; ++x) {
      bmp.pixels.push_back(uint8_t(x));        // blue
      bmp.pixels.push_back(uint8_t(row + 1));  // green
      bmp.pixels.push_back(0x40);              // red
    }
    bmp.pixels.push_back(0xEE);
    bmp.pixels.push_back(0xEE);
  }
  const auto file = bmp.Build();
  cBitmap b;
  ASSERT_TRUE(ReadBitmap(file.data(), file.size(), b));
  EXPECT_EQ(b.GetArgb(0, 1), MakeArgb(255, 0x40, 1, 0));  // bottom row first in the file
  EXPECT_EQ(b.GetArgb(249, 1), MakeArgb(255, 0x40, 1, 249));
  EXPECT_EQ(b.GetArgb(249, 0), MakeArgb(255, 0x40, 2, 249));
}

TEST(BmpReader, RefusesBadFilesCleanly) {
  struct BAD {
    const char* szName;
    cBmpBuilder bmp;
    size_t nCutTo = 0;  // 0: keep the whole file
  };
  auto base = [] {
    cBmpBuilder b;
    b.nWidth = 2, b.nHeight = 2, b.nBitCount = 8, b.colorTable = Table256();
    b.pixels.assign(8, 1);
    return b;
  };
  std::vector<BAD> bad;
  auto add = [&](const char* n, auto change, size_t cut = 0) {
    BAD x{n, base(), cut};
    change(x.bmp);
    bad.push_back(x);
  };
  add(
      "truncated header", [](cBmpBuilder&) {}, 20);
  add("header size of no known kind", [](cBmpBuilder& b) { b.dwHeaderSize = 41; });
  add("zero width", [](cBmpBuilder& b) { b.nWidth = 0; });
  add("negative width", [](cBmpBuilder& b) { b.nWidth = -2; });
  add("zero height", [](cBmpBuilder& b) { b.nHeight = 0; });
  add("giant size", [](cBmpBuilder& b) { b.nWidth = 60000, b.nHeight = 60000; });
  add("beyond any size",
      [](cBmpBuilder& b) { b.nWidth = 0x7FFFFFFF, b.nHeight = int(0x80000000); });
  add("colour table shorter than its count",
      [](cBmpBuilder& b) { b.colorTable.resize(2), b.nClrUsed = 256, b.pixels.clear(); });
  add("pixels start past the end",
      [](cBmpBuilder& b) { b.nOffBitsDelta = 4000, b.pixels.clear(); });
  add("pixel rows cut short", [](cBmpBuilder& b) { b.pixels.resize(5); });
  add("two planes", [](cBmpBuilder& b) { b.nPlanes = 2; });
  add("bit count 7", [](cBmpBuilder& b) { b.nBitCount = 7; });
  add("RLE8 on 4 bits",
      [](cBmpBuilder& b) { b.dwCompression = 1, b.nBitCount = 4, b.colorTable.resize(16); });
  add("top-down RLE", [](cBmpBuilder& b) {
    b.dwCompression = 1, b.nHeight = -2, b.pixels = {0, 1};
  });
  add("RLE stream cut short", [](cBmpBuilder& b) {
    b.dwCompression = 1, b.pixels = {2, 1, 0, 3, 5};
  });
  add("bit fields on 24 bits", [](cBmpBuilder& b) {
    b.nBitCount = 24, b.dwCompression = 3, b.colorTable.clear(), b.masks = {0xFF0000, 0xFF00, 0xFF};
  });
  add("unknown compression", [](cBmpBuilder& b) { b.dwCompression = 4; });
  for (const BAD& x : bad) {
    auto file = x.bmp.Build();
    if (x.nCutTo) file.resize(x.nCutTo);
    cBitmap b;
    std::string why;
    EXPECT_FALSE(ReadBitmap(file.data(), file.size(), b, &why)) << x.szName;
    EXPECT_FALSE(why.empty()) << x.szName;
    EXPECT_EQ(b.GetWidth(), 0) << x.szName;
  }
  // Every prefix of a good file is refused or read, never overrun.
  const auto good = base().Build();
  for (size_t n = 0; n < good.size(); ++n) {
    cBitmap b;
    std::string why;
    EXPECT_FALSE(ReadBitmap(good.data(), n, b, &why)) << "cut to " << n;
    // 8 bits: the header, then a 1 KiB colour table, then the rows.
    EXPECT_EQ(why, n < 26      ? "not a bitmap file"
                   : n < 50    ? "truncated header"
                   : n < 1078  ? "colour table cut short"
                   : n == 1078 ? "no pixel data"
                               : "pixel data cut short")
        << "cut to " << n;
  }
}

// ---- The public test suite ----------------------------------------------

const std::string kSuite = TestDataDir() + "/bmp";

std::vector<std::string> FilesIn(const std::string& dir) {
  std::vector<std::string> v;
  for (const auto& e : std::filesystem::directory_iterator(kSuite + "/" + dir))
    if (e.path().extension() == ".bmp") v.push_back(e.path().string());
  std::sort(v.begin(), v.end());
  return v;
}

TEST(BmpSuite, EveryFileIsReadOrRefusedWithItsReason) {
  // Every file the reader refuses, and why; every other file is read.
  const std::map<std::string, std::string> refused = {
      {"b/badbitcount.bmp", "unsupported bit count"},
      {"b/badheadersize.bmp", "unknown header size"},
      {"b/badplanes.bmp", "bad plane count"},
      {"b/badwidth.bmp", "bad size"},
      {"b/reallybig.bmp", "bad size"},
      {"b/rletopdown.bmp", "top-down RLE"},
      {"b/shortfile.bmp", "pixel data cut short"},
      {"q/pal1huffmsb.bmp", "unsupported compression"},
      {"q/pal2.bmp", "unsupported bit count"},
      {"q/pal2color.bmp", "unsupported bit count"},
      {"q/rgb24jpeg.bmp", "unsupported bit count"},
      {"q/rgb24png.bmp", "unsupported bit count"},
      {"q/rgb24rle24.bmp", "unsupported compression"},
      {"q/rgba64.bmp", "unsupported bit count"},
      {"x/ba-bm.bmp", "not a bitmap file"},
  };
  int nRead = 0;
  for (const char* dir : {"g", "q", "b", "x"})
    for (const std::string& path : FilesIn(dir)) {
      const std::string name =
          std::string(dir) + "/" + std::filesystem::path(path).filename().string();
      SCOPED_TRACE(name);
      cBitmap b;
      std::string why;
      const bool bRead = LoadBitmapFile(path, b, &why);
      const auto it = refused.find(name);
      if (it != refused.end()) {
        EXPECT_FALSE(bRead);
        EXPECT_EQ(why, it->second);
        EXPECT_EQ(b.GetWidth(), 0);  // nothing half-read is left
        continue;
      }
      ASSERT_TRUE(bRead) << why;
      ++nRead;
      // Whatever was accepted is whole: every pixel readable.
      ASSERT_GT(b.GetWidth(), 0);
      ASSERT_GT(b.GetHeight(), 0);
      const size_t nPixels = size_t(b.GetWidth()) * size_t(b.GetHeight());
      EXPECT_EQ(b.IsIndexed() ? b.m_Indices.size() : b.m_Colors.size(), nPixels);
      EXPECT_EQ(AllPixels(b).size(), nPixels);
    }
  EXPECT_GT(nRead, 60);
}

// The reference rendering of each valid file (several files show the same picture).
std::string ReferenceOf(const std::string& stem) {
  static const std::pair<const char*, const char*> kSame[] = {
      {"pal1wb", "pal1"},      {"pal4rle", "pal4"},
      {"pal8-0", "pal8"},      {"pal8os2", "pal8"},
      {"pal8rle", "pal8"},     {"pal8topdown", "pal8"},
      {"pal8v4", "pal8"},      {"pal8v5", "pal8"},
      {"rgb16bfdef", "rgb16"}, {"rgb16-565pal", "rgb16-565"},
      {"rgb24pal", "rgb24"},   {"rgb32", "rgb24"},
      {"rgb32bf", "rgb24"},    {"rgb32bfdef", "rgb24"},
  };
  for (const auto& [from, to] : kSame)
    if (stem == from) return to;
  return stem;
}

TEST(BmpSuite, ValidFilesMatchTheirReferenceRenderings) {
  int nCompared = 0;
  for (const std::string& path : FilesIn("g")) {
    const std::string stem = std::filesystem::path(path).stem().string();
    const std::string png = kSuite + "/reference/" + ReferenceOf(stem) + ".png";
    if (!std::filesystem::exists(png)) continue;
    cBitmap b;
    ASSERT_TRUE(LoadBitmapFile(path, b)) << path;
    GError* pErr = nullptr;
    GdkPixbuf* pix = gdk_pixbuf_new_from_file(png.c_str(), &pErr);
    ASSERT_NE(pix, nullptr) << png;
    ASSERT_EQ(gdk_pixbuf_get_width(pix), b.GetWidth()) << stem;
    ASSERT_EQ(gdk_pixbuf_get_height(pix), b.GetHeight()) << stem;
    const int nChannels = gdk_pixbuf_get_n_channels(pix);
    const int nStride = gdk_pixbuf_get_rowstride(pix);
    const guchar* px = gdk_pixbuf_read_pixels(pix);
    int nBad = 0;
    for (int y = 0; y < b.GetHeight(); ++y)
      for (int x = 0; x < b.GetWidth(); ++x) {
        const guchar* p = px + y * nStride + x * nChannels;
        const uint32_t want = MakeArgb(255, p[0], p[1], p[2]);
        const uint32_t got = b.GetArgb(x, y) | 0xFF000000u;
        if (want != got && nBad++ < 3)
          ADD_FAILURE() << stem << " (" << x << "," << y << ") " << std::hex << got << " want "
                        << want;
      }
    g_object_unref(pix);
    ++nCompared;
  }
  EXPECT_GE(nCompared, 20);
}

}  // namespace
}  // namespace plat::gfx
