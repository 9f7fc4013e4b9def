// A temporary folder for one test, removed with everything in it at the end;
// optionally the current folder while the test runs.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class cTempDir {
 public:
  explicit cTempDir(bool bEnter = false) {
    std::string strTemplate = (std::filesystem::temp_directory_path() / "bvtest-XXXXXX").string();
    std::vector<char> buf(strTemplate.begin(), strTemplate.end());
    buf.push_back(0);
    m_strPath = mkdtemp(buf.data());
    if (bEnter) {
      m_strOld = std::filesystem::current_path().string();
      std::filesystem::current_path(m_strPath);
    }
  }
  ~cTempDir() {
    if (!m_strOld.empty()) std::filesystem::current_path(m_strOld);
    std::error_code ec;
    std::filesystem::remove_all(m_strPath, ec);
  }
  cTempDir(const cTempDir&) = delete;
  cTempDir& operator=(const cTempDir&) = delete;

  const std::string& Path() const { return m_strPath; }
  std::string operator/(const std::string& name) const { return m_strPath + "/" + name; }

  // Writes a file (folders made as needed); the name is a Linux path below
  // this folder.
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
