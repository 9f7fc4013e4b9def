#include "database/anime_set.h"

namespace {

// Names of the four basic animations: standing, walking, flying, flying while
// moving.
const char* const kBasicAnimeNames[BASIC_ANIME_COUNT] = {"立ち", "立ち移動", "飛行", "飛行移動"};

}  // namespace

cEdAnimeFrame::cEdAnimeFrame() {
  Clear();
  m_nTime = 1;
}

void cEdAnimeFrame::RegisterFields(int32_t) {
  ClearFields();
  AddDword(&m_nCell, 1);
  AddDword(&m_nTime, 1);
  AddDword(&m_nLock, 1);
}

cEdAnime::cEdAnime() {
  Clear();
  m_vecFrame.assign(1, cEdAnimeFrame());
  m_bySetting = 1;
}

void cEdAnime::Reset() {
  Clear();
  m_vecFrame.resize(1, cEdAnimeFrame());
  m_bySetting = 1;
}

void cEdAnime::RegisterFields(int32_t nVersion) {
  ClearFields();
  if (nVersion >= 55) {
    AddWord(&m_wSetting1, 1);
    AddByte(&m_bySetting, 1);
    AddWord(&m_wSetting2, 1);
  }
  AddString(&m_strName, 1);
}

void cEdAnime::Read(cDataReader& r) {
  cRecord::Read(r);
  ReadRecordVector(m_vecFrame, r, cEdAnimeFrame());
}

void cEdAnime::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteRecordVector(m_vecFrame, w);
}

cEdAnimeSet::cEdAnimeSet() { SetDefault(); }

void cEdAnimeSet::MakeBasicAnimeCount() {
  cEdAnime def;
  def.Reset();
  m_vecAnime.resize(BASIC_ANIME_COUNT, def);
}

void cEdAnimeSet::SetDefault() {
  Clear();
  m_nInvincibleCellOffset = 4;
  m_nBlockCellOffset = 8;
  m_nFlyCellOffset = 0;
  MakeBasicAnimeCount();
  for (int i = 0; i < BASIC_ANIME_COUNT; ++i) m_vecAnime.At(i).m_strName = kBasicAnimeNames[i];
}

void cEdAnimeSet::RegisterFields(int32_t nVersion) {
  ClearFields();
  AddDword(&m_nInvincibleCellOffset, 1);
  AddDword(&m_nBlockCellOffset, 1);
  if (nVersion >= 119) AddDword(&m_nFlyCellOffset, 1);
  AddString(&m_strName, 1);
}

void cEdAnimeSet::Read(cDataReader& r) {
  cRecord::Read(r);
  ReadRecordVector(m_vecAnime, r, cEdAnime());
  if (r.Failed()) return;
  // Sets of older files had exactly the four basic animations; before 128
  // the last two were not yet the flying ones, so they are named afresh.
  if (r.FileVersion() < 119) MakeBasicAnimeCount();
  if (r.FileVersion() < 128) {
    MakeBasicAnimeCount();
    m_vecAnime.At(ANIME_FLY).m_strName = kBasicAnimeNames[ANIME_FLY];
    m_vecAnime.At(ANIME_FLYMOVE).m_strName = kBasicAnimeNames[ANIME_FLYMOVE];
  }
}

void cEdAnimeSet::Write(cDataWriter& w) {
  cRecord::Write(w);
  WriteRecordVector(m_vecAnime, w);
}
