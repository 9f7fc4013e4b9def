// Shared by the project-file tests: what the error boxes said, the closes
// posted to a stand-in main window, the report log, and old-version record
// bodies built field by field from the version's own layout.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/logs.h"
#include "base/program_state.h"
#include "platform/msg/window.h"
#include "records/record.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"

// Collects the text of every error box instead of showing it.
class cBoxCapture {
 public:
  cBoxCapture() : m_bOldWindowed(bWindowed) {
    Texts().clear();
    bWindowed = 0;
    SetFullScreenBoxProc(&Capture);
  }
  ~cBoxCapture() {
    SetFullScreenBoxProc(nullptr);
    bWindowed = m_bOldWindowed;
  }
  cBoxCapture(const cBoxCapture&) = delete;
  cBoxCapture& operator=(const cBoxCapture&) = delete;

  static std::vector<std::string>& Texts() {
    static std::vector<std::string> v;
    return v;
  }

 private:
  static int Capture(const char* szText, const char* /*szCaption*/, uint32_t /*uType*/) {
    Texts().push_back(szText);
    return 1;
  }
  int m_bOldWindowed;
};

// A main window on the test's thread that only counts the closes posted to
// it.
class cCloseCounter {
 public:
  cCloseCounter() {
    m_hWnd = plat::CreateWnd(&Ignore, nullptr);
    g_hMainWnd = m_hWnd;
  }
  ~cCloseCounter() {
    g_hMainWnd = nullptr;
    plat::DestroyWnd(m_hWnd);
  }
  cCloseCounter(const cCloseCounter&) = delete;
  cCloseCounter& operator=(const cCloseCounter&) = delete;

  int Take() {
    int n = 0;
    plat::MSG msg;
    while (plat::PeekMessage(msg, true)) n += msg.message == plat::WM_CLOSE && msg.hWnd == m_hWnd;
    return n;
  }

 private:
  static intptr_t Ignore(plat::WndHandle, uint32_t, uintptr_t, intptr_t) { return 0; }
  plat::WndHandle m_hWnd = nullptr;
};

// The report log of one test, in its own folder.
class cReportLog {
 public:
  cReportLog() { ReportInit((m_Dir / "Report_Game.txt").c_str()); }
  std::string Text() const { return m_Dir.Read("Report_Game.txt"); }

 private:
  cTempFolder m_Dir;
};

// The registered numeric and string fields of rec as version v lays them
// out, with their current values: a body of an old file.
inline cByteBuilder& AppendFields(cByteBuilder& b, cRecord& rec, int32_t v) {
  FIELDTABLE t = rec.GetFieldTable(v);
  b.Count(static_cast<uint32_t>(t.vFields.size()));
  for (const FIELDDATA& f : t.vFields) b.Raw(f.data, static_cast<size_t>(f.count) * f.size);
  b.Count(static_cast<uint32_t>(t.vStrings.size()));
  for (const STRFIELDDATA& s : t.vStrings) b.Str(*s.string);
  return b;
}

// Every registered numeric field of rec (current layout) set to a value
// told apart from every default: field i (from 0) to nBase + i, doubles to
// nBase + i + 0.5.
inline void FillDistinct(cRecord& rec, int32_t nBase) {
  FIELDTABLE t = rec.GetFieldTable(kCurrentDataVersion);
  for (size_t i = 0; i < t.vFields.size(); ++i) {
    const FIELDDATA& f = t.vFields[i];
    const int32_t n = nBase + static_cast<int32_t>(i);
    if (f.size == 8) {
      const double d = n + 0.5;
      std::memcpy(f.data, &d, 8);
    } else if (f.size == 4) {
      std::memcpy(f.data, &n, 4);
    } else if (f.size == 2) {
      const int16_t s = static_cast<int16_t>(n);
      std::memcpy(f.data, &s, 2);
    } else {
      const uint8_t c = static_cast<uint8_t>(n);
      std::memcpy(f.data, &c, 1);
    }
  }
}

// The 32-bit field at index i of rec's current layout.
inline int32_t FieldI32(cRecord& rec, int i) {
  FIELDTABLE t = rec.GetFieldTable(kCurrentDataVersion);
  int32_t n = 0;
  std::memcpy(&n, t.vFields.at(i).data, 4);
  return n;
}

inline uint32_t ReadU32At(const std::vector<uint8_t>& v, size_t nAt) {
  return v[nAt] | v[nAt + 1] << 8 | v[nAt + 2] << 16 | static_cast<uint32_t>(v[nAt + 3]) << 24;
}
