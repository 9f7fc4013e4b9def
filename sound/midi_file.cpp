// Reading a standard MIDI file into a merged single-track image. Every read
// is bounded by the file and every track by its own chunk, so a lying length
// or a missing end-of-track only ends that track early.
#include "sound/midi_file.h"

#include <algorithm>
#include <queue>
#include <span>

#include "base/logs.h"
#include "platform/io/byte_reader.h"
#include "sound/sound_file.h"

namespace {

// Music files far above this are not music.
constexpr size_t kMaxMidiBytes = 64u << 20;
constexpr uint32_t kMaxVarLen = 0x0FFFFFFF;

using plat::io::cByteReader;

// A variable-length value (at most 4 bytes); false, and r failed, when it
// does not end within them or within the bytes left.
bool ReadVarLen(cByteReader& r, uint32_t& nValue) {
  uint32_t v = 0;
  for (int i = 0; i < 4 && !r.AtEnd(); ++i) {
    const uint8_t by = r.U8();
    v = (v << 7) | (by & 0x7F);
    if (!(by & 0x80)) {
      nValue = v;
      return true;
    }
  }
  r.Fail();
  return false;
}

// Moves file past the next chunk's header and returns a reader over its
// body: the lesser of its stored length and what the file holds. bIsTrack
// tells whether it is a track chunk.
cByteReader NextChunk(cByteReader& file, bool& bIsTrack) {
  bIsTrack = file.Match("MTrk");
  if (!bIsTrack) file.Skip(4);
  return file.SubAtMost(file.U32Be());
}

// One event as read: its time in ticks from the start and where its bytes
// lie in the file (the status byte is kept apart, since running status
// leaves it out of the file).
struct EVENT {
  uint64_t nTime = 0;
  uint8_t byStatus = 0;
  uint8_t byType = 0;    // meta events: the type byte
  size_t nData = 0;      // offset of the data in the file
  uint32_t nLength = 0;  // data bytes (for sysex and meta: after the count)
};

enum class PARSE { Ok, ZeroTempo };

PARSE ParseTracks(const uint8_t* b, size_t nSize, std::vector<std::vector<EVENT>>& vTracks) {
  cByteReader file(b, nSize);
  file.Seek(10);
  const unsigned nTracks = file.U16Be();
  file.Skip(2);  // the division
  uint64_t nLatest = 0;
  while (vTracks.size() < nTracks && file.Left() >= 8) {
    bool bTrack = false;
    const size_t nBase = file.Position() + 8;  // of the chunk's body in the file
    cByteReader chunk = NextChunk(file, bTrack);
    if (!bTrack) continue;  // chunks of other kinds are skipped
    vTracks.emplace_back();
    std::vector<EVENT>& vEvents = vTracks.back();
    uint64_t nTime = 0;
    uint8_t byRunning = 0;
    while (!chunk.AtEnd()) {
      uint32_t nDelta = 0;
      if (!ReadVarLen(chunk, nDelta) || chunk.AtEnd()) break;
      nTime += nDelta;
      EVENT ev;
      ev.nTime = nTime;
      if (chunk.PeekU8() & 0x80) {
        ev.byStatus = chunk.U8();
      } else if (byRunning != 0) {
        ev.byStatus = byRunning;
      } else {
        break;  // data without any status before it: the track is unreadable from here
      }
      const uint8_t s = ev.byStatus;
      if (s == 0xF0 || s == 0xF7 || s == 0xFF) {
        if (s == 0xFF) {
          if (chunk.AtEnd()) break;
          ev.byType = chunk.U8();
        }
        uint32_t nLen = 0;
        if (!ReadVarLen(chunk, nLen) || nLen > chunk.Left()) break;
        ev.nData = nBase + chunk.Position();
        ev.nLength = nLen;
        const std::span<const uint8_t> data = chunk.Bytes(nLen);
        if (s == 0xFF && ev.byType == 0x2F) break;  // end of track
        if (s == 0xFF && ev.byType == 0x51 && nLen >= 3 && (data[0] | data[1] | data[2]) == 0)
          return PARSE::ZeroTempo;
      } else {
        const uint32_t nLen = (s >= 0xC0 && s <= 0xDF) ? 1 : 2;
        if (nLen > chunk.Left()) break;
        ev.nData = nBase + chunk.Position();
        ev.nLength = nLen;
        chunk.Skip(nLen);
        // Only channel messages carry on as running status: a meta event or
        // a sysex between them does not break a run.
        if (s < 0xF0) byRunning = s;
      }
      vEvents.push_back(ev);
      nLatest = std::max(nLatest, nTime);
    }
  }
  // One end of track for the whole piece, after everything else.
  if (vTracks.empty()) vTracks.emplace_back();
  EVENT eot;
  eot.nTime = nLatest;
  eot.byStatus = 0xFF;
  eot.byType = 0x2F;
  vTracks.back().push_back(eot);
  return PARSE::Ok;
}

// Every event once, in time order; on equal times the lower track first.
std::vector<EVENT> MergeTracks(const std::vector<std::vector<EVENT>>& vTracks) {
  using HEAD = std::pair<uint64_t, size_t>;  // time, track
  std::priority_queue<HEAD, std::vector<HEAD>, std::greater<HEAD>> heads;
  std::vector<size_t> vNext(vTracks.size(), 0);
  size_t nTotal = 0;
  for (size_t t = 0; t < vTracks.size(); ++t) {
    nTotal += vTracks[t].size();
    if (!vTracks[t].empty()) heads.push({vTracks[t][0].nTime, t});
  }
  std::vector<EVENT> vOut;
  vOut.reserve(nTotal);
  while (!heads.empty()) {
    const size_t t = heads.top().second;
    heads.pop();
    vOut.push_back(vTracks[t][vNext[t]++]);
    if (vNext[t] < vTracks[t].size()) heads.push({vTracks[t][vNext[t]].nTime, t});
  }
  return vOut;
}

void WriteImage(const uint8_t* b, const std::vector<EVENT>& vEvents, std::vector<uint8_t>& img) {
  static const uint8_t kHeader[14] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0};
  img.assign(kHeader, kHeader + 14);
  img[12] = b[12];
  img[13] = b[13];
  const uint8_t kTrack[8] = {'M', 'T', 'r', 'k', 0, 0, 0, 0};
  img.insert(img.end(), kTrack, kTrack + 8);
  uint64_t nPrev = 0;
  for (const EVENT& ev : vEvents) {
    // A gap longer than a delta can say is shortened to the longest one.
    WriteVarLen(img, static_cast<uint32_t>(std::min<uint64_t>(ev.nTime - nPrev, kMaxVarLen)));
    nPrev = ev.nTime;
    img.push_back(ev.byStatus);
    if (ev.byStatus == 0xFF) img.push_back(ev.byType);
    if (ev.byStatus == 0xF0 || ev.byStatus == 0xF7 || ev.byStatus == 0xFF)
      WriteVarLen(img, std::min(ev.nLength, kMaxVarLen));
    const uint32_t nCopy = std::min(ev.nLength, kMaxVarLen);
    if (nCopy) img.insert(img.end(), b + ev.nData, b + ev.nData + nCopy);
  }
  const uint32_t nLength = static_cast<uint32_t>(img.size() - kMidiImageFirstEvent);
  img[18] = static_cast<uint8_t>(nLength >> 24);
  img[19] = static_cast<uint8_t>(nLength >> 16);
  img[20] = static_cast<uint8_t>(nLength >> 8);
  img[21] = static_cast<uint8_t>(nLength);
}

}  // namespace

int ReadVarLen(const uint8_t* p, size_t nLeft, uint32_t* pValue) {
  uint32_t nValue = 0;
  for (int i = 0; i < 4; ++i) {
    if (static_cast<size_t>(i) >= nLeft) return 0;
    nValue = (nValue << 7) | (p[i] & 0x7F);
    if (!(p[i] & 0x80)) {
      *pValue = nValue;
      return i + 1;
    }
  }
  return 0;
}

int WriteVarLen(std::vector<uint8_t>& vOut, uint32_t nValue) {
  if (nValue > kMaxVarLen) return 0;
  int nBytes = 1;
  while (nBytes < 4 && (nValue >> (7 * nBytes)) != 0) ++nBytes;
  for (int i = nBytes - 1; i >= 0; --i) {
    const uint8_t by = static_cast<uint8_t>((nValue >> (7 * i)) & 0x7F);
    vOut.push_back(i > 0 ? static_cast<uint8_t>(by | 0x80) : by);
  }
  return nBytes;
}

cMidiData::cMidiData(const char* szPath) { Create(szPath); }

cMidiData::~cMidiData() = default;

void cMidiData::Create(const char* szPath) {
  m_strFileName = szPath ? szPath : "";
  m_vImage.clear();
  std::vector<uint8_t> vFile;
  if (!ReadSoundFile(m_strFileName, vFile, kMaxMidiBytes)) {
    ReportFDebug("Midi %s Create ファイルが開けません", m_strFileName.c_str());
    return;
  }
  Init(vFile.data(), vFile.size());
}

bool cMidiData::Init(const uint8_t* b, size_t nSize) {
  m_vImage.clear();
  const char* szName = m_strFileName.c_str();
  cByteReader head(b, nSize);
  if (!head.Match("MThd")) {
    ReportFDebug("Midi %s Init 標準MIDIでない(4)", szName);
    return false;
  }
  if (head.U32Be() != 6) {
    ReportFDebug("Midi %s Init 標準MIDIでない(6)", szName);
    return false;
  }
  if (head.Left() >= 2) {
    const unsigned nFormat = head.U16Be();
    if (nFormat == 2) {
      ReportFDebug("Midi %s Init 対応フォーマットが2でない", szName);
      return false;
    }
    if (nFormat > 2) {
      ReportFDebug("Midi %s Init 対応フォーマットが0または1でない", szName);
      return false;
    }
  }
  // Chunks of other kinds may come before the first track; without any
  // track chunk the file is not one.
  bool bTrack = false;
  cByteReader chunks(b, nSize);
  chunks.Seek(14);
  while (chunks.Left() >= 8 && !bTrack) NextChunk(chunks, bTrack);
  if (!bTrack) {
    ReportFDebug("Midi %s Init 標準MIDIでない(4)", szName);
    return false;
  }
  // A division of 0 (or a frame-based one with 0 frames or ticks) gives no
  // time to play the events at.
  head.Seek(12);
  const uint16_t nDivision = head.U16Be();
  if (nDivision == 0 || ((nDivision & 0x8000) && (nDivision & 0xFF) == 0)) {
    ReportFDebug("Midi %s Init 分解能が0", szName);
    return false;
  }
  std::vector<std::vector<EVENT>> vTracks;
  if (ParseTracks(b, nSize, vTracks) == PARSE::ZeroTempo) {
    ReportFDebug("Midi %s Init テンポが0", szName);
    return false;
  }
  WriteImage(b, MergeTracks(vTracks), m_vImage);
  return true;
}
