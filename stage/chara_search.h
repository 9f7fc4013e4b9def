// Finding characters: the first or last that passes a set of filters, the
// nearest to a point; and stepping an object toward a point, which the
// movement commands use.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "stage/condition_lists.h"
#include "stage/game_obj.h"

class cCmdState;

// Filters of a search; each is switched by its own flag, except that a
// dying character never passes.
struct CHARAFILTER {
  int bCharaId = 0;  // the definition's character ID ("キャラID") equals nCharaId
  int32_t nCharaId = 0;
  const cObjRoot* pSearcher = nullptr;  // with bNotSelf: not this one (by id)
  int bNotSelf = 0;
  int bNoInvincible1 = 0;  // not with invincibility option 1
  int bNoInvincible2 = 0;  // not with invincibility option 2
  int bNoBlockChara = 0;
  int bVarTest = 0;  // character variable nVarIndex against nVarConst by nVarOp (0..7)
  int32_t nVarIndex = 0;
  int nVarOp = 0;
  int32_t nVarConst = 0;
};

bool PassesFilter(cGameObj& chara, const CHARAFILTER& f);

namespace chara_search {
inline cGameObj& Deref(cGameObj* p) { return *p; }
inline cGameObj& Deref(cGameObj& c) { return c; }
}  // namespace chara_search

// The first character of a list (of characters or of pointers to them)
// that passes.
template <typename LIST>
cGameObj* FindCharaInList(LIST& list, const CHARAFILTER& f) {
  for (auto& e : list) {
    cGameObj& c = chara_search::Deref(e);
    if (PassesFilter(c, f)) return &c;
  }
  return nullptr;
}

// The last entry of a (character, key) vector with that key that passes.
cGameObj* FindCharaByKey(std::vector<std::pair<cGameObj*, int32_t>>& vec, int32_t nKey,
                         const CHARAFILTER& f);

// The character whose screen centre lies nearest (|dx| + |dy|) to (x, y);
// ties keep the first found. Mode 0: active ones on screen, else active ones
// off screen; 1: every active one; 2: active ones on screen only.
template <typename LIST>
cGameObj* FindNearestChara(int32_t x, int32_t y, LIST& list, int nMode, const CHARAFILTER& f) {
  auto Nearest = [&](int nScreen) -> cGameObj* {  // -1 any, 1 on, 0 off
    cGameObj* pBest = nullptr;
    int64_t nBest = 0;
    for (auto& e : list) {
      cGameObj& c = chara_search::Deref(e);
      if (!c.m_nActive) continue;
      if (nScreen >= 0 && (c.m_nOnScreen != 0) != (nScreen == 1)) continue;
      if (!PassesFilter(c, f)) continue;
      const int64_t cx = static_cast<int64_t>(c.m_nScrLeft) + c.m_nDrawW / 2;
      const int64_t cy = static_cast<int64_t>(c.m_nScrTop) + c.m_nDrawH / 2;
      const int64_t d = std::llabs(cx - x) + std::llabs(cy - y);
      if (!pBest || d < nBest) {
        pBest = &c;
        nBest = d;
      }
    }
    return pBest;
  };
  if (nMode == 1) return Nearest(-1);
  cGameObj* p = Nearest(1);
  if (p || nMode == 2) return p;
  return Nearest(0);
}

// The point a movement command heads for on an object: its screen centre
// plus an offset, as far as the two options give it. Bit 0 of the result:
// x was given; bit 1: y was given.
int CalcTargetPos(const cObjRoot& target, int bXOnly, int bYOnly, int32_t nOffX, int32_t nOffY,
                  double& dX, double& dY);

// The world velocity of length s that carries an object moving with the
// auto scroll (Sx, Sy per step) toward a point (dx, dy) away that moves with
// it too; false (vx, vy unchanged) when none can be had.
bool SolveScrolledVelocity(double dx, double dy, double s, double Sx, double Sy, double& vx,
                           double& vy);

// Options of a step toward a point.
struct STEPTOWARD {
  int bDirect = 1;  // 0: a negative speed flees diagonally
  int bScreen = 0;  // the target is given in screen coordinates
  int bArrive = 0;  // the step may arrive
  int bStopAtTarget = 0;
};

// One step of an object's centre toward (tx, ty) at speed s: the command
// state's velocity and facing result; 1 on arrival. pTarget, when given,
// is the object the point belongs to.
int StepToward(cGameObj& obj, cCmdState& state, const cObjRoot* pTarget, double tx, double ty,
               double s, const STEPTOWARD& opt);
int StepTowardX(cGameObj& obj, cCmdState& state, double tx, double s);
int StepTowardY(cGameObj& obj, cCmdState& state, double ty, double s);
