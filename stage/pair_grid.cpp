#include "stage/pair_grid.h"

#include <algorithm>
#include <cmath>

namespace {

// A box covering more cells than this is kept as a candidate for everyone.
constexpr int64_t kMaxCellsPerBox = 16;

bool IsFinite(const PAIRBOX& b) {
  return std::isfinite(b.dLeft) && std::isfinite(b.dTop) && std::isfinite(b.dRight) &&
         std::isfinite(b.dBottom);
}

// A box the bins can hold: finite, edges in order. Any other box (from a
// negative size, or a position gone to infinity) may still pass the overlap
// test against some boxes, so it is offered to every query.
bool IsBinnable(const PAIRBOX& b) {
  return IsFinite(b) && b.dLeft <= b.dRight && b.dTop <= b.dBottom;
}

}  // namespace

bool cPairGrid::CellRange(const PAIRBOX& box, int& x0, int& y0, int& x1, int& y1) const {
  if (m_nDimX == 0) return false;
  // Comparisons written so a NaN edge finds no cell.
  const double dMaxX = m_dOriginX + m_dCell * m_nDimX;
  const double dMaxY = m_dOriginY + m_dCell * m_nDimY;
  if (!(box.dRight >= m_dOriginX && box.dLeft < dMaxX && box.dBottom >= m_dOriginY &&
        box.dTop < dMaxY))
    return false;
  auto Cell = [this](double v, double dOrigin, int nDim) {
    const double c = std::floor((v - dOrigin) / m_dCell);
    if (!(c > 0)) return 0;
    if (c >= nDim - 1) return nDim - 1;
    return static_cast<int>(c);
  };
  x0 = Cell(box.dLeft, m_dOriginX, m_nDimX);
  x1 = Cell(box.dRight, m_dOriginX, m_nDimX);
  y0 = Cell(box.dTop, m_dOriginY, m_nDimY);
  y1 = Cell(box.dBottom, m_dOriginY, m_nDimY);
  return x0 <= x1 && y0 <= y1;
}

void cPairGrid::Build(const std::vector<PAIRBOX>& vecBoxes) {
  m_vecEverywhere.clear();
  m_vecEntries.clear();
  m_vecStart.clear();
  m_nDimX = m_nDimY = 0;
  const int n = static_cast<int>(vecBoxes.size());

  // The bounds of the finite boxes and their typical size.
  double dMinX = 0, dMinY = 0, dMaxX = 0, dMaxY = 0, dSize = 0;
  int nFinite = 0;
  for (const PAIRBOX& b : vecBoxes) {
    if (!IsBinnable(b)) continue;
    if (nFinite == 0) {
      dMinX = b.dLeft;
      dMinY = b.dTop;
      dMaxX = b.dRight;
      dMaxY = b.dBottom;
    } else {
      dMinX = std::min(dMinX, b.dLeft);
      dMinY = std::min(dMinY, b.dTop);
      dMaxX = std::max(dMaxX, b.dRight);
      dMaxY = std::max(dMaxY, b.dBottom);
    }
    dSize += (b.dRight - b.dLeft) + (b.dBottom - b.dTop) + 2;
    ++nFinite;
  }
  if (nFinite > 0) {
    // Cells about twice a typical box, grown until the grid stays within a
    // few cells per entry.
    m_dCell = 32;
    const double dWanted = dSize / nFinite;
    while (m_dCell < dWanted && m_dCell < 1e15) m_dCell *= 2;
    const double dLimit = 4.0 * nFinite + 64;
    for (;;) {
      const double dx = std::floor((dMaxX - dMinX) / m_dCell) + 1;
      const double dy = std::floor((dMaxY - dMinY) / m_dCell) + 1;
      if (dx * dy <= dLimit) {
        m_nDimX = static_cast<int>(dx);
        m_nDimY = static_cast<int>(dy);
        break;
      }
      m_dCell *= 2;
    }
    m_dOriginX = dMinX;
    m_dOriginY = dMinY;
  }

  const size_t nCells = static_cast<size_t>(m_nDimX) * static_cast<size_t>(m_nDimY);
  m_vecStart.assign(nCells + 1, 0);
  // Counting pass, then the entries in place, so the bins are two flat arrays.
  std::vector<int32_t> vecBinned(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    const PAIRBOX& b = vecBoxes[static_cast<size_t>(i)];
    int x0, y0, x1, y1;
    if (!IsBinnable(b) || !CellRange(b, x0, y0, x1, y1)) {
      m_vecEverywhere.push_back(i);
      continue;
    }
    if (static_cast<int64_t>(x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerBox) {
      m_vecEverywhere.push_back(i);
      continue;
    }
    vecBinned[static_cast<size_t>(i)] = 1;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) ++m_vecStart[static_cast<size_t>(y) * m_nDimX + x + 1];
  }
  for (size_t c = 0; c < nCells; ++c) m_vecStart[c + 1] += m_vecStart[c];
  m_vecEntries.assign(static_cast<size_t>(m_vecStart[nCells]), 0);
  std::vector<int32_t> vecFill(m_vecStart.begin(), m_vecStart.end() - 1);
  for (int i = 0; i < n; ++i) {
    if (!vecBinned[static_cast<size_t>(i)]) continue;
    int x0, y0, x1, y1;
    CellRange(vecBoxes[static_cast<size_t>(i)], x0, y0, x1, y1);
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        m_vecEntries[static_cast<size_t>(vecFill[static_cast<size_t>(y) * m_nDimX + x]++)] = i;
  }
}

void cPairGrid::Query(const PAIRBOX& box, int nAfter, std::vector<int>& vecOut) const {
  vecOut.clear();
  for (int32_t i : m_vecEverywhere)
    if (i > nAfter) vecOut.push_back(i);
  // The overlap test passes for an inverted query box wherever its edges
  // reach, so its cells are those between its edges in either order.
  PAIRBOX span = box;
  if (span.dLeft > span.dRight) std::swap(span.dLeft, span.dRight);
  if (span.dTop > span.dBottom) std::swap(span.dTop, span.dBottom);
  int x0, y0, x1, y1;
  if (CellRange(span, x0, y0, x1, y1)) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const size_t c = static_cast<size_t>(y) * m_nDimX + x;
        for (int32_t e = m_vecStart[c]; e < m_vecStart[c + 1]; ++e) {
          const int32_t i = m_vecEntries[static_cast<size_t>(e)];
          if (i > nAfter) vecOut.push_back(i);
        }
      }
    }
  }
  std::sort(vecOut.begin(), vecOut.end());
  vecOut.erase(std::unique(vecOut.begin(), vecOut.end()), vecOut.end());
}
