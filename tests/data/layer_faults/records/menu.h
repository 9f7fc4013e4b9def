// A layer check fixture: a class declared low.
#pragma once

class cMenu {
 public:
  void Draw();
  static int Count();
};
