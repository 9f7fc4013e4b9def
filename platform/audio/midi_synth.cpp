// FluidSynth behind one small class. Its own audio driver and file player are
// never used: the sequencer is ours and the mixer owns the only device.
#include "platform/audio/midi_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/mixer.h"

namespace plat::audio {

namespace {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// Loudness against Ogg music at full scale.
constexpr double kSynthGain = 0.4;
// How long reverb and chorus go on after the last voice has ended.
constexpr int kTailSeconds = 2;

std::mutex g_PathLock;
std::string g_strSoundFont;

// Kept to the very end, like the mixer: a player destroyed at exit still
// silences its notes.
std::shared_ptr<cSynth>& Instance() {
  static auto* pSynth = new std::shared_ptr<cSynth>;
  return *pSynth;
}

void QuietLog(int, const char*, void*) {}

}  // namespace

struct cSynth::cImpl {
  fluid_settings_t* pSettings = nullptr;
  fluid_synth_t* pSynth = nullptr;
  std::string strFont;
  std::vector<float> vScratch;
};

std::string GetSoundFontPath() {
  std::lock_guard<std::mutex> lock(g_PathLock);
  if (!g_strSoundFont.empty()) return g_strSoundFont;
  if (const char* env = std::getenv("BRIMVALE_SOUNDFONT"); env && *env) return env;
  return kDefaultSoundFont;
}

void SetSoundFontPath(const std::string& strPath) {
  {
    std::lock_guard<std::mutex> lock(g_PathLock);
    g_strSoundFont = strPath;
  }
  cSynth::Release();
}

std::shared_ptr<cSynth> cSynth::Get(std::string* pError) {
  std::lock_guard<std::recursive_mutex> mix(cMixer::Get().GetLock());
  std::shared_ptr<cSynth>& inst = Instance();
  const int nRate = cMixer::Get().GetRate();
  const std::string strFont = GetSoundFontPath();
  if (inst && inst->m_nRate == nRate && inst->m_pImpl->strFont == strFont) return inst;
  inst.reset();

  std::error_code ec;
  if (!std::filesystem::is_regular_file(strFont, ec)) {
    if (pError) *pError = "soundfont not found: " + strFont;
    return nullptr;
  }
  // FluidSynth talks on stderr about every odd soundfont detail; the game's
  // own logs say what matters.
  fluid_set_log_function(FLUID_WARN, QuietLog, nullptr);
  fluid_set_log_function(FLUID_INFO, QuietLog, nullptr);
  fluid_set_log_function(FLUID_DBG, QuietLog, nullptr);

  std::unique_ptr<cSynth> synth(new cSynth);
  synth->m_pImpl = new cImpl;
  synth->m_nRate = nRate;
  synth->m_pImpl->strFont = strFont;
  cImpl& im = *synth->m_pImpl;
  im.pSettings = new_fluid_settings();
  if (!im.pSettings) {
    if (pError) *pError = "synthesiser settings could not be made";
    return nullptr;
  }
  fluid_settings_setnum(im.pSettings, "synth.sample-rate", nRate);
  fluid_settings_setnum(im.pSettings, "synth.gain", kSynthGain);
  // Bank selection as the common GS sets do it: controller 0 picks the bank.
  fluid_settings_setstr(im.pSettings, "synth.midi-bank-select", "gs");
  fluid_settings_setint(im.pSettings, "synth.cpu-cores", 1);
  im.pSynth = new_fluid_synth(im.pSettings);
  if (!im.pSynth) {
    if (pError) *pError = "synthesiser could not be made";
    return nullptr;
  }
  if (fluid_synth_sfload(im.pSynth, strFont.c_str(), 1) == FLUID_FAILED) {
    if (pError) *pError = "soundfont could not be loaded: " + strFont;
    return nullptr;
  }
  inst = std::move(synth);
  return inst;
}

void cSynth::Release() {
  std::lock_guard<std::recursive_mutex> mix(cMixer::Get().GetLock());
  Instance().reset();
}

cSynth::~cSynth() {
  if (!m_pImpl) return;
  if (m_pImpl->pSynth) delete_fluid_synth(m_pImpl->pSynth);
  if (m_pImpl->pSettings) delete_fluid_settings(m_pImpl->pSettings);
  delete m_pImpl;
}

void cSynth::ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2) {
  fluid_synth_t* s = m_pImpl->pSynth;
  const int nChan = byStatus & 0x0F;
  const int d1 = byData1 & 0x7F;
  const int d2 = byData2 & 0x7F;
  switch (byStatus & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(s, nChan, d1);
      break;
    case 0x90:
      if (d2 == 0)
        fluid_synth_noteoff(s, nChan, d1);
      else
        fluid_synth_noteon(s, nChan, d1, d2);
      break;
    case 0xA0:
      fluid_synth_key_pressure(s, nChan, d1, d2);
      break;
    case 0xB0:
      fluid_synth_cc(s, nChan, d1, d2);
      break;
    case 0xC0:
      fluid_synth_program_change(s, nChan, d1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(s, nChan, d1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(s, nChan, d1 | (d2 << 7));
      break;
    default:
      break;
  }
}

void cSynth::SysEx(const uint8_t* pData, size_t nBytes) {
  if (nBytes == 0 || nBytes > 0x7FFFFFFF) return;
  fluid_synth_sysex(m_pImpl->pSynth, reinterpret_cast<const char*>(pData), static_cast<int>(nBytes),
                    nullptr, nullptr, nullptr, 0);
}

void cSynth::AllNotesOff() {
  for (int ch = 0; ch < 16; ++ch) fluid_synth_all_notes_off(m_pImpl->pSynth, ch);
}

void cSynth::AllSoundsOff() {
  for (int ch = 0; ch < 16; ++ch) fluid_synth_all_sounds_off(m_pImpl->pSynth, ch);
}

void cSynth::SystemReset() {
  fluid_synth_system_reset(m_pImpl->pSynth);
  // A piece cut off while its reverb still rang would otherwise open the
  // next one with that ring: it is played out into nothing.
  std::vector<float>& buf = m_pImpl->vScratch;
  constexpr int kChunk = 1024;
  if (buf.size() < kChunk * 2) buf.resize(kChunk * 2);
  while (m_nTailFrames > 0) {
    fluid_synth_write_float(m_pImpl->pSynth, kChunk, buf.data(), 0, 2, buf.data(), 1, 2);
    m_nTailFrames -= kChunk;
  }
  m_nTailFrames = 0;
}

bool cSynth::IsSounding() {
  return m_nTailFrames > 0 || fluid_synth_get_active_voice_count(m_pImpl->pSynth) > 0;
}

void cSynth::MixInto(float* pOut, int nFrames) {
  if (nFrames <= 0) return;
  std::vector<float>& buf = m_pImpl->vScratch;
  if (buf.size() < static_cast<size_t>(nFrames) * 2) buf.resize(static_cast<size_t>(nFrames) * 2);
  fluid_synth_write_float(m_pImpl->pSynth, nFrames, buf.data(), 0, 2, buf.data(), 1, 2);
  for (size_t i = 0; i < static_cast<size_t>(nFrames) * 2; ++i) pOut[i] += buf[i];
  if (fluid_synth_get_active_voice_count(m_pImpl->pSynth) > 0) {
    m_nTailFrames = static_cast<int64_t>(m_nRate) * kTailSeconds;
  } else {
    m_nTailFrames = std::max<int64_t>(0, m_nTailFrames - nFrames);
  }
}

}  // namespace plat::audio
