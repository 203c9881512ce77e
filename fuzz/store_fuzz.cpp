// Arbitrary settings file bytes, in Windows-1252 or one of the multi-byte ANSI code pages 932
// and 65001: reading, listing and writing must not crash, a value written without line breaks
// or NULs reads back unchanged, writing it again changes nothing, and a write that keeps the
// file's encoding changes the bytes of no line but its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/code_page_doubles.h"
#include "store/profile_text.h"
#include "store/sandbox_files.h"
#include "store/settings_store.h"
#include "store/text.h"

namespace {

using morvane::FileEncoding;
using morvane::ProfileText;

const morvane::FilePlatform& codePage(uint8_t choice) {
    static const morvane::SandboxFiles cp1252("/nonexistent", "C:\\x.exe");
    static const morvane::testing::CodePageFiles cp932(932, "/nonexistent", "C:\\x.exe");
    static const morvane::testing::CodePageFiles cp65001(65001, "/nonexistent", "C:\\x.exe");
    switch (choice % 3) {
        case 1:
            return cp932;
        case 2:
            return cp65001;
        default:
            return cp1252;
    }
}

// Characters that matter to the dialect, plus a few outside Windows-1252 (and 932).
constexpr char32_t kAlphabet[] = {'a',   'B',   ' ',    '\t',    '"',    '\'',   '=',    '[',
                                  ']',   ';',   '/',    '*',     '1',    0xA0,   0xC4,   0xE4,
                                  0x420, 0x440, 0x20AC, 0x1F600, 0x4E91, 0x7E8A, 0x8868, 0xFF71};

std::string takeText(const uint8_t*& data, size_t& size) {
    std::string out;
    if (size == 0) return out;
    size_t length = data[0] % 12;
    ++data, --size;
    for (; length > 0 && size > 0; --length, ++data, --size) {
        morvane::text::appendUtf8(out, kAlphabet[data[0] % std::size(kAlphabet)]);
    }
    return out;
}

// The bytes in which `after` differs from `before` lie within one line of `before`.
bool changesOneLineAtMost(std::string_view before, std::string_view after) {
    size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view removed = before.substr(prefix, before.size() - prefix - suffix);
    return removed.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const morvane::FilePlatform& page = codePage(data[0]);
    ++data, --size;
    const std::string section = takeText(data, size);
    const std::string key = takeText(data, size);
    const std::string value = takeText(data, size);
    const std::string file(reinterpret_cast<const char*>(data), size);

    ProfileText text(file, page);
    (void)text.read(section, key);
    (void)text.list(section);
    if (!morvane::isStorableKey(key) || morvane::text::trimBlanks(key).empty()) return 0;

    const FileEncoding encoding = text.encoding();
    const std::string stored = morvane::wrapValue(value);
    text.write(section, key, stored);
    const std::string once = text.bytes();
    if (text.encoding() == encoding &&
        (encoding == FileEncoding::Ansi || encoding == FileEncoding::Utf8) &&
        !changesOneLineAtMost(file, once)) {
        std::abort();
    }
    ProfileText reread(once, page);
    const auto back = reread.read(section, key);
    const bool markers =
        value.find("/*") != std::string::npos || value.find("*/") != std::string::npos;
    if (!back || (!markers && morvane::unwrapValue(*back) != value)) std::abort();

    reread.write(section, key, stored);
    if (reread.bytes() != once) std::abort();
    return 0;
}
