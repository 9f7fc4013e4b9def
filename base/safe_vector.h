// Checked element access for every vector and list of the program. A bad
// index is a fatal fault of the data: it is logged, the main window is asked
// to close, and the caller still gets an element to finish its step with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <vector>

// Writes "err V[..]"/"err L[..]" to both logs and posts the close request.
void ReportBadIndex(char chKind, int nIndex, int nCount, int nElemSize);

// One shared default element per type: what a bad access of a list, or of a
// vector that holds nothing, yields. Writes into it stay for the next one.
template <typename T>
T& SafeFallbackElement() {
  static T fallback{};
  return fallback;
}

// The bad path of cSafeVector::At: the report, then element 0 (pFirst), or
// the shared default element when the vector holds nothing.
template <typename T>
[[gnu::cold, gnu::noinline]] T* SafeVectorBadIndex(int nIndex, int nCount, T* pFirst) {
  ReportBadIndex('V', nIndex, nCount, static_cast<int>(sizeof(T)));
  return pFirst ? pFirst : &SafeFallbackElement<T>();
}

template <typename T>
class cSafeVector : public std::vector<T> {
 public:
  using std::vector<T>::vector;
  cSafeVector() = default;
  cSafeVector(const std::vector<T>& v) : std::vector<T>(v) {}
  cSafeVector(std::vector<T>&& v) : std::vector<T>(std::move(v)) {}

  T& At(int nIndex) {
    // One unsigned comparison covers both ends, and the index it compares
    // is the one the element is found by (no second widening of the int).
    // The bad path is out of line and is handed values only, never the
    // vector: the good path then keeps the vector's bounds in registers
    // across a loop, as a subscript does.
    const size_t nAt = static_cast<unsigned>(nIndex);
    const size_t nCount = this->size();
    if (__builtin_expect(nAt < nCount, 1)) return this->data()[nAt];
    T* pFirst = this->data();
    return *SafeVectorBadIndex<T>(nIndex, static_cast<int>(nCount), nCount ? pFirst : nullptr);
  }
  const T& At(int nIndex) const { return const_cast<cSafeVector*>(this)->At(nIndex); }

  void Fill(const T& value) {
    for (int i = 0; i < static_cast<int>(this->size()); ++i) At(i) = value;
  }
};

template <typename T>
class cSafeList : public std::list<T> {
 public:
  using std::list<T>::list;

  T& At(int nIndex) {
    if (nIndex >= 0 && static_cast<size_t>(nIndex) < this->size()) {
      auto it = this->begin();
      std::advance(it, nIndex);
      return *it;
    }
    ReportBadIndex('L', nIndex, static_cast<int>(this->size()), static_cast<int>(sizeof(T)));
    return SafeFallbackElement<T>();
  }
  const T& At(int nIndex) const { return const_cast<cSafeList*>(this)->At(nIndex); }
};
