#include "database/database_ref_source.h"

#include "database/database.h"

uint32_t cDatabaseRefSource::GetListSize(eDbList eList) const {
  switch (eList) {
    case DBLIST_ANIME:
      return static_cast<uint32_t>(m_db.m_vecAnime.size());
    case DBLIST_ANIMESET:
      return static_cast<uint32_t>(m_db.m_vecAnimeSet.size());
    case DBLIST_BMPSET:
      return static_cast<uint32_t>(m_db.m_vecBmpCharaExc.size());
    case DBLIST_SWORDTYPE:
      return static_cast<uint32_t>(m_db.m_vecSwordType.size());
    case DBLIST_EFFECT:
      return static_cast<uint32_t>(m_db.m_vecEffect.size());
    case DBLIST_CHARAEFFECT:
      return static_cast<uint32_t>(m_db.m_vecCharaEffect.size());
    case DBLIST_SCREFFECT:
      return static_cast<uint32_t>(m_db.m_vecScrEffect.size());
    case DBLIST_PICTURE:
      return static_cast<uint32_t>(m_db.m_vecPicture.size());
    case DBLIST_SOUND:
      return static_cast<uint32_t>(m_db.m_vecSound.size());
    case DBLIST_BGM:
      return static_cast<uint32_t>(m_db.m_vecBgm.size());
    default:
      return 0;
  }
}

int cDatabaseRefSource::GetSwordFrameCount(int nSwordType) const {
  return static_cast<int>(m_db.m_vecSwordType.At(nSwordType).m_vecFrame.size());
}

int32_t cDatabaseRefSource::GetSwordFrameTime(int nSwordType, int nFrame) const {
  return m_db.m_vecSwordType.At(nSwordType).m_vecFrame.At(nFrame).m_nTime;
}
