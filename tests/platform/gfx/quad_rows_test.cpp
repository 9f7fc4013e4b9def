// The rasteriser's fused rows against the stage and blend rules worked out
// channel by channel, the vector loops against their scalar twins, and the
// spans of turned quads against the pixel-centre rule.
#include "platform/gfx/quad_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/gfx/d3d_device.h"
#include "platform/gfx/pixel_rules.h"

namespace plat::gfx {
namespace {

// One operation on one channel, as the rules of pixel_rules.h define it.
int Op(int nOp, int a1, int a2, int nFactorAlpha) {
  switch (nOp) {
    case TOP_SELECTARG2:
      return a2;
    case TOP_MODULATE:
      return MulChannel(a1, a2);
    case TOP_ADD:
      return AddChannel(a1, a2);
    case TOP_SUBTRACT:
      return SubChannel(a1, a2);
    case TOP_BLENDFACTORALPHA:
      return LerpChannel(a1, a2, nFactorAlpha);
    default:
      return a1;
  }
}

int Arg(int nArg, int nShift, uint32_t tex, uint32_t dif, uint32_t tf) {
  const uint32_t c = nArg == TA_TEXTURE ? tex : nArg == TA_TFACTOR ? tf : dif;
  return int((c >> nShift) & 0xFF);
}

// The target pixel after stage 0 and, when on, SRCALPHA / INVSRCALPHA.
uint32_t Reference(const GFXTEXTURESTAGE& s, uint32_t tex, uint32_t dif, uint32_t tf, uint32_t dst,
                   ePixelFormat target, bool bBlend) {
  uint32_t c;
  if (s.nColorOp == TOP_DISABLE) {
    c = dif;
  } else {
    int ch[4];
    for (int k = 0; k < 3; ++k)
      ch[k] = Op(s.nColorOp, Arg(s.nColorArg1, 8 * k, tex, dif, tf),
                 Arg(s.nColorArg2, 8 * k, tex, dif, tf), GetA(tf));
    ch[3] = s.nAlphaOp == TOP_DISABLE ? GetA(dif)
                                      : Op(s.nAlphaOp, Arg(s.nAlphaArg1, 24, tex, dif, tf),
                                           Arg(s.nAlphaArg2, 24, tex, dif, tf), GetA(tf));
    c = MakeArgb(ch[3], ch[2], ch[1], ch[0]);
  }
  if (bBlend) {
    const uint32_t d = PixelToArgb(dst, target);
    const int a = GetA(c);
    c = MakeArgb(LerpChannel(a, GetA(d), a), LerpChannel(GetR(c), GetR(d), a),
                 LerpChannel(GetG(c), GetG(d), a), LerpChannel(GetB(c), GetB(d), a));
  }
  return ArgbToPixel(c, target);
}

// Texels with the alphas keyed pictures have (0, 255) and some between.
uint32_t RandomTexel(std::mt19937& rng) {
  const uint32_t v = rng();
  switch (v % 4) {
    case 0:
      return v & 0x00FFFFFF;
    case 1:
      return v | 0xFF000000;
    default:
      return v;
  }
}

// Every fused row (32-bit, 16-bit) against the rules, on texels with the
// alphas keyed pictures have and a run of transparent ones long enough for
// the vector loops to pass over whole groups.
TEST(QuadRowsTest, FusedRowsGiveThePixelsOfTheRules) {
  const GFXTEXTURESTAGE stages[] = {
      {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
      {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE},
      {TOP_MODULATE, TA_DIFFUSE, TA_TEXTURE, TOP_DISABLE, TA_TEXTURE, TA_DIFFUSE},
      {TOP_BLENDFACTORALPHA, TA_TEXTURE, TA_TFACTOR, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
      {TOP_BLENDFACTORALPHA, TA_TFACTOR, TA_TEXTURE, TOP_SELECTARG2, TA_DIFFUSE, TA_TEXTURE},
      {TOP_SELECTARG2, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG2, TA_TEXTURE, TA_DIFFUSE},
      {TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
      {TOP_DISABLE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE},
      {TOP_ADD, TA_DIFFUSE, TA_TFACTOR, TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE},
  };
  struct FORMATS {
    ePixelFormat Texture, Target;
  };
  const FORMATS formats[] = {
      {ePixelFormat::A8R8G8B8, ePixelFormat::X8R8G8B8},
      {ePixelFormat::A8R8G8B8, ePixelFormat::A8R8G8B8},
      {ePixelFormat::X8R8G8B8, ePixelFormat::X8R8G8B8},
      {ePixelFormat::X8R8G8B8, ePixelFormat::A8R8G8B8},
      {ePixelFormat::A1R5G5B5, ePixelFormat::R5G6B5},
      {ePixelFormat::A1R5G5B5, ePixelFormat::A1R5G5B5},
      {ePixelFormat::X1R5G5B5, ePixelFormat::R5G6B5},
  };
  std::mt19937 rng(7);
  constexpr int kLength = 53;  // groups of eight and of four, and some left over
  for (const GFXTEXTURESTAGE& stage : stages)
    for (const FORMATS& f : formats)
      for (bool bBlend : {false, true}) {
        const bool b16 = f.Target != ePixelFormat::X8R8G8B8 && f.Target != ePixelFormat::A8R8G8B8;
        const uint32_t dif = rng(), tf = rng();
        GFXSHADEROW row;
        ASSERT_TRUE(b16 ? ReduceStage16(stage, dif, tf, f.Texture, f.Target, bBlend, row)
                        : ReduceStage(stage, dif, tf, f.Texture, f.Target, bBlend, row));
        std::vector<uint32_t> s(kLength), d(kLength);
        for (int i = 0; i < kLength; ++i) {
          // Texels 8 to 31 are transparent.
          const uint32_t argb = i >= 8 && i < 32 ? rng() & 0x00FFFFFF : RandomTexel(rng);
          s[size_t(i)] = b16 ? ArgbToTexel(argb, f.Texture) : argb;
          d[size_t(i)] = ArgbToPixel(rng(), f.Target);
        }
        std::vector<uint32_t> got = d, scalar = d;
        if (b16) {
          std::vector<uint16_t> s16(s.begin(), s.end()), v16(d.begin(), d.end()), c16 = v16;
          ShadeRow16(v16.data(), s16.data(), kLength, row);
          ShadeRow16Scalar(c16.data(), s16.data(), kLength, row);
          got.assign(v16.begin(), v16.end());
          scalar.assign(c16.begin(), c16.end());
        } else {
          ShadeRow32(got.data(), s.data(), kLength, row);
          ShadeRow32Scalar(scalar.data(), s.data(), kLength, row);
        }
        for (int i = 0; i < kLength; ++i) {
          const uint32_t tex = PixelToArgb(s[size_t(i)], f.Texture);
          const uint32_t want = Reference(stage, tex, dif, tf, d[size_t(i)], f.Target, bBlend);
          ASSERT_EQ(scalar[size_t(i)], want)
              << "op " << stage.nColorOp << " " << GetFormatName(f.Target) << " pixel " << i;
          ASSERT_EQ(got[size_t(i)], want)
              << "op " << stage.nColorOp << " " << GetFormatName(f.Target) << " pixel " << i;
        }
      }
}

TEST(QuadRowsTest, ConstantColourBlendsGiveThePixelsOfTheRule) {
  std::mt19937 rng(11);
  for (int nCase = 0; nCase < 64; ++nCase) {
    const uint32_t c = nCase < 2 ? (nCase == 0 ? 0u : 0xFF000000u) : uint32_t(rng());
    for (ePixelFormat target : {ePixelFormat::X8R8G8B8, ePixelFormat::A8R8G8B8}) {
      const uint32_t dwOr = target == ePixelFormat::X8R8G8B8 ? 0xFF000000u : 0u;
      std::vector<uint32_t> d(23);
      for (uint32_t& v : d) v = ArgbToPixel(rng(), target);
      std::vector<uint32_t> vector = d, scalar = d;
      BlendConstRow32(vector.data(), int(d.size()), c, dwOr);
      BlendConstRow32Scalar(scalar.data(), int(d.size()), c, dwOr);
      const GFXTEXTURESTAGE diffuse{TOP_SELECTARG2, TA_TEXTURE, TA_DIFFUSE,
                                    TOP_SELECTARG2, TA_TEXTURE, TA_DIFFUSE};
      for (size_t i = 0; i < d.size(); ++i) {
        const uint32_t want = Reference(diffuse, 0, c, 0, d[i], target, true);
        ASSERT_EQ(scalar[i], want) << i;
        ASSERT_EQ(vector[i], want) << i;
      }
    }
  }
}

TEST(QuadRowsTest, StagesThatDoNotReduceAreLeftToTheGeneralRule) {
  GFXSHADEROW row;
  const GFXTEXTURESTAGE add{TOP_ADD,        TA_TEXTURE, TA_DIFFUSE,
                            TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE};
  const GFXTEXTURESTAGE sub{TOP_SUBTRACT,   TA_DIFFUSE, TA_TEXTURE,
                            TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE};
  const GFXTEXTURESTAGE square{TOP_MODULATE,   TA_TEXTURE, TA_TEXTURE,
                               TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE};
  const GFXTEXTURESTAGE alphaSquare{TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE,
                                    TOP_MODULATE,   TA_TEXTURE, TA_TEXTURE};
  const GFXTEXTURESTAGE blit{TOP_MODULATE,   TA_TEXTURE, TA_DIFFUSE,
                             TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE};
  for (const GFXTEXTURESTAGE& s : {add, sub, square, alphaSquare})
    EXPECT_FALSE(
        ReduceStage(s, ~0u, ~0u, ePixelFormat::A8R8G8B8, ePixelFormat::X8R8G8B8, true, row));
  EXPECT_FALSE(
      ReduceStage(blit, ~0u, ~0u, ePixelFormat::A1R5G5B5, ePixelFormat::X8R8G8B8, true, row));
  EXPECT_FALSE(
      ReduceStage(blit, ~0u, ~0u, ePixelFormat::A8R8G8B8, ePixelFormat::R5G6B5, true, row));
}

// A quad turned about its centre, its corners at the pixel-edge offset the
// library uses.
void TurnedQuad(GFXVERTEX* v, double cx, double cy, double w, double h, double dAngle) {
  const double c = std::cos(dAngle), s = std::sin(dAngle);
  const double px[4] = {-w / 2, -w / 2, w / 2, w / 2}, py[4] = {-h / 2, h / 2, -h / 2, h / 2};
  for (int k = 0; k < 4; ++k)
    v[k] = {float(cx + px[k] * c - py[k] * s - 0.5),
            float(cy + px[k] * s + py[k] * c - 0.5),
            0,
            1,
            0xFFFFFFFF,
            float(k >= 2),
            float(k & 1)};
}

// Whether pixel centre (x, y) is inside triangle a, b, c by the edge and
// top-left rules, in the arithmetic the rasteriser uses.
bool InTriangle(const GFXVERTEX& a0, const GFXVERTEX& b0, const GFXVERTEX& c0, double x, double y) {
  auto edge = [](const GFXVERTEX& p, const GFXVERTEX& q, double px, double py) {
    return (double(q.x) - p.x) * (py - p.y) - (double(q.y) - p.y) * (px - p.x);
  };
  auto topLeft = [](const GFXVERTEX& p, const GFXVERTEX& q) {
    const double dy = double(q.y) - p.y, dx = double(q.x) - p.x;
    return (dy == 0 && dx > 0) || dy < 0;
  };
  const GFXVERTEX *a = &a0, *b = &b0, *c = &c0;
  const double area = edge(*a, *b, c->x, c->y);
  if (area == 0) return false;
  if (area < 0) std::swap(b, c);
  const double w0 = edge(*b, *c, x, y), w1 = edge(*c, *a, x, y), w2 = edge(*a, *b, x, y);
  if (w0 < 0 || w1 < 0 || w2 < 0) return false;
  return !((w0 == 0 && !topLeft(*b, *c)) || (w1 == 0 && !topLeft(*c, *a)) ||
           (w2 == 0 && !topLeft(*a, *b)));
}

TEST(QuadRowsTest, TurnedQuadsCoverThePixelsWhoseCentresTheyHold) {
  GFXPRESENTPARAMS pp;
  pp.nWidth = 64;
  pp.nHeight = 64;
  std::unique_ptr<cD3DDevice> dev;
  ASSERT_EQ(cD3DDevice::Create(pp, false, dev), eGfxResult::Ok);
  cImagePtr tex;
  ASSERT_EQ(dev->CreateTexture(8, 8, ePixelFormat::A8R8G8B8, ePool::Managed, false, tex),
            eGfxResult::Ok);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) tex->WritePixel(x, y, 0xFF000000u | uint32_t(y * 8 + x + 1));
  dev->SetTexture(tex.get());
  dev->SetTextureStage(
      {TOP_MODULATE, TA_TEXTURE, TA_DIFFUSE, TOP_SELECTARG1, TA_TEXTURE, TA_DIFFUSE});
  cImage& bb = *dev->GetBackBuffer();
  struct {
    const char* szName;
    double dAngle;
    bool bSkew;  // one corner moved: no parallelogram, two triangles
  } const cases[] = {{"30 degrees", 0.5236, false},
                     {"45 degrees", 0.7854, false},
                     {"100 degrees", 1.7453, false},
                     {"200 degrees", 3.4907, false},
                     {"skewed", 0.3, true}};
  for (const auto& c : cases) {
    GFXVERTEX v[4];
    TurnedQuad(v, 31.7, 30.2, 37, 23, c.dAngle);
    if (c.bSkew) v[3].x += 5.25f;
    bb.FillRaw(0);
    ASSERT_EQ(dev->DrawQuad(v), eGfxResult::Ok);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        const bool bIn = InTriangle(v[0], v[1], v[2], x, y) || InTriangle(v[1], v[3], v[2], x, y);
        const uint32_t p = bb.ReadPixel(x, y) & 0xFFFFFF;
        ASSERT_EQ(p != 0, bIn) << c.szName << " at " << x << "," << y;
        if (!bIn || c.bSkew) continue;
        // The texel under the centre, by the quad's texture plane.
        const double ux = double(v[2].x) - v[0].x, uy = double(v[2].y) - v[0].y;
        const double vx = double(v[1].x) - v[0].x, vy = double(v[1].y) - v[0].y;
        const double det = ux * vy - uy * vx;
        const double dx = x - double(v[0].x), dy = y - double(v[0].y);
        const double u = (dx * vy - dy * vx) / det * 8, t = (ux * dy - uy * dx) / det * 8;
        // Centres within a hair of a texel edge may fall either way.
        if (std::fabs(u - std::round(u)) < 1e-4 || std::fabs(t - std::round(t)) < 1e-4) continue;
        const int tx = int(std::floor(u)), ty = int(std::floor(t));
        ASSERT_EQ(p, uint32_t(ty * 8 + tx + 1)) << c.szName << " at " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace plat::gfx
