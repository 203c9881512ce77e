// Arbitrary settings file bytes: reading, listing and writing must not crash, and a value
// written without line breaks or NULs reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/profile_text.h"
#include "store/sandbox_files.h"
#include "store/settings_store.h"
#include "store/text.h"

namespace {

using morvane::ProfileText;

const morvane::SandboxFiles& codePage() {
    static const morvane::SandboxFiles files("/nonexistent", "C:\\x.exe");
    return files;
}

// Characters that matter to the dialect, plus a few outside Windows-1252.
constexpr char32_t kAlphabet[] = {'a', 'B', ' ', '\t', '"',  '\'', '=',   '[',   ']',    ';',
                                  '/', '*', '1', 0xA0, 0xC4, 0xE4, 0x420, 0x440, 0x20AC, 0x1F600};

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

bool usableKey(const std::string& key) {
    const std::string_view k = morvane::text::trimBlanks(key);
    return !k.empty() && k.front() != ';' && k.front() != '[' && key.find('=') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string section = takeText(data, size);
    const std::string key = takeText(data, size);
    const std::string value = takeText(data, size);
    const std::string file(reinterpret_cast<const char*>(data), size);

    ProfileText text(file, codePage());
    (void)text.read(section, key);
    (void)text.list(section);
    if (!usableKey(key)) return 0;

    const std::string stored = morvane::wrapValue(value);
    text.write(section, key, stored);
    const std::string once = text.bytes();
    ProfileText reread(once, codePage());
    const auto back = reread.read(section, key);
    const bool markers =
        value.find("/*") != std::string::npos || value.find("*/") != std::string::npos;
    if (!back || (!markers && morvane::unwrapValue(*back) != value)) std::abort();

    reread.write(section, key, stored);
    if (reread.bytes() != once) std::abort();
    return 0;
}
