// Shift-JIS (code page 932) text at the edge of the program: everything above
// platform/ keeps CP932 bytes; libraries get UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// Undecodable bytes become U+FFFD, so a broken name never stops a log line.
std::string Cp932ToUtf8(std::string_view text);

// False (and out untouched) when the text holds characters CP932 cannot hold.
bool Utf8ToCp932(std::string_view text, std::string& out);

}  // namespace plat
