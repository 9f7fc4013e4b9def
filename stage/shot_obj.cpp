#include "stage/shot_obj.h"

#include <algorithm>

#include "base/trunc_int.h"
#include "stage/shot_links.h"

cShotObj::cShotObj() = default;

// A copy takes the links but not the back-references: only the copy in the
// scene's list is entered in its target's and shooter's lists.
cShotObj::cShotObj(const cShotObj& src) = default;
cShotObj& cShotObj::operator=(const cShotObj& src) = default;

cShotObj::~cShotObj() { ReleaseRefs(); }

namespace {

void ForgetShot(cGameObj* pChara, cShotObj* pShot, int32_t nKind) {
  if (!pChara) return;
  std::vector<SHOTREF>& v = pChara->m_vecRefBy2;
  for (auto it = v.begin(); it != v.end(); ++it) {
    if (it->pShot == pShot && it->nKind == nKind) {
      v.erase(it);
      return;
    }
  }
}

}  // namespace

void cShotObj::ReleaseRefs() {
  ForgetShot(m_pTarget, this, 0);
  ForgetShot(m_pShooter, this, REF_PARENT);
  m_pTarget = nullptr;
  m_pShooter = nullptr;
}

void ClearShotLink(cShotObj* pShot, int32_t nKind) {
  if (!pShot) return;
  if (nKind == 0)
    pShot->m_pTarget = nullptr;
  else if (nKind == REF_PARENT)
    pShot->m_pShooter = nullptr;
}

void cShotObj::ScaleHitBoxes(int32_t nScale) { m_HitBox.Scale(nScale); }

void cShotObj::OnSizeChange(int32_t nNew, int32_t nOld) {
  // The centre stays where it was.
  m_dY -= static_cast<double>((nNew - nOld) * (m_nBaseHeight / 2));
  ClampY(2);
}

void cShotObj::UpdateHitRectX() { m_HitBox.PlaceX(TruncI32(m_dX)); }
void cShotObj::UpdateHitRectY() { m_HitBox.PlaceY(TruncI32(m_dY)); }

double cShotObj::CentreX() const { return m_nScrLeft + m_nDrawW / 2; }
double cShotObj::CentreY() const { return m_nScrTop + m_nDrawH / 2; }
