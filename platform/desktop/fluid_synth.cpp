// FluidSynth behind the synthesiser interface.
#include "platform/desktop/fluid_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <vector>

namespace plat::desktop {

namespace {

// Debian's soundfonts, the one the game is tuned to first: TimGM6mb
// (timgm6mb-soundfont), then whichever General MIDI soundfont the system
// names as its default (fluid-soundfont-gm, or TimGM6mb again).
const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                   "/usr/share/sounds/sf2/default-GM.sf2"};
// Loudness against Ogg music at full scale.
constexpr double kSynthGain = 0.4;
// How long reverb and chorus go on after the last voice has ended.
constexpr int kTailSeconds = 2;

std::mutex g_PathLock;
std::string g_strSoundFont;

void QuietLog(int, const char*, void*) {}

class cFluidSynth : public audio::cSynth {
 public:
  explicit cFluidSynth(int nRate) : cSynth(nRate) {}
  ~cFluidSynth() override;

  // False, with the reason, when FluidSynth or the soundfont fails.
  bool Load(const std::string& strFont, std::string& strError);

  void ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2) override;
  void SysEx(const uint8_t* pData, size_t nBytes) override;
  void AllNotesOff() override;
  void AllSoundsOff() override;
  void SystemReset() override;
  bool IsSounding() override;
  void MixInto(float* pOut, int nFrames) override;

 private:
  fluid_settings_t* m_pSettings = nullptr;
  fluid_synth_t* m_pSynth = nullptr;
  std::vector<float> m_vScratch;
  int64_t m_nTailFrames = 0;  // effect tail left to render after the last voice
};

bool cFluidSynth::Load(const std::string& strFont, std::string& strError) {
  // FluidSynth talks on stderr about every odd soundfont detail; the game's
  // own logs say what matters.
  fluid_set_log_function(FLUID_WARN, QuietLog, nullptr);
  fluid_set_log_function(FLUID_INFO, QuietLog, nullptr);
  fluid_set_log_function(FLUID_DBG, QuietLog, nullptr);

  m_pSettings = new_fluid_settings();
  if (!m_pSettings) {
    strError = "synthesiser settings could not be made";
    return false;
  }
  fluid_settings_setnum(m_pSettings, "synth.sample-rate", GetRate());
  fluid_settings_setnum(m_pSettings, "synth.gain", kSynthGain);
  // Bank selection as the common GS sets do it: controller 0 picks the bank.
  fluid_settings_setstr(m_pSettings, "synth.midi-bank-select", "gs");
  fluid_settings_setint(m_pSettings, "synth.cpu-cores", 1);
  m_pSynth = new_fluid_synth(m_pSettings);
  if (!m_pSynth) {
    strError = "synthesiser could not be made";
    return false;
  }
  if (fluid_synth_sfload(m_pSynth, strFont.c_str(), 1) == FLUID_FAILED) {
    strError = "soundfont could not be loaded: " + strFont;
    return false;
  }
  return true;
}

cFluidSynth::~cFluidSynth() {
  if (m_pSynth) delete_fluid_synth(m_pSynth);
  if (m_pSettings) delete_fluid_settings(m_pSettings);
}

void cFluidSynth::ShortMessage(uint8_t byStatus, uint8_t byData1, uint8_t byData2) {
  fluid_synth_t* s = m_pSynth;
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

void cFluidSynth::SysEx(const uint8_t* pData, size_t nBytes) {
  if (nBytes == 0 || nBytes > 0x7FFFFFFF) return;
  fluid_synth_sysex(m_pSynth, reinterpret_cast<const char*>(pData), static_cast<int>(nBytes),
                    nullptr, nullptr, nullptr, 0);
}

void cFluidSynth::AllNotesOff() {
  for (int ch = 0; ch < 16; ++ch) fluid_synth_all_notes_off(m_pSynth, ch);
}

void cFluidSynth::AllSoundsOff() {
  for (int ch = 0; ch < 16; ++ch) fluid_synth_all_sounds_off(m_pSynth, ch);
}

void cFluidSynth::SystemReset() {
  fluid_synth_system_reset(m_pSynth);
  // A piece cut off while its reverb still rang would otherwise open the
  // next one with that ring: it is played out into nothing.
  std::vector<float>& buf = m_vScratch;
  constexpr int kChunk = 1024;
  if (buf.size() < kChunk * 2) buf.resize(kChunk * 2);
  while (m_nTailFrames > 0) {
    fluid_synth_write_float(m_pSynth, kChunk, buf.data(), 0, 2, buf.data(), 1, 2);
    m_nTailFrames -= kChunk;
  }
  m_nTailFrames = 0;
}

bool cFluidSynth::IsSounding() {
  return m_nTailFrames > 0 || fluid_synth_get_active_voice_count(m_pSynth) > 0;
}

void cFluidSynth::MixInto(float* pOut, int nFrames) {
  if (nFrames <= 0) return;
  std::vector<float>& buf = m_vScratch;
  if (buf.size() < static_cast<size_t>(nFrames) * 2) buf.resize(static_cast<size_t>(nFrames) * 2);
  fluid_synth_write_float(m_pSynth, nFrames, buf.data(), 0, 2, buf.data(), 1, 2);
  for (size_t i = 0; i < static_cast<size_t>(nFrames) * 2; ++i) pOut[i] += buf[i];
  if (fluid_synth_get_active_voice_count(m_pSynth) > 0) {
    m_nTailFrames = static_cast<int64_t>(GetRate()) * kTailSeconds;
  } else {
    m_nTailFrames = std::max<int64_t>(0, m_nTailFrames - nFrames);
  }
}

}  // namespace

std::string ChooseSoundFont(const char* szEnvironment, const std::vector<std::string>& candidates) {
  if (szEnvironment && *szEnvironment) return szEnvironment;
  std::error_code ec;
  for (const std::string& strPath : candidates)
    if (std::filesystem::is_regular_file(strPath, ec)) return strPath;
  // None there: the first is the one a missing-soundfont message names.
  return candidates.empty() ? std::string() : candidates.front();
}

std::string GetSoundFontPath() {
  std::lock_guard<std::mutex> lock(g_PathLock);
  if (!g_strSoundFont.empty()) return g_strSoundFont;
  return ChooseSoundFont(std::getenv("BRIMVALE_SOUNDFONT"),
                         std::vector<std::string>(std::begin(kSoundFonts), std::end(kSoundFonts)));
}

void SetSoundFontPath(const std::string& strPath) {
  {
    std::lock_guard<std::mutex> lock(g_PathLock);
    g_strSoundFont = strPath;
  }
  audio::cSynth::Release();
}

std::unique_ptr<audio::cSynth> cFluidSynthMaker::Make(int nRate, std::string& strError) {
  const std::string strFont = GetSoundFontPath();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(strFont, ec)) {
    strError = "soundfont not found: " + strFont;
    return nullptr;
  }
  auto synth = std::make_unique<cFluidSynth>(nRate);
  if (!synth->Load(strFont, strError)) return nullptr;
  return synth;
}

}  // namespace plat::desktop
