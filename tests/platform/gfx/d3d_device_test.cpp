// The Direct3D-shaped face: texel mapping of quads, the stage operations and
// blending (expected values from the rounding rules), 16-bit targets, rotated
// quads, clears, resources, loss and reset, and the fault hooks.
#include "platform/gfx/d3d_device.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/gfx/bmp_reader.h"
#include "platform/gfx/fault_hooks.h"
#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {
namespace {

// The quad the drawing library builds for a blit: corners at pixel edges
// (-0.5), texture coordinates over the allocated texture size.
void MakeBlitQuad(GFXVERTEX* v, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                  const cImage& tex, uint32_t dwDiffuse = 0xFFFFFFFF) {
  const float x0 = float(x) - 0.5f, x1 = float(x + w) - 0.5f;
  const float y0 = float(y) - 0.5f, y1 = float(y + h) - 0.5f;
  const float u0 = float(sx) / float(tex.GetWidth()), u1 = float(sx + sw) / float(tex.GetWidth());
  const float t0 = float(sy) / float(tex.GetHeight()), t1 = float(sy + sh) / float(tex.GetHeight());
  v[0] = {x0, y0, 0, 1, dwDiffuse, u0, t0};
  v[1] = {x0, y1, 0, 1, dwDiffuse, u0, t1};
  v[2] = {x1, y0, 0, 1, dwDiffuse, u1, t0};
  v[3] = {x1, y1, 0, 1, dwDiffuse, u1, t1};
}

class D3DDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearAllFaults();
    SetDefaultCaps({});
    GFXPRESENTPARAMS pp;
    pp.nWidth = 32, pp.nHeight = 16;
    ASSERT_EQ(cD3DDevice::Create(pp, false, m_pDev), eGfxResult::Ok);
  }
  void TearDown() override { ClearAllFaults(); }

  cImagePtr Texture(int w, int h, ePixelFormat f = ePixelFormat::A8R8G8B8,
                    ePool pool = ePool::Managed, bool bRT = false) {
    cImagePtr p;
    EXPECT_EQ(m_pDev->CreateTexture(w, h, f, pool, bRT, p), eGfxResult::Ok);
    return p;
  }
  void Blit(cImage& tex, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
            uint32_t dwDiffuse = 0xFFFFFFFF) {
    GFXVERTEX v[4];
    MakeBlitQuad(v, x, y, w, h, sx, sy, sw, sh, tex, dwDiffuse);
    m_pDev->SetTexture(&tex);
    ASSERT_EQ(m_pDev->DrawQuad(v), eGfxResult::Ok);
  }
  // The stage set-up of the library's blits.
  static GFXTEXTURESTAGE BlitStage(int nColorOp = TOP_MODULATE, int nAlphaOp = TOP_SELECTARG1) {
    return {nColorOp, TA_TEXTURE, TA_DIFFUSE, nAlphaOp, TA_TEXTURE, TA_DIFFUSE};
  }
  std::unique_ptr<cD3DDevice> m_pDev;
};

TEST_F(D3DDeviceTest, TexelMappingOfBlitQuads) {
  struct CASE {
    const char* szName;
    int nTexWidth, x, w, sx, sw;
    std::vector<int> cols;  // texel column read at destination x nFrom .. (-1: untouched)
    int nFrom = 0;
  };
  const CASE cases[] = {
      {"identity", 8, 0, 8, 0, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
      {"2:1 reads the odd columns", 8, 0, 4, 0, 8, {1, 3, 5, 7, -1}},
      {"1:2 doubles", 8, 0, 6, 1, 3, {1, 1, 2, 2, 3, 3, -1}},
      {"mirrored, source x at the right edge",
       8,
       2,
       8,
       8,
       -8,
       {-1, -1, 7, 6, 5, 4, 3, 2, 1, 0, -1}},
      {"padded texture, u over the allocated width", 16, 0, 6, 2, 6, {2, 3, 4, 5, 6, 7, -1}},
      {"cut by the left edge", 8, -3, 8, 0, 8, {3, 4, 5, 6, 7, -1}},
      {"cut by the right edge", 8, 28, 8, 0, 8, {-1, 0, 1, 2, 3}, 27},
      {"wrap addressing", 8, 0, 4, 6, 4, {6, 7, 0, 1, -1}},
  };
  for (const CASE& c : cases) {
    cImagePtr tex = Texture(c.nTexWidth, 1);
    for (int i = 0; i < c.nTexWidth; ++i) tex->WritePixel(i, 0, 0xFF000000u | uint32_t(i));
    cImage& bb = *m_pDev->GetBackBuffer();
    bb.FillRaw(0xFFABCDEF);
    m_pDev->SetTextureStage(BlitStage());
    Blit(*tex, c.x, 0, c.w, 1, c.sx, 0, c.sw, 1);
    for (size_t k = 0; k < c.cols.size(); ++k) {
      const uint32_t want = c.cols[k] < 0 ? 0xFFABCDEFu : 0xFF000000u | uint32_t(c.cols[k]);
      EXPECT_EQ(bb.ReadPixel(c.nFrom + int(k), 0), want) << c.szName << " x " << c.nFrom + int(k);
    }
  }
  // Rows follow the same rule: 2:1 reads the odd rows.
  cImagePtr tex = Texture(1, 8);
  for (int j = 0; j < 8; ++j) tex->WritePixel(0, j, 0xFF000000u | uint32_t(j));
  Blit(*tex, 0, 0, 1, 4, 0, 0, 1, 8);
  for (int j = 0; j < 4; ++j)
    EXPECT_EQ(m_pDev->GetBackBuffer()->ReadPixel(0, j), 0xFF000000u | uint32_t(2 * j + 1));
}

TEST_F(D3DDeviceTest, StageOperationsFollowTheRules) {
  const uint32_t T = MakeArgb(200, 100, 150, 250), D = MakeArgb(128, 60, 70, 80),
                 F = MakeArgb(64, 10, 220, 30);
  auto each = [](uint32_t a, uint32_t b, auto f) {
    return MakeArgb(f(GetA(a), GetA(b)), f(GetR(a), GetR(b)), f(GetG(a), GetG(b)),
                    f(GetB(a), GetB(b)));
  };
  auto rgbOf = [](uint32_t c, int a) { return (c & 0xFFFFFF) | uint32_t(a) << 24; };
  struct CASE {
    const char* szName;
    GFXTEXTURESTAGE stage;
    bool bTexture;
    uint32_t want;
  };
  const CASE cases[] = {
      {"modulate, texture alpha",
       {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
       true,
       rgbOf(each(T, D, MulChannel), GetA(T))},
      {"modulate both",
       {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE},
       true,
       each(T, D, MulChannel)},
      {"texture factor fill",
       {TOP_SELECTARG2, TA_TEXTURE, TA_TFACTOR, TOP_SELECTARG2, TA_TEXTURE, TA_TFACTOR},
       true,
       F},
      {"add",
       {TOP_ADD, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
       true,
       rgbOf(each(T, D, AddChannel), GetA(T))},
      {"subtract",
       {TOP_SUBTRACT, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
       true,
       rgbOf(each(T, D, SubChannel), GetA(T))},
      {"subtract the other way",
       {TOP_SUBTRACT, TA_TFACTOR, TA_TEXTURE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
       true,
       rgbOf(each(F, T, SubChannel), GetA(T))},
      {"blend by the factor's alpha",
       {TOP_BLENDFACTORALPHA, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
       true,
       rgbOf(each(T, D, [&](int a, int b) { return LerpChannel(a, b, GetA(F)); }), GetA(T))},
      {"alpha disabled takes the diffuse alpha",
       {TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE, TOP_DISABLE, TA_TEXTURE, TA_DIFFUSE},
       true,
       rgbOf(T, GetA(D))},
      {"colour disabled gives the diffuse colour",
       {TOP_DISABLE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
       true,
       D},
      {"no texture samples opaque white",
       {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE},
       false,
       D},
  };
  cImagePtr target = Texture(4, 4, ePixelFormat::A8R8G8B8, ePool::Default, true);
  cImagePtr tex = Texture(2, 2);
  tex->FillRaw(T);
  ASSERT_EQ(m_pDev->SetRenderTarget(target.get()), eGfxResult::Ok);
  m_pDev->SetTextureFactor(F);
  for (const CASE& c : cases) {
    target->FillRaw(0);
    m_pDev->SetTextureStage(c.stage);
    GFXVERTEX v[4];
    MakeBlitQuad(v, 1, 1, 2, 2, 0, 0, 2, 2, *tex, D);
    m_pDev->SetTexture(c.bTexture ? tex.get() : nullptr);
    ASSERT_EQ(m_pDev->DrawQuad(v), eGfxResult::Ok);
    EXPECT_EQ(target->ReadPixel(1, 1), c.want)
        << c.szName << std::hex << " got " << target->ReadPixel(1, 1);
    EXPECT_EQ(target->ReadPixel(2, 2), c.want) << c.szName;
    EXPECT_EQ(target->ReadPixel(0, 0), 0u) << c.szName;
    EXPECT_EQ(target->ReadPixel(3, 3), 0u) << c.szName;
  }
}

TEST_F(D3DDeviceTest, SourceAlphaBlendingOnColourAndAlpha) {
  cImagePtr tex = Texture(4, 1);
  const uint32_t texels[4] = {0x00FFFFFF, 0xFF102030, MakeArgb(128, 200, 100, 0),
                              MakeArgb(1, 255, 255, 255)};
  for (int i = 0; i < 4; ++i) tex->WritePixel(i, 0, texels[i]);
  const uint32_t dst = MakeArgb(100, 40, 80, 120);
  m_pDev->SetAlphaBlend(true);
  m_pDev->SetTextureStage(BlitStage());
  // White diffuse takes the span path, a tint the general one: same rule.
  for (uint32_t dif : {0xFFFFFFFFu, MakeArgb(255, 128, 64, 255)})
    for (ePixelFormat f : {ePixelFormat::A8R8G8B8, ePixelFormat::X8R8G8B8, ePixelFormat::R5G6B5}) {
      cImagePtr target = Texture(4, 1, f, ePool::Default, true);
      // Targets without alpha read it as opaque (and X8R8G8B8 writes its top byte as 0xFF).
      const uint32_t d = ArgbToPixel(dst, f);
      target->FillRaw(d);
      ASSERT_EQ(m_pDev->SetRenderTarget(target.get()), eGfxResult::Ok);
      Blit(*tex, 0, 0, 4, 1, 0, 0, 4, 1, dif);
      const uint32_t dArgb = PixelToArgb(d, f);
      for (int i = 0; i < 4; ++i) {
        const uint32_t c = MakeArgb(GetA(texels[i]), MulChannel(GetR(texels[i]), GetR(dif)),
                                    MulChannel(GetG(texels[i]), GetG(dif)),
                                    MulChannel(GetB(texels[i]), GetB(dif)));
        const int a = GetA(c);
        const uint32_t want =
            MakeArgb(LerpChannel(a, GetA(dArgb), a), LerpChannel(GetR(c), GetR(dArgb), a),
                     LerpChannel(GetG(c), GetG(dArgb), a), LerpChannel(GetB(c), GetB(dArgb), a));
        EXPECT_EQ(target->ReadPixel(i, 0), ArgbToPixel(want, f))
            << GetFormatName(f) << " texel " << i << " tint " << std::hex << dif;
      }
      // Alpha 0 leaves the target exactly as it was.
      EXPECT_EQ(target->ReadPixel(0, 0), d);
    }
}

// Keyed pictures blend four or eight pixels at a time when a group holds
// only alpha 0 and 255; groups with other alphas go pixel by pixel, and the
// last group of a row may reach back over pixels already done. Rows of
// every length and start must follow the blend rule all the same, drawn
// over the target or over a clear of the quad's own rectangle.
TEST_F(D3DDeviceTest, BlendedRowsFollowTheRuleAtAnyLengthAndStart) {
  const int kTexW = 44;
  cImagePtr tex = Texture(kTexW, 1);
  // Groups of four: all keyed/opaque, then one with a half alpha, then
  // mixed; then eight keyed/opaque, and a translucent texel near the end.
  const int alphas[kTexW] = {0,   255, 255, 0,   255, 255, 255, 255, 0,   128, 255,
                             0,   255, 0,   1,   0,   0,   0,   0,   0,   254, 255,
                             255, 0,   255, 0,   0,   255, 255, 255, 0,   0,   255,
                             0,   255, 255, 0,   0,   0,   255, 255, 200, 0,   255};
  for (int i = 0; i < kTexW; ++i)
    tex->WritePixel(i, 0, MakeArgb(alphas[i], 5 * i, 255 - 5 * i, 3 * i));
  m_pDev->SetAlphaBlend(true);
  m_pDev->SetTextureStage(BlitStage());
  for (ePixelFormat f : {ePixelFormat::A8R8G8B8, ePixelFormat::X8R8G8B8}) {
    cImagePtr target = Texture(52, 1, f, ePool::Default, true);
    ASSERT_EQ(m_pDev->SetRenderTarget(target.get()), eGfxResult::Ok);
    const uint32_t under = ArgbToPixel(MakeArgb(90, 40, 80, 120), f);
    const uint32_t dwClear = MakeArgb(0, 255, 0, 255);
    for (bool bClear : {false, true})
      for (int sx = 0; sx < 4; ++sx)
        for (int w = 1; sx + w <= kTexW; ++w) {
          target->FillRaw(under);
          const GFXBLITRECT q{3, 0, w, 1, sx, 0, w, 1, 0xFFFFFFFF};
          m_pDev->SetTexture(tex.get());
          if (bClear)
            ASSERT_EQ(m_pDev->ClearAndDrawBlitRect(MakeRect(3, 0, w, 1), dwClear, q),
                      eGfxResult::Ok);
          else
            ASSERT_EQ(m_pDev->DrawBlitRect(q), eGfxResult::Ok);
          const uint32_t below = bClear ? ArgbToPixel(dwClear, f) : under;
          const uint32_t d = PixelToArgb(below, f);
          for (int x = 0; x < 52; ++x) {
            uint32_t want = under;
            if (x >= 3 && x < 3 + w) {
              const uint32_t c = tex->ReadPixel(sx + x - 3, 0);
              const int a = GetA(c);
              want = ArgbToPixel(
                  MakeArgb(LerpChannel(a, GetA(d), a), LerpChannel(GetR(c), GetR(d), a),
                           LerpChannel(GetG(c), GetG(d), a), LerpChannel(GetB(c), GetB(d), a)),
                  f);
            }
            ASSERT_EQ(target->ReadPixel(x, 0), want) << GetFormatName(f) << " clear " << bClear
                                                     << " sx " << sx << " w " << w << " x " << x;
          }
        }
  }
}

// ClearAndDrawQuad gives the pixels and results of Clear and then DrawQuad,
// whether the quad covers the rectangle exactly (one pass) or not.
TEST_F(D3DDeviceTest, ClearAndDrawQuadEqualsClearThenDraw) {
  struct GEOMETRY {
    const char* szName;
    GFXRECT Rect;
    int x, y, w, h, sx, sy, sw, sh;
    bool bRotated = false;
  };
  const GEOMETRY geometries[] = {
      {"exact", MakeRect(2, 1, 13, 9), 2, 1, 13, 9, 1, 2, 13, 9},
      {"cut by the target", MakeRect(-3, 10, 16, 8), -3, 10, 16, 8, 0, 0, 16, 8},
      {"rectangle larger", MakeRect(0, 0, 20, 12), 4, 2, 9, 7, 3, 3, 9, 7},
      {"rectangle smaller", MakeRect(5, 3, 4, 4), 4, 2, 9, 7, 3, 3, 9, 7},
      {"mirrored", MakeRect(6, 2, 10, 10), 6, 2, 10, 10, 12, 0, -10, 10},
      {"stretched", MakeRect(1, 1, 16, 12), 1, 1, 16, 12, 0, 0, 8, 6},
      {"wrapped", MakeRect(20, 0, 12, 16), 20, 0, 12, 16, 10, 10, 12, 16},
      {"empty quad", MakeRect(3, 3, 5, 5), 3, 3, 0, 5, 0, 0, 0, 5},
      {"off the target", MakeRect(40, 3, 5, 5), 40, 3, 5, 5, 0, 0, 5, 5},
      {"rotated", MakeRect(4, 4, 10, 8), 4, 4, 10, 8, 0, 0, 10, 8, true},
  };
  struct STATE {
    ePixelFormat TexFormat;
    bool bBlend;
    uint32_t dwDiffuse;
  };
  const STATE states[] = {
      {ePixelFormat::A8R8G8B8, true, 0xFFFFFFFF}, {ePixelFormat::A8R8G8B8, false, 0xFFFFFFFF},
      {ePixelFormat::A8R8G8B8, true, 0xC080FF40}, {ePixelFormat::X8R8G8B8, true, 0xFFFFFFFF},
      {ePixelFormat::A1R5G5B5, true, 0xFFFFFFFF}, {ePixelFormat::A1R5G5B5, false, 0xFFFFFFFF},
      {ePixelFormat::A1R5G5B5, true, 0x80FF8040},
  };
  const ePixelFormat targets[] = {ePixelFormat::A8R8G8B8, ePixelFormat::X8R8G8B8,
                                  ePixelFormat::R5G6B5, ePixelFormat::A1R5G5B5};
  const int alphas[] = {0, 255, 255, 128, 0, 255, 1, 255, 0, 0, 255};
  for (const STATE& st : states) {
    cImagePtr tex = Texture(16, 16, st.TexFormat);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const int a = alphas[(x / 2 + y * 3) % 11];
        const uint32_t c = MakeArgb(a, 16 * x, 255 - 16 * y, 8 * (x + y));
        tex->WritePixel(x, y,
                        st.TexFormat == ePixelFormat::A1R5G5B5 ? ArgbToTexel(c, st.TexFormat) : c);
      }
    m_pDev->SetTexture(tex.get());
    m_pDev->SetAlphaBlend(st.bBlend);
    m_pDev->SetTextureStage(BlitStage());
    for (ePixelFormat f : targets)
      for (const GEOMETRY& g : geometries) {
        GFXVERTEX v[4];
        MakeBlitQuad(v, g.x, g.y, g.w, g.h, g.sx, g.sy, g.sw, g.sh, *tex, st.dwDiffuse);
        if (g.bRotated) v[0].x += 1.5f, v[3].x -= 1.0f;
        cImagePtr a = Texture(32, 16, f, ePool::Default, true);
        cImagePtr b = Texture(32, 16, f, ePool::Default, true);
        for (cImage* t : {a.get(), b.get()})
          for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
              t->WritePixel(x, y, ArgbToPixel(MakeArgb(7 * x, 9 * y, 200, 50), f));
        const uint32_t dwClear = MakeArgb(0, 255, 0, 255);
        ASSERT_EQ(m_pDev->SetRenderTarget(a.get()), eGfxResult::Ok);
        const eGfxResult r1 = m_pDev->Clear(&g.Rect, 1, dwClear);
        const eGfxResult r2 = m_pDev->DrawQuad(v);
        ASSERT_EQ(m_pDev->SetRenderTarget(b.get()), eGfxResult::Ok);
        EXPECT_EQ(m_pDev->ClearAndDrawQuad(g.Rect, dwClear, v), Failed(r1) ? r1 : r2);
        for (int y = 0; y < 16; ++y)
          for (int x = 0; x < 32; ++x)
            ASSERT_EQ(b->ReadPixel(x, y), a->ReadPixel(x, y))
                << g.szName << " target " << GetFormatName(f) << " texture "
                << GetFormatName(st.TexFormat) << " blend " << st.bBlend << " diffuse " << std::hex
                << st.dwDiffuse << " at " << std::dec << x << "," << y;
      }
  }
  // A lost device accepts both, as it accepts each of them.
  GFXVERTEX v[4];
  cImagePtr tex = Texture(4, 4);
  MakeBlitQuad(v, 0, 0, 4, 4, 0, 0, 4, 4, *tex);
  m_pDev->LoseDevice(false);
  EXPECT_EQ(m_pDev->ClearAndDrawQuad(MakeRect(0, 0, 4, 4), 0, v), eGfxResult::Ok);
}

TEST_F(D3DDeviceTest, SixteenBitTargetsAndTextures) {
  const uint16_t texels[4] = {0x7FFF, 0xFFFF, Pack1555(1, 16, 1, 31), Pack1555(1, 3, 17, 0)};
  for (ePixelFormat f : {ePixelFormat::R5G6B5, ePixelFormat::A1R5G5B5}) {
    GFXPRESENTPARAMS pp;
    pp.nWidth = 8, pp.nHeight = 2, pp.BackBufferFormat = f;
    std::unique_ptr<cD3DDevice> dev;
    ASSERT_EQ(cD3DDevice::Create(pp, false, dev), eGfxResult::Ok);
    cImagePtr tex;
    ASSERT_EQ(dev->CreateTexture(4, 1, ePixelFormat::A1R5G5B5, ePool::Managed, false, tex),
              eGfxResult::Ok);
    for (int i = 0; i < 4; ++i) tex->WritePixel(i, 0, texels[i]);
    cImage& bb = *dev->GetBackBuffer();
    bb.FillRaw(0x1234);
    dev->SetAlphaBlend(true);
    dev->SetTextureStage(BlitStage());
    dev->SetTexture(tex.get());
    GFXVERTEX v[4];
    MakeBlitQuad(v, 0, 0, 4, 1, 0, 0, 4, 1, *tex);
    ASSERT_EQ(dev->DrawQuad(v), eGfxResult::Ok);
    EXPECT_EQ(bb.ReadPixel(0, 0), 0x1234u) << "transparent texel, " << GetFormatName(f);
    for (int i = 1; i < 4; ++i)
      EXPECT_EQ(bb.ReadPixel(i, 0), ArgbToPixel(PixelToArgb(texels[i], ePixelFormat::A1R5G5B5), f))
          << GetFormatName(f) << " texel " << i;
    // The general path (a tinted blit) converts the same way.
    const uint32_t tint = MakeArgb(255, 128, 255, 64);
    MakeBlitQuad(v, 4, 1, 4, 1, 0, 0, 4, 1, *tex, tint);
    ASSERT_EQ(dev->DrawQuad(v), eGfxResult::Ok);
    for (int i = 1; i < 4; ++i) {
      const uint32_t t = PixelToArgb(texels[i], ePixelFormat::A1R5G5B5);
      const uint32_t c = MakeArgb(255, MulChannel(GetR(t), 128), MulChannel(GetG(t), 255),
                                  MulChannel(GetB(t), 64));
      EXPECT_EQ(bb.ReadPixel(4 + i, 1), ArgbToPixel(c, f))
          << GetFormatName(f) << " tinted texel " << i;
    }
  }
  // White keeps full green on a 565 target.
  EXPECT_EQ(ArgbToPixel(PixelToArgb(0xFFFF, ePixelFormat::A1R5G5B5), ePixelFormat::R5G6B5),
            0xFFFFu);
}

TEST_F(D3DDeviceTest, RotatedQuadsCoverEachPixelOnce) {
  cImagePtr tex = Texture(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) tex->WritePixel(x, y, 0xFF000000u | uint32_t(y * 4 + x));
  cImage& bb = *m_pDev->GetBackBuffer();
  bb.FillRaw(0xFFFFFFFF);
  m_pDev->SetTextureStage(BlitStage());
  m_pDev->SetTexture(tex.get());
  // Turned a quarter clockwise: the picture's top-left corner lands top-right.
  const float x0 = 9.5f, x1 = 13.5f, y0 = 1.5f, y1 = 5.5f;
  const GFXVERTEX v[4] = {{x1, y0, 0, 1, 0xFFFFFFFF, 0, 0},
                          {x0, y0, 0, 1, 0xFFFFFFFF, 0, 1},
                          {x1, y1, 0, 1, 0xFFFFFFFF, 1, 0},
                          {x0, y1, 0, 1, 0xFFFFFFFF, 1, 1}};
  ASSERT_EQ(m_pDev->DrawQuad(v), eGfxResult::Ok);
  int nDrawn = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) nDrawn += bb.ReadPixel(x, y) != 0xFFFFFFFF;
  EXPECT_EQ(nDrawn, 16);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      EXPECT_EQ(bb.ReadPixel(10 + i, 2 + j), 0xFF000000u | uint32_t(4 * (3 - i) + j))
          << i << "," << j;

  // A half-transparent quad turned 30 degrees: pixels on the shared diagonal
  // are blended once, never twice.
  tex->FillRaw(MakeArgb(128, 255, 0, 0));
  bb.FillRaw(0xFF000000);
  m_pDev->SetAlphaBlend(true);
  GFXVERTEX r[4];
  const double a = 30 * 3.14159265358979 / 180, cx = 16, cy = 8;
  const double corners[4][2] = {{-5, -5}, {-5, 5}, {5, -5}, {5, 5}};
  for (int k = 0; k < 4; ++k) {
    r[k] = {float(cx + corners[k][0] * std::cos(a) - corners[k][1] * std::sin(a)),
            float(cy + corners[k][0] * std::sin(a) + corners[k][1] * std::cos(a)),
            0,
            1,
            0xFFFFFFFF,
            float(k >= 2),
            float(k & 1)};
  }
  ASSERT_EQ(m_pDev->DrawQuad(r), eGfxResult::Ok);
  const uint32_t once = MakeArgb(255, LerpChannel(255, 0, 128), 0, 0);
  nDrawn = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const uint32_t p = bb.ReadPixel(x, y);
      ASSERT_TRUE(p == 0xFF000000u || p == once) << x << "," << y << std::hex << " " << p;
      nDrawn += p == once;
    }
  EXPECT_NEAR(nDrawn, 100, 8);  // the area of a 10 x 10 square
}

TEST_F(D3DDeviceTest, FarOffAndDegenerateQuadsAreHarmless) {
  cImagePtr tex = Texture(4, 4);
  tex->FillRaw(0xFF00FF00);
  m_pDev->SetTexture(tex.get());
  cImage& bb = *m_pDev->GetBackBuffer();
  bb.FillRaw(0xFF000000);
  const float big = 3e9f, nan = std::nanf("");
  const struct {
    const char* szName;
    GFXVERTEX v[4];
    eGfxResult want;
  } cases[] = {
      {"far right",
       {{big, 0, 0, 1, ~0u, 0, 0},
        {big, 4, 0, 1, ~0u, 0, 1},
        {big * 2, 0, 0, 1, ~0u, 1, 0},
        {big * 2, 4, 0, 1, ~0u, 1, 1}},
       eGfxResult::Ok},
      {"far left, rotated",
       {{-big, 0, 0, 1, ~0u, 0, 0},
        {-big, 4, 0, 1, ~0u, 0, 1},
        {-big + 5, 1, 0, 1, ~0u, 1, 0},
        {-big, 9, 0, 1, ~0u, 1, 1}},
       eGfxResult::Ok},
      {"huge texture coordinates",
       {{0, 0, 0, 1, ~0u, -big, big},
        {0, 2, 0, 1, ~0u, -big, -big},
        {2, 1, 0, 1, ~0u, big, big},
        {2, 3, 0, 1, ~0u, big, 0}},
       eGfxResult::Ok},
      {"zero area",
       {{1, 1, 0, 1, ~0u, 0, 0},
        {1, 1, 0, 1, ~0u, 0, 1},
        {1, 1, 0, 1, ~0u, 1, 0},
        {1, 1, 0, 1, ~0u, 1, 1}},
       eGfxResult::Ok},
      {"not a number",
       {{nan, 0, 0, 1, ~0u, 0, 0},
        {0, 4, 0, 1, ~0u, 0, 1},
        {4, 0, 0, 1, ~0u, 1, 0},
        {4, 4, 0, 1, ~0u, 1, 1}},
       eGfxResult::InvalidCall},
  };
  for (const auto& c : cases) EXPECT_EQ(m_pDev->DrawQuad(c.v), c.want) << c.szName;
  EXPECT_EQ(bb.ReadPixel(20, 10), 0xFF000000u);
}

TEST_F(D3DDeviceTest, ClearConvertsAndClips) {
  cImage& bb = *m_pDev->GetBackBuffer();
  const GFXRECT rects[2] = {MakeRect(-4, -4, 6, 6), MakeRect(30, 14, 10, 10)};
  ASSERT_EQ(m_pDev->Clear(rects, 2, 0x00123456), eGfxResult::Ok);
  EXPECT_EQ(bb.ReadPixel(0, 0), 0xFF123456u);
  EXPECT_EQ(bb.ReadPixel(1, 1), 0xFF123456u);
  EXPECT_EQ(bb.ReadPixel(2, 2), 0u);
  EXPECT_EQ(bb.ReadPixel(31, 15), 0xFF123456u);
  cImagePtr rt16 = Texture(2, 2, ePixelFormat::A1R5G5B5, ePool::Default, true);
  ASSERT_EQ(m_pDev->SetRenderTarget(rt16.get()), eGfxResult::Ok);
  ASSERT_EQ(m_pDev->Clear(nullptr, 0, MakeArgb(255, 132, 8, 255)), eGfxResult::Ok);
  EXPECT_EQ(rt16->ReadPixel(1, 1), uint32_t(Pack1555(1, 16, 1, 31)));
  ASSERT_EQ(m_pDev->Clear(nullptr, 0, 0), eGfxResult::Ok);  // transparent black
  EXPECT_EQ(rt16->ReadPixel(1, 1), 0u);
}

TEST_F(D3DDeviceTest, ResourcesAndFaults) {
  cImagePtr p;
  // Render targets live in the default pool only.
  EXPECT_EQ(m_pDev->CreateTexture(4, 4, ePixelFormat::A8R8G8B8, ePool::System, true, p),
            eGfxResult::InvalidCall);
  EXPECT_EQ(m_pDev->CreateTexture(4, 4, ePixelFormat::P8, ePool::Managed, false, p),
            eGfxResult::InvalidCall);
  FailNext(eFaultPoint::CreateVideoImage, eGfxResult::OutOfVideoMemory);
  EXPECT_EQ(m_pDev->CreateTexture(4, 4, ePixelFormat::A8R8G8B8, ePool::Default, true, p),
            eGfxResult::OutOfVideoMemory);
  EXPECT_EQ(m_pDev->CreateTexture(4, 4, ePixelFormat::A8R8G8B8, ePool::System, false, p),
            eGfxResult::Ok);
  EXPECT_EQ(m_pDev->SetRenderTarget(p.get()), eGfxResult::InvalidCall);
  FailNext(eFaultPoint::CreateSystemImage, eGfxResult::Fail);
  cImagePtr q;
  EXPECT_EQ(m_pDev->CreateOffscreenPlain(4, 4, ePixelFormat::A8R8G8B8, q), eGfxResult::Fail);

  EXPECT_EQ(m_pDev->BeginScene(), eGfxResult::Ok);
  EXPECT_EQ(m_pDev->BeginScene(), eGfxResult::InvalidCall);
  EXPECT_EQ(m_pDev->EndScene(), eGfxResult::Ok);
  FailNext(eFaultPoint::BeginScene, eGfxResult::Fail);
  EXPECT_EQ(m_pDev->BeginScene(), eGfxResult::Fail);
  EXPECT_FALSE(m_pDev->IsInScene());
  cImagePtr rt = Texture(4, 4, ePixelFormat::A8R8G8B8, ePool::Default, true);
  FailNext(eFaultPoint::SetRenderTarget, eGfxResult::Fail);
  EXPECT_EQ(m_pDev->SetRenderTarget(rt.get()), eGfxResult::Fail);
  EXPECT_EQ(m_pDev->GetRenderTarget(), m_pDev->GetBackBuffer().get());

  // Render-target read-back and write-back are copies of the whole image.
  rt->FillRaw(0x11223344);
  cImagePtr sys;
  ASSERT_EQ(m_pDev->CreateOffscreenPlain(4, 4, ePixelFormat::A8R8G8B8, sys), eGfxResult::Ok);
  ASSERT_EQ(m_pDev->GetRenderTargetData(*rt, *sys), eGfxResult::Ok);
  EXPECT_EQ(sys->ReadPixel(3, 3), 0x11223344u);
  sys->WritePixel(0, 0, 0x55667788);
  ASSERT_EQ(m_pDev->UpdateSurface(*sys, *rt), eGfxResult::Ok);
  EXPECT_EQ(rt->ReadPixel(0, 0), 0x55667788u);
  EXPECT_EQ(m_pDev->GetRenderTargetData(*rt, *p), eGfxResult::Ok);  // p is 4x4 system A8R8G8B8 too
  cImagePtr small;
  ASSERT_EQ(m_pDev->CreateOffscreenPlain(2, 2, ePixelFormat::A8R8G8B8, small), eGfxResult::Ok);
  EXPECT_EQ(m_pDev->GetRenderTargetData(*rt, *small), eGfxResult::InvalidCall);
  FailNext(eFaultPoint::GetRenderTargetData, eGfxResult::Fail);
  EXPECT_EQ(m_pDev->GetRenderTargetData(*rt, *sys), eGfxResult::Fail);
  FailNext(eFaultPoint::UpdateSurface, eGfxResult::Fail);
  EXPECT_EQ(m_pDev->UpdateSurface(*sys, *rt), eGfxResult::Fail);

  // Device creation: the hardware attempt and the software retry fail separately.
  std::unique_ptr<cD3DDevice> dev;
  FailNext(eFaultPoint::CreateDeviceHardware, eGfxResult::Fail);
  EXPECT_EQ(cD3DDevice::Create({}, false, dev), eGfxResult::Fail);
  EXPECT_EQ(cD3DDevice::Create({}, true, dev), eGfxResult::Ok);
}

TEST_F(D3DDeviceTest, InjectedCapabilities) {
  GFXCAPS caps;
  caps.bPow2Only = caps.bSquareOnly = true;
  caps.nMaxTextureWidth = caps.nMaxTextureHeight = 512;
  SetDefaultCaps(caps);
  std::unique_ptr<cD3DDevice> dev;
  ASSERT_EQ(cD3DDevice::Create({}, false, dev), eGfxResult::Ok);
  EXPECT_TRUE(dev->GetCaps().bPow2Only);
  EXPECT_TRUE(dev->GetCaps().bSquareOnly);
  EXPECT_EQ(dev->GetCaps().nMaxTextureWidth, 512);
}

TEST_F(D3DDeviceTest, LossAndReset) {
  cImagePtr rt = Texture(4, 4, ePixelFormat::A8R8G8B8, ePool::Default, true);
  cImagePtr managed = Texture(4, 4);
  cImagePtr sys = Texture(4, 4, ePixelFormat::A8R8G8B8, ePool::System);
  managed->FillRaw(0xFF010203);
  sys->FillRaw(0xFF040506);
  const cImage* pOldBack = m_pDev->GetBackBuffer().get();

  m_pDev->LoseDevice(false);
  EXPECT_EQ(m_pDev->Present(), eGfxResult::DeviceLost);
  EXPECT_EQ(m_pDev->TestCooperativeLevel(), eGfxResult::DeviceLost);
  EXPECT_EQ(m_pDev->Reset(m_pDev->GetPresentParams()), eGfxResult::DeviceLost);
  EXPECT_TRUE(rt->IsLost());
  GFXVERTEX v[4];
  MakeBlitQuad(v, 0, 0, 4, 4, 0, 0, 4, 4, *managed);
  m_pDev->SetTexture(managed.get());
  EXPECT_EQ(m_pDev->DrawQuad(v), eGfxResult::Ok);  // accepted and dropped
  cImagePtr p;
  EXPECT_EQ(m_pDev->CreateTexture(4, 4, ePixelFormat::A8R8G8B8, ePool::Default, true, p),
            eGfxResult::DeviceLost);

  m_pDev->MakeResettable();
  EXPECT_EQ(m_pDev->TestCooperativeLevel(), eGfxResult::DeviceNotReset);
  FailNext(eFaultPoint::Reset, eGfxResult::Fail);
  EXPECT_EQ(m_pDev->Reset(m_pDev->GetPresentParams()), eGfxResult::Fail);
  ASSERT_EQ(m_pDev->Reset(m_pDev->GetPresentParams()), eGfxResult::Ok);
  EXPECT_EQ(m_pDev->TestCooperativeLevel(), eGfxResult::Ok);
  EXPECT_NE(m_pDev->GetBackBuffer().get(), pOldBack);
  EXPECT_EQ(m_pDev->GetRenderTarget(), m_pDev->GetBackBuffer().get());
  // Default-pool images of the old device stay lost; managed and system ones kept their pixels.
  EXPECT_TRUE(rt->IsLost());
  EXPECT_EQ(m_pDev->SetRenderTarget(rt.get()), eGfxResult::InvalidCall);
  EXPECT_FALSE(managed->IsLost());
  EXPECT_EQ(managed->ReadPixel(2, 2), 0xFF010203u);
  EXPECT_EQ(sys->ReadPixel(2, 2), 0xFF040506u);
  EXPECT_EQ(m_pDev->Present(), eGfxResult::Ok);

  // A present that fails with a lost device loses it.
  FailNext(eFaultPoint::Present, eGfxResult::DeviceLost);
  EXPECT_EQ(m_pDev->Present(), eGfxResult::DeviceLost);
  EXPECT_TRUE(m_pDev->IsLost());
}

TEST_F(D3DDeviceTest, TexturesFromBitmaps) {
  cBitmap bmp;
  bmp.m_nWidth = 3, bmp.m_nHeight = 1, bmp.m_nBitCount = 24;
  bmp.m_Colors = {0xFFFF00FF, 0xFFFFFFFF, MakeArgb(255, 7, 8, 9)};
  const uint32_t key = 0xFFFF00FF;
  struct CASE {
    ePixelFormat f;
    std::vector<uint32_t> want;  // row 0 then the padding row
  };
  const CASE cases[] = {
      {ePixelFormat::A8R8G8B8, {0, 0xFFFFFFFF, 0xFF070809, 0, 0, 0, 0, 0}},
      {ePixelFormat::A1R5G5B5, {0, 0xFFFF, Pack1555(1, 0, 1, 1), 0, 0, 0, 0, 0}},
  };
  for (const CASE& c : cases) {
    cImagePtr t;
    ASSERT_EQ(m_pDev->CreateTextureFromBitmap(bmp, 4, 2, c.f, ePool::Managed, key, t),
              eGfxResult::Ok);
    std::vector<uint32_t> got;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 4; ++x) got.push_back(t->ReadPixel(x, y));
    EXPECT_EQ(got, c.want) << GetFormatName(c.f);
  }
  // An indexed bitmap keys by its colours, not its indices.
  cBitmap ind;
  ind.m_nWidth = 2, ind.m_nHeight = 1, ind.m_nBitCount = 8;
  ind.m_ColorTable = {{255, 0, 255, 0}, {1, 2, 3, 0}};
  ind.m_Indices = {1, 0};
  cImagePtr t;
  ASSERT_EQ(
      m_pDev->CreateTextureFromBitmap(ind, 2, 1, ePixelFormat::A8R8G8B8, ePool::Managed, key, t),
      eGfxResult::Ok);
  EXPECT_EQ(t->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(t->ReadPixel(1, 0), 0u);
}

}  // namespace
}  // namespace plat::gfx
