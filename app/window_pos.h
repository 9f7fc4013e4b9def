// The main window's placement, kept in "user_data\Window.dat" so a windowed
// game opens where the player left it.
#pragma once

#include <cstdint>

#include "records/record.h"

constexpr int WINDOWPOS_MIN_SIZE = 100;  // smallest client width and height taken from the file

class cWindowPosData : public cRecord {
 public:
  int32_t m_nX = 0;       // left edge on the screen
  int32_t m_nY = 0;       // top edge
  int32_t m_nWidth = 0;   // client width
  int32_t m_nHeight = 0;  // client height
  int32_t m_bZoomed = 0;  // 1 when the window was maximised

  void RegisterFields(int32_t nVersion) override;
  // The fields, then the placement brought onto this desktop.
  void Read(cDataReader& r) override;
  size_t MaxFileBytes() const override { return kMaxPlayerFileBytes; }

  void Set(int nX, int nY, int nWidth, int nHeight, int bZoomed);

 private:
  // A file may come from another screen: the window must stay reachable and
  // of a usable size.
  void ClampToDesktop();
};

extern cWindowPosData g_WindowPos;
