// Raw copy, stretch and fill loops, one instance per pixel size.
#include "platform/gfx/blit_kernels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {

namespace {

// 16 bytes of pixels at a time: the key test is a whole-pixel compare, so a
// lane mask picks source or destination without a branch per pixel.
template <typename T>
struct VECTOR16;
template <>
struct VECTOR16<uint8_t> {
  typedef uint8_t type __attribute__((vector_size(16)));
};
template <>
struct VECTOR16<uint16_t> {
  typedef uint16_t type __attribute__((vector_size(16)));
};
template <>
struct VECTOR16<uint32_t> {
  typedef uint32_t type __attribute__((vector_size(16)));
};

template <typename T>
void CopyKeyed(T* d, const T* s, int w, T key, T mask) {
  using V = typename VECTOR16<T>::type;
  static_assert(sizeof(V) == 16);
  constexpr int kLanes = int(16 / sizeof(T));
  int i = 0;
  for (; i + kLanes <= w; i += kLanes) {
    V vs, vd;
    std::memcpy(&vs, s + i, sizeof vs);
    std::memcpy(&vd, d + i, sizeof vd);
    const V bKeyed = V((vs & mask) == key);  // all ones where the source is transparent
    vd = (vd & bKeyed) | (vs & ~bKeyed);
    std::memcpy(d + i, &vd, sizeof vd);
  }
  for (; i < w; ++i) {
    const T v = s[i];
    if ((v & mask) != key) d[i] = v;
  }
}

template <typename T>
void CopyRectT(cImage& dst, int x, int y, const cImage& src, int sx, int sy, int w, int h,
               bool bKey, uint32_t dwKey) {
  const T mask = T(GetKeyMask(src.GetFormat()));
  const T key = T(dwKey) & mask;
  // Overlapping rows of one image copy top-down or bottom-up as needed.
  const bool bSame = &dst == &src;
  const bool bUp = bSame && y > sy;
  for (int j0 = 0; j0 < h; ++j0) {
    const int j = bUp ? h - 1 - j0 : j0;
    T* d = reinterpret_cast<T*>(dst.GetRow(y + j)) + x;
    const T* s = reinterpret_cast<const T*>(src.GetRow(sy + j)) + sx;
    if (!bKey) {
      std::memmove(d, s, size_t(w) * sizeof(T));
    } else if (bSame) {
      std::vector<T> tmp(s, s + w);
      CopyKeyed(d, tmp.data(), w, key, mask);
    } else {
      CopyKeyed(d, s, w, key, mask);
    }
  }
}

template <typename T>
void StretchRectT(cImage& dst, const GFXRECT& dr, const cImage& src, const GFXRECT& sr, bool bKey,
                  uint32_t dwKey) {
  const T mask = T(GetKeyMask(src.GetFormat()));
  const T key = T(dwKey) & mask;
  const int w = dr.nRight - dr.nLeft;
  const int h = dr.nBottom - dr.nTop;
  const int sw = sr.nRight - sr.nLeft;
  const int sh = sr.nBottom - sr.nTop;
  std::vector<int> cols(static_cast<size_t>(w));
  for (int k = 0; k < w; ++k) cols[size_t(k)] = sr.nLeft + StretchColumn(k, sw, w);
  // A stretch within one image reads from a copy of the source rectangle's rows.
  std::vector<T> rowCopy;
  for (int j = 0; j < h; ++j) {
    const int srow = sr.nTop + StretchColumn(j, sh, h);
    const T* s = reinterpret_cast<const T*>(src.GetRow(srow));
    if (&dst == &src) {
      rowCopy.assign(s, s + src.GetWidth());
      s = rowCopy.data();
    }
    T* d = reinterpret_cast<T*>(dst.GetRow(dr.nTop + j)) + dr.nLeft;
    if (bKey) {
      for (int k = 0; k < w; ++k) {
        const T v = s[cols[size_t(k)]];
        if ((v & mask) != key) d[k] = v;
      }
    } else {
      for (int k = 0; k < w; ++k) d[k] = s[cols[size_t(k)]];
    }
  }
}

// The first row is filled pixel by pixel, the others are copies of it.
template <typename T>
void FillT(cImage& dst, const GFXRECT& r, uint32_t v) {
  const T t = T(v);
  const int w = r.nRight - r.nLeft;
  T* first = reinterpret_cast<T*>(dst.GetRow(r.nTop)) + r.nLeft;
  std::fill_n(first, w, t);
  for (int y = r.nTop + 1; y < r.nBottom; ++y)
    std::memcpy(reinterpret_cast<T*>(dst.GetRow(y)) + r.nLeft, first, size_t(w) * sizeof(T));
}

}  // namespace

void CopyRect(cImage& dst, int x, int y, const cImage& src, int sx, int sy, int w, int h, bool bKey,
              uint32_t dwKey) {
  switch (src.GetBytesPerPixel()) {
    case 1:
      CopyRectT<uint8_t>(dst, x, y, src, sx, sy, w, h, bKey, dwKey);
      break;
    case 2:
      CopyRectT<uint16_t>(dst, x, y, src, sx, sy, w, h, bKey, dwKey);
      break;
    case 4:
      CopyRectT<uint32_t>(dst, x, y, src, sx, sy, w, h, bKey, dwKey);
      break;
    default:
      break;
  }
}

void StretchRect(cImage& dst, const GFXRECT& dstRect, const cImage& src, const GFXRECT& srcRect,
                 bool bKey, uint32_t dwKey) {
  switch (src.GetBytesPerPixel()) {
    case 1:
      StretchRectT<uint8_t>(dst, dstRect, src, srcRect, bKey, dwKey);
      break;
    case 2:
      StretchRectT<uint16_t>(dst, dstRect, src, srcRect, bKey, dwKey);
      break;
    case 4:
      StretchRectT<uint32_t>(dst, dstRect, src, srcRect, bKey, dwKey);
      break;
    default:
      break;
  }
}

void FillRectRaw(cImage& dst, const GFXRECT& rect, uint32_t dwValue) {
  switch (dst.GetBytesPerPixel()) {
    case 1:
      FillT<uint8_t>(dst, rect, dwValue);
      break;
    case 2:
      FillT<uint16_t>(dst, rect, dwValue);
      break;
    case 4:
      FillT<uint32_t>(dst, rect, dwValue);
      break;
    default:
      break;
  }
}

}  // namespace plat::gfx
