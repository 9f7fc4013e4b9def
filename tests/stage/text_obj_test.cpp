// Message texts: the "#" escapes, the nine places a text can take and how
// it follows or stays, keeping it on screen, its time (in play and while a
// wait shows it), the refresh of its escapes, its grow-in, its surface, and
// the message command's texts by ID.
#include "stage/text_obj.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/blit.h"
#include "draw/built_in_tables.h"
#include "draw/device_restore.h"
#include "draw/font_tables.h"
#include "flow/command_catalogue.h"
#include "flow/flow_cmd.h"
#include "play_fixture.h"
#include "scenes/message_surfaces.h"
#include "scenes/scene_manager.h"
#include "support/box_glyphs.h"
#include "support/draw_setup.h"

namespace {

constexpr uint32_t kTextBack = 0x204080, kTextFrame = 0xFFFF00, kTextInk = 0xFFFFFF;

// A text that only has a time and a place (no writing, no surface).
void SetupPlace(cTextObj& text, int32_t nMode, int32_t bFixed, int32_t nOwner) {
  text.Setup(TEXTKIND_TIMER, nullptr, 0, 0, 0, nMode, 2, 3, 3, -2, 0, bFixed, TEXTSHOW_UNTIL_KEY, 0,
             0, nOwner, 0, 0, 0, 0, 0, 0, 0, 0);
  text.m_nWidth = 50;
  text.m_nHeight = 20;
}

// Writing in the main font, at the screen's centre.
void SetupWriting(cTextObj& text, const char* szText, int32_t nDispMode, int32_t nFrames,
                  int32_t bFramed, int32_t bNoGrowIn = 0, int32_t bCountWhenStill = 0) {
  text.Setup(TEXTKIND_TEXT, szText, 0, 0, 0, TEXTPOS_SCREEN_CENTRE, 0, 0, 0, 0, 0, 1, nDispMode,
             nFrames, bCountWhenStill, 0, bNoGrowIn, 1, 0, 0, bFramed, 0, 0, 0);
}

class TextVars : public ::testing::Test {
 protected:
  void SetUp() override {
    g_PlayData.Reset();
    g_PlayData.m_vVars[1] = -3;
    g_PlayData.m_vVars[2] = 7;
    g_PlayData.m_vVars[5] = 12;
    g_PlayData.m_vVars[1000] = 77;
    m_pScene = new cPlayScene();
    m_pScene->m_StageVar[12] = 345;
    m_pScene->m_StageVar[999] = 9;
  }
  void TearDown() override {
    delete m_pScene;
    g_PlayData.Reset();
  }
  cPlayScene* m_pScene = nullptr;
};

TEST_F(TextVars, EscapesExpandOrStayAsWritten) {
  const struct {
    const char* szIn;
    const char* szOut;
  } cases[] = {
      {"#C5_4.", "  12"},   // width 4, the full stop goes with the escape
      {"#C5_4Z.", "0012"},  // zero padding
      {"#C1_P", "-3"},      // the plus sign only for values not below 0
      {"#C2_P", "+7"},
      {"#c2_p.", "+7"},  // letters of either case
      {"#C5_9", "       12"},
      {"#C5_2Z", "12"},     // a width below the digits changes nothing
      {"a#S12b", "a345b"},  // the escape ends at the first other character
      {"#S999.", "9"},
      {"#C1000", "77"},
      {"#S0", "#S0"},          // no variable 0
      {"#S1000", "#S1000"},    // past the stage variables
      {"#C1001.", "#C1001."},  // past the common variables: the text as written
      {"#C99999999999999999999", "#C99999999999999999999"},
      {"#5", "#5"},  // neither scope
      {"#", "#"},    // the text ends the escape
      {"##C5", "#12"},
      {"#C5#S12", "12345"},  // scanning goes on after the value
      {"表#C5", "表12"},     // double-byte text kept whole
      {"#C5_", "12"},
  };
  for (const auto& c : cases) {
    std::string strText = c.szIn;
    ExpandTextVars(strText);
    EXPECT_EQ(strText, c.szOut) << c.szIn;
  }
}

TEST_F(TextVars, WithoutAPlaySceneStageEscapesStay) {
  delete m_pScene;
  m_pScene = nullptr;
  std::string strText = "#S12 #C5";
  ExpandTextVars(strText);
  EXPECT_EQ(strText, "#S12 12");
}

// A camera at (100.5, 50) and the player, id 7, at (300.7, 200.2) with a
// drawing rectangle offset (4, 6) and size 40 x 30; the text is 50 x 20 and
// offset (3, -2), at cell (2, 3) for the modes that take one.
class TextPlaces : public ::testing::Test {
 protected:
  void SetUp() override {
    m_pScene = new cPlayScene();
    m_pScene->m_ScrollX.m_nMarginCells = 10;
    m_pScene->m_ScrollY.m_nMarginCells = 10;
    g_Players.resize(1);
    cPlayerObj& player = g_Players.At(0);
    player.m_nId = 7;
    player.m_nDrawDX = 4;
    player.m_nDrawDY = 6;
    player.m_nDrawW = 40;
    player.m_nDrawH = 30;
    Move(100.5, 50, 300.7, 200.2);
  }
  void TearDown() override {
    delete m_pScene;
    Off_Msg.clear();
    g_MsgImages.clear();
  }
  void Move(double dCamX, double dCamY, double x, double y) {
    m_pScene->m_ScrollX.m_dPos = dCamX;
    m_pScene->m_ScrollY.m_dPos = dCamY;
    g_Players.At(0).m_dX = x;
    g_Players.At(0).m_dY = y;
  }
  cHeadlessDrawing m_Drawing;  // the surface of writing
  cPlayScene* m_pScene = nullptr;
};

TEST_F(TextPlaces, EachModeItsPlaceAndWhetherItFollows) {
  // Owner's screen left trunc(300.7 - 100.5) = 200, top 150; after the
  // move 160 and 140.
  const struct {
    int32_t nMode, bFixed;
    int32_t x1, y1;  // first frame
    int32_t x2, y2;  // after the camera moved by (50, 20) and the owner by (10, 10)
  } cases[] = {
      {0, 1, 298, 228, 298, 228},  // 3 - 25 + 320, -2 - 10 + 240
      {0, 0, 298, 228, 248, 208},  // stays where it appeared in the stage
      {1, 0, 194, 122, 154, 112},  // 200 + 20 + 3 - 25 - 4, 150 - 6 - 20 - 2
      {1, 1, 194, 122, 194, 122},  // keeps its first screen place
      {4, 0, 194, 122, 154, 112},
      {2, 0, 194, 173, 154, 163},  // 150 + 30 - 6 + 1 - 2
      {5, 1, 194, 173, 194, 173},
      {3, 0, 194, 147, 154, 137},  // 150 + 15 - 10 - 6 - 2
      {6, 0, 194, 147, 154, 137},
      {7, 1, 67, 94, 67, 94},      // 3 + 2 x 32, -2 + 3 x 32
      {7, 0, 67, 94, 17, 74},      // stays where it appeared in the stage
      {8, 0, 286, 364, 236, 344},  // trunc(12 x 32 + 3 - 100.5), 13 x 32 - 2 - 50
      {8, 1, 286, 364, 286, 364},
      {99, 1, 298, 228, 298, 228},  // a mode the command does not offer: the centre
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.nMode << " fixed " << c.bFixed);
    Move(100.5, 50, 300.7, 200.2);
    cTextObj text;
    SetupPlace(text, c.nMode, c.bFixed, 7);
    int32_t x = 0, y = 0;
    ASSERT_TRUE(text.PlaceOnScreen(x, y));
    EXPECT_EQ(x, c.x1);
    EXPECT_EQ(y, c.y1);
    Move(150.5, 70, 310.7, 210.2);
    ASSERT_TRUE(text.PlaceOnScreen(x, y));
    EXPECT_EQ(x, c.x2);
    EXPECT_EQ(y, c.y2);
  }
}

TEST_F(TextPlaces, KeptOnScreenRightAndBottomFirst) {
  const struct {
    int32_t x, y, w, h, xWant, yWant;
  } cases[] = {
      {-5, 10, 50, 20, 0, 20},
      {600, 470, 50, 20, 590, 460},
      {589, 100, 50, 20, 590, 100},
      {588, 100, 50, 20, 588, 100},
      {0, 19, 10, 10, 0, 20},
      {0, 20, 10, 10, 0, 20},
      {0, 458, 10, 20, 0, 458},
      {0, 459, 10, 20, 0, 460},
      {0, 461, 10, 20, 0, 460},
      // Larger than the screen: the top left corner stays in view, and
      // never above y 20.
      {-10, -10, 700, 500, 0, 20},
  };
  for (const auto& c : cases) {
    cTextObj text;
    text.m_nWidth = c.w;
    text.m_nHeight = c.h;
    int32_t x = c.x, y = c.y;
    text.KeepOnScreen(x, y);
    EXPECT_EQ(x, c.xWant) << c.x << "," << c.y;
    EXPECT_EQ(y, c.yWant) << c.x << "," << c.y;
  }
}

TEST_F(TextPlaces, AnOwnerThatGoesEndsWritingAndLeavesAPictureWhereItWas) {
  cTextObj picture;
  picture.Setup(TEXTKIND_TIMER, nullptr, 0, 0, 0, TEXTPOS_ABOVE_PLAYER, 0, 0, 0, 0, 0, 0,
                TEXTSHOW_UNTIL_KEY, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0);
  cTextObj writing;
  writing.Setup(TEXTKIND_TEXT, "", 0, 0, 0, TEXTPOS_ABOVE_SELF, 0, 0, 0, 0, 0, 0,
                TEXTSHOW_UNTIL_KEY, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 1);
  int32_t x = 0, y = 0;
  ASSERT_TRUE(picture.PlaceOnScreen(x, y));
  const int32_t xSeen = x, ySeen = y;
  EXPECT_EQ(picture.Draw(nullptr, 0), 0);
  EXPECT_EQ(writing.Draw(nullptr, 0), 0);
  g_Players.At(0).m_nId = 8;
  EXPECT_FALSE(picture.PlaceOnScreen(x, y));
  EXPECT_EQ(x, xSeen);
  EXPECT_EQ(y, ySeen);
  EXPECT_EQ(picture.Draw(nullptr, 0), 0);
  // While a wait shows the screen the text only hides; play removes it.
  EXPECT_EQ(writing.Draw(nullptr, 1), 0);
  EXPECT_EQ(writing.Draw(nullptr, 1), 0);
  EXPECT_EQ(writing.Draw(nullptr, 0), 1);
}

TEST(TextTime, TimedTextsCountInPlayAndOnlyWhenAskedWhileStill) {
  const struct {
    int32_t nFrames, bCountWhenStill, bStill;
    int nDrawnFrames;  // frames drawn before it ends; -1 never ends
  } cases[] = {
      {30, 0, 0, 30}, {1, 0, 0, 1},
      {0, 0, 0, 0},   {30, 0, 1, -1},  // a wait without the count-when-still flag stops the time
      {30, 1, 1, 30}, {-5, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.nFrames << " " << c.bCountWhenStill << " " << c.bStill);
    cTextObj text;
    text.Setup(TEXTKIND_TIMER, nullptr, 0, 0, 0, TEXTPOS_SCREEN_CENTRE, 0, 0, 0, 0, 0, 1,
               TEXTSHOW_TIMED, c.nFrames, c.bCountWhenStill, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    int nDrawn = 0;
    while (nDrawn < 100 && text.Draw(nullptr, c.bStill) == 0 && !text.m_bEnded) ++nDrawn;
    EXPECT_EQ(nDrawn, c.nDrawnFrames < 0 ? 100 : c.nDrawnFrames);
    if (c.bStill && c.nDrawnFrames >= 0) {
      // Hidden until play draws again.
      EXPECT_EQ(text.Draw(nullptr, 1), 0);
      EXPECT_EQ(text.Draw(nullptr, 0), 1);
    }
  }
  // Texts that wait for the key or the stage's end have no time.
  for (int32_t nMode : {TEXTSHOW_UNTIL_KEY, TEXTSHOW_UNTIL_STAGE_END}) {
    cTextObj text;
    text.Setup(TEXTKIND_TIMER, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, nMode, 0, 1, 0, 0, 0, 0, 0, 0,
               0, 0, 0);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(text.Draw(nullptr, i % 2), 0);
  }
}

// Writing needs the drawing library and the main font (cells of 16 x 16).
class TextDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Drawing.Ok());
    cHeadlessDrawing::SetColours(
        {{0, 0x000000}, {3, kTextBack}, {240, kTextFrame}, {241, kTextInk}});
    const DDFONTDATA& d = g_FontSpec[1];
    g_Font[1].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                     d.nFrameThickness, d.nFrameColor, nullptr, 0);
    g_PlayData.Reset();
    m_pScene = new cPlayScene();
  }
  void TearDown() override {
    delete m_pScene;
    g_Font[1].Release();
    g_PlayData.Reset();
    Off_Msg.clear();
    g_MsgImages.clear();
  }
  static uint32_t At(int x, int y) { return cHeadlessDrawing::Rgb(&BackBuffer, x, y); }
  static bool AnyOf(uint32_t dwRgb, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i)
        if (At(i, j) == dwRgb) return true;
    return false;
  }
  // One frame of the screen with the text over a plain background.
  static int Frame(cTextObj& text, int bStill) {
    DDFillRect(&BackBuffer, 0, 0, 640, 480, 3);
    return text.Draw(&BackBuffer, bStill);
  }

  boxglyphs::cUseGlyphs m_Glyphs;
  cHeadlessDrawing m_Drawing;
  cPlayScene* m_pScene = nullptr;
};

TEST_F(TextDrawing, SizeIsTheFontsCellsWithAMargin) {
  const struct {
    const char* szText;
    int32_t w, h;
  } cases[] = {{"AB", 34, 18}, {"", 2, 18}, {"A\nBCD", 50, 34}, {"日本", 34, 18}};
  for (const auto& c : cases) {
    int32_t w = 0, h = 0;
    MeasureText(c.szText, &w, &h);
    EXPECT_EQ(w, c.w) << c.szText;
    EXPECT_EQ(h, c.h) << c.szText;
  }
  // A text longer than the largest surface is cut there.
  cTextObj text;
  const std::string strLong(300, 'A');
  SetupWriting(text, strLong.c_str(), TEXTSHOW_UNTIL_STAGE_END, 0, 0);
  EXPECT_EQ(text.m_nWidth, kMaxTextSurface);
  ASSERT_NE(text.m_pSurface, nullptr);
  EXPECT_EQ(text.m_pSurface->nWidth, kMaxTextSurface);
}

TEST_F(TextDrawing, AFramedKeyWaitGrowsInOverNineFramesBeforeItsWriting) {
  // "AB": 34 x 18 at the centre: (320 - 17, 240 - 9).
  const int x = 303, y = 231, w = 34, h = 18;
  const struct {
    int32_t bFramed, nDispMode, bNoGrowIn;
    int nFirstWritten;  // the frame that first shows the writing
  } cases[] = {
      {1, TEXTSHOW_UNTIL_KEY, 0, 10},      {0, TEXTSHOW_UNTIL_KEY, 0, 10},
      {1, TEXTSHOW_UNTIL_KEY, 1, 1},  // a message right after another
      {1, TEXTSHOW_UNTIL_STAGE_END, 0, 1}, {0, TEXTSHOW_TIMED, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bFramed << " " << c.nDispMode << " " << c.bNoGrowIn);
    cTextObj text;
    SetupWriting(text, "AB", c.nDispMode, 100, c.bFramed, c.bNoGrowIn);
    for (int nFrame = 1; nFrame <= 12; ++nFrame) {
      // Waits draw still: the grow-in goes on all the same.
      ASSERT_EQ(Frame(text, 1), 0);
      EXPECT_EQ(AnyOf(kTextInk, x, y, w, h), nFrame >= c.nFirstWritten) << nFrame;
      if (nFrame < c.nFirstWritten && c.bFramed) {
        // The frame at scale nFrame / 10 around the text's centre.
        const double s = nFrame * 0.1;
        const int fx = static_cast<int>(x + w / 2 - s * w / 2);
        const int fy = static_cast<int>(y + h / 2 - s * h / 2);
        EXPECT_EQ(At(fx - 1, fy + static_cast<int>(s * h) / 2), kTextFrame) << nFrame;
        EXPECT_EQ(At(fx - 2, fy + static_cast<int>(s * h) / 2), kTextBack) << nFrame;
      }
      if (nFrame < c.nFirstWritten && !c.bFramed) {
        EXPECT_FALSE(AnyOf(kTextFrame, x - 2, y - 2, w + 4, h + 4)) << nFrame;
      }
    }
  }
}

TEST_F(TextDrawing, RefreshedEscapesRenderAgainAndResizeTheSurface) {
  g_PlayData.m_vVars[5] = 7;
  cTextObj text;
  text.Setup(TEXTKIND_TEXT, "#C5", 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, TEXTSHOW_UNTIL_STAGE_END, 0, 0, 0,
             0, 1, 1, 3, 0, 0, 0, 0);
  ASSERT_EQ(text.m_strText, "7");
  const DDSURFACEDATA* pFirst = text.m_pSurface;
  EXPECT_EQ(text.m_nWidth, 18);
  g_PlayData.m_vVars[5] = 1234;
  m_pScene->m_nFrames = 4;  // not a multiple of the interval
  Frame(text, 0);
  EXPECT_EQ(text.m_strText, "7");
  m_pScene->m_nFrames = 6;
  Frame(text, 0);
  EXPECT_EQ(text.m_strText, "1234");
  EXPECT_EQ(text.m_nWidth, 66);
  EXPECT_EQ(text.m_pSurface, pFirst) << "made again in its place";
  EXPECT_EQ(text.m_pSurface->nWidth, 66);
  EXPECT_EQ(Off_Msg.size(), 1u);
  // An interval below 1 refreshes every frame.
  text.m_nRefreshInterval = 0;
  g_PlayData.m_vVars[5] = 5;
  m_pScene->m_nFrames = 7;
  Frame(text, 0);
  EXPECT_EQ(text.m_strText, "5");
}

TEST_F(TextDrawing, SurfacesComeAndGoWithTheirTexts) {
  {
    cTextObj a, b;
    SetupWriting(a, "A", TEXTSHOW_TIMED, 1, 0);
    SetupWriting(b, "BB", TEXTSHOW_UNTIL_STAGE_END, 0, 0);
    EXPECT_EQ(Off_Msg.size(), 2u);
    EXPECT_EQ(g_MsgImages.size(), 2u);
    EXPECT_EQ(Frame(a, 0), 0);
    EXPECT_EQ(Frame(a, 0), 1) << "its time is over";
    EXPECT_EQ(a.m_pSurface, nullptr);
    EXPECT_EQ(Off_Msg.size(), 1u);
    EXPECT_EQ(&Off_Msg.front(), b.m_pSurface);
    // The writing lands where the text stands, keyed over the screen.
    Frame(b, 0);
    EXPECT_TRUE(AnyOf(kTextInk, 320 - 17, 240 - 9, 34, 18));
    EXPECT_EQ(At(320 - 17, 240 - 9), kTextBack) << "the margin is see-through";
  }
  EXPECT_TRUE(Off_Msg.empty()) << "a text that goes takes its surface";
  // A set-up releases every surface at once; the texts forget theirs.
  m_pScene->m_TextList.emplace_back();
  SetupWriting(m_pScene->m_TextList.back(), "A", TEXTSHOW_UNTIL_STAGE_END, 0, 0);
  m_pScene->ReleaseMessageSurfaces();
  EXPECT_TRUE(Off_Msg.empty());
  EXPECT_EQ(m_pScene->m_TextList.back().m_pSurface, nullptr);
  EXPECT_EQ(Frame(m_pScene->m_TextList.back(), 0), 0);
}

TEST_F(TextDrawing, WritingLostWithTheSurfacesIsWrittenAgain) {
  cTextObj text;
  SetupWriting(text, "AB", TEXTSHOW_UNTIL_STAGE_END, 0, 0);
  DDInstallFontRestore();  // as start-up does once the fonts exist
  g_DD.lpDD->LoseSurfaces();
  const bool bRestored = g_SceneManager.CheckLostSurface();
  DDSetFontRestore({});
  ASSERT_TRUE(bRestored);
  ASSERT_EQ(text.m_pSurface->bLost, 1);
  DDFillSurface(text.m_pSurface, 0);  // what a restored surface holds
  Frame(text, 0);
  EXPECT_EQ(text.m_pSurface->bLost, 0);
  EXPECT_TRUE(AnyOf(kTextInk, 320 - 17, 240 - 9, 34, 18));
}

TEST_F(TextDrawing, TheExtraLifeIconRisesAPixelEveryFourFrames) {
  // The icon sheet: one 16 x 16 cell of ink at (0, 48).
  DDSURFACEDATA& sheet = g_SurfaceTable[49];
  ASSERT_TRUE(DDCreateSurface(&sheet, 64, 64, 1, 0, 0, 0, 0));
  DDFillRect(&sheet, 0, 0, 64, 64, 0);
  DDFillRect(&sheet, 0, 48, 16, 16, 241);
  g_Players.resize(1);
  cPlayerObj& player = g_Players.At(0);
  player.m_nId = 3;
  player.m_dX = 200;
  player.m_dY = 300;
  player.m_nDrawW = 32;
  player.m_nDrawH = 32;
  cTextObj& notice = m_pScene->ShowLifeNotice();
  // Above the player: x = 200 + 16 - 8, y = 300 - 16; counted while still.
  const int rises[] = {0, 0, 0, 1, 1, 1, 1, 2};
  for (int nFrame = 0; nFrame < 8; ++nFrame) {
    ASSERT_EQ(Frame(notice, 1), 0);
    const int yTop = 284 - rises[nFrame];
    EXPECT_EQ(At(208, yTop), kTextInk) << nFrame;
    EXPECT_EQ(At(208, yTop - 1), kTextBack) << nFrame;
  }
  DDReleaseSurface(&sheet);
}

// The message command's texts, by ID, in the play of a stage.
class MessageCommand : public cPlayFixture {
 protected:
  void SetUp() override {
    cPlayFixture::SetUp();
    ASSERT_TRUE(m_Drawing.Ok());
    const DDFONTDATA& d = g_FontSpec[1];
    g_Font[1].Create(d.szFace, d.nWidth, d.nHeight, d.nPitch, d.nLineHeight, d.nPalNum, nullptr,
                     d.nFrameThickness, d.nFrameColor, nullptr, 0);
    Floor(14);
    Player(2, 13);
    Chara(6, 13);
    StartPlaying();
  }
  void TearDown() override {
    cPlayFixture::TearDown();
    g_Font[1].Release();
  }
  // A command showing the text until the stage ends, with ID mode and ID.
  static cFlowCmd Message(const char* szText, int32_t nId, int32_t bErase = 0) {
    cFlowCmd cmd;
    cmd.m_vecParams.assign(18, 0);
    cmd.m_vecParams[6] = TEXTSHOW_UNTIL_STAGE_END;
    cmd.m_vecParams[12] = nId != 0;
    cmd.m_vecParams[13] = nId;
    cmd.m_vecParams[15] = bErase;
    cmd.m_strText = szText;
    return cmd;
  }
  cTextObj* Show(const cFlowCmd& cmd, int32_t bShown = 0) {
    int bWait = 0;
    return Scene().ShowMessage(ThePlayerObj(), cmd, bShown, bWait);
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> v;
    for (const cTextObj& text : Scene().m_TextList) v.push_back(text.m_strText);
    return v;
  }

  boxglyphs::cUseGlyphs m_Glyphs;
  cHeadlessDrawing m_Drawing;
};

TEST_F(MessageCommand, TextsByIdAreReplacedInPlaceOrErased) {
  cTextObj* pFirst = Show(Message("ABC", 1));
  Show(Message("Z", 2));
  ASSERT_NE(pFirst, nullptr);
  const DDSURFACEDATA* pSurface = pFirst->m_pSurface;
  // The same size: the same text and surface, written again.
  EXPECT_EQ(Show(Message("XYZ", 1)), pFirst);
  EXPECT_EQ(pFirst->m_pSurface, pSurface);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"XYZ", "Z"}));
  // Longer: a new text takes the old one's place in the drawing order.
  Show(Message("LONGER", 1));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"LONGER", "Z"}));
  EXPECT_EQ(Off_Msg.size(), 2u);
  // Without ID mode a text is added at the end.
  Show(Message("Q", 0));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"LONGER", "Z", "Q"}));
  // Erasing an ID no text carries does nothing and shows nothing.
  EXPECT_EQ(Show(Message("", 9, 1)), nullptr);
  EXPECT_EQ(Texts().size(), 3u);
  EXPECT_EQ(Show(Message("", 2, 1)), nullptr);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"LONGER", "Q"}));
  EXPECT_EQ(Off_Msg.size(), 2u);
  // A text that ended while a wait showed the screen is not replaced: the
  // new one comes at the end.
  Scene().m_TextList.front().m_bEnded = 1;
  Show(Message("NEW", 1));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"LONGER", "Q", "NEW"}));
  // Nothing while the window closes.
  Scene().m_bCloseRequest = 1;
  EXPECT_EQ(Show(Message("R", 0)), nullptr);
  EXPECT_EQ(Texts().size(), 3u);
  Scene().m_bCloseRequest = 0;
  EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(MessageCommand, WaitsSetTheirRecordAndAFirstKeyWaitSounds) {
  const struct {
    int32_t nDispMode, nTime, bOneFrame, bShown;
    WAITDATA want;
    int nSounds;
  } cases[] = {
      {TEXTSHOW_UNTIL_KEY, 0, 0, 0, {WAIT_MESSAGE, 10, 1, 0, 0}, 1},
      {TEXTSHOW_UNTIL_KEY, 0, 0, 1, {WAIT_MESSAGE, 0, 1, 0, 0}, 0},
      {TEXTSHOW_TIMED, 5, 0, 0, {WAIT_MESSAGE, 0, 0, 30, 0}, 0},
      {TEXTSHOW_TIMED, 5, 1, 0, {WAIT_MESSAGE, 0, 0, 1, 0}, 0},
      // Until the stage ends: the record stays as the last wait left it.
      {TEXTSHOW_UNTIL_STAGE_END, 0, 0, 0, {WAIT_PICTURE, 3, 1, 4, 0}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.nDispMode << " " << c.bOneFrame << " " << c.bShown);
    Scene().m_Wait = WAITDATA{WAIT_PICTURE, 3, 1, 4, 0};
    Requests().vecSounds.clear();
    cFlowCmd cmd = Message("HELLO", 0);
    cmd.m_vecParams[6] = c.nDispMode;
    cmd.m_vecParams[7] = c.nTime;
    cmd.m_vecParams[8] = 1;
    cmd.m_vecParams[17] = c.bOneFrame;
    int bWait = 0;
    cTextObj* pText = Scene().ShowMessage(ThePlayerObj(), cmd, c.bShown, bWait);
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(bWait, 1);
    const WAITDATA& w = Scene().m_Wait;
    EXPECT_EQ(w.nKind, c.want.nKind);
    EXPECT_EQ(w.nDelay, c.want.nDelay);
    EXPECT_EQ(w.bButton, c.want.bButton);
    EXPECT_EQ(w.nFrames, c.want.nFrames);
    EXPECT_EQ(static_cast<int>(Requests().vecSounds.size()), c.nSounds);
    EXPECT_EQ(pText->m_bCountWhenStill, 1) << "a waited-on text counts during its wait";
    EXPECT_EQ(pText->m_bGrowIn, c.nDispMode == TEXTSHOW_UNTIL_KEY && !c.bShown ? 1 : 0);
    Scene().RemoveText(pText);
  }
  EXPECT_TRUE(Scene().m_TextList.empty());
  EXPECT_TRUE(Off_Msg.empty());
}

// The messages of one item's list: the first opens as a key wait does (its
// sound, its grow-in), those after it plainly; the next item's list starts
// afresh.
TEST_F(MessageCommand, TheOwnerIsTheCharacterOrThePlayerByMode) {
  ASSERT_EQ(g_CharaList.size(), 1u);
  cCharaObj& chara = g_CharaList.front();
  const int32_t nPlayer = ThePlayerObj().m_nId;
  ASSERT_NE(chara.m_nId, nPlayer);
  const int32_t owners[] = {0, chara.m_nId, chara.m_nId, chara.m_nId, nPlayer, nPlayer, nPlayer, 0,
                            0};
  for (int32_t nMode = 0; nMode <= 8; ++nMode) {
    cFlowCmd cmd = Message("A", 0);
    cmd.m_vecParams[0] = nMode;
    int bWait = 0;
    cTextObj* pText = Scene().ShowMessage(chara, cmd, 0, bWait);
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->m_nOwnerId, owners[nMode]) << nMode;
  }
}

}  // namespace
