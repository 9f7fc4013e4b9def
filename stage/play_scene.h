// The play scene, in which a stage is played: its phases, and the play
// state it owns besides the global object lists (the scroll axes, the shots
// and hit-group lists, the screen's texts, effects and pictures, the wait
// record, the time counters, the stage variables, the step counters, the
// work words of the flow engine, the game thread's random numbers and the
// stage-end bookkeeping). Stage set-up, the per-frame play step, placing
// and summoning, the defeat handling, the block-grid collision, the
// condition lists and the activation tests are its members, as every object
// and command reaches them through the scene.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "base/safe_vector.h"
#include "database/effect_run.h"
#include "flow/cond.h"
#include "records/menu_entry.h"
#include "scenes/scene.h"
#include "stage/block_chara_contacts.h"
#include "stage/hit_resolver.h"
#include "stage/list_walk.h"
#include "stage/rand_gen.h"
#include "stage/screen_objects.h"
#include "stage/scroll_axis.h"
#include "stage/shot_obj.h"
#include "stage/wait_data.h"

class cGameObj;
class cCharaObj;
class cItemObj;
class cPlayerObj;
class cFlowState;
class cInput;
class cNestedFrames;
class cCmdState;
class cFlowCmd;
class cEdBlock;
class cEdChara;
class cEdItem;
struct BLOCKCELL;

// Hit groups a character or a shot can be in.
constexpr int kHitGroups = 8;
constexpr int kStageVars = 1000;
constexpr int kGroupFlags = 60;
constexpr int kRankTables = 5;

// Phases of the play scene.
enum : int32_t {
  PLAYPHASE_FADEIN = 0,
  PLAYPHASE_READY = 1,
  PLAYPHASE_PLAY = 2,
  PLAYPHASE_PAUSE = 3,
  PLAYPHASE_STAGEEND = 4,
  PLAYPHASE_CONTINUE = 5,
  PLAYPHASE_WAITBUTTON = 6,
  PLAYPHASE_FADEOUT = 7,
};

// A play's close request: none, asked for by the window during a wait, or
// passed on to the window again by the play.
enum : int32_t { CLOSE_NONE = 0, CLOSE_ASKED = 1, CLOSE_PASSED_ON = 2 };

// Outcome of the checks of an update step.
enum : int { STEP_GO_ON = 0, STEP_STAGE_OVER = 1, STEP_PLAYER_DEFEATED = 2 };

// Watches the play step from outside: every sub-step of a frame and of an
// update step names itself (with the object it works on) as it begins. A
// debugging aid and the tests' window into the order of the step; the flows'
// sub-step ("Flows") is where a test may act as the flows would.
class cPlayProbe {
 public:
  virtual ~cPlayProbe() = default;
  virtual void OnPlayStep(const char* szStep, cGameObj* pObj) = 0;
};

class cPlayScene : public cPhasedScene<cPlayScene, 8> {
 public:
  cPlayScene();
  ~cPlayScene() override;
  int Run() override;
  int Init() override;
  int FadeIn() override;
  int FadeOut() override;
  void SetMeasuredFps(int nFps) override { m_nFps = nFps; }
  int GetFrameRate() const override { return m_nStageFrameRate; }

  // Phases 1 to 6.
  int PhaseReady();
  int PhasePlay();
  // The play phase's frame without its drawing: input, time and the update
  // steps. True when every step ran and the frame is to be drawn.
  bool UpdateFrame();
  int PhasePause();
  int PhaseStageEnd();
  int PhaseContinue();
  int PhaseWaitButton();

  // Space opens the pause (sound 4): the phase to return to is kept. 1 then.
  int CheckPauseKey();

  // Stage set-up (stage_setup.cpp). bLoadStage restores the stage data
  // first; nSecond changes only the music rule (1 at the scene's start).
  void SetStage(int bLoadStage, int nSecond);
  // Asks for the stage's music and keeps its loop value in the play record.
  void PlayBgm(int nMusic, int nLoop);
  // The steps of a frame in which attack hits are tested.
  void BuildHitStepMask();

  // The per-frame play step (play_step.cpp).
  void CountPlayTime();
  int CountDownTime(int nDelta);
  void BeginStep();
  int ApplySpecialTile(cPlayerObj& player);
  int CheckTileEvents(cPlayerObj& player);

  // Removal of a character: references released, out of its hit group and
  // the character list, destroyed; the next node. Walks in progress go on
  // from that next node.
  CHARALIST::iterator RemoveFromHitGroup(CHARALIST::iterator it);
  void RemoveChara(cCharaObj& chara);
  ITEMLIST::iterator RemoveItem(ITEMLIST::iterator it);
  SHOTLIST::iterator RemoveShot(SHOTLIST::iterator it);
  // Every character, item and shot gone (walks in progress end).
  void ClearObjects();

  // Damage and defeat (defeat.cpp). Results are the step outcomes.
  int HandleDefeat(cGameObj& chara);
  int OnCharaDefeated(cGameObj& chara);
  int CheckDefeats();

  // Block characters: contacts of a character that moved, and the ride on
  // one (block_chara_contacts.cpp).
  int ResolveBlockCharas(cGameObj& chara, CHARALIST& list);
  int CarryRider(cGameObj& chara, CHARALIST& list);

  // Attack hits and item pickup (attack_hits.cpp, item_pickup.cpp).
  int CheckAttackHits();
  int CheckItemPickup(cPlayerObj& player);
  // pFlowOwner as cPlayerObj::RunItemCommands takes it.
  int GiveItem(cItemObj* pItem, cPlayerObj& taker, const cGameObj* pFlowOwner);

  // Stage end, results and the next scene (stage_end.cpp).
  void StageEnd();
  void AddStageResults();
  int GetNextStageFile(std::string& strOut, int32_t n);
  int IsLastStage(int32_t n);
  int FinishStage();
  // The results entered under the player's name and saved, then shown on
  // the ranking thread until button 1.
  void RankingEntry();
  static unsigned RankingLoopProc(void* pScene);
  // One turn's frame of the ranking display: 1 when button 1 ended it.
  int RankingFrame(int nSubMode, cNestedFrames& frames);

  // The play screen (play_draw.cpp): the frame, and what the phases draw
  // over it.
  void Draw(int bPlay, int bStill, int bTimeSound, int bNotice);
  void CreateSightSurfaces();
  void DrawWordImage(int32_t nSrcX, int32_t nSrcY, int32_t nWidth, int32_t nHeight, int32_t x,
                     int32_t y);
  void DrawWordNumber(int32_t nValue, int32_t x, int32_t y);
  void DrawClearCaption(int32_t nFrames);
  void DrawMenuBox(cSafeVector<cCmd>& vecMenu, int32_t x, int32_t y);
  void DrawMenuCursor();
  void DrawMenuTextBox(int32_t x, int32_t y);
  void DrawRankingNotice();
  void DrawResultPanel();
  // One step of the screen's fade (to black, or from it); 1 when done.
  int FadeStep(int bToBlack);
  void FillBackBuffer(uint32_t dwColour);

  // Stage resources (play_resources.cpp).
  int LoadPlayBitmaps();
  int LoadBackgroundBitmaps();
  void LoadCharaBitmaps();
  void LoadSwordImages();
  void LoadEffectImages();
  void BuildShotSheets();
  void ReleasePictures();
  void ReleaseMessageSurfaces();

  // The play screen's parts (play_draw.cpp, play_backgrounds.cpp,
  // play_status_bar.cpp, screen_color.cpp, screen_effects.cpp, sight.cpp).
  // DrawChara is 1 when the character's death has played and it is to go.
  void DrawPlayer(int bStill);
  int DrawChara(cCharaObj& chara, int bStill);
  void ScrollBackgrounds();
  void DrawBackgrounds(DDSURFACEDATA* pTarget, int nLayer);
  void DrawBlocks(DDSURFACEDATA* pTarget, int nLayer);
  void DrawPictures(DDSURFACEDATA* pTarget, int nLayer, int bStill);
  void DrawStatusBar(DDSURFACEDATA* pTarget);
  void DrawTime(DDSURFACEDATA* pTarget, int bTimeSound);
  void DrawScreenColor(int bStill);
  void DrawScreenEffect(int bStill);
  // The lost life of a player whose death has played: the stage again, the
  // continue menu or the end of the game.
  void FinishPlayerDefeat();
  // The limited-sight mask over the screen around the player.
  void DrawSightMask(DDSURFACEDATA* pTarget, const cPlayerObj& player);
  // The characters' distance-condition ranges, where their display
  // settings ask for them (chara_ranges.cpp).
  void DrawCharaRanges(DDSURFACEDATA* pTarget);
  int32_t m_nRangeCounter = 0;  // the ranges' colour shade, 0 to 31
  // Words the screen-effect handlers keep from frame to frame, for the
  // effect number they were started for.
  struct SCREFFECTWORK {
    int32_t nEffect = 0;
    int32_t nShift = 0;      // the shake's offset
    int32_t nDirection = 1;  // the shake's direction
    int32_t nAngle = 0;      // the wave's phase, degrees
    int32_t nFrames = 0;     // the blink's frame count
    int32_t bShown = 1;      // the blink's phase
  };
  SCREFFECTWORK m_ScrWork;

  // Condition lists (all or any, the once latch) and the single conditions.
  int CheckConditionList(const COND_VECTOR& vecConds, int nMode, cGameObj* pChara);
  int EvalCondition(const cCond& cond, cGameObj* pChara);
  // The latched tests of a block cell (for the player), a character, an item
  // (for the player) and a flow about to start.
  int CheckBlockCondition(int32_t nCell);
  int CheckCharaActive(cCharaObj& chara);
  int CheckItemActive(cItemObj& item);
  int CheckFlowCondition(cFlowState& state, cGameObj& chara);

  // Block-grid collision of a character (the player included). Every test
  // returns 0 to go on, 2 when the contact kills the object.
  int GetCellHitType(int32_t nCell, int32_t nGroup);
  int32_t FindEdgeCell(cGameObj& obj, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  int32_t FindFloorCell(cGameObj& obj);
  int32_t FindCornerCell(int32_t nColL, int32_t nRowT, int32_t nColR, int32_t nRowB,
                         int32_t nGroup);
  int TestBlocksX(cGameObj& obj);
  int TestBlocksXBoth(cGameObj& obj);
  int TestWallLeft(cGameObj& obj);
  int TestWallRight(cGameObj& obj);
  int TestBlocksY(cGameObj& obj);
  int TestFloor(cGameObj& obj);
  int TestCeiling(cGameObj& obj);
  int TestFloorAndCeiling(cGameObj& obj);
  void KeepInScreenX(cGameObj& obj);
  int KeepInScreenY(cGameObj& obj);
  int IsPlaceBlocked(cGameObj& obj);
  int OverlapsBlockChara(cGameObj& obj, int32_t nSkipId = -1);

  // Message texts (message_texts.cpp). The message command ("メッセージ")
  // up to its wait: the text it shows, added to the list or put in place of
  // the text with its ID, or null when it shows none (an erase, a close
  // under way). bWait comes back 1 when the command waits on its text: the
  // wait record is then set (a text shown until the stage ends leaves it as
  // it was), the caller runs the wait and then removes the text.
  cTextObj* ShowMessage(cGameObj& chara, const cFlowCmd& cmd, int32_t bMessageShown, int& bWait);
  // The whole command: the text, and when it asks for it the wait on it,
  // after which the text goes.
  void RunMessage(cGameObj& chara, const cFlowCmd& cmd, int32_t bMessageShown);
  // The text taken out of the list, its surface with it.
  void RemoveText(const cTextObj* pText);
  // The extra-life icon rising over the player for 30 frames (of a wait).
  cTextObj& ShowLifeNotice();

  // Waits that stop the play while the screen goes on (wait_loop.cpp).
  // RunWait runs the waiting loop on the pause thread over the wait record
  // as it stands and returns when the wait is over; bPostStart hands the
  // loop its start message first. Once a close is requested no loop runs,
  // and the close, whenever in the wait it came, goes back to the window as
  // the wait is over. The loop's thread procedure takes the scene; it
  // returns 0 at once while a close is requested.
  void RunWait(int bPostStart);
  static unsigned WaitLoopProc(void* pScene);
  // Closes the window again for a close asked for during a wait, once: the
  // window, with no wait running now, ends the program.
  void PassOnClose();
  // One turn's frame of the waiting loop, on the loop's own wait record and
  // input records: 1 when the wait ended in it (nothing is drawn then).
  int WaitFrame(WAITDATA& wait, cSafeVector<cInput>& inputs, cNestedFrames& frames);
  // A wait record's count for one frame of input: 1 when the wait ends.
  int StepWait(WAITDATA& wait, const cInput& input);
  // The game wait: the play stands for nFrames frames.
  void GameWait(int32_t nFrames);

  // A life of the play record taken: 1 when there was one (or lives are
  // unlimited).
  static int TakeLife();
  bool IsReplay() const;

  void Probe(const char* szStep, cGameObj* pObj = nullptr) {
    if (m_pProbe) m_pProbe->OnPlayStep(szStep, pObj);
  }

  int32_t m_nPausedPhase = 0;
  int32_t m_nPausedSubStep = 0;
  int32_t m_nStepResult = 0;  // 0 go on, 1 stage over, 2 player defeated
  cScrollAxis m_ScrollX;
  cScrollAxis m_ScrollY;
  SHOTLIST m_ShotList;
  // Characters (the player among them) and shots of each hit group.
  cSafeVector<std::list<cGameObj*>> m_CharaGroups;
  cSafeVector<std::list<cShotObj*>> m_ShotGroups;
  std::list<cTextObj> m_TextList;
  std::list<cEffectObj> m_EffectList;
  std::list<cPictureObj> m_PictureList;
  cScrEffectRun m_ScrEffect;
  cScreenColor m_ScreenColor;
  WAITDATA m_Wait;
  // CLOSE_ASKED by the window thread when the window closes during a wait;
  // CLOSE_PASSED_ON once the play has closed the window again. Any close
  // stops the play.
  std::atomic<int32_t> m_bCloseRequest{CLOSE_NONE};
  int32_t m_bItemMessage = 0;
  int32_t m_nPlayerCount = 0;
  int32_t m_nStepNo = 0;     // update step within the frame, from 1
  int32_t m_nStepCount = 0;  // update steps since the stage started
  cSafeVector<int32_t> m_HitStepMask;
  int32_t m_nTime = 0;  // seconds of the time limit left
  int32_t m_bNoTimeLimit = 0;
  int32_t m_nPlayFrames = 0;
  int32_t m_nPlayTime = 0;  // hundredths of a second
  int32_t m_nPhaseFrames = 0;
  int32_t m_nWordFrames = 0;
  int32_t m_nSeed = 0;
  int32_t m_bHoldButton = 0;  // buttons are ignored until every one is up
  int32_t m_bCheckDefeats = 0;
  cSafeVector<int32_t> m_StageVar;    // "S" of the expression language
  cSafeVector<uint8_t> m_GroupFlags;  // group signals of this update step
  int32_t m_nCharaSerial = 0;
  int32_t m_nItemSerial = 0;
  int32_t m_nShotSerial = 0;
  int32_t m_bRemoveCharaOut = 0;
  int32_t m_bRemoveBlockCharaOut = 0;
  int32_t m_bRemoveItemOut = 0;
  cSafeVector<int32_t> m_SummonedCells;  // handled once by the place-or-erase summons
  int32_t m_nFrames = 0;                 // play frames since the set-up
  int32_t m_nNextStage = 0;
  std::string m_strNextStage;
  int32_t m_bRankReached = 0;
  cSafeVector<int32_t> m_RankPos;
  cSafeVector<int32_t> m_RankValue;
  std::string m_strRankName;  // the name the stage's results enter the rankings under
  int32_t m_bRankEntered = 0;
  int32_t m_bStatusBar = 0;
  int32_t m_bInAttackCheck = 0;
  // Combat: who hits whom, and what a hit does (its damage rules).
  cHitResolver m_Hits;
  // Block characters as terrain: pushing, riding, crushing.
  cBlockCharaContacts m_BlockCharas;
  // The characters summoned in the current play frame, which are bounded.
  struct SUMMONBUDGET {
    int32_t nFrame = -1;
    int32_t nStartSerial = 0;
    int32_t bReported = 0;
  };
  SUMMONBUDGET m_SummonBudget;
  cSafeVector<cCmd> m_PauseMenu;

  int32_t m_nFps = 0;              // measured frames per second, handed over each frame
  int32_t m_nStageFrameRate = 60;  // above 60 a windowed present does not wait for the blank
  // The game thread's random numbers; seeded at every stage set-up.
  cRandGen m_Rand;
  // The seed of the scene's first set-up is the clock's, kept for the rest.
  int32_t m_bSeeded = 0;
  // Walks over the object lists in progress, kept on their next node when
  // the node they stand on is removed.
  cWalkRegistry<cCharaObj> m_CharaWalks;
  cWalkRegistry<cItemObj> m_ItemWalks;
  cWalkRegistry<cShotObj> m_ShotWalks;
  cPlayProbe* m_pProbe = nullptr;

  // The shots' part of update step nStep: each steps, falls, moves, and
  // goes when its life, its range (in a frame's first step) or a block ends
  // it. Public so that the shots' share of a step can be timed alone.
  void StepShots(int32_t nStep);

 private:
  // One update step; false when it ended the frame.
  bool RunUpdateStep(int32_t nStep);
  bool StepBlockCharas();
  bool StepPlayer(cPlayerObj& player);
  bool StepOtherCharas();
  void RunRemovalPasses();
  // The player dies (sound 8); the stage ends when its death ends it.
  void DefeatPlayer();
  // A death cause of the player: its log lines, then the defeat.
  void KillPlayer(cPlayerObj& player, const char* szCause, bool bSqueezed);
  // An outcome of a check: 1 ends the stage, 2 defeats the player; true
  // when the frame ends.
  bool EndsFrame(int nResult);
  void ResetPlayCounters();
  void BuildPauseMenu();
};

// The play scene while it exists, null otherwise.
extern cPlayScene* g_PlayScene;

// The player: element 0 of the players (the checked access reports an empty
// vector and gives a stand-in).
cPlayerObj& ThePlayer();
