#pragma once

// The multi-byte ANSI code pages 932 (Japanese) and 65001 (UTF-8) for the native build, decoding
// as Windows does: in 932 a lead byte takes the next byte with it whatever it is, and a pair that
// names no character, like a lone lead byte, decodes to U+30FB; in 65001 every invalid byte
// decodes to U+FFFD.
#include <iconv.h>

#include <string>
#include <string_view>

#include "store/sandbox_files.h"
#include "store/text.h"

namespace morvane::testing {

namespace detail {

// One conversion through the C library's WINDOWS-31J, which maps as Windows' 932 does. The
// descriptors stay open: opening one per character would be slow.
inline bool convert(bool toUtf8, std::string_view in, std::string& out) {
    thread_local iconv_t decoder = iconv_open("UTF-8", "WINDOWS-31J");
    thread_local iconv_t encoder = iconv_open("WINDOWS-31J", "UTF-8");
    iconv_t cd = toUtf8 ? decoder : encoder;
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string input(in);
    char* source = input.data();
    size_t left = input.size();
    char buffer[16];
    char* target = buffer;
    size_t room = sizeof buffer;
    const bool ok = iconv(cd, &source, &left, &target, &room) != static_cast<size_t>(-1) &&
                    left == 0 && iconv(cd, nullptr, nullptr, &target, &room) == 0;
    if (ok) out.append(buffer, static_cast<size_t>(target - buffer));
    return ok;
}

inline bool isLead932(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace detail

inline std::string cp932ToUtf8(std::string_view ansi) {
    std::string out;
    for (size_t i = 0; i < ansi.size();) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else if (detail::isLead932(b)) {
            if (i + 1 == ansi.size() || !detail::convert(true, ansi.substr(i, 2), out)) {
                text::appendUtf8(out, 0x30FB);
            }
            i += 2;
        } else {
            if (b == 0x80) {
                text::appendUtf8(out, 0x80);
            } else if (b == 0xA0 || b >= 0xFD) {
                text::appendUtf8(out, b == 0xA0 ? 0xF8F0 : 0xF8F1 + (b - 0xFD));
            } else if (!detail::convert(true, ansi.substr(i, 1), out)) {
                text::appendUtf8(out, 0x30FB);
            }
            ++i;
        }
    }
    return out;
}

inline bool utf8ToCp932(std::string_view utf8, std::string& ansi) {
    ansi.clear();
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const char32_t c = text::decodeUtf8(utf8, i);
        if (c < 0x80) {
            ansi += static_cast<char>(c);
        } else if (!detail::convert(false, utf8.substr(start, i - start), ansi)) {
            return false;
        }
    }
    return true;
}

// Valid UTF-8 stays as it is; every invalid byte becomes U+FFFD.
inline std::string utf8AsAnsiToUtf8(std::string_view ansi) {
    std::string out;
    for (size_t i = 0; i < ansi.size();) text::appendUtf8(out, text::decodeUtf8(ansi, i));
    return out;
}

// A sandbox whose ANSI code page is 932 or 65001 instead of 1252.
class CodePageFiles : public SandboxFiles {
  public:
    CodePageFiles(int codePage, std::filesystem::path root, std::string executable)
        : SandboxFiles(std::move(root), std::move(executable)), codePage_(codePage) {}

    std::string ansiToUtf8(std::string_view ansi) const override {
        return codePage_ == 932 ? cp932ToUtf8(ansi) : utf8AsAnsiToUtf8(ansi);
    }
    bool utf8ToAnsi(std::string_view utf8, std::string& ansi) const override {
        if (codePage_ == 932) return utf8ToCp932(utf8, ansi);
        ansi = utf8;
        return true;
    }
    bool ansiIsSingleByte() const override { return false; }

  private:
    int codePage_;
};

}  // namespace morvane::testing
