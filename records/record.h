// The versioned record: base of every data file and player file. A record
// describes its stored members through two descriptor tables (numeric fields
// and strings) that it builds for a format version whenever an operation
// needs them; the tables live only for that operation, so a record holds no
// pointers into itself and copying one is a plain deep copy.
//
// A class declares its members by version in RegisterFields; Read reads a
// body laid out for the file's version, Write always writes the current one.
// What the tables cannot express (vectors of sub-records, embedded records,
// repairs of old data) each class adds in its own Read and Write overrides.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "records/data_stream.h"

// The format version this program writes and declares every record for.
constexpr int32_t kCurrentDataVersion = 783;

// Program-wide values of the framework. nDataVersion is the version written
// into every saved file; nFileVersion the version of the file opened last for
// reading; bFileTooNew is 1 when that open refused a file newer than the
// program (callers choose their message by it); when bStripCR is set every
// string read loses its carriage returns. Read overrides should prefer the
// reader's FileVersion(), which belongs to the file they are reading.
extern int32_t nDataVersion;
extern std::atomic<int32_t> nFileVersion;
extern std::atomic<int32_t> bFileTooNew;
extern int32_t bStripCR;

// Sinks for members that old versions stored and this one dropped: register
// one of the same width in the member's place so the old bytes are consumed.
extern thread_local int16_t wDiscardField;
extern thread_local int32_t nDiscardField;

// One stored numeric member or fixed array: count elements of size bytes.
struct FIELDDATA {
  void* data;
  int32_t count;
  int8_t size;
};

// One stored string member.
struct STRFIELDDATA {
  std::string* string;
};

// The two descriptor tables of one record for one format version.
struct FIELDTABLE {
  std::vector<FIELDDATA> vFields;
  std::vector<STRFIELDDATA> vStrings;

  // Bytes of the numeric members (the body's fixed part without counts).
  int NumericBytes() const;
};

// Caps on the size of a record file, which is read whole before it is
// parsed: far above any real file of its kind, so only a damaged or hostile
// file reaches one, and it is refused before a byte of it is read (as a
// file that cannot be opened is). Project data (System.dat, the database
// lists, palettes, stages) runs to a few megabytes in a large game.
constexpr size_t kMaxDataFileBytes = size_t(256) << 20;
// The player's own settings files (Option.dat, Window.dat) hold a handful
// of values.
constexpr size_t kMaxPlayerFileBytes = size_t(1) << 20;

// The smallest body any record can have: the two counts.
constexpr size_t kMinRecordBodyBytes = 8;

class cRecord {
 public:
  cRecord() = default;
  cRecord(const cRecord&) = default;
  cRecord& operator=(const cRecord&) = default;
  virtual ~cRecord() = default;

  // Called on the source of an assignment; nothing needs preparing.
  virtual void PrepareCopySource(int32_t /*nVersion*/) {}
  // Declares the stored members for nVersion through the Add operations, in
  // file order. A bare record stores nothing.
  virtual void RegisterFields(int32_t /*nVersion*/) {}
  // The body: counted numeric fields, counted strings, then the class's tail.
  // Failures are kept in the reader (r.Failed()).
  virtual void Read(cDataReader& r);
  virtual void Write(cDataWriter& w);

  // The tables RegisterFields declares for nVersion.
  FIELDTABLE GetFieldTable(int32_t nVersion);

  // Every registered member to 0 or "" (vectors and unregistered members are
  // left alone).
  void Clear();
  // The registered members' values from a record of the same class.
  void Copy(cRecord& src);
  // Removes every carriage return from every registered string.
  void StripCR();

  // 1 when the file opened and its whole body was read, else 0. A file that
  // cannot be opened or is too new leaves the record unchanged; a corrupt
  // body may leave it partly read (load into a copy where that matters,
  // see LoadWhole).
  int Load(const std::string& strFileName);
  // The cap on the size of this record's file (Load refuses larger ones).
  virtual size_t MaxFileBytes() const { return kMaxDataFileBytes; }
  // 1 when the file was written (atomically: a failed save keeps the old
  // file), else 0.
  int Save(const std::string& strFileName);

  // The same on bytes in memory: a whole file, header included.
  int LoadFromBytes(const uint8_t* pData, size_t nSize);
  std::vector<uint8_t> SaveToBytes();

 protected:
  // Declarations, used only inside RegisterFields: a pointer to the member
  // (or the first element of a fixed array) and the element count.
  template <typename T>
  void AddByte(T* p, int n = 1) {
    static_assert(kStorable<T, 1>, "1-byte integer member expected");
    AddField(p, n, 1);
  }
  template <typename T>
  void AddWord(T* p, int n = 1) {
    static_assert(kStorable<T, 2>, "2-byte integer member expected");
    AddField(p, n, 2);
  }
  template <typename T>
  void AddDword(T* p, int n = 1) {
    static_assert(kStorable<T, 4>, "4-byte integer member expected");
    AddField(p, n, 4);
  }
  template <typename T>
  void AddQword(T* p, int n = 1) {
    static_assert(kStorable<T, 8>, "8-byte member expected");
    AddField(p, n, 8);
  }
  void AddString(std::string* p, int n = 1);
  // Empties both tables being declared (the members are not touched).
  void ClearFields();

  // The string part of the body, for the given tables.
  static void ReadStrings(cDataReader& r, FIELDTABLE& t);
  static void WriteStrings(cDataWriter& w, FIELDTABLE& t);

 private:
  // Only plain integers and doubles: reading arbitrary bytes into a bool or
  // an enum would be undefined.
  template <typename T, size_t W>
  static constexpr bool kStorable = sizeof(T) == W&& std::is_arithmetic_v<T> &&
                                    !std::is_same_v<std::remove_cv_t<T>, bool>;

  void AddField(void* p, int n, int nSize);
};

// Opens a record file for reading: the reader stands after the 4-byte
// version. Null when the file cannot be opened, is larger than nMaxBytes,
// is shorter than its header, or is newer than the program (then
// bFileTooNew is 1; a good open sets 0). An empty name opens "err".
std::unique_ptr<cDataReader> DataFileOpenRead(const std::string& strFileName,
                                              size_t nMaxBytes = kMaxDataFileBytes);
// The same over a whole file in memory.
std::unique_ptr<cDataReader> DataFileOpenBytes(const uint8_t* pData, size_t nSize);
// A writer holding the header of nDataVersion; DataFileCommit puts it on disk.
std::unique_ptr<cDataWriter> DataFileOpenWrite();
// Writes the collected file atomically; logs and returns false on failure.
bool DataFileCommit(const std::string& strFileName, const cDataWriter& w);
void DataFileClose(std::unique_ptr<cDataReader>& r);

// An embedded record's body, counted as one level of nesting.
void ReadSubRecord(cRecord& rec, cDataReader& r);

// A 32-bit count and that many element bodies. The count is checked against
// the bytes left before the vector is sized; the vector is then filled with
// copies of def (the class's defaults) and each element reads its body.
template <typename V, typename T = typename V::value_type>
void ReadRecordVector(V& v, cDataReader& r, const T& def = T()) {
  uint32_t nCount = r.Count(kMinRecordBodyBytes);
  if (r.Failed()) return;
  cDataReader::cNest nest(r);
  if (!nest.Ok()) return;
  v.clear();
  v.resize(nCount, def);
  for (auto& e : v) {
    e.Read(r);
    if (r.Failed()) return;
  }
}

template <typename V>
void WriteRecordVector(V& v, cDataWriter& w) {
  w.U32(static_cast<uint32_t>(v.size()));
  for (auto& e : v) e.Write(w);
}

// dst becomes an element-by-element deep copy of src.
template <typename D, typename S>
void CopyVector(D& dst, const S& src) {
  if (static_cast<const void*>(&dst) == static_cast<const void*>(&src)) return;
  dst.assign(src.begin(), src.end());
}

// A 32-bit count and that many plain values (bytes, 16- or 32-bit integers)
// as one block.
template <typename V>
void ReadValueVector(V& v, cDataReader& r) {
  using T = typename V::value_type;
  static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>);
  uint32_t nCount = r.Count(sizeof(T));
  if (r.Failed()) return;
  v.clear();
  v.resize(nCount);
  if (nCount) r.ReadBytes(v.data(), static_cast<size_t>(nCount) * sizeof(T));
}

template <typename V>
void WriteValueVector(const V& v, cDataWriter& w) {
  using T = typename V::value_type;
  w.U32(static_cast<uint32_t>(v.size()));
  if (!v.empty()) w.Bytes(v.data(), v.size() * sizeof(T));
}

// A 32-bit count and that many stored strings.
void ReadStringVector(std::vector<std::string>& v, cDataReader& r);
void WriteStringVector(const std::vector<std::string>& v, cDataWriter& w);

// Inserts value at index i of a fixed-length list: the elements from i on
// move up by one place and the last one falls off. Old files are brought to
// the current layout this way.
template <typename V, typename T>
void InsertShifting(V& v, int i, const T& value) {
  if (i < 0 || i >= static_cast<int>(v.size())) return;
  for (int k = static_cast<int>(v.size()) - 1; k > i; --k) v[k] = v[k - 1];
  v[i] = value;
}

// Loads a file into a copy of rec and assigns it only when the whole file was
// read, so a failed load leaves rec as it was.
template <typename T>
int LoadWhole(T& rec, const std::string& strFileName) {
  T tmp = rec;
  if (!tmp.Load(strFileName)) return 0;
  rec = std::move(tmp);
  return 1;
}
