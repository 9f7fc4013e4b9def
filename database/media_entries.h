// The media lists of the database: pictures shown over the stage
// (Picture.dat), music pieces (Bgm.dat), sound effects (Sound.dat) and the
// character bitmap sets whose frames may be wider than 32 pixels
// (Bmp_CharaExc.dat). Each entry names a file; none of them opens it.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.h"

class cEdPicture : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nExtra = 0;
  std::string m_strFile;

  cEdPicture();
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
};

// A music piece is stored exactly as a picture; m_strFile is Ogg or MIDI.
class cEdBgm : public cEdPicture {};

class cEdSound : public cRecord {
 public:
  std::string m_strName;
  std::string m_strFile;  // wave file
  int32_t m_nExtra = 0;

  cEdSound();
  void RegisterFields(int32_t nVersion) override;
  void Read(cDataReader& r) override;
};

// Read as a picture is; the frame fields arrived later.
class cEdBmpCharaExc : public cEdPicture {
 public:
  int32_t m_bWideFrame = 0;   // frames are m_nFrameUnits x 32 pixels wide
  int32_t m_nFrameUnits = 2;  // in units of 32 pixels

  cEdBmpCharaExc();
  void RegisterFields(int32_t nVersion) override;
};
