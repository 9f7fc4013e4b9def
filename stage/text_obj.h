// A message text on the play screen: the writing of the message command,
// the picture of a picked item rising over the player, the extra-life
// notice, and the bare timer of a game wait. The play scene's list of texts
// owns them; each is drawn once per frame and reports when it has ended.
// A text that shows writing renders it once into a surface of its own (a
// record of the message surfaces), and again only when the writing changes.
#pragma once

#include <cstdint>
#include <string>

struct DDSURFACEDATA;
struct DDIMAGEDATA;

enum : int32_t {
  TEXTKIND_TIMER = 0,    // draws nothing; only its time runs
  TEXTKIND_TEXT = 1,     // writing
  TEXTKIND_GRAPHIC = 2,  // the icon of a graphic, rising
  TEXTKIND_LIFE = 3,     // the extra-life icon, rising
};

// Where a text is placed.
enum : int32_t {
  TEXTPOS_SCREEN_CENTRE = 0,
  TEXTPOS_ABOVE_SELF = 1,
  TEXTPOS_BELOW_SELF = 2,
  TEXTPOS_CENTRE_SELF = 3,
  TEXTPOS_ABOVE_PLAYER = 4,
  TEXTPOS_BELOW_PLAYER = 5,
  TEXTPOS_CENTRE_PLAYER = 6,
  TEXTPOS_SCREEN_CELL = 7,
  TEXTPOS_STAGE_CELL = 8,
};

// How long a text lasts.
enum : int32_t {
  TEXTSHOW_UNTIL_KEY = 0,
  TEXTSHOW_UNTIL_STAGE_END = 1,
  TEXTSHOW_TIMED = 2,
};

// The largest text surface: a longer or taller text is cut there.
constexpr int32_t kMaxTextSurface = 4096;

// Replaces the "#" escapes of common ("#C5") and stage ("#S12") variables
// by their values; "_" then a width digit, "P" (plus sign) and "Z" (zero
// padding) format them, and a "." that ends an escape goes with it.
void ExpandTextVars(std::string& strText);
// The size a text takes in the message font, with a pixel of margin on
// every side.
void MeasureText(const std::string& strText, int32_t* pnWidth, int32_t* pnHeight);

class cTextObj {
 public:
  cTextObj() = default;
  // A text gives its surface back when it goes.
  ~cTextObj();
  cTextObj(const cTextObj&) = delete;
  cTextObj& operator=(const cTextObj&) = delete;

  // szText null: no writing. bDeferSurface keeps the surface the text has
  // and renders into it again (one of another size is made again in its
  // place).
  void Setup(int32_t nKind, const char* szText, int32_t nValueA, int32_t nValueB, int32_t nValueC,
             int32_t nPosMode, int32_t nColumn, int32_t nRow, int32_t nOffsetX, int32_t nOffsetY,
             int32_t bKeepOnScreen, int32_t bFixed, int32_t nDispMode, int32_t nFrames,
             int32_t bCountWhenStill, int32_t nOwnerId, int32_t bNoGrowIn, int32_t bExpand,
             int32_t bRefresh, int32_t nRefreshInterval, int32_t bFramed, int32_t nCmdValue1,
             int32_t nCmdValue2, int32_t bDeferSurface);
  // One frame: 1 when the text has ended. A text whose time runs out or
  // whose owner goes while the screen is drawn still (a wait is showing
  // something) only hides; it reports its end when play draws again, so
  // whoever waits on it still finds it.
  int Draw(DDSURFACEDATA* pTarget, int bStill);

  // A surface at the text's size: a new one at the end of the message
  // surfaces, or entry n made again.
  void NewSurface();
  void MakeSurface(int32_t n);
  void Render(DDSURFACEDATA* pSD);
  // The surface released and taken out of the message surfaces.
  void ReleaseSurface();
  // Forgets the surface without touching it (all of them are being
  // released at once).
  void DropSurface() {
    m_pSurface = nullptr;
    m_pImage = nullptr;
  }

  // The screen position of this frame before it is kept on screen; false
  // when the owner the text follows is gone.
  bool PlaceOnScreen(int32_t& x, int32_t& y);
  void KeepOnScreen(int32_t& x, int32_t& y) const;

  DDSURFACEDATA* m_pSurface = nullptr;
  DDIMAGEDATA* m_pImage = nullptr;
  int32_t m_nKind = TEXTKIND_TIMER;
  std::string m_strText;    // as shown
  std::string m_strSource;  // as given, escapes kept
  int32_t m_nValueA = 0;    // the graphic's sheet kind, number and variant
  int32_t m_nValueB = 0;
  int32_t m_nValueC = 0;
  int32_t m_bExpand = 0;
  int32_t m_bRefresh = 0;
  int32_t m_nRefreshInterval = 0;
  int32_t m_bFramed = 0;
  int32_t m_nPosMode = TEXTPOS_SCREEN_CENTRE;
  int32_t m_nColumn = 0;
  int32_t m_nRow = 0;
  int32_t m_nOffsetX = 0;
  int32_t m_nOffsetY = 0;
  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_bKeepOnScreen = 0;
  int32_t m_nDispMode = TEXTSHOW_UNTIL_KEY;
  int32_t m_bFixed = 0;
  int32_t m_bLatched = 0;
  int32_t m_nLatchX = 0;
  int32_t m_nLatchY = 0;
  int32_t m_nCmdValue1 = 0;  // the message command's ID mode and ID
  int32_t m_nCmdValue2 = 0;
  int32_t m_nOwnerId = 0;
  int32_t m_nFramesLeft = 0;
  int32_t m_bCountWhenStill = 0;
  int32_t m_bGrowIn = 0;
  double m_dGrowIn = 0;
  // The place of the last frame, kept by a picture whose owner is gone.
  int32_t m_nLastX = 0;
  int32_t m_nLastY = 0;
  // Ended while the screen was still: hidden until play draws again.
  int32_t m_bEnded = 0;

 private:
  // Measures the shown text into the size, cut to the largest surface.
  void Measure();
  // The end of a text: its surface goes; 1, or 0 (hidden) while still.
  int End(int bStill);
  // How far a rising picture has risen: a pixel every four frames of its
  // 30.
  int32_t Rise() const;
};
