// The music manager.
#include "sound/bgm.h"

#include <cstring>

#include "base/global_order.h"
#include "base/logs.h"

std::string g_BgmOggNames[kBgmTrackCount] = {"bgm\\Title.ogg", "bgm\\WorldMap.ogg",
                                             "bgm\\Challenge.ogg", "bgm\\Option.ogg",
                                             "bgm\\Stage.ogg"};
std::string g_BgmMidNames[kBgmTrackCount] = {"bgm\\Title.mid", "bgm\\WorldMap.mid",
                                             "bgm\\Challenge.mid", "bgm\\Option.mid",
                                             "bgm\\Stage.mid"};

GLOBAL_OBJECT(GLOBAL_BGM) cBgm g_Bgm;

namespace {

// The text after the last '.', or false when there is none.
bool GetExtensionOf(const std::string& strPath, std::string& strExt) {
  const size_t nDot = strPath.rfind('.');
  if (nDot == std::string::npos) return false;
  strExt = strPath.substr(nDot + 1);
  return true;
}

}  // namespace

cBgm::~cBgm() { DeleteMidi(); }

void cBgm::DeleteMidi() {
  for (cMidiStream*& p : m_vMidi) {
    delete p;
    p = nullptr;
  }
}

int cBgm::Init(int nPlayers, std::string* pOggNames, std::string* pMidNames, int nTracks) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  m_bActive = 1;
  DeleteMidi();
  m_vMidi.clear();
  m_vMidiArg.clear();
  if (!m_Vox.Init()) {
    DebugLogF("m_Vox.Init失敗！");
    m_bActive = 0;
    return 0;
  }
  SetPlayerCount(nPlayers);
  m_pOggNames = pOggNames;
  m_pMidNames = pMidNames;
  m_vTrackKind.assign(static_cast<size_t>(nTracks > 0 ? nTracks : 0), BGM_KIND_UNDECIDED);
  return 1;
}

int cBgm::SetPlayerCount(int n) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  const size_t nCount = static_cast<size_t>(n > 0 ? n : 0);
  DeleteMidi();
  m_vMidi.assign(nCount, nullptr);
  m_vMidiArg.assign(nCount, 0);
  m_vPlayerState.assign(nCount, BGM_SILENT);
  m_Vox.Create(static_cast<int>(nCount));
  return 1;
}

int cBgm::SetTrack(int nTrack, const char* szPath) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (!m_bActive || !m_pOggNames || !m_pMidNames) return 0;
  if (nTrack < 0 || nTrack >= static_cast<int>(m_vTrackKind.size())) return 0;
  const std::string strPath = szPath ? szPath : "";
  std::string& strOgg = m_pOggNames[nTrack];
  std::string& strMid = m_pMidNames[nTrack];
  std::string strExt;
  if (!GetExtensionOf(strPath, strExt)) {
    strOgg.clear();
    strMid.clear();
    m_vTrackKind.At(nTrack) = BGM_KIND_UNDECIDED;
    return 0;
  }
  // Exactly these spellings count; "Mid" or "Ogg" leave the kind undecided.
  if (strExt == "mid" || strExt == "MID") {
    strMid = strPath.substr(0, strPath.size() - strExt.size()) + "mid";
    m_vTrackKind.At(nTrack) = BGM_KIND_MIDI;
    return 1;
  }
  if (strExt == "ogg" || strExt == "OGG") {
    strOgg = strPath;
    m_vTrackKind.At(nTrack) = BGM_KIND_OGG;
    return 1;
  }
  strOgg = strPath;
  strMid = strPath;
  m_vTrackKind.At(nTrack) = BGM_KIND_UNDECIDED;
  return 0;
}

int cBgm::Play(int nPlayer, int nTrack, int bLoop, int bMidiStop, int bForce) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (!m_bActive || (nTrack == m_nCurTrack && !bForce)) return 1;
  if (nTrack < 0 || nTrack >= static_cast<int>(m_vTrackKind.size()) || !m_pOggNames || !m_pMidNames)
    return 0;
  m_nCurTrack = nTrack;
  const char* szOgg = m_pOggNames[nTrack].c_str();
  const char* szMid = m_pMidNames[nTrack].c_str();
  switch (m_vTrackKind.At(nTrack)) {
    case BGM_KIND_UNDECIDED:
      if (m_Vox.Play(nPlayer, szOgg, bLoop)) {
        m_vPlayerState.At(nPlayer) = BGM_OGG_PLAYING;
        MidiStop(bMidiStop);
        return 1;
      }
      if (MidiPlay(nPlayer, szMid, bLoop)) {
        m_vPlayerState.At(nPlayer) = BGM_MIDI_PLAYING;
        m_Vox.Stop();
        return 1;
      }
      break;
    case BGM_KIND_OGG:
      if (m_Vox.Play(nPlayer, szOgg, bLoop)) {
        m_vPlayerState.At(nPlayer) = BGM_OGG_PLAYING;
        MidiStop(0);
        return 1;
      }
      break;
    case BGM_KIND_MIDI:
      if (MidiPlay(nPlayer, szMid, bLoop)) {
        m_vPlayerState.At(nPlayer) = BGM_MIDI_PLAYING;
        m_Vox.Stop();
        return 1;
      }
      break;
    default:
      break;
  }
  // Neither player could play it: the track is forgotten and all is quiet.
  m_vPlayerState.At(nPlayer) = BGM_SILENT;
  m_nCurTrack = -1;
  m_Vox.Stop();
  MidiStop(0);
  return 0;
}

void cBgm::Stop() {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  if (!m_bActive) return;
  MidiStop(0);
  m_Vox.Stop();
}

void cBgm::Release() {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  m_Vox.Release();
  DeleteMidi();
  m_vMidi.clear();
  m_vMidiArg.clear();
  m_vTrackKind.clear();
  m_vPlayerState.clear();
  // Nothing plays any more, so no track is current: a manager made again
  // later starts any track it is asked for.
  m_nCurTrack = -1;
  m_bActive = 0;
}

int cBgm::MidiStop(int bPause) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  for (cMidiStream* p : m_vMidi) {
    if (p) p->Stop(bPause);
  }
  return 1;
}

int cBgm::MidiPlay(int nPlayer, const char* szPath, int bLoop) {
  std::lock_guard<std::recursive_mutex> lock(m_Lock);
  MidiStop(1);
  DeleteMidi();
  std::string strExt;
  if (!szPath || !GetExtensionOf(szPath, strExt) || strExt != "mid") return 0;
  if (nPlayer < 0 || nPlayer >= static_cast<int>(m_vMidi.size())) return 0;
  cMidiStream* pStream = new cMidiStream(szPath);
  m_vMidi.At(nPlayer) = pStream;
  if (!pStream->HasImage()) return 0;
  pStream->Play(0, 0, bLoop);
  return 1;
}
