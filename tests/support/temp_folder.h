// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends; and whole-file helpers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

class cTempFolder {
 public:
  cTempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "brimvale-XXXXXX").string();
    if (char* p = mkdtemp(tmpl.data())) m_strPath = p;
  }
  ~cTempFolder() {
    std::error_code ec;
    if (!m_strPath.empty()) std::filesystem::remove_all(m_strPath, ec);
  }
  cTempFolder(const cTempFolder&) = delete;
  cTempFolder& operator=(const cTempFolder&) = delete;

  const std::string& Path() const { return m_strPath; }
  std::string operator/(const std::string& name) const { return m_strPath + "/" + name; }

 private:
  std::string m_strPath;
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
