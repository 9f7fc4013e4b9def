// Our blits side by side with two peer libraries on the same work: the same
// pictures drawn at the same places onto a 640 x 480 screen, at 32 and at
// 16 bits. The kinds are the game's: a keyed full-screen background, 300
// keyed sprites of 32 x 32 (cut by the screen's edges where they reach
// over), 1,500 keyed shots of 16 x 16, and the translucent blit of a
// background and of 300 sprites. Ours go through the drawing library as
// the game calls it (the sprites and shots in a batch sorted by source), in
// both of its modes; each peer takes its own fastest form of the work (its
// colour key on a picture of the screen's format; premultiplied alpha with
// a constant mask for translucency). The console report ends with the
// ratios (bench/peer_ratios.h).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "draw/blend_table.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/scene_batch.h"
#include "draw/tint_trans.h"
#include "draw_bench_library.h"

namespace {

using drawbench::cLibrary;
using drawbench::kH;
using drawbench::kW;
using drawbench::PictureArgb;

enum class eWork {
  FullScreenKeyed,
  Sprites300x32,
  Shots1500x16,
  FullScreenTranslucent,
  Sprites300x32Translucent
};

struct WORKINFO {
  eWork Work;
  const char* szName;
};
constexpr WORKINFO kWorks[] = {
    {eWork::FullScreenKeyed, "FullScreenKeyed"},
    {eWork::Sprites300x32, "Sprites300x32Keyed"},
    {eWork::Shots1500x16, "Shots1500x16Keyed"},
    {eWork::FullScreenTranslucent, "FullScreenTranslucent"},
    {eWork::Sprites300x32Translucent, "Sprites300x32Translucent"},
};

// One blit of the work: from the background (bSheet false) or the sheet.
struct ITEM {
  int x, y, w, h, sx, sy;
  bool bSheet;
};

std::vector<ITEM> Items(eWork work) {
  std::vector<ITEM> v;
  switch (work) {
    case eWork::FullScreenKeyed:
    case eWork::FullScreenTranslucent:
      v.push_back({0, 0, kW, kH, 0, 0, false});
      break;
    case eWork::Sprites300x32:
    case eWork::Sprites300x32Translucent:
      for (int i = 0; i < 300; ++i)
        v.push_back({(i * 97) % (kW + 32) - 16, (i * 61) % (kH + 32) - 16, 32, 32, (i % 8) * 32,
                     ((i / 8) % 8) * 32, true});
      break;
    case eWork::Shots1500x16:
      for (int i = 0; i < 1500; ++i)
        v.push_back({(i * 37) % (kW + 16) - 8, (i * 23) % (kH + 16) - 8, 16, 16, (i % 16) * 16,
                     ((i / 16) % 16) * 16, true});
      break;
  }
  return v;
}

bool IsTranslucent(eWork work) {
  return work == eWork::FullScreenTranslucent || work == eWork::Sprites300x32Translucent;
}

// ---- Ours ----------------------------------------------------------------

void Ours(benchmark::State& state, int bDirect3D, int nBpp, eWork work) {
  cLibrary lib(bDirect3D, nBpp);
  if (!lib.Ok(state)) return;
  const std::vector<ITEM> items = Items(work);
  const bool bTrans = IsTranslucent(work);
  // One untimed pass first, for every contender: the screen's memory is
  // touched before the clock runs.
  for (bool bFirst = true; bFirst || state.KeepRunning(); bFirst = false) {
    if (!bTrans) {
      DDBatchBegin(1);
      DDBatchRegister(&lib.m_Sheet);
    }
    for (const ITEM& it : items) {
      DDSURFACEDATA* lpSrc = it.bSheet ? &lib.m_Sheet : &lib.m_Back;
      if (bTrans)
        DDBltTrans(&BackBuffer, it.x, it.y, it.w, it.h, lpSrc, it.sx, it.sy, 1, g_BlendTable.data(),
                   128);
      else
        DDBlt(&BackBuffer, it.x, it.y, it.w, it.h, lpSrc, it.sx, it.sy, 1);
    }
    if (!bTrans) DDBatchEnd();
    benchmark::ClobberMemory();
  }
}

// ---- SDL2: the colour key, and the key with a constant alpha ---------------

uint32_t To565(uint32_t argb) {
  return (argb >> 8 & 0xF800) | (argb >> 5 & 0x07E0) | (argb >> 3 & 0x001F);
}

struct cSdlSurface {
  cSdlSurface(int w, int h, uint32_t format) {
    p = SDL_CreateRGBSurfaceWithFormat(0, w, h, SDL_BITSPERPIXEL(format), format);
  }
  ~cSdlSurface() { SDL_FreeSurface(p); }
  cSdlSurface(const cSdlSurface&) = delete;
  cSdlSurface& operator=(const cSdlSurface&) = delete;
  SDL_Surface* p;
};

// A picture in the screen's format with its key colour (magenta).
void FillSdlPicture(SDL_Surface* s, bool bTranslucent) {
  const bool b32 = s->format->BytesPerPixel == 4;
  const uint32_t dwKey = b32 ? 0xFF00FFu : To565(0xFF00FFu);
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      const uint32_t c = PictureArgb(x, y);
      const uint32_t v = c == 0 ? dwKey : (b32 ? c & 0xFFFFFF : To565(c));
      uint8_t* row = static_cast<uint8_t*>(s->pixels) + size_t(y) * size_t(s->pitch);
      if (b32)
        reinterpret_cast<uint32_t*>(row)[x] = v;
      else
        reinterpret_cast<uint16_t*>(row)[x] = uint16_t(v);
    }
  SDL_SetColorKey(s, SDL_TRUE, dwKey);
  if (bTranslucent) {
    SDL_SetSurfaceAlphaMod(s, 128);
    SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
  }
}

void Sdl(benchmark::State& state, int nBpp, eWork work) {
  const uint32_t format = nBpp == 32 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
  cSdlSurface screen(kW, kH, format), back(kW, kH, format), sheet(256, 256, format);
  if (!screen.p || !back.p || !sheet.p) {
    state.SkipWithError("SDL could not make its surfaces");
    return;
  }
  FillSdlPicture(back.p, IsTranslucent(work));
  FillSdlPicture(sheet.p, IsTranslucent(work));
  const std::vector<ITEM> items = Items(work);
  for (bool bFirst = true; bFirst || state.KeepRunning(); bFirst = false) {
    for (const ITEM& it : items) {
      SDL_Rect src{it.sx, it.sy, it.w, it.h}, dst{it.x, it.y, it.w, it.h};
      SDL_BlitSurface(it.bSheet ? sheet.p : back.p, &src, screen.p, &dst);
    }
    benchmark::ClobberMemory();
  }
}

// ---- pixman: OVER with premultiplied alpha --------------------------------

struct cPixmanImage {
  cPixmanImage(pixman_format_code_t format, int w, int h) {
    const int nBytes = PIXMAN_FORMAT_BPP(format) / 8;
    nStride = (w * nBytes + 3) & ~3;
    vBits.assign(size_t(nStride) * size_t(h) / 4, 0);
    p = pixman_image_create_bits(format, w, h, vBits.data(), nStride);
  }
  ~cPixmanImage() {
    if (p) pixman_image_unref(p);
  }
  cPixmanImage(const cPixmanImage&) = delete;
  cPixmanImage& operator=(const cPixmanImage&) = delete;
  std::vector<uint32_t> vBits;
  int nStride = 0;
  pixman_image_t* p = nullptr;
};

// The pictures as premultiplied ARGB: transparent where keyed.
void FillPixmanPicture(cPixmanImage& im, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      im.vBits[size_t(y) * size_t(im.nStride / 4) + size_t(x)] = PictureArgb(x, y);
}

void Pixman(benchmark::State& state, int nBpp, eWork work) {
  cPixmanImage screen(nBpp == 32 ? PIXMAN_x8r8g8b8 : PIXMAN_r5g6b5, kW, kH);
  cPixmanImage back(PIXMAN_a8r8g8b8, kW, kH), sheet(PIXMAN_a8r8g8b8, 256, 256);
  FillPixmanPicture(back, kW, kH);
  FillPixmanPicture(sheet, 256, 256);
  pixman_image_t* mask = nullptr;
  if (IsTranslucent(work)) {
    const pixman_color_t half{0, 0, 0, 0x8080};
    mask = pixman_image_create_solid_fill(&half);
  }
  if (!screen.p || !back.p || !sheet.p || (IsTranslucent(work) && !mask)) {
    state.SkipWithError("pixman could not make its images");
    return;
  }
  const std::vector<ITEM> items = Items(work);
  for (bool bFirst = true; bFirst || state.KeepRunning(); bFirst = false) {
    for (const ITEM& it : items)
      pixman_image_composite32(PIXMAN_OP_OVER, it.bSheet ? sheet.p : back.p, mask, screen.p, it.sx,
                               it.sy, 0, 0, it.x, it.y, it.w, it.h);
    benchmark::ClobberMemory();
  }
  if (mask) pixman_image_unref(mask);
}

// ---- Registration ----------------------------------------------------------

[[maybe_unused]] const bool g_bRegistered = [] {
  for (int nBpp : {32, 16}) {
    for (const WORKINFO& w : kWorks) {
      const std::string strBase = "Peer" + std::to_string(nBpp) + "/" + w.szName + "/";
      const eWork work = w.Work;
      benchmark::RegisterBenchmark((strBase + "Ours_D3D").c_str(), [=](benchmark::State& s) {
        Ours(s, 1, nBpp, work);
      })->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark((strBase + "Ours_DD").c_str(), [=](benchmark::State& s) {
        Ours(s, 0, nBpp, work);
      })->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark((strBase + "SDL2").c_str(), [=](benchmark::State& s) {
        Sdl(s, nBpp, work);
      })->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark((strBase + "Pixman").c_str(), [=](benchmark::State& s) {
        Pixman(s, nBpp, work);
      })->Unit(benchmark::kMicrosecond);
    }
  }
  return true;
}();

}  // namespace
