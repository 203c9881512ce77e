#pragma once

#include <string>
#include <string_view>

namespace morvane::text {

// Decodes one UTF-8 sequence at `pos`, advancing it. Invalid bytes decode to U+FFFD one at a
// time; encoded surrogates (as produced from unpaired UTF-16 surrogates) decode as themselves.
char32_t decodeUtf8(std::string_view s, size_t& pos);
void appendUtf8(std::string& out, char32_t c);

// UTF-16 <-> UTF-8. Unpaired surrogates survive the round trip (encoded as three bytes).
std::string utf16ToUtf8(std::u16string_view s);
std::u16string utf8ToUtf16(std::string_view s);

// UTF-16 code units <-> their bytes, little- or big-endian, without a byte-order mark. An odd
// last byte is ignored by utf16Units.
std::u16string utf16Units(std::string_view bytes, bool bigEndian);
std::string utf16Bytes(std::u16string_view units, bool bigEndian);

// Windows-1252. Bytes the code page leaves undefined map to the code points of the same value,
// so every byte sequence round-trips.
std::string cp1252ToUtf8(std::string_view s);
bool utf8ToCp1252(std::string_view s, std::string& out);

// Simple lower-case mapping for Latin, Greek, Cyrillic, Armenian and full-width letters.
char32_t foldCase(char32_t c);
// True when both texts are equal without regard to letter case.
bool equalsNoCase(std::string_view a, std::string_view b);

// Blanks and tabs removed at both ends.
std::string_view trimBlanks(std::string_view s);
// All kinds of white space removed at both ends (ASCII controls and Unicode spaces).
std::string_view trimSpace(std::string_view s);

}  // namespace morvane::text
