// make_default_game FOLDER: writes the bundled game — the system data with
// the game's rules (every title entry, rankings, three challenge stages,
// music in every scene), the ten database lists (the hero's animations in
// the first animation set, the tune), the default common palette, the world
// map of the story with its three stages, the same stages as the challenge's
// three, the demo stage for free play, the pictures the title, the map and
// the play screen draw from (drawn by the tool itself), the blend tables of
// the 8-bit palette variants, a short tone for each sound the program loads
// at start and a short MIDI tune — the records through the program's own
// writers. The game opens on its title.
// The repository's game/ folder is made with it:
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
#include "database/database.h"
#include "default_game/demo_pictures.h"
#include "default_game/demo_stage.h"
#include "default_game/game_rules.h"
#include "default_game/pixel_art.h"
#include "default_game/story_stages.h"
#include "draw/hbt_palette.h"
#include "files/stage_data.h"
#include "files/system_data.h"
#include "files/world_map.h"
#include "palette/common_palette.h"
#include "platform/fs/file_system.h"
#include "platform/null/null_backend.h"
#include "records/record.h"

namespace {

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

// The palette picture: 16 x 24, first pixel the key, and the block at
// y 8..23 entry k at (k mod 16, 8 + k div 16).
Bytes PaletteBitmap() {
  cCanvas c(16, 24);
  for (int k = 0; k < 256; ++k) c.Set(k % 16, 8 + k / 16, uint8_t(k));
  return c.Bitmap();
}

// The debug picture start-up loads: a white square outline on the key.
Bytes DebugBitmap() {
  cCanvas c(32, 32);
  c.Frame(0, 0, 32, 32, 15);
  return c.Bitmap();
}

void Put(Bytes& v, uint32_t x, int n) {
  for (int i = 0; i < n; ++i) v.push_back(uint8_t(x >> (8 * i)));
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
  for (const char* szFolder :
       {"data", "data\\database", "bmp", "bmp\\plt", "bmp\\hbt", "wave", "bgm"})
    plat::fs::MakeDirectory(szFolder);

  // Every sound the program loads at start names a file that exists.
  constexpr int kWaves = cSystemData::kSoundFileCount + 1;
  for (int n = 0; n < kWaves; ++n) {
    const Bytes wave = ToneWave(n);
    if (!WriteBytes(WaveName(n), wave.data(), wave.size())) return false;
  }

  cSystemData system;
  SetGameRules(system);
  for (int n = 0; n < cSystemData::kSoundFileCount; ++n) system.m_vSoundFiles.At(n) = WaveName(n);
  if (!system.Save(g_Paths[PATH_SYSTEM_DAT])) return false;

  cDatabase db;
  db.SetDefault();
  db.m_vecSound.At(1).m_strFile = WaveName(kWaves - 1);
  db.m_vecBgm.At(kTuneEntry).m_strName = "tune";
  db.m_vecBgm.At(kTuneEntry).m_strFile = kTuneFile;
  const Bytes tune = TuneMidi();
  if (!WriteBytes(kTuneFile, tune.data(), tune.size())) return false;
  SetDemoAnimations(db);
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

  cWorldMap map = GameWorldMap();
  if (!map.Save(g_Paths[PATH_WORLD_MAP])) return false;

  plat::fs::MakeDirectory("data\\stg4");
  cStageData stage = DemoStage();
  if (!stage.Save(kDemoStageFile)) return false;
  // The story's stages, and the same three as challenge stages 1 to 3.
  const std::pair<const char*, cStageData (*)()> stages[] = {
      {kMeadowFile, MeadowStage}, {kCaveFile, CaveStage}, {kFortFile, FortStage}};
  int nChallenge = 0;
  for (const auto& [szFile, pfnStage] : stages) {
    cStageData story = pfnStage();
    char szChallenge[64];
    std::snprintf(szChallenge, sizeof szChallenge, "data\\stg4\\c%02d-1.stg4_783", ++nChallenge);
    if (!story.Save(szFile) || !story.Save(szChallenge)) return false;
  }

  const std::string strIni = kSystemIni;
  if (!WriteBytes("System.ini", strIni.data(), strIni.size())) return false;
  for (int n = 0; n < kHbtPaletteCount; ++n) {
    char szName[32];
    std::snprintf(szName, sizeof szName, "bmp\\hbt\\hbt%02d.dat", n);
    const Bytes table = BlendTable(n);
    if (!WriteBytes(szName, table.data(), table.size())) return false;
  }
  for (const auto& [strName, bytes] : DemoPictures())
    if (!WriteBytes(strName, bytes.data(), bytes.size())) return false;
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
