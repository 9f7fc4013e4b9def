// Shared pieces of the database tests: list files written by our own writer,
// a folder holding a project's database files, and the report log read back.
#pragma once

#include <string>
#include <vector>

#include "database/database.h"
#include "records/record.h"
#include "support/byte_builder.h"
#include "support/temp_folder.h"

using Bytes = std::vector<uint8_t>;

// A list file of the current version: header, count, each entry's body.
template <typename V>
Bytes WriteListFile(V& vec) {
  std::unique_ptr<cDataWriter> w = DataFileOpenWrite();
  WriteRecordVector(vec, *w);
  return w->Data();
}

// Reads one record from a hand-built file; the record starts as given.
template <typename T>
int ReadRecordFrom(T& rec, const Bytes& file) {
  return rec.LoadFromBytes(file.data(), file.size());
}

// A database whose every list holds distinctive, non-default values, with
// entry 0 of the effect lists already the none effect (so a load leaves it
// as written).
cDatabase MakeSampleDatabase();

// The ten list files of a database, in file order.
std::vector<Bytes> WriteDatabaseFiles(cDatabase& db);

// A project folder with data\database\ under it; Path(n) is the file of list
// n as a Linux path, and Files() the paths cDatabase::LoadAll takes.
class cDatabaseFolder {
 public:
  cDatabaseFolder();
  std::string Path(int nFile) const;
  void Write(int nFile, const Bytes& bytes) const;
  void WriteAll(const std::vector<Bytes>& files) const;
  void Remove(int nFile) const;
  const std::string (&Files() const)[DBFILE_COUNT] { return m_astrFiles; }
  const std::string& Root() const { return m_tmp.Path(); }

 private:
  cTempFolder m_tmp;
  std::string m_astrFiles[DBFILE_COUNT];
};

// Points the report log at a fresh file for the test's lifetime.
class cReportCapture {
 public:
  cReportCapture();
  std::string Text() const;
  std::vector<std::string> Lines() const;

 private:
  cTempFolder m_tmp;
};
