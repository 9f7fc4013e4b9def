// The layer check, run as a build step before anything is compiled: every
// source file's includes must run down the floors (cmake/floors.txt), only a
// program's entry may include a platform back end, and a method is defined
// in the folder whose header declares its class. Any fault fails the build.
//
//   check_layers ROOT FLOORS [STAMP]
//
// Includes are resolved as the compiler resolves them: a quoted one first
// against the including file's folder, then against ROOT; one in angle
// brackets against ROOT alone (what is not found there is a system header).
// The stamp is written when the tree is clean, so the build runs the check
// again only when a source changes.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FLOOR {
  std::string strFolder;
  int nLevel;
};

struct BACKEND {
  std::string strFolder;
  std::vector<std::string> vecUsers;
};

struct RULES {
  std::vector<FLOOR> vecFloors;  // longest folder first
  std::vector<BACKEND> vecBackends;
  std::vector<std::string> vecSkip;
  int nTop = -1;
};

struct SOURCE {
  std::string strPath;  // relative to the root, '/'-separated
  const FLOOR* pFloor;
  std::vector<std::string> vecLines;
};

bool StartsWithFolder(const std::string& strPath, const std::string& strFolder) {
  return strPath.size() > strFolder.size() &&
         strPath.compare(0, strFolder.size(), strFolder) == 0 && strPath[strFolder.size()] == '/';
}

bool ReadRules(const fs::path& path, RULES& rules) {
  std::ifstream in(path);
  if (!in) return false;
  std::string strLine;
  while (std::getline(in, strLine)) {
    std::istringstream words(strLine);
    std::string strWord;
    if (!(words >> strWord) || strWord[0] == '#') continue;
    if (strWord == "floor") {
      int nLevel = 0;
      words >> nLevel;
      std::string strFolder;
      while (words >> strFolder) rules.vecFloors.push_back({strFolder, nLevel});
    } else if (strWord == "top") {
      words >> rules.nTop;
    } else if (strWord == "backend") {
      BACKEND backend;
      words >> backend.strFolder;
      std::string strUser;
      while (words >> strUser) backend.vecUsers.push_back(strUser);
      rules.vecBackends.push_back(backend);
    } else if (strWord == "skip") {
      std::string strFolder;
      words >> strFolder;
      rules.vecSkip.push_back(strFolder);
    } else {
      std::fprintf(stderr, "%s: unknown line: %s\n", path.c_str(), strLine.c_str());
      return false;
    }
  }
  std::stable_sort(
      rules.vecFloors.begin(), rules.vecFloors.end(),
      [](const FLOOR& a, const FLOOR& b) { return a.strFolder.size() > b.strFolder.size(); });
  return !rules.vecFloors.empty();
}

const FLOOR* FloorOf(const RULES& rules, const std::string& strPath) {
  for (const FLOOR& floor : rules.vecFloors)
    if (StartsWithFolder(strPath, floor.strFolder)) return &floor;
  return nullptr;
}

bool IsSourceFile(const fs::path& path) {
  const std::string strExt = path.extension().string();
  return strExt == ".h" || strExt == ".cpp" || strExt == ".c" || strExt == ".def";
}

// Folds "." and ".." away; false when the path climbs out of the root.
bool Normalise(const std::string& strPath, std::string& strOut) {
  std::vector<std::string> vecParts;
  std::string strPart;
  std::istringstream parts(strPath);
  while (std::getline(parts, strPart, '/')) {
    if (strPart.empty() || strPart == ".") continue;
    if (strPart == "..") {
      if (vecParts.empty()) return false;
      vecParts.pop_back();
      continue;
    }
    vecParts.push_back(strPart);
  }
  strOut.clear();
  for (const std::string& s : vecParts) strOut += (strOut.empty() ? "" : "/") + s;
  return !strOut.empty();
}

bool IsFileUnder(const fs::path& root, const std::string& strPath) {
  std::error_code ec;
  return fs::is_regular_file(root / strPath, ec);
}

// The file an include names, relative to the root; empty when it is not in
// the tree (a system or library header).
std::string ResolveInclude(const fs::path& root, const std::string& strFrom, char cOpen,
                           const std::string& strName) {
  std::string strPath;
  if (cOpen == '"') {
    const std::string strFolder = strFrom.substr(0, strFrom.rfind('/') + 1);
    if (Normalise(strFolder + strName, strPath) && IsFileUnder(root, strPath)) return strPath;
  }
  if (Normalise(strName, strPath) && IsFileUnder(root, strPath)) return strPath;
  return {};
}

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The class a line declares with a body or a base list ("class cName {",
// "struct NAME : ..."); empty for anything else, forward declarations too.
std::string DeclaredClass(const std::string& strLine) {
  size_t i = strLine.find_first_not_of(" \t");
  if (i == std::string::npos) return {};
  if (strLine.compare(i, 9, "template ") == 0 || strLine.compare(i, 9, "template<") == 0) {
    const size_t nClose = strLine.find('>', i);
    if (nClose == std::string::npos) return {};
    i = strLine.find_first_not_of(" \t", nClose + 1);
    if (i == std::string::npos) return {};
  }
  size_t nAfter;
  if (strLine.compare(i, 6, "class ") == 0)
    nAfter = i + 6;
  else if (strLine.compare(i, 7, "struct ") == 0)
    nAfter = i + 7;
  else
    return {};
  size_t nStart = strLine.find_first_not_of(" \t", nAfter);
  if (nStart == std::string::npos) return {};
  size_t nEnd = nStart;
  while (nEnd < strLine.size() && IsIdentChar(strLine[nEnd])) ++nEnd;
  if (nEnd == nStart) return {};
  const std::string strName = strLine.substr(nStart, nEnd - nStart);
  size_t k = strLine.find_first_not_of(" \t", nEnd);
  if (k != std::string::npos && strLine.compare(k, 5, "final") == 0)
    k = strLine.find_first_not_of(" \t", k + 5);
  if (k == std::string::npos) return {};
  if (strLine[k] == '{') return strName;
  if (strLine[k] == ':' && (k + 1 >= strLine.size() || strLine[k + 1] != ':')) return strName;
  return {};
}

// The class whose member a line defines at namespace scope
// ("int cName::Get() const {", "cName::cName()", "int cName::s_nCount = 0;");
// empty for anything else.
std::string DefinedMemberClass(const std::string& strLine) {
  if (strLine.empty() || !(IsIdentChar(strLine[0]) || strLine[0] == '~')) return {};
  for (const char* szSkip :
       {"namespace", "using", "typedef", "return", "template", "static_assert"})
    if (strLine.compare(0, std::string(szSkip).size(), szSkip) == 0) return {};
  const size_t nCut = strLine.find_first_of("(=;{[");
  if (nCut == std::string::npos) return {};
  size_t nEnd = strLine.find_last_not_of(" \t", nCut == 0 ? 0 : nCut - 1);
  if (nEnd == std::string::npos) return {};
  // The member: a name, a destructor or an operator.
  size_t nStart = nEnd + 1;
  while (nStart > 0 && IsIdentChar(strLine[nStart - 1])) --nStart;
  if (nStart == nEnd + 1) return {};
  if (nStart > 0 && strLine[nStart - 1] == '~') --nStart;
  if (nStart < 2 || strLine.compare(nStart - 2, 2, "::") != 0) return {};
  // The class before the "::", template arguments dropped.
  size_t nClassEnd = nStart - 2;
  if (nClassEnd > 0 && strLine[nClassEnd - 1] == '>') {
    int nDepth = 0;
    size_t j = nClassEnd;
    while (j > 0) {
      --j;
      if (strLine[j] == '>') ++nDepth;
      if (strLine[j] == '<' && --nDepth == 0) break;
    }
    nClassEnd = j;
  }
  size_t nClassStart = nClassEnd;
  while (nClassStart > 0 && IsIdentChar(strLine[nClassStart - 1])) --nClassStart;
  return strLine.substr(nClassStart, nClassEnd - nClassStart);
}

class cChecker {
 public:
  cChecker(fs::path root, RULES rules) : m_Root(std::move(root)), m_Rules(std::move(rules)) {}

  bool Load() {
    std::set<std::string> setTops;
    for (const FLOOR& floor : m_Rules.vecFloors) {
      const std::string& f = floor.strFolder;
      setTops.insert(f.substr(0, f.find('/')));
    }
    for (const std::string& strTop : setTops) {
      std::error_code ec;
      if (!fs::is_directory(m_Root / strTop, ec)) continue;
      for (auto it = fs::recursive_directory_iterator(m_Root / strTop, ec);
           it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        const std::string strPath = fs::relative(it->path(), m_Root).generic_string();
        if (it->is_directory() && IsSkipped(strPath)) {
          it.disable_recursion_pending();
          continue;
        }
        if (!it->is_regular_file() || !IsSourceFile(it->path())) continue;
        const FLOOR* pFloor = FloorOf(m_Rules, strPath);
        if (!pFloor) continue;
        SOURCE source{strPath, pFloor, {}};
        std::ifstream in(it->path());
        std::string strLine;
        while (std::getline(in, strLine)) source.vecLines.push_back(strLine);
        m_vecSources.push_back(std::move(source));
      }
    }
    std::sort(m_vecSources.begin(), m_vecSources.end(),
              [](const SOURCE& a, const SOURCE& b) { return a.strPath < b.strPath; });
    return true;
  }

  int Check() {
    for (const SOURCE& source : m_vecSources)
      for (const std::string& strLine : source.vecLines) {
        const std::string strClass = DeclaredClass(strLine);
        if (!strClass.empty()) m_mapDeclared[strClass].insert(source.pFloor);
      }
    for (const SOURCE& source : m_vecSources) {
      for (size_t n = 0; n < source.vecLines.size(); ++n) {
        CheckInclude(source, n);
        CheckDefinition(source, n);
      }
    }
    return m_nFaults;
  }

 private:
  bool IsSkipped(const std::string& strPath) const {
    for (const std::string& s : m_Rules.vecSkip)
      if (strPath == s) return true;
    return false;
  }

  void Fault(const SOURCE& source, size_t n, const std::string& strWhat) {
    std::fprintf(stderr, "%s:%zu: %s\n", source.strPath.c_str(), n + 1, strWhat.c_str());
    ++m_nFaults;
  }

  static std::string Describe(const FLOOR& floor) {
    return floor.strFolder + "/ (floor " + std::to_string(floor.nLevel) + ")";
  }

  void CheckInclude(const SOURCE& source, size_t n) {
    const std::string& strLine = source.vecLines[n];
    size_t i = strLine.find_first_not_of(" \t");
    if (i == std::string::npos || strLine[i] != '#') return;
    i = strLine.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos || strLine.compare(i, 7, "include") != 0) return;
    i = strLine.find_first_not_of(" \t", i + 7);
    if (i == std::string::npos || (strLine[i] != '"' && strLine[i] != '<')) return;
    const char cOpen = strLine[i];
    const size_t nClose = strLine.find(cOpen == '"' ? '"' : '>', i + 1);
    if (nClose == std::string::npos) return;
    const std::string strName = strLine.substr(i + 1, nClose - i - 1);
    const std::string strTarget = ResolveInclude(m_Root, source.strPath, cOpen, strName);
    if (strTarget.empty()) return;
    for (const BACKEND& backend : m_Rules.vecBackends) {
      if (!StartsWithFolder(strTarget, backend.strFolder)) continue;
      bool bAllowed = StartsWithFolder(source.strPath, backend.strFolder);
      for (const std::string& strUser : backend.vecUsers)
        bAllowed = bAllowed || StartsWithFolder(source.strPath, strUser);
      if (!bAllowed)
        Fault(source, n,
              "includes " + strTarget + ": only a program's entry may include " +
                  backend.strFolder + "/");
      return;
    }
    const FLOOR* pTo = FloorOf(m_Rules, strTarget);
    const FLOOR& from = *source.pFloor;
    if (!pTo || from.nLevel == m_Rules.nTop) return;
    if (pTo->nLevel > from.nLevel || (pTo->nLevel == from.nLevel && pTo != &from))
      Fault(source, n,
            "includes " + strTarget + ": " + Describe(from) + " may not reach " + Describe(*pTo));
  }

  void CheckDefinition(const SOURCE& source, size_t n) {
    if (source.strPath.size() < 2 ||
        source.strPath.compare(source.strPath.size() - 2, 2, ".h") == 0)
      return;
    const std::string strClass = DefinedMemberClass(source.vecLines[n]);
    if (strClass.empty()) return;
    const auto it = m_mapDeclared.find(strClass);
    if (it == m_mapDeclared.end() || it->second.count(source.pFloor)) return;
    const FLOOR& at = *source.pFloor;
    for (const FLOOR* pDecl : it->second)
      if (pDecl->nLevel < at.nLevel || (pDecl->nLevel == at.nLevel && pDecl != &at)) {
        Fault(source, n,
              "defines a member of " + strClass + ", declared in " + Describe(*pDecl) +
                  ": define it there, or declare it in " + Describe(at));
        return;
      }
  }

  fs::path m_Root;
  RULES m_Rules;
  std::vector<SOURCE> m_vecSources;
  std::map<std::string, std::set<const FLOOR*>> m_mapDeclared;
  int m_nFaults = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: check_layers ROOT FLOORS [STAMP]\n");
    return 2;
  }
  const fs::path stamp = argc == 4 ? fs::path(argv[3]) : fs::path();
  std::error_code ec;
  if (!stamp.empty()) fs::remove(stamp, ec);
  RULES rules;
  if (!ReadRules(argv[2], rules)) {
    std::fprintf(stderr, "%s: no floors read\n", argv[2]);
    return 2;
  }
  cChecker checker(argv[1], rules);
  if (!checker.Load()) {
    std::fprintf(stderr, "%s: the tree cannot be read\n", argv[1]);
    return 2;
  }
  if (const int nFaults = checker.Check()) {
    std::fprintf(stderr,
                 "%d fault(s): an include runs upward or into a back end, or a member "
                 "is defined above its class\n",
                 nFaults);
    return 1;
  }
  if (!stamp.empty()) std::ofstream(stamp) << "clean\n";
  return 0;
}
