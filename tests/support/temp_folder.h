// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends; and whole-file helpers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class cTempFolder {
 public:
  // bEnter: the folder is also the current folder until the test ends.
  explicit cTempFolder(bool bEnter = false) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "brimvale-XXXXXX").string();
    if (char* p = mkdtemp(tmpl.data())) m_strPath = p;
    if (bEnter && !m_strPath.empty()) {
      m_strOld = std::filesystem::current_path().string();
      std::filesystem::current_path(m_strPath);
    }
  }
  ~cTempFolder() {
    std::error_code ec;
    if (!m_strOld.empty()) std::filesystem::current_path(m_strOld, ec);
    if (!m_strPath.empty()) std::filesystem::remove_all(m_strPath, ec);
  }
  cTempFolder(const cTempFolder&) = delete;
  cTempFolder& operator=(const cTempFolder&) = delete;

  const std::string& Path() const { return m_strPath; }
  std::string operator/(const std::string& name) const { return m_strPath + "/" + name; }

  // Writes a file below this folder (Linux path), making folders as needed.
  void Write(const std::string& name, const std::string& content) const {
    std::filesystem::path p = std::filesystem::path(m_strPath) / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(std::filesystem::path(m_strPath) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Has(const std::string& name) const {
    return std::filesystem::exists(std::filesystem::path(m_strPath) / name);
  }

 private:
  std::string m_strPath;
  std::string m_strOld;
};

// Runs a test's body inside a folder and returns to the old one afterwards.
class cCurrentFolder {
 public:
  explicit cCurrentFolder(const std::string& path) : m_old(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~cCurrentFolder() {
    std::error_code ec;
    std::filesystem::current_path(m_old, ec);
  }
  cCurrentFolder(const cCurrentFolder&) = delete;
  cCurrentFolder& operator=(const cCurrentFolder&) = delete;

 private:
  std::filesystem::path m_old;
};

inline bool WriteTestFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), fp) == bytes.size();
  return (std::fclose(fp) == 0) && ok;
}

inline bool WriteTestFile(const std::string& path, const std::string& text) {
  return WriteTestFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

inline std::vector<uint8_t> ReadTestFile(const std::string& path) {
  std::vector<uint8_t> v;
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return v;
  int c;
  while ((c = std::fgetc(fp)) != EOF) v.push_back(static_cast<uint8_t>(c));
  std::fclose(fp);
  return v;
}
