// The window placement record.
#include "app/window_pos.h"

#include <algorithm>

#include "platform/present/presenter_window.h"

cWindowPosData g_WindowPos;

void cWindowPosData::RegisterFields(int32_t /*nVersion*/) {
  AddDword(&m_nX);
  AddDword(&m_nY);
  AddDword(&m_nWidth);
  AddDword(&m_nHeight);
  AddDword(&m_bZoomed);
}

void cWindowPosData::Read(cDataReader& r) {
  cRecord::Read(r);
  if (!r.Failed()) ClampToDesktop();
}

void cWindowPosData::Set(int nX, int nY, int nWidth, int nHeight, int bZoomed) {
  m_nX = nX;
  m_nY = nY;
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_bZoomed = bZoomed;
}

void cWindowPosData::ClampToDesktop() {
  int nDesktopWidth = 0, nDesktopHeight = 0;
  plat::GetDesktopSize(nDesktopWidth, nDesktopHeight);
  m_nX = std::clamp(m_nX, 0, std::max(0, nDesktopWidth));
  m_nY = std::clamp(m_nY, 0, std::max(0, nDesktopHeight));
  m_nWidth = std::clamp(m_nWidth, WINDOWPOS_MIN_SIZE, std::max(WINDOWPOS_MIN_SIZE, nDesktopWidth));
  m_nHeight =
      std::clamp(m_nHeight, WINDOWPOS_MIN_SIZE, std::max(WINDOWPOS_MIN_SIZE, nDesktopHeight));
}
