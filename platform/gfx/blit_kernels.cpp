// Raw copy, stretch and fill loops, one instance per pixel size.
#include "platform/gfx/blit_kernels.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/gfx/pixel_rules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define BRIMVALE_WIDE_RECTS 1
#endif

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

// The loop's speed depends on where it lands against the processor's
// 64-byte fetch blocks (half again slower at some places), so it keeps a
// place of its own: unrelated code moving elsewhere cannot slow the blits.
// Which bytes of a lane mask are set, one bit a byte.
template <typename V>
inline unsigned ByteBits(V m) {
#if defined(__SSE2__)
  return unsigned(_mm_movemask_epi8(__m128i(m)));
#else
  unsigned n = 0;
  uint8_t b[16];
  std::memcpy(b, &m, 16);
  for (int k = 0; k < 16; ++k) n |= unsigned(b[k] >> 7) << k;
  return n;
#endif
}

// Sixteen bytes at a time: all transparent leave the destination alone, none
// transparent are stored as they are, a mix picks per lane.
template <typename T>
__attribute__((noinline, aligned(64))) void CopyKeyed(T* d, const T* s, int w, T key, T mask) {
  using V = typename VECTOR16<T>::type;
  static_assert(sizeof(V) == 16);
  constexpr int kLanes = int(16 / sizeof(T));
  int i = 0;
  for (; i + kLanes <= w; i += kLanes) {
    V vs;
    std::memcpy(&vs, s + i, sizeof vs);
    const V bKeyed = V((vs & mask) == key);  // all ones where the source is transparent
    const unsigned nKeyed = ByteBits(bKeyed);
    if (nKeyed == 0xFFFF) continue;
    if (nKeyed != 0) {
      V vd;
      std::memcpy(&vd, d + i, sizeof vd);
      vs = (vd & bKeyed) | (vs & ~bKeyed);
    }
    std::memcpy(d + i, &vs, sizeof vs);
  }
  for (; i < w; ++i) {
    const T v = s[i];
    if ((v & mask) != key) d[i] = v;
  }
}

#if defined(BRIMVALE_WIDE_RECTS)
// Lane compares of the wide loop by pixel size.
template <typename T>
__attribute__((target("avx2"))) inline __m256i SameLanes(__m256i a, __m256i b) {
  if constexpr (sizeof(T) == 4)
    return _mm256_cmpeq_epi32(a, b);
  else if constexpr (sizeof(T) == 2)
    return _mm256_cmpeq_epi16(a, b);
  else
    return _mm256_cmpeq_epi8(a, b);
}

template <typename T>
__attribute__((target("avx2"))) inline __m256i Splat(T v) {
  if constexpr (sizeof(T) == 4)
    return _mm256_set1_epi32(int(v));
  else if constexpr (sizeof(T) == 2)
    return _mm256_set1_epi16(short(v));
  else
    return _mm256_set1_epi8(char(v));
}

// A whole keyed rectangle, 32 bytes at a time where the processor has
// 256-bit integer operations, source and destination apart. Every group is
// stored, picking source or destination per lane (32-bit pixels through a
// lane mask, without reading the destination): sprites mix keyed and
// opaque groups at random, and a mispredicted branch per group cost more
// than the store it saved. The last group of a row ends at the row's end
// and may go over pixels already done, which picking again leaves as they
// are. Rows narrower than a group take the narrow loop.
template <typename T>
__attribute__((target("avx2"), noinline, aligned(64))) void CopyKeyedRectW(
    T* d, ptrdiff_t nDstPitch, const T* s, ptrdiff_t nSrcPitch, int w, int h, T key, T mask) {
  constexpr size_t kLanes = 32 / sizeof(T);
  const size_t n = w > 0 ? size_t(w) : 0;
  const __m256i vKey = Splat<T>(key), vMask = Splat<T>(mask);
  const __m256i ones = _mm256_set1_epi32(-1);
  auto* pd = reinterpret_cast<uint8_t*>(d);
  auto* ps = reinterpret_cast<const uint8_t*>(s);
  for (int j = 0; j < h && n >= kLanes; ++j, pd += nDstPitch, ps += nSrcPitch) {
    T* dr = reinterpret_cast<T*>(pd);
    const T* sr = reinterpret_cast<const T*>(ps);
    size_t i = 0;
    do {
      const size_t k = i + kLanes <= n ? i : n - kLanes;
      const __m256i vs = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sr + k));
      __m256i* p = reinterpret_cast<__m256i*>(dr + k);
      const __m256i keyed = SameLanes<T>(_mm256_and_si256(vs, vMask), vKey);
      if constexpr (sizeof(T) == 4)
        // Keyed pixels of the destination are neither read nor written.
        _mm256_maskstore_epi32(reinterpret_cast<int*>(p), _mm256_xor_si256(keyed, ones), vs);
      else
        _mm256_storeu_si256(p, _mm256_blendv_epi8(vs, _mm256_loadu_si256(p), keyed));
      i = k + kLanes;
    } while (i < n);
  }
  _mm256_zeroupper();
  if (n < kLanes)
    for (int j = 0; j < h; ++j, pd += nDstPitch, ps += nSrcPitch)
      CopyKeyed(reinterpret_cast<T*>(pd), reinterpret_cast<const T*>(ps), w, key, mask);
}

bool HasWideRects() {
  static const bool bWide = __builtin_cpu_supports("avx2");
  return bWide;
}
#endif

// Row j of a view from its top row and its image's pitch: the loops read
// both once, as a store through a row could otherwise alias the view.
template <typename T>
T* RowOf(T* pTop, ptrdiff_t nPitch, int j) {
  using BYTE = std::conditional_t<std::is_const_v<T>, const uint8_t, uint8_t>;
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(pTop) + nPitch * j);
}

template <typename T>
void CopyRectT(const cImageView& dst, const cConstImageView& src, bool bKey, uint32_t dwKey) {
  const T mask = T(GetKeyMask(src.GetImage()->GetFormat()));
  const T key = T(dwKey) & mask;
  const int w = dst.GetWidth();
  const int h = dst.GetHeight();
  if (w <= 0 || h <= 0) return;
  T* const pDstTop = dst.GetPixels<T>(0);
  const T* const pSrcTop = src.GetPixels<T>(0);
  const ptrdiff_t nDstPitch = dst.GetImage()->GetPitch();
  const ptrdiff_t nSrcPitch = src.GetImage()->GetPitch();
  // Overlapping rows of one image copy top-down or bottom-up as needed.
  const bool bSame = dst.GetImage() == src.GetImage();
  const bool bUp = bSame && dst.GetTop() > src.GetTop();
#if defined(BRIMVALE_WIDE_RECTS)
  if (bKey && !bSame && HasWideRects()) {
    CopyKeyedRectW<T>(pDstTop, nDstPitch, pSrcTop, nSrcPitch, w, h, key, mask);
    return;
  }
#endif
  for (int j0 = 0; j0 < h; ++j0) {
    const int j = bUp ? h - 1 - j0 : j0;
    T* d = RowOf(pDstTop, nDstPitch, j);
    const T* s = RowOf(pSrcTop, nSrcPitch, j);
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
void StretchRectT(const cImageView& dst, const cConstImageView& src, bool bKey, uint32_t dwKey) {
  const cImage& srcImage = *src.GetImage();
  const T mask = T(GetKeyMask(srcImage.GetFormat()));
  const T key = T(dwKey) & mask;
  const int w = dst.GetWidth();
  const int h = dst.GetHeight();
  const int sw = src.GetWidth();
  const int sh = src.GetHeight();
  if (w <= 0 || h <= 0) return;
  T* const pDstTop = dst.GetPixels<T>(0);
  const ptrdiff_t nDstPitch = dst.GetImage()->GetPitch();
  std::vector<int> cols(static_cast<size_t>(w));
  for (int k = 0; k < w; ++k) cols[size_t(k)] = src.GetLeft() + StretchColumn(k, sw, w);
  // A stretch within one image reads from a copy of the source rectangle's rows.
  std::vector<T> rowCopy;
  for (int j = 0; j < h; ++j) {
    const int srow = src.GetTop() + StretchColumn(j, sh, h);
    const T* s = reinterpret_cast<const T*>(srcImage.GetRow(srow));
    if (dst.GetImage() == &srcImage) {
      rowCopy.assign(s, s + srcImage.GetWidth());
      s = rowCopy.data();
    }
    T* d = RowOf(pDstTop, nDstPitch, j);
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
void FillT(const cImageView& dst, uint32_t v) {
  const T t = T(v);
  const int w = dst.GetWidth();
  const int h = dst.GetHeight();
  if (w <= 0 || h <= 0) return;
  T* const first = dst.GetPixels<T>(0);
  const ptrdiff_t nPitch = dst.GetImage()->GetPitch();
  std::fill_n(first, w, t);
  for (int j = 1; j < h; ++j) std::memcpy(RowOf(first, nPitch, j), first, size_t(w) * sizeof(T));
}

}  // namespace

void CopyRect(const cImageView& dst, const cConstImageView& src, bool bKey, uint32_t dwKey) {
  switch (src.GetImage()->GetBytesPerPixel()) {
    case 1:
      CopyRectT<uint8_t>(dst, src, bKey, dwKey);
      break;
    case 2:
      CopyRectT<uint16_t>(dst, src, bKey, dwKey);
      break;
    case 4:
      CopyRectT<uint32_t>(dst, src, bKey, dwKey);
      break;
    default:
      break;
  }
}

void StretchRect(const cImageView& dst, const cConstImageView& src, bool bKey, uint32_t dwKey) {
  switch (src.GetImage()->GetBytesPerPixel()) {
    case 1:
      StretchRectT<uint8_t>(dst, src, bKey, dwKey);
      break;
    case 2:
      StretchRectT<uint16_t>(dst, src, bKey, dwKey);
      break;
    case 4:
      StretchRectT<uint32_t>(dst, src, bKey, dwKey);
      break;
    default:
      break;
  }
}

void FillRectRaw(const cImageView& dst, uint32_t dwValue) {
  switch (dst.GetImage()->GetBytesPerPixel()) {
    case 1:
      FillT<uint8_t>(dst, dwValue);
      break;
    case 2:
      FillT<uint16_t>(dst, dwValue);
      break;
    case 4:
      FillT<uint32_t>(dst, dwValue);
      break;
    default:
      break;
  }
}

}  // namespace plat::gfx
