// Pairs of objects that may touch, without testing every pair: the boxes of
// one walk's entries are binned on a uniform grid rebuilt for the walk, and
// a box's query gives the entries in the cells it covers. The walk over the
// pairs keeps the order of the plain nested loops (outer entries in order,
// for each the inner entries in order) and visits exactly the pairs those
// loops would find overlapping at the moment they reach them, also when a
// visit moves objects or adds entries: after such a visit the bins are
// rebuilt from the boxes as they are then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A rectangle with inclusive edges, in stage pixels.
struct PAIRBOX {
  double dLeft = 0;
  double dTop = 0;
  double dRight = 0;
  double dBottom = 0;
};

// Edges inclusive; a NaN edge never overlaps.
inline bool BoxesOverlap(const PAIRBOX& a, const PAIRBOX& b) {
  return a.dLeft <= b.dRight && a.dRight >= b.dLeft && a.dTop <= b.dBottom && a.dBottom >= b.dTop;
}

class cPairGrid {
 public:
  // Bins entries 0..n-1.
  void Build(const std::vector<PAIRBOX>& vecBoxes);
  // The entries above nAfter whose boxes may overlap box, ascending, each
  // once (a superset of the overlapping ones).
  void Query(const PAIRBOX& box, int nAfter, std::vector<int>& vecOut) const;

 private:
  bool CellRange(const PAIRBOX& box, int& x0, int& y0, int& x1, int& y1) const;

  double m_dOriginX = 0;
  double m_dOriginY = 0;
  double m_dCell = 64;
  int m_nDimX = 0;
  int m_nDimY = 0;
  std::vector<int32_t> m_vecStart;       // per cell: first index into m_vecEntries
  std::vector<int32_t> m_vecEntries;     // entries binned, cell by cell
  std::vector<int32_t> m_vecEverywhere;  // boxes too large or not finite: always candidates
};

// The nested walk over pairs. fnOuterCount() and fnInnerCount() give the
// entry counts (read again after a visit that reports a change: entries may
// be added at the end, never removed); fnOuterBox(i) and fnInnerBox(j) the
// current boxes; with bSameList the inner walk starts after the outer entry
// (pairs i < j of one list). fnVisit(i, j) is called for each pair whose
// boxes overlap when it is reached and returns true when it may have moved
// a box or added an entry. The visit itself tests everything else (active,
// dying, group) at the time of the visit, as the plain loops do.
template <typename OUTERCOUNT, typename INNERCOUNT, typename OUTERBOX, typename INNERBOX,
          typename VISIT>
void VisitTouchingPairs(cPairGrid& grid, bool bSameList, OUTERCOUNT fnOuterCount,
                        INNERCOUNT fnInnerCount, OUTERBOX fnOuterBox, INNERBOX fnInnerBox,
                        VISIT fnVisit) {
  std::vector<PAIRBOX> vecBoxes;
  std::vector<int> vecCand;
  auto Rebuild = [&] {
    const int n = fnInnerCount();
    vecBoxes.resize(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) vecBoxes[static_cast<size_t>(j)] = fnInnerBox(j);
    grid.Build(vecBoxes);
  };
  Rebuild();
  for (int i = 0; i < fnOuterCount(); ++i) {
    int nAfter = bSameList ? i : -1;
    grid.Query(fnOuterBox(i), nAfter, vecCand);
    for (size_t k = 0; k < vecCand.size(); ++k) {
      const int j = vecCand[k];
      if (!BoxesOverlap(fnOuterBox(i), fnInnerBox(j))) continue;
      if (!fnVisit(i, j)) continue;
      // Something may have moved: the rest of this row from the boxes as
      // they are now.
      Rebuild();
      nAfter = j;
      grid.Query(fnOuterBox(i), nAfter, vecCand);
      k = static_cast<size_t>(-1);
    }
  }
}
