// The presenter's PNG: a frame handed over, written and decoded again.
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/present/presenter.h"

TEST(Presenter, SavesTheLastFrameAsPng) {
  const int w = 300, h = 250;  // more than one stored block of 65535 bytes
  std::vector<uint32_t> px(size_t(w + 4) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      px[size_t(y) * (w + 4) + x] = uint32_t(x << 16 | y << 8 | ((x + y) & 255));
  plat::PresentFrame(px.data(), w, h, w + 4);
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("brimvale_frame_test_" + std::to_string(getpid()) + ".png"))
                               .string();
  ASSERT_TRUE(plat::SaveLastFramePng(path));
  GError* pErr = nullptr;
  GdkPixbuf* pix = gdk_pixbuf_new_from_file(path.c_str(), &pErr);
  ASSERT_NE(pix, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(pix), w);
  EXPECT_EQ(gdk_pixbuf_get_height(pix), h);
  const guchar* p = gdk_pixbuf_read_pixels(pix);
  const int stride = gdk_pixbuf_get_rowstride(pix), n = gdk_pixbuf_get_n_channels(pix);
  for (int y : {0, 17, h - 1})
    for (int x : {0, 123, w - 1}) {
      const guchar* q = p + y * stride + x * n;
      EXPECT_EQ(q[0], x & 255);
      EXPECT_EQ(q[1], y & 255);
      EXPECT_EQ(q[2], (x + y) & 255);
    }
  g_object_unref(pix);
  std::filesystem::remove(path);
}
