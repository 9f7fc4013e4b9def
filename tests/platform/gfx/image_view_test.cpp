// Views: cutting a rectangle from a view, clipping forward and backwards
// rectangles, and which views the kernels accept.
#include "platform/gfx/image_view.h"

#include <gtest/gtest.h>

#include <vector>

using namespace plat::gfx;

namespace {

std::vector<int> Edges(const cImageView& v) {
  const GFXRECT& r = v.GetRect();
  return {r.nLeft, r.nTop, r.nRight, r.nBottom};
}

TEST(ImageView, SubMeasuresFromTheViewsCornerAndClipCutsToBounds) {
  cImage image(40, 30, ePixelFormat::R5G6B5, ePool::System, false);
  const cImageView frame = cImageView(image).Sub(8, 4, 16, 16);  // 8,4 .. 24,20
  struct ROW {
    int x, y, w, h;                 // Sub of the frame
    std::vector<int> sub, clipped;  // edges in image coordinates
    bool bEmpty, bBackwards;        // of the clipped view
  };
  const ROW rows[] = {
      // Inside: clipping changes nothing.
      {2, 3, 4, 5, {10, 7, 14, 12}, {10, 7, 14, 12}, false, false},
      // Over the left and top edges of the frame.
      {-4, -2, 8, 6, {4, 2, 12, 8}, {8, 4, 12, 8}, false, false},
      // Over the right and bottom edges.
      {12, 10, 10, 10, {20, 14, 30, 24}, {20, 14, 24, 20}, false, false},
      // Wholly outside: empty at the cut.
      {20, 0, 5, 5, {28, 4, 33, 9}, {28, 4, 28, 9}, true, false},
      {0, -10, 5, 5, {8, -6, 13, -1}, {8, 4, 13, 4}, true, false},
      // Backwards: runs left from x, keeps its direction when cut.
      {10, 0, -6, 4, {18, 4, 12, 8}, {18, 4, 12, 8}, false, true},
      {20, 0, -16, 4, {28, 4, 12, 8}, {24, 4, 12, 8}, false, true},
      {2, 0, -8, 4, {10, 4, 2, 8}, {10, 4, 8, 8}, false, true},
      {-2, 0, -4, 4, {6, 4, 2, 8}, {6, 4, 6, 8}, true, false},
      // Empty from the start.
      {3, 3, 0, 5, {11, 7, 11, 12}, {11, 7, 11, 12}, true, false},
  };
  int nRow = 0;
  for (const ROW& r : rows) {
    SCOPED_TRACE(nRow++);
    const cImageView sub = frame.Sub(r.x, r.y, r.w, r.h);
    EXPECT_EQ(Edges(sub), r.sub);
    const cImageView clipped = sub.Clip(frame.GetRect());
    EXPECT_EQ(Edges(clipped), r.clipped);
    EXPECT_EQ(clipped.IsEmpty(), r.bEmpty);
    EXPECT_EQ(clipped.IsBackwards(), r.bBackwards);
    EXPECT_EQ(clipped.GetImage(), &image);
  }
}

TEST(ImageView, OnlyForwardNonEmptyViewsInsideTheImageReachPixels) {
  cImage image(6, 4, ePixelFormat::X8R8G8B8, ePool::System, false);
  const cImageView whole(image);
  EXPECT_TRUE(whole.IsInsideImage());
  EXPECT_TRUE(whole.Sub(5, 3, 1, 1).IsInsideImage());
  EXPECT_FALSE(whole.Sub(5, 3, 2, 1).IsInsideImage());
  EXPECT_FALSE(whole.Sub(-1, 0, 2, 1).IsInsideImage());
  EXPECT_FALSE(whole.Sub(2, 0, 0, 1).IsInsideImage());
  EXPECT_FALSE(whole.Sub(4, 0, -2, 1).IsInsideImage());
  EXPECT_FALSE(cImageView(nullptr, {0, 0, 2, 2}).IsInsideImage());

  // Cut to the image: what is left of a view over its edges.
  EXPECT_EQ(Edges(whole.Sub(-3, 2, 5, 9).ClipToImage()), (std::vector<int>{0, 2, 2, 4}));
  EXPECT_TRUE(cImageView(nullptr, {1, 1, 5, 5}).ClipToImage().IsEmpty());

  // Row j of a view starts at its left edge; a writable view reads as a
  // read-only one of the same pixels.
  image.WritePixel(3, 2, 0x00ABCDEFu);
  const cImageView sub = whole.Sub(2, 1, 3, 2);
  EXPECT_EQ(sub.GetPixels<uint32_t>(1)[1], 0x00ABCDEFu);
  const cConstImageView reader = sub;
  EXPECT_EQ(reader.GetPixels<uint32_t>(1), sub.GetPixels<uint32_t>(1));
}

}  // namespace
