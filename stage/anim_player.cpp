#include "stage/anim_player.h"

namespace {

const ANIMESTEP kItemAnim[] = {{0, 15, 1}, {1, 15, 1}, {ANIMESTEP_LOOP, 0, 1}};
const ANIMESTEP kShotBurst[] = {{0, 7, 0}, {1, 7, 0}, {2, 7, 0}, {ANIMESTEP_END, 0, 0}};
const ANIMESTEP kShotLoop[] = {{0, 8, 0}, {1, 8, 0}, {ANIMESTEP_LOOP, 0, 0}};

}  // namespace

const ANIMESTEP* const g_ItemAnimTables[] = {kItemAnim, nullptr};
const ANIMESTEP* const g_ShotAnimTables[] = {kShotBurst, kShotLoop, nullptr};

void cAnimPlayer::SetTables(const ANIMESTEP* const* ppTables) {
  if (!ppTables) return;
  m_vecAnims.clear();
  m_nAnim = m_nFrame = m_nTick = 0;
  for (; *ppTables; ++ppTables) {
    ANIMESEQUENCE seq;
    for (const ANIMESTEP* p = *ppTables;; ++p) {
      seq.push_back({p->nCell, p->nTicks, static_cast<int32_t>(static_cast<uint8_t>(p->bLock))});
      if (p->nCell < 0) break;
    }
    m_vecAnims.push_back(std::move(seq));
  }
}

int cAnimPlayer::Set(int32_t n, int bForce) {
  if (!bForce && m_vecAnims.At(m_nAnim).At(m_nFrame).bLock) return 0;
  m_nAnim = n;
  m_nFrame = 0;
  m_nTick = 0;
  return 1;
}

int cAnimPlayer::Change(int32_t n, int bForce) {
  if (n == m_nAnim) return 1;
  return Set(n, bForce);
}

void cAnimPlayer::ApplyCode(const ANIMESEQUENCE& seq) {
  const int32_t nSize = static_cast<int32_t>(seq.size());
  if (nSize == 0) {
    m_nFrame = 0;
    return;
  }
  if (m_nFrame >= nSize) {
    // Stepped past the closing step (a sequence that is nothing but its
    // closing step does this on its first tick): the closing step decides,
    // as if the sequence had just stepped onto it.
    const ANIMESTEP& last = seq[nSize - 1];
    switch (last.nCell) {
      case ANIMESTEP_SWITCH:
        Set(last.nTicks, 1);
        return;
      case ANIMESTEP_LOOP:
        m_nFrame = 0;
        return;
      case ANIMESTEP_STAY:
        m_nFrame = nSize >= 2 ? nSize - 2 : 0;
        return;
      default:  // an end, or a table without a closing step: stay on the last
        m_nFrame = nSize - 1;
        return;
    }
  }
  const ANIMESTEP& step = seq[m_nFrame];
  switch (step.nCell) {
    case ANIMESTEP_SWITCH:
      Set(step.nTicks, 1);
      break;
    case ANIMESTEP_LOOP:
      m_nFrame = 0;
      break;
    case ANIMESTEP_STAY:
      m_nFrame -= 1;
      break;
    default:
      break;
  }
}

int32_t cAnimPlayer::Tick() {
  if (m_vecAnims.empty()) return 0;
  m_nTick += 1;
  ANIMESEQUENCE& seq = m_vecAnims.At(m_nAnim);
  if (m_nTick >= seq.At(m_nFrame).nTicks) {
    m_nTick = 0;
    m_nFrame += 1;
    ApplyCode(seq);
  }
  return GetCell();
}

int32_t cAnimPlayer::GetCell() {
  if (m_vecAnims.empty()) return 0;
  return m_vecAnims.At(m_nAnim).At(m_nFrame).nCell;
}
