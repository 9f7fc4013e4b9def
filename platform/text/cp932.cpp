// CP932 <-> UTF-8 through iconv. "CP932" is asked for by name: the plain
// Shift-JIS table differs on 0x5C, 0x7E and several symbols.
#include "platform/text/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace plat {

namespace {

// One converter per direction, shared under a lock: opening iconv per call
// costs more than the conversion of a log line.
struct cConverter {
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
  std::mutex mtx;
  cConverter(const char* szTo, const char* szFrom) { cd = iconv_open(szTo, szFrom); }
  ~cConverter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
  bool Ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

cConverter& ToUtf8() {
  static cConverter conv("UTF-8", "CP932");
  return conv;
}

cConverter& ToCp932() {
  static cConverter conv("CP932", "UTF-8");
  return conv;
}

// Converts as much as possible; on an undecodable sequence calls onBad with
// the input position and how many bytes to skip. Returns false when the
// converter is missing.
template <typename OnBad>
bool Convert(cConverter& conv, std::string_view in, std::string& out, OnBad onBad) {
  if (!conv.Ok()) return false;
  std::lock_guard<std::mutex> lock(conv.mtx);
  iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
  char* pIn = const_cast<char*>(in.data());
  size_t nInLeft = in.size();
  char buf[1024];
  while (nInLeft > 0) {
    char* pOut = buf;
    size_t nOutLeft = sizeof buf;
    size_t r = iconv(conv.cd, &pIn, &nInLeft, &pOut, &nOutLeft);
    out.append(buf, pOut - buf);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a lead byte at the end): let the caller decide.
      if (!onBad(out)) return false;
      ++pIn;
      --nInLeft;
      iconv(conv.cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* pOut = buf;
  size_t nOutLeft = sizeof buf;
  iconv(conv.cd, nullptr, nullptr, &pOut, &nOutLeft);
  out.append(buf, pOut - buf);
  return true;
}

}  // namespace

std::vector<std::string> SplitCp932Path(std::string_view path) {
  std::vector<std::string> parts;
  std::string cur;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char ch = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(ch) && i + 1 < path.size() &&
        IsCp932TrailByte(static_cast<unsigned char>(path[i + 1]))) {
      cur += path[i];
      cur += path[i + 1];
      ++i;
    } else if (ch == '\\' || ch == '/') {
      if (!cur.empty()) parts.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += path[i];
    }
  }
  if (!cur.empty()) parts.push_back(std::move(cur));
  return parts;
}

std::string Cp932ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  Convert(ToUtf8(), text, out, [](std::string& o) {
    o += "\xEF\xBF\xBD";
    return true;
  });
  return out;
}

bool Cp932ToUtf8Strict(std::string_view text, std::string& out) {
  std::string result;
  if (!Convert(ToUtf8(), text, result, [](std::string&) { return false; })) return false;
  out = std::move(result);
  return true;
}

bool Utf8ToCp932(std::string_view text, std::string& out) {
  std::string result;
  if (!Convert(ToCp932(), text, result, [](std::string&) { return false; })) return false;
  out = std::move(result);
  return true;
}

}  // namespace plat
