#pragma once

#include <string>
#include <string_view>

namespace morvane::text {

// Code page 437, the OEM code page of an English-language Windows: bytes below 0x80 are ASCII,
// the others the letters, box-drawing and Greek characters of the original PC. Decoding never
// fails; encoding fails on a character the code page lacks.
std::string cp437ToUtf8(std::string_view s);
bool utf8ToCp437(std::string_view s, std::string& out);

}  // namespace morvane::text
