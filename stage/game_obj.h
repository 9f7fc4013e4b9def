// The character base shared by the computer's characters and the player:
// its own copy of its definition with its flows and their run states, its
// targets and the references other characters and shots hold to it, its
// hit boxes, status and physics state, and the virtual operations each
// character class supplies. The physics of one update step (gravity, jumps,
// landing and ceilings, knock-back, HP and SP) are in chara_physics.cpp.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "base/safe_vector.h"
#include "database/effect_run.h"
#include "palette/ed_chara.h"
#include "stage/anim_play.h"
#include "stage/block_grid.h"
#include "stage/flow_state.h"
#include "stage/obj_root.h"

class cGameObj;
class cItemObj;
class cPlayScene;
class cShotObj;
struct DDSURFACEDATA;
struct SPRITEDATA;

// Who points at a character: a target slot (0..3) or the parent link (4) of
// another character.
struct OBJREF {
  cGameObj* pChara = nullptr;
  int32_t nSlot = 0;
};
inline bool IsSamePairRef(const OBJREF& a, const OBJREF& b) {
  return a.pChara == b.pChara && a.nSlot == b.nSlot;
}
constexpr int32_t REF_PARENT = 4;

// A shot that points at a character: as its owner (0) or its shooter (4).
struct SHOTREF {
  cShotObj* pShot = nullptr;
  int32_t nKind = 0;
};

// A box tested against other characters, shots or items: its rectangle and
// its offset and size, scaled and at scale 1.
struct HITBOX {
  double dLeft = 0;
  double dTop = 0;
  double dRight = 0;
  double dBottom = 0;
  int32_t nOffX = 0;
  int32_t nOffY = 0;
  int32_t nWidth = 0;
  int32_t nHeight = 0;
  int32_t nBaseOffX = 0;
  int32_t nBaseOffY = 0;
  int32_t nBaseWidth = 0;
  int32_t nBaseHeight = 0;

  // Offset and size, scaled and at scale 1 alike.
  void Set(int32_t nX, int32_t nY, int32_t nW, int32_t nH) {
    nOffX = nBaseOffX = nX;
    nOffY = nBaseOffY = nY;
    nWidth = nBaseWidth = nW;
    nHeight = nBaseHeight = nH;
  }
  void Scale(int32_t s) {
    nOffX = s * nBaseOffX;
    nOffY = s * nBaseOffY;
    nWidth = s * nBaseWidth;
    nHeight = s * nBaseHeight;
  }
  // The rectangle from a truncated position.
  void PlaceX(int32_t x) {
    dLeft = static_cast<double>(x) + nOffX;
    dRight = dLeft + nWidth - 1;
  }
  void PlaceY(int32_t y) {
    dTop = static_cast<double>(y) + nOffY;
    dBottom = dTop + nHeight - 1;
  }
};

// An HP or SP gauge shown over a character after a change.
struct GAUGE {
  int32_t nFrames = 0;       // frames left to show it
  double dStep = 0;          // the change still shown, gauge pixels
  double dStepPerFrame = 0;  // dStep / 60
  int32_t nValue = 0;        // the value after the change, 0..50 pixels
};

// An attacker whose hits do not count for a while.
struct IMMUNITY {
  int32_t nId = 0;     // the attacker's m_nId
  int32_t nSteps = 0;  // update steps left
};

// Four doubles of a rectangle: x, y, right, bottom.
struct RECTD {
  double dX = 0;
  double dY = 0;
  double dRight = 0;
  double dBottom = 0;
};

constexpr int kTargetSlots = 4;
constexpr int kFlowGroups = 27;
constexpr int kCharaVars = 9;

class cGameObj : public cObjRoot {
 public:
  cGameObj();
  cGameObj(const cGameObj& src);
  cGameObj& operator=(const cGameObj& src);
  ~cGameObj() override;

  // Slots 4 and 7 to 12 of the base, then the character slots 13 to 20.
  void OnSizeChange(int32_t nNew, int32_t nOld) override;
  void SetCenter(double x, double y) override;
  void WarpCenter(double x, double y, cCmdState& state) override;
  void SetCenterX(double x) override;
  void WarpCenterX(double x, cCmdState& state) override;
  void SetCenterY(double y) override;
  void WarpCenterY(double y, cCmdState& state) override;
  virtual void AssignFrom(const cGameObj& src);           // 13: every character field
  virtual cItemObj* GetCarriedItem() { return nullptr; }  // 14
  virtual void OnMovedX() {}                              // 15
  virtual void OnMovedY() {}                              // 16
  virtual int MoveX() { return 0; }                       // 17
  virtual int MoveY() { return 0; }                       // 18
  virtual int RunFlows(int /*bDeathOnly*/) { return 0; }  // 19
  // A jump command's step; the run it belongs to holds its key conditions.
  virtual void Jump(cCmdState& /*state*/, const cFlowState* /*pRun*/) {}  // 20
  // The character drawing; the still flag draws without advancing.
  virtual void Draw(DDSURFACEDATA* pTarget, int bStill);
  // A dead character's death effect; 1 when it has played.
  int DrawDeath(DDSURFACEDATA* pTarget, int bStill);
  // Advancing without drawing, for characters that are not seen: the cell
  // to show, and 1 when the character effect ended.
  int32_t StepAnims(int bStill);
  int StepCharaEffect(int bStill);
  void DrawHpGauge(DDSURFACEDATA* pTarget);
  void DrawSpGauge(DDSURFACEDATA* pTarget);
  // The cell shift of the character's graphic (its definition's shift and
  // the animation set's shifts for its state), and the sprite's colour.
  int32_t GetCellShift(SPRITEDATA& Sprite);
  // The character's sprite for an animation cell; false without a surface.
  bool MakeSprite(int32_t nCell, SPRITEDATA& Sprite);
  // The handler of the current character effect: draws (bDraw, with a
  // sprite) and advances (unless still); 1 when the effect ended.
  int RunCharaEffect(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  // The character-effect handlers, one per kind.
  int DrawEffectNone(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectBurst(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectSplitH(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectSplitV(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectWaveH(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectWaveV(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectBlink(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectRotateA(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectRotateB(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectRotateDepth(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectCircle(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectZoom(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectLens(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectColour(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectTranslucent(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectMosaic(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  int DrawEffectBlur(DDSURFACEDATA* pTarget, SPRITEDATA* pSprite, int bStill, int bDraw);
  // The sprite's cell at (0, 0) of a work surface, without the colour key:
  // from its second surface, stretched when scaled; or unscaled from its
  // first surface.
  void CopyToWork(DDSURFACEDATA* pWork, const SPRITEDATA& Sprite);
  void CopyToWorkTinted(DDSURFACEDATA* pWork, const SPRITEDATA& Sprite);
  // The sprite is drawn scaled: the giant factor differs from its own scale.
  bool IsSpriteScaled(const SPRITEDATA& Sprite) const;

  // The character's scale: its definition's giant factor, read as signed.
  int32_t GetScale() const { return static_cast<int8_t>(m_Def.m_cGiant); }
  bool IsBlockChara() const { return m_Def.m_cBlockLike != 0; }

  // Placement on a grid cell (the margin not counted).
  void SetCellX(int32_t nColumn);
  void SetCellY(int32_t nRow);
  void SetCell(int32_t nColumn, int32_t nRow);
  // The body box from a size, bottom-aligned in the cell or centred.
  void SetHitOffsets(int bBottom, int32_t nWidth, int32_t nHeight);

  // References between characters.
  void SetParent(cGameObj* pParent);
  // Target slot n (0..3) takes pTarget; with bReplace (or a target) the old
  // one lets go first, so replacing with nothing empties the slot and
  // keeping with nothing leaves it. 1 when the slot exists.
  int SetTarget(int32_t nSlot, cGameObj* pTarget, int bReplace);
  void ReleaseRefs();
  void AddRefBy(cGameObj* pChara, int32_t nSlot);
  void RemoveRefBy(cGameObj* pChara, int32_t nSlot);

  // The run-time reset of a character before play, from its definition
  // (or keeping its own copy when null).
  void ResetFlowState(const cEdChara* pDef, double x, double y, int16_t sClone);
  // The basic animations of animation set s.
  void SetAnimSet(int16_t s, int bForced);

  // Flows (flow_engine.cpp).
  void FireFlows(int8_t cKind, cGameObj* pPartner, int8_t cKey);
  void FireTrigger(int8_t cKind);
  void ClearFlowFrameFlags();
  int InsertFlows(FLOW_VECTOR& vecSource, bool bInsert, int nIndex);
  void RelinkFlowStates();
  void RemoveFlow(int nIndex);
  void StartFlowAnims();
  // The animations a flow run started (tagged with its serial): removed,
  // held still, or let run on again.
  void RemoveFlowAnims(int32_t nSerial);
  void PauseFlowAnims(int32_t nSerial);
  void ResumeFlowAnims(int32_t nSerial);
  // Steps the running flows of one RunFlows (the loop both classes share);
  // 1 when RunFlows is to end at once: HP gone, or (bVanishEnds) vanished.
  int StepFlowStates(cPlayScene& scene, int bDeathOnly, bool bVanishEnds);
  // The end of RunFlows: removals asked for, groups released.
  void FinishFlowStep();

  // Defeat (defeat.cpp): immunities counted down once per update step; the
  // death (1 when the stage ends on the way).
  void StepHitImmunity();
  int Die();

  // Physics (chara_physics.cpp).
  void ApplyGravity();
  double JumpSpeedFromHeight(double dHeight) const;
  double JumpSpeedFromHbl(int8_t cHeight) const;
  int32_t StepsToApex(double dSpeed) const;
  int IsOnGround();
  void LandOnBlock();
  void HitCeiling();
  void StopFall(int bPushedAside);
  void ClearBlockContacts();
  void SavePosition();
  void RestorePosition();
  void ApplyImpact(int8_t cImpact, double dx, double dy);
  void ImpactFromBody(const cGameObj& attacker);
  // A shot's knock: a swing pushes along its facing, a flying shot along
  // its speeds (shot_impact.cpp).
  void ImpactFromShot(const cShotObj& shot);
  void ApplyKnockY();
  void DecayKnockX();
  void DecayKnockY();
  int ChangeHP(int32_t nAmount, int bForced, int bGauge);
  void ChangeSP(int32_t nAmount, int bGauge);
  void StartHpGauge(int32_t nAmount);
  void StartSpGauge(int32_t nAmount);
  // The horizontal and vertical moves of a computer's character (its slots
  // 17 and 18); the player has its own.
  int MoveCharaX();
  int MoveCharaY();

  int32_t m_nIsTrialCopy = 0;
  std::vector<cGameObj*> m_vecTargets;  // target slots 1..4
  cGameObj* m_pParent = nullptr;
  std::vector<OBJREF> m_vecRefBy;
  std::vector<SHOTREF> m_vecRefBy2;
  int32_t m_nParentCredit = 0;
  int8_t m_cParentKey = 0;
  cEdChara m_Def;
  int32_t m_nFlowSerial = 0;
  cSafeVector<cFlowState> m_vecFlowStates;
  cSafeVector<int8_t> m_vecRunGroups;
  cSafeVector<int8_t> m_vecStopGroups;
  cSafeVector<int8_t> m_vecStartGroups;
  int32_t m_nGroupRelease = 0;
  int32_t m_nFlowRemoval = 0;
  double m_dHomeX = 0;
  double m_dHomeY = 0;
  int32_t m_nMovedByCmd = 0;
  double m_dKnockX = 0;
  double m_dKnockY = 0;
  int32_t m_nKnocked = 0;
  double m_dPrevKnockY = 0;
  int32_t m_nHeld = 0;
  int32_t m_nWallSide = 0;
  int32_t m_nFalling = 0;
  int32_t m_nJumpCut = 0;
  int32_t m_nJumping = 0;
  int32_t m_nJumpBlocked = 0;
  int32_t m_nNoFloorSteps = 0;
  // Cells of the block grid (NO_CELL none): under the feet this step, landed
  // on last, and landed on as the previous frame ended.
  int32_t m_pFootCell = -1;
  int32_t m_pLandCell = -1;
  int32_t m_pPrevLandCell = -1;
  int32_t m_nCrushGrace = 0;
  int32_t m_nPinX = 0;
  int32_t m_nPinY = 0;
  int32_t m_nPinLeft = 0;
  int32_t m_nPinTop = 0;
  int32_t m_nDying = 0;
  int32_t m_nDeathFrames = 0;
  int32_t m_nTouchL = 0;
  int32_t m_nTouchR = 0;
  int32_t m_nTouchT = 0;
  int32_t m_nTouchB = 0;
  int32_t m_nPushedAside = 0;
  int32_t m_nRiding = 0;
  int32_t m_nRideId = 0;
  RECTD m_RideSnap;
  RECTD m_SavedPos;
  int32_t m_nHP = 0;
  GAUGE m_HpGauge;
  int32_t m_nSP = 0;
  GAUGE m_SpGauge;
  cSafeVector<int32_t> m_vecCharaVar;
  int32_t m_nInvincible = 0;
  std::list<IMMUNITY> m_ImmunityList;
  std::list<cAnimPlay> m_AnimList;
  cCharaEffectRun m_CharaEffect;
  int32_t m_nVanish = 0;
  int32_t m_nSightRange = 0;
  HITBOX m_BodyBox;
  HITBOX m_ShotBox;
  // The two words of the derived class (the computer's characters: in range
  // and acting this step; the player: its input record's number and the
  // steps its jump key has been held) are members of those classes.
};

// The player or the character with this id (the players first), or null.
cGameObj* FindObjEntry(int32_t nId);
