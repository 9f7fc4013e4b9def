// Font objects and their glyph sheets: creation in either drawing mode, the
// sheets rendered through the font's own text drawing, their rebuilding
// after a lost device, and release.
#include "draw/font.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/logs.h"
#include "base/text_helpers.h"
#include "draw/blit.h"
#include "draw/draw_context.h"
#include "draw/surfaces.h"
#include "platform/gfx/pixel_rules.h"
#include "platform/msg/messages.h"

std::vector<Font*>& g_FontList = *new std::vector<Font*>;

const char* const g_szFastFontPreload =
    "０１２３４５６７８９ー～、。．！？「」（）・…※→↑↓←＋－＝○●×"
    "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
    "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉっゃゅょ"
    "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
    "ガギグゲゴザジズゼゾダヂヅデトバビブベボヴパピプペポァィゥェォッャュョ"
    "□■☆★％＆＜＞：";

namespace {

// The face name as the text-drawing font objects take it: at most 31
// bytes and a terminator, never half a character.
std::string CutFaceName(const char* szFace) {
  std::string strFace;
  if (!szFace) return strFace;
  constexpr size_t kMaxBytes = 31;
  for (const char* p = szFace; *p;) {
    const size_t n = IsDBCSPair(p) ? 2 : 1;
    if (strFace.size() + n > kMaxBytes) break;
    strFace.append(p, n);
    p += n;
  }
  return strFace;
}

std::unique_ptr<plat::font::cGlyphSource> OpenFont(const std::string& strFace, int nHeight,
                                                   int nWidth) {
  std::string strError;
  std::unique_ptr<plat::font::cGlyphSource> pFont =
      plat::font::OpenGlyphSource(strFace, nHeight, nWidth, &strError);
  // Text then draws nothing: the game goes on without it.
  if (!pFont) ReportFDebug("Font %s : %s", strFace.c_str(), strError.c_str());
  return pFont;
}

void AddToFontList(Font* pFont) {
  if (std::find(g_FontList.begin(), g_FontList.end(), pFont) == g_FontList.end())
    g_FontList.push_back(pFont);
}

}  // namespace

void DDSetFontFace(DDFONTDATA& Spec, const char* szFace) {
  std::snprintf(Spec.szFace, sizeof Spec.szFace, "%s", szFace ? szFace : "");
}

FastFont::FastFont(int nKind, int nCellWidth, int nCellHeight, int nColumns, int nRows)
    : m_nKind(nKind),
      m_nCellWidth(nCellWidth),
      m_nCellHeight(nCellHeight),
      m_nColumns(nColumns),
      m_nRows(nRows),
      m_nCapacity(nColumns * nRows) {
  DDCreateSurface(&m_Sheet, nColumns * nCellWidth, nRows * nCellHeight, 1, 0, 0, 0, 0);
}

FastFont::~FastFont() { DDFreeSurface(&m_Sheet); }

int FastFont::Add(const char* pChar) {
  if (m_nCount >= m_nCapacity) return 0;
  FASTFONTENTRY e;
  e.chChar[0] = pChar[0];
  e.chChar[1] = pChar[1];
  e.nIndex = m_nCount;
  e.x = (m_nCount % m_nColumns) * m_nCellWidth;
  e.y = (m_nCount / m_nColumns) * m_nCellHeight;
  m_Entries.push_back(e);
  // A character registered twice is found at its first entry, as a search
  // from the start finds it.
  auto& page = m_Index[static_cast<unsigned char>(pChar[0])];
  if (!page) page = std::make_unique<std::array<uint16_t, 256>>();
  uint16_t& nEntry = (*page)[static_cast<unsigned char>(pChar[1])];
  if (nEntry == 0) nEntry = static_cast<uint16_t>(m_Entries.size());
  ++m_nCount;
  return 1;
}

int FastFont::BltHalf(DDSURFACEDATA* lpDstSD, int x, int y, unsigned char byChar, int nFlags) {
  return DDBlt(lpDstSD, x, y, m_nCellWidth, m_nCellHeight, &m_Sheet,
               (byChar % m_nColumns) * m_nCellWidth, (byChar / m_nColumns) * m_nCellHeight, nFlags);
}

const FASTFONTENTRY* FastFont::Find(const char* pChar) const {
  const auto& page = m_Index[static_cast<unsigned char>(pChar[0])];
  if (!page) return nullptr;
  const uint16_t nEntry = (*page)[static_cast<unsigned char>(pChar[1])];
  return nEntry ? &m_Entries[nEntry - 1u] : nullptr;
}

int FastFont::BltFull(DDSURFACEDATA* lpDstSD, int x, int y, const char* pChar, int nFlags) {
  const FASTFONTENTRY* e = Find(pChar);
  if (!e) return 0;
  DDBlt(lpDstSD, x, y, m_nCellWidth, m_nCellHeight, &m_Sheet, e->x, e->y, nFlags);
  return 1;
}

Font::~Font() {
  g_FontList.erase(std::remove(g_FontList.begin(), g_FontList.end(), this), g_FontList.end());
}

plat::font::cGlyphSource* Font::GetGlyphSource() const {
  return g_DD.lpDTCon ? m_lpFont.get() : m_hFont.get();
}

void Font::ComputeColor() {
  if (m_nPalNum < 0 || m_nPalNum > 255) {
    DebugLogF("Font PalNum Err %d", m_nPalNum);
    m_dwColor = 0;
    return;
  }
  const DDPALENTRY& e = g_DD.ProgramPalette[size_t(m_nPalNum)];
  int r = e.byRed, g = e.byGreen, b = e.byBlue;
  if (g_DD.lpDTCon) {
    m_dwColor = plat::gfx::MakeArgb(255, r, g, b);
    return;
  }
  if (g_DD.nBpp == 16) {
    // The 16-bit palette holds the raw fields of the screen format.
    r = plat::gfx::ScaleChannelUp(r, g_DD.SurfaceBits.nRedMax);
    g = plat::gfx::ScaleChannelUp(g, g_DD.SurfaceBits.nGreenMax);
    b = plat::gfx::ScaleChannelUp(b, g_DD.SurfaceBits.nBlueMax);
  }
  m_dwColor = uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

void Font::DeleteSheets() {
  m_lpFastFont_Half.reset();
  m_lpFastFont_FullAdd.reset();
}

bool Font::HasSymbolSheet() const {
  DDSURFACEDATA* lpSD = m_lpSymbolSD;
  if (!lpSD) return false;
  DDResolveSurface(&lpSD);
  if (g_DD.lpDTCon) return lpSD->lpDT && lpSD->lpDT->lpSurface;
  return lpSD->lpDDS && lpSD->lpDDS->lpDDSurface;
}

void Font::Create(const char* szFace, int nWidth, int nHeight, int nPitch, int nLineHeight,
                  int nPalNum, DDSURFACEDATA* lpWindowSD, int nFrameThickness, int nFrameColor,
                  DDSURFACEDATA* lpSymbolSD, int nFontCache) {
  m_nWidth = nWidth;
  m_nHeight = nHeight;
  m_nPitch = nPitch;
  m_nLineHeight = nLineHeight;
  m_nPalNum = nPalNum;
  if (g_DD.lpDTCon || g_DD.nBpp != 0) ComputeColor();
  m_lpWindowSD = lpWindowSD;
  m_nFrameThickness = nFrameThickness;
  m_nFrameColor = nFrameColor;
  m_lpSymbolSD = lpSymbolSD;
  m_bFastFont = lpSymbolSD != nullptr;
  m_strFace = CutFaceName(szFace);
  const int nWorkWidth = BackBuffer.nWidth, nWorkHeight = BackBuffer.nHeight;
  if (g_DD.lpDTCon) {
    // The text-drawing font of this mode has no character width of its own.
    m_lpFont = OpenFont(m_strFace, nHeight, 0);
    if (!m_WorkSD.lpDT) DDCreateSurface(&m_WorkSD, nWorkWidth, nWorkHeight, 1, 0, 0, 0, 0);
    m_nSerial = g_DD.lpDTCon->nFontSerial++;
    AddToFontList(this);
  } else {
    m_hFont = OpenFont(m_strFace, nHeight, nWidth);
    if (!m_WorkSD.lpDDS || !m_WorkSD.lpDDS->lpDDSurface) {
      if (!g_DD.lpDDCon || !DDCreateSurface(&m_WorkSD, nWorkWidth, nWorkHeight, 1, 0, 0, 0, 0)) {
        DebugLog("DDCreateSurface Font::Work");
        plat::PostMessage(g_DD.hWnd, plat::WM_CLOSE, 0, 0);
        return;
      }
    }
    m_nSerial = g_DD.lpDDCon->nFontSerial++;
    AddToFontList(this);
  }

  m_nFontCache = nFontCache;
  if (!nFontCache) {
    DeleteSheets();
    return;
  }
  if (nPitch <= 0 || nLineHeight <= 0) {
    DebugLog("※フォントクラスで文字間が未設定！");
    DeleteSheets();
    return;
  }
  DeleteSheets();
  m_lpFastFont_Half = std::make_unique<FastFont>(0, nPitch, nLineHeight, 16, 16);
  int nColumns, nRows;
  if (g_DD.lpDTCon) {
    nColumns = std::min(32, 1024 / nPitch);
    nRows = std::min(32, 1024 / nLineHeight);
  } else {
    nColumns = std::min(32, nWorkWidth / nPitch);
    nRows = std::min(30, nWorkHeight / nLineHeight);
  }
  m_lpFastFont_FullAdd = std::make_unique<FastFont>(1, nPitch, nLineHeight, nColumns, nRows);
  RenderHalfSheet();
  RenderFullSheet(0);
}

void Font::Release() {
  m_lpFont.reset();
  m_hFont.reset();
  DeleteSheets();
  DDFreeSurface(&m_WorkSD);
}

void Font::RenderHalfSheet() {
  if (!m_lpFastFont_Half) return;
  // Row 0 (the codes 0 to 15, the line feed among them) stays empty: the
  // text starts with a line feed, and code b lands in cell b.
  std::string strText = "\n";
  for (int r = 1; r < 16; ++r) {
    for (int c = 0; c < 16; ++c) strText += char(r * 16 + c);
    strText += '\n';
  }
  DDSURFACEDATA* lpSheet = &m_lpFastFont_Half->m_Sheet;
  DDFillRect(lpSheet, 0, 0, lpSheet->nWidth, lpSheet->nHeight, 0);
  const int bFastFont = m_bFastFont, nFontCache = m_nFontCache;
  m_bFastFont = 0;
  m_nFontCache = 0;
  DrawText(lpSheet, 0, 0, strText.c_str());
  m_bFastFont = bFastFont;
  m_nFontCache = nFontCache;
}

void Font::RenderFullSheet(int bRebuild) {
  FastFont* pSheet = m_lpFastFont_FullAdd.get();
  if (!pSheet) return;
  std::string strChars;
  if (bRebuild) {
    for (const FASTFONTENTRY& e : pSheet->m_Entries) strChars.append(e.chChar, 2);
  } else {
    for (const char* p = g_szFastFontPreload; p[0] && p[1]; p += 2) {
      if (!pSheet->Add(p)) break;
      strChars.append(p, 2);
    }
  }
  std::string strLayout;
  const int nChars = static_cast<int>(strChars.size() / 2);
  for (int i = 0; i < nChars && i < pSheet->m_nCapacity; ++i) {
    strLayout.append(strChars, size_t(i) * 2, 2);
    if ((i + 1) % pSheet->m_nColumns == 0) strLayout += '\n';
  }
  DDSURFACEDATA* lpSheet = &pSheet->m_Sheet;
  DDFillRect(lpSheet, 0, 0, lpSheet->nWidth, lpSheet->nHeight, 0);
  const int bFastFont = m_bFastFont, nFontCache = m_nFontCache;
  m_bFastFont = 0;
  m_nFontCache = 0;
  DrawText(lpSheet, 0, 0, strLayout.c_str());
  m_bFastFont = bFastFont;
  m_nFontCache = nFontCache;
}

void Font::Restore() {
  if (g_DD.lpDTCon) {
    if (m_lpFastFont_Half && m_lpFastFont_Half->m_Sheet.bLost) {
      RenderHalfSheet();
      m_lpFastFont_Half->m_Sheet.bLost = 0;
    }
    if (m_lpFastFont_FullAdd && m_lpFastFont_FullAdd->m_Sheet.bLost) {
      RenderFullSheet(1);
      m_lpFastFont_FullAdd->m_Sheet.bLost = 0;
    }
    return;
  }
  if (!g_DD.lpDD) return;
  const auto RestoreIfLost = [](DDSURFACEDATA& sd) {
    if (sd.lpDDS && sd.lpDDS->lpDDSurface && sd.lpDDS->lpDDSurface->IsLost())
      g_DD.lpDD->Restore(*sd.lpDDS->lpDDSurface);
  };
  RestoreIfLost(m_WorkSD);
  // Every sheet is drawn again, lost or not.
  if (m_lpFastFont_Half && m_lpFastFont_Half->m_Sheet.lpDDS) {
    RestoreIfLost(m_lpFastFont_Half->m_Sheet);
    RenderHalfSheet();
  }
  if (m_lpFastFont_FullAdd && m_lpFastFont_FullAdd->m_Sheet.lpDDS) {
    RestoreIfLost(m_lpFastFont_FullAdd->m_Sheet);
    RenderFullSheet(1);
  }
}

int DDCreateFonts(Font* lpFonts, DDFONTDATA* lpSpecs, int nCount) {
  const auto TableEntry = [](int n) -> DDSURFACEDATA* {
    if (!g_DD.lpSDTable || n < 0 || n >= g_DD.nSurfaceNum) return nullptr;
    return &g_DD.lpSDTable[n];
  };
  for (int i = 0; i < nCount; ++i) {
    const DDFONTDATA& d = lpSpecs[i];
    lpFonts[i].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum,
                      TableEntry(d.nWindowSheet), d.nFrameThickness, d.nFrameColor,
                      TableEntry(d.nSymbolSheet), d.nFontCache);
  }
  return 1;
}
