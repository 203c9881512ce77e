#include "store/text.h"

#include <cstdint>
#include <cstring>

namespace morvane::text {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; zero marks the bytes the code page leaves undefined.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

bool isSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x1A || c == 0x85 || c == 0xA0 ||
           c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

// Start of the code point that ends just before `end`.
size_t previousStart(std::string_view s, size_t end) {
    size_t start = end - 1;
    for (int i = 0; i < 3 && start > 0 && isContinuation(static_cast<unsigned char>(s[start]));
         ++i) {
        --start;
    }
    size_t probe = start;
    decodeUtf8(s, probe);
    return probe == end ? start : end - 1;
}

}  // namespace

char32_t decodeUtf8(std::string_view s, size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, c = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, c = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, c = b0 & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > s.size()) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if (!isContinuation(b)) {
            ++pos;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf16ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) {
        const char32_t c = decodeUtf8(s, pos);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::u16string utf16Units(std::string_view bytes, bool bigEndian) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
        units[i] = static_cast<char16_t>(lo | (hi << 8));
    }
    return units;
}

std::string utf16Bytes(std::u16string_view units, bool bigEndian) {
    std::string out(units.size() * 2, '\0');
    for (size_t i = 0; i < units.size(); ++i) {
        out[2 * i + (bigEndian ? 1 : 0)] = static_cast<char>(units[i] & 0xFF);
        out[2 * i + (bigEndian ? 0 : 1)] = static_cast<char>(units[i] >> 8);
    }
    return out;
}

std::string cp1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        // Plain ASCII runs are copied eight bytes at a time.
        size_t run = i;
        while (run + 8 <= s.size()) {
            uint64_t word;
            std::memcpy(&word, s.data() + run, 8);
            if (word & 0x8080808080808080ULL) break;
            run += 8;
        }
        while (run < s.size() && static_cast<unsigned char>(s[run]) < 0x80) ++run;
        out.append(s.data() + i, run - i);
        i = run;
        if (i == s.size()) break;
        const auto b = static_cast<unsigned char>(s[i++]);
        char32_t c = b;
        if (b < 0xA0 && kCp1252High[b - 0x80] != 0) c = kCp1252High[b - 0x80];
        appendUtf8(out, c);
    }
    return out;
}

bool utf8ToCp1252(std::string_view s, std::string& out) {
    out.clear();
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) {
        const auto b = static_cast<unsigned char>(s[pos]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++pos;
            continue;
        }
        const char32_t c = decodeUtf8(s, pos);
        if (c >= 0xA0 && c <= 0xFF) {
            out += static_cast<char>(c);
            continue;
        }
        if (c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] == 0) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (int i = 0; i < 32; ++i) {
            if (kCp1252High[i] != 0 && kCp1252High[i] == c) {
                out += static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        if (!found) return false;
    }
    return true;
}

char32_t foldCase(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x178) return 0xFF;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
        (c >= 0x1DE && c <= 0x1EF) || (c >= 0x1F8 && c <= 0x21F) || (c >= 0x222 && c <= 0x233) ||
        (c >= 0x3D8 && c <= 0x3EF) || (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) ||
        (c >= 0x4D0 && c <= 0x52F) || (c >= 0x1E00 && c <= 0x1E95) ||
        (c >= 0x1EA0 && c <= 0x1EFF)) {
        return (c % 2 == 0) ? c + 1 : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x1CD && c <= 0x1DC) ||
        (c >= 0x4C1 && c <= 0x4CE)) {
        return (c % 2 == 1) ? c + 1 : c;
    }
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB)) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c == 0x4C0) return 0x4CF;
    if (c >= 0x531 && c <= 0x556) return c + 48;
    if (c >= 0x2160 && c <= 0x216F) return c + 16;
    if (c >= 0x24B6 && c <= 0x24CF) return c + 26;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
    return c;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            if (foldCase(ca) != foldCase(cb)) return false;
            ++i, ++j;
            continue;
        }
        if (foldCase(decodeUtf8(a, i)) != foldCase(decodeUtf8(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

std::string_view trimBlanks(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::string_view trimSpace(std::string_view s) {
    size_t begin = 0;
    while (begin < s.size()) {
        size_t next = begin;
        if (!isSpace(decodeUtf8(s, next))) break;
        begin = next;
    }
    size_t end = s.size();
    while (end > begin) {
        const size_t start = previousStart(s, end);
        size_t probe = start;
        if (!isSpace(decodeUtf8(s, probe))) break;
        end = start;
    }
    return s.substr(begin, end - begin);
}

}  // namespace morvane::text
