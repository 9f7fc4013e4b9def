// Shift-JIS (code page 932) text at the edge of the program: everything above
// platform/ keeps CP932 bytes; libraries get UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Byte classes of code page 932: a character is one byte, or a lead byte and
// a trail byte. 0x5C can be a trail byte, so paths are never split on a
// plain byte search.
constexpr bool IsCp932LeadByte(unsigned char ch) {
  return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}
constexpr bool IsCp932TrailByte(unsigned char ch) {
  return (ch >= 0x40 && ch <= 0x7E) || (ch >= 0x80 && ch <= 0xFC);
}

// Splits a CP932 path on '\\' and '/', pairing lead and trail bytes. Empty
// components (doubled separators) are dropped.
std::vector<std::string> SplitCp932Path(std::string_view path);

// Undecodable bytes become U+FFFD, so a broken name never stops a log line.
std::string Cp932ToUtf8(std::string_view text);

// False (and out untouched) when some bytes are no CP932 text.
bool Cp932ToUtf8Strict(std::string_view text, std::string& out);

// False (and out untouched) when the text holds characters CP932 cannot hold.
bool Utf8ToCp932(std::string_view text, std::string& out);

}  // namespace plat
