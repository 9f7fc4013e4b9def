// Upgrades of commands stored by older formats. Each step is the change one
// format made to a command kind's parameters; the steps run oldest first and
// each sees what the earlier ones left, kinds included (from 734 on every
// kind from 24 up moved one place, so earlier steps name the old kinds).
#include <algorithm>
#include <initializer_list>

#include "flow/flow_cmd.h"

namespace {

class cParamEdit {
 public:
  explicit cParamEdit(cSafeVector<int32_t>& v) : m_v(v) {}

  bool Has(std::initializer_list<int> indexes) const {
    for (int i : indexes) {
      if (i < 0 || static_cast<size_t>(i) >= m_v.size()) return false;
    }
    return true;
  }
  int32_t& operator[](int i) { return m_v.At(i); }
  void Resize(int n) { m_v.resize(n, 0); }
  // Resized to n, then v goes in at i: the entries from i move up one place
  // and the last one drops out.
  void Insert(int n, int i, int32_t v) {
    Resize(n);
    for (int j = n - 1; j > i; --j) m_v[j] = m_v[j - 1];
    m_v[i] = v;
  }
  void Clear() { m_v.clear(); }

 private:
  cSafeVector<int32_t>& m_v;
};

int32_t PlusOneCapped(int32_t n, int32_t nCap) {
  const int64_t v = static_cast<int64_t>(n) + 1;
  return v > nCap ? nCap : static_cast<int32_t>(v);
}

// A status was inserted into the catalogue at nFrom: both operands that name
// an object's status from nFrom up move one place.
void ShiftStatusOperands(cParamEdit& p, int nFrom) {
  if (p.Has({0, 3, 4}) && p[0] == 0 && p[3] != 2 && p[4] >= nFrom) ++p[4];
  if (p.Has({6, 12, 13}) && p[6] == 2 && p[12] != 2 && p[13] >= nFrom) ++p[13];
}

}  // namespace

void cFlowCmd::Renumber(int32_t v) {
  const bool bItem = m_cCmdSet == 1;
  // nItemKind < 0: the step does not apply to item commands.
  auto Is = [&](int nFlowKind, int nItemKind) {
    return bItem ? (nItemKind >= 0 && m_cKind == nItemKind) : m_cKind == nFlowKind;
  };
  cParamEdit p(m_vecParams);

  if (v < 145 && Is(17, 2)) p.Resize(9);
  if (v < 166 && Is(35, 20)) {
    p.Resize(2);
    p[1] = 1;
  }
  if (v < 168 && Is(22, 7)) ShiftStatusOperands(p, 10);
  if (v < 189 && Is(21, 6)) p.Insert(16, 2, 0);
  if (v < 194 && Is(31, 16)) p.Insert(15, 6, 1);
  if (v < 195 && (Is(29, 14) || Is(30, 15))) p.Insert(3, 1, 0);
  if (v < 203) {
    if (Is(14, -1) || Is(15, -1)) p.Clear();
    if (Is(16, -1)) p.Resize(4);
    if (Is(22, 7)) ShiftStatusOperands(p, 5);
  }
  if (v < 210 && Is(23, 8) && p.Has({0, 1}) && p[0] != 2 && p[1] >= 6) ++p[1];
  // The shot sheet gained a first picture: every later number moved up.
  if (v < 219 && Is(25, 10) && p.Has({0, 1}) && p[0] == 3) p[1] = PlusOneCapped(p[1], 119);
  if (v < 220 && Is(11, -1) && m_pShot) {
    m_pShot->m_sGraphic = static_cast<int16_t>(PlusOneCapped(m_pShot->m_sGraphic, 119));
  }
  if (v < 514 && Is(5, -1) && m_pMove) {
    m_pMove->m_sAngle = 0;
    m_pMove->m_sAngleInc = 0;
    m_pMove->m_cMirrorAngle = 1;
  }
  if (v < 545) {
    if (Is(19, 4)) {
      p.Resize(18);
      p[10] = 1;
    }
    if (Is(31, 16)) {
      p.Resize(15);
      p[11] = 0;
    }
  }
  if (v < 546 && Is(19, 4) && p.Has({0, 10})) p[10] = (p[0] == 0 || p[0] == 7) ? 1 : 0;
  if (v < 547) {
    if (Is(19, 4)) {
      p.Resize(18);
      p[11] = p[12] = p[13] = 0;
      p[14] = 1;
      p[15] = 0;
    }
    if (Is(31, 16)) {
      p.Resize(15);
      p[12] = p[13] = 0;
    }
  }
  if (v < 556 && Is(19, 4)) {
    p.Resize(18);
    p[16] = 1;
  }
  if (v < 722 && Is(17, 2) && p.Has({0}) && p[0] >= 2) ++p[0];
  if (v < 723) {
    if (Is(19, 4)) {
      p.Resize(18);
      p[17] = 0;
    }
    if (Is(31, 16)) {
      p.Resize(15);
      p[14] = 0;
    }
  }
  if (v < 726 && Is(37, 22)) {
    p.Resize(5);
    p[0] = 11;
  }
  if (v < 727 && Is(37, 22) && p.Has({0, 1}) && p[0] == 11) {
    for (int nBound : {2, 3, 4, 14, 15, 16, 17}) {
      if (p[1] >= nBound) ++p[1];
    }
  }
  if (v < 734) {
    if (bItem ? m_cKind >= 9 : m_cKind >= 24) ++m_cKind;
    if (Is(38, 23) && p.Has({0}) && p[0] >= 24) ++p[0];
  }
  if (v < 747 && Is(21, 6)) {
    p.Resize(16);
    p[10] = 0;
    p[11] = 1;
    p[14] = 0;
  }
  if (v < 760 && Is(16, -1)) {
    p.Resize(4);
    p[3] = 0;
  }
  if (v < 764 && Is(16, -1)) {
    NewCondList(m_pCondList);
    m_pCondList->m_cEnabled = 0;
  }
  if (v < 767) {
    if (Is(9, -1) && p.Has({0}) && p[0] >= 4) p[0] += 6;
    if (Is(20, 5) && m_pMove && m_pMove->m_cMode >= 2) m_pMove->m_cMode += 3;
    if (Is(21, 6)) p.Insert(16, 0, 0);
    if (Is(22, 7)) {
      if (p.Has({0, 3}) && p[0] == 0 && p[3] >= 2) p[3] += 3;
      if (p.Has({6, 12}) && p[6] == 2 && p[12] >= 2) p[12] += 3;
    }
    if (Is(23, 8) && p.Has({0}) && p[0] >= 2) p[0] += 3;
  }
}
