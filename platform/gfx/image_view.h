// Views: an image and a rectangle of it, the unit the blit kernels and the
// drawing library's clipping work in. A view is a cheap value (a pointer and
// four ints) that never owns its image: cutting one and passing it on costs
// nothing.
//
// Rectangles are in the image's coordinates, right and bottom exclusive. A
// view's rectangle may reach outside its image until it is clipped, and may
// run backwards (right < left, bottom < top): a mirrored source, which only
// the Direct3D-shaped quad reads. A view may also have no image at all (a
// surface whose texture is gone): it still cuts and clips, it has no pixels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "platform/gfx/image.h"

namespace plat::gfx {

template <typename IMAGE>
class cImageViewOf {
 public:
  cImageViewOf() = default;
  // The whole image.
  explicit cImageViewOf(IMAGE& image)
      : m_pImage(&image), m_Rect{0, 0, image.GetWidth(), image.GetHeight()} {}
  cImageViewOf(IMAGE* pImage, const GFXRECT& rect) : m_pImage(pImage), m_Rect(rect) {}
  // A writable view reads as a read-only one.
  operator cImageViewOf<const IMAGE>() const requires(!std::is_const_v<IMAGE>) {
    return {m_pImage, m_Rect};
  }

  IMAGE* GetImage() const { return m_pImage; }
  const GFXRECT& GetRect() const { return m_Rect; }
  int GetLeft() const { return m_Rect.nLeft; }
  int GetTop() const { return m_Rect.nTop; }
  // Negative for a rectangle that runs backwards.
  int GetWidth() const { return m_Rect.nRight - m_Rect.nLeft; }
  int GetHeight() const { return m_Rect.nBottom - m_Rect.nTop; }
  bool IsEmpty() const { return GetWidth() == 0 || GetHeight() == 0; }
  bool IsBackwards() const { return GetWidth() < 0 || GetHeight() < 0; }
  // An image, and a forward, non-empty rectangle that lies inside it: what
  // the kernels accept.
  bool IsInsideImage() const {
    return m_pImage && m_Rect.nLeft >= 0 && m_Rect.nTop >= 0 && m_Rect.nLeft < m_Rect.nRight &&
           m_Rect.nTop < m_Rect.nBottom && m_Rect.nRight <= m_pImage->GetWidth() &&
           m_Rect.nBottom <= m_pImage->GetHeight();
  }

  // The rectangle x, y, w, h measured from this view's top-left corner, not
  // cut to this view or to the image. A negative w or h runs backwards from
  // x or y.
  cImageViewOf Sub(int x, int y, int w, int h) const {
    const int nLeft = m_Rect.nLeft + x, nTop = m_Rect.nTop + y;
    return {m_pImage, {nLeft, nTop, nLeft + w, nTop + h}};
  }
  // The part of this view inside bounds (a forward rectangle in the image's
  // coordinates). A backwards axis stays backwards; an axis with nothing
  // left becomes empty (size 0) at the cut.
  cImageViewOf Clip(const GFXRECT& bounds) const {
    GFXRECT r = m_Rect;
    ClipAxis(r.nLeft, r.nRight, bounds.nLeft, bounds.nRight);
    ClipAxis(r.nTop, r.nBottom, bounds.nTop, bounds.nBottom);
    return {m_pImage, r};
  }
  cImageViewOf ClipToImage() const {
    return m_pImage ? Clip({0, 0, m_pImage->GetWidth(), m_pImage->GetHeight()})
                    : cImageViewOf(nullptr, {m_Rect.nLeft, m_Rect.nTop, m_Rect.nLeft, m_Rect.nTop});
  }

  // Row j of the view (0 = its top row), as pixels of type T starting at
  // its left edge. Only for views inside their image.
  template <typename T>
  auto GetPixels(int j) const {
    using PIXEL = std::conditional_t<std::is_const_v<IMAGE>, const T, T>;
    return reinterpret_cast<PIXEL*>(m_pImage->GetRow(m_Rect.nTop + j)) + m_Rect.nLeft;
  }

 private:
  static void ClipAxis(int& nFrom, int& nTo, int nLo, int nHi) {
    if (nFrom <= nTo) {
      nFrom = std::max(nFrom, nLo);
      nTo = std::max(nFrom, std::min(nTo, nHi));
    } else {
      nFrom = std::min(nFrom, nHi);
      nTo = std::min(nFrom, std::max(nTo, nLo));
    }
  }

  IMAGE* m_pImage = nullptr;
  GFXRECT m_Rect;
};

using cImageView = cImageViewOf<cImage>;
using cConstImageView = cImageViewOf<const cImage>;

}  // namespace plat::gfx
