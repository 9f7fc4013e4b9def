// The main window's placement, kept in "user_data\Window.dat" so a windowed
// game opens where the player left it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int WINDOWPOS_FILE_SIZE = 32;
constexpr int WINDOWPOS_MIN_SIZE = 100;  // smallest client width and height taken from the file

class cWindowPosData {
 public:
  int32_t m_nX = 0;       // left edge on the screen
  int32_t m_nY = 0;       // top edge
  int32_t m_nWidth = 0;   // client width
  int32_t m_nHeight = 0;  // client height
  int32_t m_bZoomed = 0;  // 1 when the window was maximised

  void Set(int nX, int nY, int nWidth, int nHeight, int bZoomed);

  // 1 when the whole file was read (then clamped onto the desktop); 0 and
  // the record unchanged otherwise.
  int Load(const std::string& strFileName);
  // 1 when written; a failed save keeps the old file.
  int Save(const std::string& strFileName) const;

  // The file: format version 783, field count 5, the five fields, string
  // count 0, all little-endian.
  std::vector<uint8_t> SaveToBytes() const;
  int LoadFromBytes(const uint8_t* pData, size_t nSize);

 private:
  // A file may come from another screen: the window must stay reachable and
  // of a usable size.
  void ClampToDesktop();
};

extern cWindowPosData g_WindowPos;
