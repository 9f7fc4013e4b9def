#include "records/record.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/logs.h"
#include "base/save_file.h"
#include "platform/fs/file_system.h"
#include "platform/io/byte_reader.h"

int32_t nDataVersion = kCurrentDataVersion;
std::atomic<int32_t> nFileVersion{0};
std::atomic<int32_t> bFileTooNew{0};
int32_t bStripCR = 1;

thread_local int16_t wDiscardField = 0;
thread_local int32_t nDiscardField = 0;

namespace {

// The tables a RegisterFields call is declaring into. Set only while
// GetFieldTable runs, so the Add operations need no member of the record.
thread_local FIELDTABLE* g_pDeclaring = nullptr;

size_t FieldBytes(const FIELDDATA& f) {
  if (f.count <= 0 || f.size <= 0) return 0;
  return static_cast<size_t>(f.count) * static_cast<size_t>(f.size);
}

void RemoveCR(std::string& str) { str.erase(std::remove(str.begin(), str.end(), '\r'), str.end()); }

}  // namespace

int FIELDTABLE::NumericBytes() const {
  size_t n = 0;
  for (const FIELDDATA& f : vFields) n += FieldBytes(f);
  return static_cast<int>(n);
}

FIELDTABLE cRecord::GetFieldTable(int32_t nVersion) {
  FIELDTABLE t;
  FIELDTABLE* pOuter = g_pDeclaring;
  g_pDeclaring = &t;
  RegisterFields(nVersion);
  g_pDeclaring = pOuter;
  return t;
}

void cRecord::AddField(void* p, int n, int nSize) {
  if (!g_pDeclaring) return;
  g_pDeclaring->vFields.push_back({p, n, static_cast<int8_t>(nSize)});
}

void cRecord::AddString(std::string* p, int n) {
  if (!g_pDeclaring) return;
  for (int i = 0; i < n; ++i) g_pDeclaring->vStrings.push_back({p});
}

void cRecord::ClearFields() {
  if (!g_pDeclaring) return;
  g_pDeclaring->vFields.clear();
  g_pDeclaring->vStrings.clear();
}

void cRecord::Read(cDataReader& r) {
  FIELDTABLE t = GetFieldTable(r.FileVersion());
  int32_t nFields = r.I32();
  if (r.Failed()) return;
  // Fewer fields than declared is how old files look; more (or a negative
  // count) means the file is not what this class can read.
  if (nFields < 0 || nFields > static_cast<int32_t>(t.vFields.size())) {
    DebugLogF("record: %d numeric fields stored, %d known (version %d)", nFields,
              static_cast<int>(t.vFields.size()), r.FileVersion());
    r.Fail();
    return;
  }
  for (int32_t i = 0; i < nFields; ++i) {
    const FIELDDATA& f = t.vFields[i];
    if (f.data)
      r.ReadBytes(f.data, FieldBytes(f));
    else
      r.Skip(FieldBytes(f));
    if (r.Failed()) return;
  }
  ReadStrings(r, t);
}

void cRecord::ReadStrings(cDataReader& r, FIELDTABLE& t) {
  int32_t nStrings = r.I32();
  if (r.Failed()) return;
  if (nStrings < 0 || nStrings > static_cast<int32_t>(t.vStrings.size())) {
    DebugLogF("record: %d strings stored, %d known (version %d)", nStrings,
              static_cast<int>(t.vStrings.size()), r.FileVersion());
    r.Fail();
    return;
  }
  for (int32_t i = 0; i < nStrings; ++i) {
    if (!r.String(*t.vStrings[i].string)) return;
  }
  if (bStripCR) {
    for (STRFIELDDATA& s : t.vStrings) RemoveCR(*s.string);
  }
}

void cRecord::Write(cDataWriter& w) {
  FIELDTABLE t = GetFieldTable(nDataVersion);
  w.I32(static_cast<int32_t>(t.vFields.size()));
  for (const FIELDDATA& f : t.vFields) {
    size_t n = FieldBytes(f);
    if (f.data) {
      w.Bytes(f.data, n);
    } else {
      for (size_t i = 0; i < n; ++i) w.U8(0);
    }
  }
  WriteStrings(w, t);
}

void cRecord::WriteStrings(cDataWriter& w, FIELDTABLE& t) {
  w.I32(static_cast<int32_t>(t.vStrings.size()));
  for (STRFIELDDATA& s : t.vStrings) {
    // The stored text ends at its first 0 byte; the member is cut the same
    // way, so what is kept in memory is what a reload gives.
    std::string& str = *s.string;
    size_t nZero = str.find('\0');
    if (nZero != std::string::npos) str.resize(nZero);
    w.String(str);
  }
}

void cRecord::Clear() {
  FIELDTABLE t = GetFieldTable(nDataVersion);
  for (const FIELDDATA& f : t.vFields) {
    if (f.data) std::memset(f.data, 0, FieldBytes(f));
  }
  for (STRFIELDDATA& s : t.vStrings) s.string->clear();
}

void cRecord::Copy(cRecord& src) {
  if (&src == this) return;
  FIELDTABLE t = GetFieldTable(nDataVersion);
  FIELDTABLE ts = src.GetFieldTable(nDataVersion);
  size_t nFields = std::min(t.vFields.size(), ts.vFields.size());
  for (size_t i = 0; i < nFields; ++i) {
    const FIELDDATA& f = t.vFields[i];
    const FIELDDATA& fs = ts.vFields[i];
    size_t n = std::min(FieldBytes(f), FieldBytes(fs));
    if (f.data && fs.data && f.data != fs.data) std::memmove(f.data, fs.data, n);
  }
  size_t nStrings = std::min(t.vStrings.size(), ts.vStrings.size());
  for (size_t i = 0; i < nStrings; ++i) *t.vStrings[i].string = *ts.vStrings[i].string;
}

void cRecord::StripCR() {
  FIELDTABLE t = GetFieldTable(nDataVersion);
  for (STRFIELDDATA& s : t.vStrings) RemoveCR(*s.string);
}

int cRecord::Load(const std::string& strFileName) {
  std::unique_ptr<cDataReader> r = DataFileOpenRead(strFileName, MaxFileBytes());
  if (!r) return 0;
  Read(*r);
  bool bOk = !r->Failed();
  DataFileClose(r);
  return bOk ? 1 : 0;
}

int cRecord::LoadFromBytes(const uint8_t* pData, size_t nSize) {
  std::unique_ptr<cDataReader> r = DataFileOpenBytes(pData, nSize);
  if (!r) return 0;
  Read(*r);
  return r->Failed() ? 0 : 1;
}

int cRecord::Save(const std::string& strFileName) {
  std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
  Write(*w);
  return DataFileCommit(strFileName, *w) ? 1 : 0;
}

std::vector<uint8_t> cRecord::SaveToBytes() {
  std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
  Write(*w);
  return std::move(w->Data());
}

std::unique_ptr<cDataReader> DataFileOpenBytes(const uint8_t* pData, size_t nSize) {
  plat::io::cByteReader header(pData, nSize);
  const uint32_t nVersion = header.U32();
  if (header.Failed()) return nullptr;
  nFileVersion = static_cast<int32_t>(nVersion);
  // Unsigned: a header of 0xFFFFFFFF is far too new, not very old.
  if (nVersion > static_cast<uint32_t>(nDataVersion)) {
    bFileTooNew = 1;
    return nullptr;
  }
  bFileTooNew = 0;
  return std::make_unique<cDataReader>(pData + 4, nSize - 4, static_cast<int32_t>(nVersion));
}

std::unique_ptr<cDataReader> DataFileOpenRead(const std::string& strFileName, size_t nMaxBytes) {
  const std::string strName = strFileName.empty() ? std::string("err") : strFileName;
  // The whole file is read first, so every count can be checked against
  // what the file really holds.
  std::vector<uint8_t> vBytes;
  if (!plat::fs::ReadWholeFile(strName, vBytes, nMaxBytes) || vBytes.size() < 4) return nullptr;
  std::unique_ptr<cDataReader> probe = DataFileOpenBytes(vBytes.data(), vBytes.size());
  if (!probe) return nullptr;
  int32_t nVersion = probe->FileVersion();
  probe.reset();
  vBytes.erase(vBytes.begin(), vBytes.begin() + 4);
  return std::make_unique<cDataReader>(std::move(vBytes), nVersion);
}

std::unique_ptr<cDataWriter> DataFileOpenWrite() {
  auto w = std::make_unique<cDataWriter>();
  w->U32(static_cast<uint32_t>(nDataVersion));
  return w;
}

bool DataFileCommit(const std::string& strFileName, const cDataWriter& w) {
  const std::vector<uint8_t>& v = w.Data();
  return SaveFile(strFileName, v.data(), v.size());
}

void DataFileClose(std::unique_ptr<cDataReader>& r) { r.reset(); }

void ReadSubRecord(cRecord& rec, cDataReader& r) {
  cDataReader::cNest nest(r);
  if (!nest.Ok()) return;
  rec.Read(r);
}

void ReadStringVector(std::vector<std::string>& v, cDataReader& r) {
  uint32_t nCount = r.Count(4);
  if (r.Failed()) return;
  v.clear();
  v.resize(nCount);
  for (std::string& str : v) {
    if (!r.String(str)) return;
  }
}

void WriteStringVector(const std::vector<std::string>& v, cDataWriter& w) {
  w.U32(static_cast<uint32_t>(v.size()));
  for (const std::string& str : v) w.String(str);
}
