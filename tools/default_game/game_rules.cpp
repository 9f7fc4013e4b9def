#include "game_rules.h"

#include <string>

#include "story_stages.h"

namespace {

// World-map terrain kinds: 0..4 cannot be walked (water, trees, rock), 5..9
// can (grass, road). Each kind's tile is its own number.
constexpr int32_t kWater = 0;
constexpr int32_t kTrees = 1;
constexpr int32_t kGrass = 5;
constexpr int32_t kRoad = 6;

constexpr int32_t kMapWidth = 30;
constexpr int32_t kMapHeight = 15;
constexpr int32_t kRoadRow = 7;

cWorldPoint Point(int32_t x, int32_t y, const char* szTitle, const char* szFile, int32_t nStageNo,
                  int32_t nAfter) {
  cWorldPoint point;
  point.m_nX = x;
  point.m_nY = y;
  point.m_strName = szTitle;
  cWorldStage& entry = point.m_vecStages.At(0);
  entry.m_nKind = 0;
  entry.m_nIconRow = 0;
  entry.m_nStageNo = nStageNo;
  // A stage not yet cleared is entered when stepped on, so the road opens
  // one stage at a time.
  entry.m_bPass = 0;
  entry.m_bReplay = 1;
  entry.m_nAfter = nAfter;
  entry.m_strTitle = szTitle;
  // The stage file without its version number: the newest one is played.
  std::string strFile = szFile;
  entry.m_strStageFile = strFile.substr(0, strFile.rfind('_'));
  return point;
}

// A variable-length quantity of a MIDI file.
void PutVarLen(Bytes& v, uint32_t n) {
  uint8_t buf[5];
  int k = 0;
  buf[k++] = uint8_t(n & 0x7F);
  while (n >>= 7) buf[k++] = uint8_t(0x80 | (n & 0x7F));
  while (k) v.push_back(buf[--k]);
}

void PutBE(Bytes& v, uint32_t n, int nBytes) {
  for (int i = nBytes - 1; i >= 0; --i) v.push_back(uint8_t(n >> (8 * i)));
}

}  // namespace

void SetGameRules(cSystemData& system) {
  system.m_strTitle = "Brimvale";
  system.m_nChallengeStages = kChallengeStages;
  system.m_bMapShowLives = 1;
  system.m_bMapShowScore = 1;
  system.m_bMapMenuShowTotal = 1;
  system.m_bSelectShowHiScore = 1;
  system.m_bSelectShowTotal = 1;
  system.m_bPauseRetryStory = 1;
  system.m_bPauseRetryChallenge = 1;
  // Three lives in the story and the challenge, an extra one every 500
  // points; free play has as many as it needs.
  system.m_vStartLives = {3, 3, 5, 99};
  system.m_vUnlimitedLives = {0, 0, 1, 1};
  system.m_bExtraLifeByScore = 1;
  system.m_nExtraLifeScore = 500;
  // The story, the challenge and free play keep rankings of every result;
  // a replay keeps none.
  for (int i = 0; i < 3; ++i) {
    system.m_vModeRanking.At(i).m_bRanking = 1;
    system.m_vModeRanking.At(i).m_vCriteria.assign(cModeRanking::kCriteria, 1);
  }
  system.m_vModeRanking.At(3).m_bRanking = 0;
  // The title, the world map, the stage select and the options play the
  // tune, over and over.
  system.m_vSceneBgm = {kTuneEntry, kTuneEntry, kTuneEntry, kTuneEntry};
  system.m_vSceneBgmLoop = {1, 1, 1, 1};
}

cWorldMap GameWorldMap() {
  cWorldMap map;
  map.m_strName = "Brimvale";
  map.SetSize(kMapWidth, kMapHeight);
  // A lake round a strip of land, trees along it, and a road from the
  // start to the fort.
  for (int32_t y = 0; y < kMapHeight; ++y)
    for (int32_t x = 0; x < kMapWidth; ++x) {
      int32_t k = kWater;
      if (y >= 4 && y <= 10 && x >= 1 && x <= 28) k = (y == 4 || y == 10) ? kTrees : kGrass;
      if (y == kRoadRow && x >= 6 && x <= 24) k = kRoad;
      map.m_vCells.At(x + (y << map.m_nShift)) = k;
    }
  // The view is centred on the hero: from here the map fills the screen.
  map.m_nStartX = 9;
  map.m_nStartY = kRoadRow;
  map.m_nBackColour = 16;
  map.m_vecPoints.clear();
  map.m_vecPoints.push_back(Point(12, kRoadRow, "草原", kMeadowFile, 1, WORLDAFTER_NOTHING));
  map.m_vecPoints.push_back(Point(16, kRoadRow, "洞窟", kCaveFile, 2, WORLDAFTER_NOTHING));
  // The fort ends the story: back to the title.
  map.m_vecPoints.push_back(Point(20, kRoadRow, "砦", kFortFile, 3, WORLDAFTER_TITLE));
  return map;
}

Bytes TuneMidi() {
  // A little tune in C major: (note, sixteenths), 0 a rest.
  static const int kTune[][2] = {{60, 2}, {64, 2}, {67, 2}, {72, 2}, {71, 2}, {67, 2}, {64, 4},
                                 {65, 2}, {69, 2}, {72, 2}, {69, 2}, {67, 4}, {0, 4},  {64, 2},
                                 {67, 2}, {72, 2}, {76, 2}, {74, 2}, {71, 2}, {67, 4}, {65, 2},
                                 {64, 2}, {62, 2}, {59, 2}, {60, 8}};
  constexpr uint32_t kTicksPer16th = 120;  // 480 ticks a quarter note
  Bytes track;
  // Tempo: 120 quarter notes a minute.
  PutVarLen(track, 0);
  for (uint8_t b : {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}) track.push_back(b);
  // A piano on channel 1.
  PutVarLen(track, 0);
  track.push_back(0xC0);
  track.push_back(0x00);
  uint32_t nDelta = 0;
  for (const auto& note : kTune) {
    const uint32_t nLength = uint32_t(note[1]) * kTicksPer16th;
    if (note[0] == 0) {
      nDelta += nLength;
      continue;
    }
    PutVarLen(track, nDelta);
    track.push_back(0x90);
    track.push_back(uint8_t(note[0]));
    track.push_back(96);
    PutVarLen(track, nLength);
    track.push_back(0x80);
    track.push_back(uint8_t(note[0]));
    track.push_back(0);
    nDelta = 0;
  }
  PutVarLen(track, nDelta);
  for (uint8_t b : {0xFF, 0x2F, 0x00}) track.push_back(b);

  Bytes v;
  for (char c : std::string("MThd")) v.push_back(uint8_t(c));
  PutBE(v, 6, 4);
  PutBE(v, 0, 2);  // one track
  PutBE(v, 1, 2);
  PutBE(v, 480, 2);
  for (char c : std::string("MTrk")) v.push_back(uint8_t(c));
  PutBE(v, uint32_t(track.size()), 4);
  v.insert(v.end(), track.begin(), track.end());
  return v;
}
