// Walks over the stage's object lists that survive removals. Anything a walk
// calls (flows, defeats, item commands) may remove objects, the one the walk
// stands on included; every removal goes through the list's registry, which
// moves a walk standing on the removed node to the next one, so the walk
// goes on from there, as a walk over the list must.
#pragma once

#include <algorithm>
#include <list>
#include <vector>

#include "base/safe_vector.h"

class cCharaObj;
class cItemObj;
class cShotObj;

using CHARALIST = cSafeList<cCharaObj>;
using ITEMLIST = cSafeList<cItemObj>;
using SHOTLIST = cSafeList<cShotObj>;

template <class T>
class cListWalk;

// The walks in progress over one list.
template <class T>
class cWalkRegistry {
 public:
  using iterator = typename std::list<T>::iterator;

  // Before it is erased: walks on it go on from the next node.
  void OnErase(iterator it) {
    for (cListWalk<T>* pWalk : m_vecWalks) pWalk->OnErase(it);
  }
  // The whole list is going: every walk ends.
  void OnClear() {
    for (cListWalk<T>* pWalk : m_vecWalks) pWalk->OnClear();
  }

 private:
  friend class cListWalk<T>;
  std::vector<cListWalk<T>*> m_vecWalks;
};

// A walk from the first node to the end: Get() the node it stands on,
// Next() on to the following one (or stays, when a removal already moved
// it there).
template <class T>
class cListWalk {
 public:
  using iterator = typename std::list<T>::iterator;

  cListWalk(cWalkRegistry<T>& registry, std::list<T>& list)
      : m_Registry(registry), m_List(list), m_It(list.begin()) {
    m_Registry.m_vecWalks.push_back(this);
  }
  // A walk that stands on it first.
  cListWalk(cWalkRegistry<T>& registry, std::list<T>& list, iterator it)
      : m_Registry(registry), m_List(list), m_It(it) {
    m_Registry.m_vecWalks.push_back(this);
  }
  ~cListWalk() {
    auto& v = m_Registry.m_vecWalks;
    v.erase(std::find(v.begin(), v.end(), this));
  }
  cListWalk(const cListWalk&) = delete;
  cListWalk& operator=(const cListWalk&) = delete;

  bool AtEnd() const { return m_It == m_List.end(); }
  T& Get() const { return *m_It; }
  iterator It() const { return m_It; }
  // The node it stood on was removed; it stands on the next one already.
  bool Left() const { return m_bMoved; }
  void Next() {
    if (m_bMoved)
      m_bMoved = false;
    else if (m_It != m_List.end())
      ++m_It;
  }

 private:
  friend class cWalkRegistry<T>;
  void OnErase(iterator it) {
    if (it != m_It) return;
    ++m_It;
    m_bMoved = true;
  }
  void OnClear() {
    m_It = m_List.end();
    m_bMoved = false;
  }

  cWalkRegistry<T>& m_Registry;
  std::list<T>& m_List;
  iterator m_It;
  bool m_bMoved = false;
};
