// The music request of the window thread.
#include "app/music_request.h"

#include "database/database.h"
#include "files/play_data.h"
#include "files/system_data.h"
#include "sound/bgm.h"
#include "stage/stage_music.h"

MUSICORDER DecideMusic(int k, int m, const MUSICTABLES& tables, int bStageLoop) {
  MUSICORDER order;
  if (k >= 0 && k < kStageMusicTrack) {
    const int32_t s = tables.pSceneBgm->At(k);
    if (s == 0) {
      order.eAction = MUSICORDER::STOP;
      return order;
    }
    order.bSetTrack = true;
    order.nTrack = k;
    order.strFile = tables.MusicFile(s);
    order.eAction = MUSICORDER::PLAY;
    order.bLoop = tables.pSceneBgmLoop->At(k);
    return order;
  }
  if (k == kStageMusicTrack) {
    order.bSetTrack = true;
    order.nTrack = kStageMusicTrack;
    order.strFile = tables.MusicFile(m);
    order.eAction = m == 0 ? MUSICORDER::STOP : MUSICORDER::PLAY;
    order.bLoop = bStageLoop;
  }
  return order;
}

namespace {

// The system data's scene music and the database's music list.
const MUSICTABLES* ProgramMusicTables() {
  static const MUSICTABLES tables{&g_SystemData.m_vSceneBgm, &g_SystemData.m_vSceneBgmLoop,
                                  [](int i) { return Database.m_vecBgm.At(i).m_strFile; }};
  return &tables;
}

}  // namespace

void ServeMusicRequest(int k, int m) {
  if (k == kStageMusicTrack) {
    // The play record says which stage music plays: a restart compares with it.
    nStageMusic = m;
    g_PlayData.m_nBgm = m;
  }
  const MUSICTABLES* pTables = ProgramMusicTables();
  if (!pTables) return;
  const MUSICORDER order = DecideMusic(k, m, *pTables, bStageMusicLoop.load());
  if (order.bSetTrack) g_Bgm.SetTrack(order.nTrack, order.strFile.c_str());
  if (order.eAction == MUSICORDER::STOP) g_Bgm.Stop();
  if (order.eAction == MUSICORDER::PLAY) g_Bgm.Play(0, order.nTrack, order.bLoop, 0, 1);
}
