// Sword types (SwordType.dat): the images and hit areas of a swing, frame by
// frame; and effects (Effect.dat): short animations cut from a strip of equal
// cells. Both keep their frames as a vector after the stored fields.
#pragma once

#include <cstdint>
#include <string>

#include "base/safe_vector.h"
#include "records/record.h"

// Where a swing's image sits against the wielder.
enum eSwordPlace { SWORD_PLACE_FRONT, SWORD_PLACE_BACK, SWORD_PLACE_ABOVE, SWORD_PLACE_BELOW };

// Names of the placements 0 to 3, closed by an empty text.
extern const char* const SwordPlaceLabels[5];

class cEdSwordFrame : public cRecord {
 public:
  int32_t m_nOffsetX = 0;  // pixels before scaling
  int32_t m_nOffsetY = 0;
  int32_t m_bFlipX = 1;  // facing right subtracts the offset instead of adding it
  int32_t m_bFlipY = 0;
  int32_t m_nPlace = SWORD_PLACE_FRONT;
  int32_t m_nSrcX = 0;  // image rectangle in the sword bitmap, also the hit area
  int32_t m_nSrcY = 0;
  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_nTime = 0;  // tenths of a second

  cEdSwordFrame();
  void RegisterFields(int32_t nVersion) override;
};

class cEdSwordType : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nExtra = 0;
  std::string m_strFileRight;  // bitmap while the wielder faces right
  std::string m_strFileLeft;
  cSafeVector<cEdSwordFrame> m_vecFrame;

  // One frame of 1 tenth.
  cEdSwordType();
  void Reset();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;
};

class cEdEffectFrame : public cRecord {
 public:
  int32_t m_nCell = 0;  // cell of the strip
  int32_t m_nTime = 1;  // tenths of a second

  cEdEffectFrame();
  void RegisterFields(int32_t nVersion) override;
};

class cEdEffect : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nExtra = 0;
  std::string m_strFile;  // cell k spans x from k * m_nCellW, y from 0
  int32_t m_nCellW = 32;
  int32_t m_nCellH = 32;
  int32_t m_bScale = 0;  // drawn enlarged with the object it is attached to
  cSafeVector<cEdEffectFrame> m_vecFrame;

  // 32 x 32 cells and one frame {cell 0, 1 tenth}.
  cEdEffect();
  void Reset();

  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
  void Write(cDataWriter& w) override;
};
