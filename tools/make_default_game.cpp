// make_default_game FOLDER: writes the smallest project the program starts
// on — the default system data with the window's title, the ten default
// database lists, the default common palette, the default world map, a demo
// stage, a System.ini, the palette and debug pictures, the blend tables of
// the 8-bit palette variants and a short tone for each sound the program
// loads at start — the records through the program's own writers. The
// repository's game/ folder is made with it:
//   build/default/tools/make_default_game game
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/paths.h"
#include "draw/hbt_palette.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "platform/fs/file_system.h"
#include "platform/null/null_backend.h"
#include "records/database/database.h"
#include "records/palette/common_palette.h"
#include "records/record.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A window on the desktop, Direct3D, vertical sync left to the program.
constexpr const char* kSystemIni =
    "Direct3D=1\r\n"
    "WindowMode=1\r\n"
    "Bpp=0\r\n"
    "VSync=2\r\n"
    "D3D_FontCache=0\r\n"
    "DD_FontCache=1\r\n"
    "DD_VideoStretch=0\r\n"
    "ShowFps=1\r\n"
    "English=0\r\n"
    "Exit\r\n";

struct RGB {
  uint8_t r, g, b;
};

// Entry 0 is the colour key; 1..15 greys; 16..207 twelve ramps of sixteen
// (the blocks the 8-bit palette variants turn); 208..255 a grey ramp.
std::vector<RGB> PaletteColours() {
  std::vector<RGB> c(256);
  c[0] = {255, 0, 255};
  for (int i = 1; i < 16; ++i) c[i] = {uint8_t(i * 17), uint8_t(i * 17), uint8_t(i * 17)};
  static const RGB kHues[12] = {{255, 0, 0}, {255, 128, 0}, {255, 255, 0}, {128, 255, 0},
                                {0, 255, 0}, {0, 255, 128}, {0, 255, 255}, {0, 128, 255},
                                {0, 0, 255}, {128, 0, 255}, {255, 0, 255}, {255, 0, 128}};
  for (int k = 0; k < 12; ++k)
    for (int j = 0; j < 16; ++j) {
      const int s = j + 1;  // dark to full
      c[16 + k * 16 + j] = {uint8_t(kHues[k].r * s / 16), uint8_t(kHues[k].g * s / 16),
                            uint8_t(kHues[k].b * s / 16)};
    }
  for (int i = 208; i < 256; ++i) {
    const uint8_t v = uint8_t((i - 208) * 255 / 47);
    c[i] = {v, v, v};
  }
  // The key colour must be unique or those pixels vanish too.
  c[16 + 10 * 16 + 15] = {254, 0, 254};
  return c;
}

void Put(Bytes& v, uint32_t x, int n) {
  for (int i = 0; i < n; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// An 8-bit bitmap whose colour table is the palette; w is a multiple of 4,
// so rows need no padding.
Bytes IndexedBitmap(int w, int h, const std::vector<uint8_t>& px) {
  const uint32_t nOffset = 14 + 40 + 1024;
  Bytes v{'B', 'M'};
  Put(v, nOffset + w * h, 4);
  Put(v, 0, 4);
  Put(v, nOffset, 4);
  Put(v, 40, 4);
  Put(v, w, 4);
  Put(v, h, 4);
  Put(v, 1, 2);
  Put(v, 8, 2);
  Put(v, 0, 4);
  Put(v, w * h, 4);
  Put(v, 2835, 4);
  Put(v, 2835, 4);
  Put(v, 256, 4);
  Put(v, 0, 4);
  for (const RGB& c : PaletteColours()) {
    v.push_back(c.b);
    v.push_back(c.g);
    v.push_back(c.r);
    v.push_back(0);
  }
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) v.push_back(px[size_t(y) * w + x]);
  return v;
}

// The palette picture: 16 x 24, first pixel the key, and the block at
// y 8..23 entry k at (k mod 16, 8 + k div 16).
Bytes PaletteBitmap() {
  constexpr int w = 16, h = 24;
  std::vector<uint8_t> px(w * h, 0);
  for (int k = 0; k < 256; ++k) px[size_t(8 + k / 16) * w + k % 16] = uint8_t(k);
  return IndexedBitmap(w, h, px);
}

// The debug picture start-up loads: a white square outline on the key.
Bytes DebugBitmap() {
  constexpr int w = 32, h = 32;
  std::vector<uint8_t> px(w * h, 0);
  for (int i = 0; i < 32; ++i) {
    px[size_t(i)] = px[size_t(31 * w + i)] = 15;
    px[size_t(i * w)] = px[size_t(i * w + 31)] = 15;
  }
  return IndexedBitmap(w, h, px);
}

// A short tone, 8-bit mono at 22050 Hz, fading out: one for each built-in
// sound and for the database's sound, each a little higher than the last.
Bytes ToneWave(int nIndex) {
  constexpr int kRate = 22050, kSamples = kRate / 16;
  const double dHz = 440.0 * std::pow(2.0, nIndex / 12.0);
  Bytes data;
  for (int i = 0; i < kSamples; ++i) {
    const double dFade = 1.0 - double(i) / kSamples;
    const double d = std::sin(2.0 * 3.14159265358979 * dHz * i / kRate) * dFade * 48.0;
    data.push_back(uint8_t(128 + int(std::lround(d))));
  }
  Bytes v{'R', 'I', 'F', 'F'};
  Put(v, uint32_t(36 + data.size()), 4);
  for (char c : std::string("WAVEfmt ")) v.push_back(uint8_t(c));
  Put(v, 16, 4);
  Put(v, 1, 2);  // PCM
  Put(v, 1, 2);
  Put(v, kRate, 4);
  Put(v, kRate, 4);
  Put(v, 1, 2);
  Put(v, 8, 2);
  for (char c : std::string("data")) v.push_back(uint8_t(c));
  Put(v, uint32_t(data.size()), 4);
  v.insert(v.end(), data.begin(), data.end());
  return v;
}

std::string WaveName(int n) {
  char sz[32];
  std::snprintf(sz, sizeof sz, "wave\\se%02d.wav", n);
  return sz;
}

// A screen-sized stage with a floor of solid blocks and the player standing
// on it: what a stage named at start needs to load.
cStageData DemoStage() {
  cStageData stage;
  stage.m_strName = "demo";
  stage.m_nWidth = 20;
  stage.m_nHeight = 15;
  stage.m_nExtentX = 20 * 32;
  stage.m_nExtentY = 15 * 32;
  stage.m_nLimitRight = 19;
  stage.m_nLimitBottom = 14;
  for (int16_t x = 0; x < 20; ++x) {
    cEdBlock block;
    block.m_sColumn = x;
    block.m_sRow = 14;
    block.m_sGraphic = 1;
    stage.m_vecBlocks.push_back(block);
  }
  cEdChara player;
  player.m_strName = "player";
  player.m_cOperator = 0;
  player.m_nCarriedItem = -1;
  player.m_sColumn = 2;
  player.m_sRow = 13;
  stage.m_vecCharas.push_back(player);
  return stage;
}

template <typename V>
bool WriteList(V& vec, const std::string& strPath) {
  std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
  WriteRecordVector(vec, *w);
  return DataFileCommit(strPath, *w);
}

bool WriteBytes(const std::string& strPath, const void* p, size_t n) {
  if (plat::fs::WriteFileAtomic(strPath, p, n)) return true;
  std::fprintf(stderr, "make_default_game: cannot write %s\n", strPath.c_str());
  return false;
}

// The blend table of palette variant n: for entries a and b, the entry
// nearest (in RGB) to their even mix, the first of equals; index 0, the
// key, stands only for itself.
Bytes BlendTable(int n) {
  std::vector<RGB> pal = PaletteColours();
  RecolourHbtBlocks(pal.data(), n);
  Bytes table(65536, 0);
  for (int a = 1; a < 256; ++a)
    for (int b = a; b < 256; ++b) {
      const int r = pal[size_t(a)].r + pal[size_t(b)].r, g = pal[size_t(a)].g + pal[size_t(b)].g,
                bl = pal[size_t(a)].b + pal[size_t(b)].b;
      int nBest = 1, nBestDist = -1;
      for (int k = 1; k < 256; ++k) {
        // Twice the distance's components: the mix is (sum) / 2.
        const int dr = 2 * pal[size_t(k)].r - r, dg = 2 * pal[size_t(k)].g - g,
                  db = 2 * pal[size_t(k)].b - bl;
        const int nDist = dr * dr + dg * dg + db * db;
        if (nBestDist < 0 || nDist < nBestDist) {
          nBest = k;
          nBestDist = nDist;
        }
      }
      table[size_t(a) * 256 + size_t(b)] = table[size_t(b) * 256 + size_t(a)] = uint8_t(nBest);
    }
  return table;
}

bool WriteGame() {
  for (const char* szFolder : {"data", "data\\database", "bmp", "bmp\\plt", "bmp\\hbt", "wave"})
    plat::fs::MakeDirectory(szFolder);

  // Every sound the program loads at start names a file that exists.
  constexpr int kWaves = cSystemData::kSoundFileCount + 1;
  for (int n = 0; n < kWaves; ++n) {
    const Bytes wave = ToneWave(n);
    if (!WriteBytes(WaveName(n), wave.data(), wave.size())) return false;
  }

  cSystemData system;
  // The window's title.
  system.m_strTitle = "Brimvale";
  for (int n = 0; n < cSystemData::kSoundFileCount; ++n) system.m_vSoundFiles.At(n) = WaveName(n);
  if (!system.Save(g_Paths[PATH_SYSTEM_DAT])) return false;

  cDatabase db;
  db.SetDefault();
  db.m_vecSound.At(1).m_strFile = WaveName(kWaves - 1);
  bool bOk = WriteList(db.m_vecAnimeSet, GetDatabaseFilePath(DBFILE_ANIMESET)) &&
             WriteList(db.m_vecAnime, GetDatabaseFilePath(DBFILE_ANIME)) &&
             WriteList(db.m_vecBmpCharaExc, GetDatabaseFilePath(DBFILE_BMPCHARAEXC)) &&
             WriteList(db.m_vecSwordType, GetDatabaseFilePath(DBFILE_SWORDTYPE)) &&
             WriteList(db.m_vecEffect, GetDatabaseFilePath(DBFILE_EFFECT)) &&
             WriteList(db.m_vecCharaEffect, GetDatabaseFilePath(DBFILE_CHARAEFFECT)) &&
             WriteList(db.m_vecScrEffect, GetDatabaseFilePath(DBFILE_SCREFFECT)) &&
             WriteList(db.m_vecPicture, GetDatabaseFilePath(DBFILE_PICTURE)) &&
             WriteList(db.m_vecSound, GetDatabaseFilePath(DBFILE_SOUND)) &&
             WriteList(db.m_vecBgm, GetDatabaseFilePath(DBFILE_BGM));
  if (!bOk) return false;

  cCommonPalette palette;
  if (!palette.Save(g_Paths[PATH_COMMON_PALETTE])) return false;

  cWorldMap map;
  if (!map.Save(g_Paths[PATH_WORLD_MAP])) return false;

  plat::fs::MakeDirectory("data\\stg4");
  cStageData stage = DemoStage();
  if (!stage.Save("data\\stg4\\demo.stg4_783")) return false;

  const std::string strIni = kSystemIni;
  if (!WriteBytes("System.ini", strIni.data(), strIni.size())) return false;
  for (int n = 0; n < kHbtPaletteCount; ++n) {
    char szName[32];
    std::snprintf(szName, sizeof szName, "bmp\\hbt\\hbt%02d.dat", n);
    const Bytes table = BlendTable(n);
    if (!WriteBytes(szName, table.data(), table.size())) return false;
  }
  const Bytes bmp = PaletteBitmap();
  const Bytes debug = DebugBitmap();
  return WriteBytes("bmp\\plt\\Palette.bmp", bmp.data(), bmp.size()) &&
         WriteBytes("bmp\\Debug.bmp", debug.data(), debug.size());
}

}  // namespace

int main(int argc, char** argv) {
  plat::null::InstallNullBackend();
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_default_game FOLDER\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  if (chdir(argv[1]) != 0) {
    std::fprintf(stderr, "make_default_game: cannot enter %s\n", argv[1]);
    return 1;
  }
  return WriteGame() ? 0 : 1;
}
