#include "store/settings_store.h"

#include "store/file_rewrite.h"
#include "store/profile_text.h"
#include "store/text.h"

namespace morvane {

namespace {

// The text as a user can read it in a message, line breaks and NULs made visible.
std::string visible(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\0') {
            out += "\\0";
        } else {
            out += c;
        }
    }
    return out;
}

void requireStorable(std::string_view text) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        throw StoreError("The text \"" + visible(text) +
                         "\" cannot be saved: the settings file cannot hold line breaks or NUL "
                         "characters.");
    }
}

// A key that would not read back as itself: "=" ends a key, ";" starts a comment line and "["
// a section header.
void requireStorableKey(std::string_view key) {
    requireStorable(key);
    if (!isStorableKey(key)) {
        throw StoreError("The key \"" + std::string(key) +
                         "\" cannot be saved: a key in the settings file cannot hold \"=\" or "
                         "begin with \";\" or \"[\".");
    }
}

}  // namespace

bool isStorableKey(std::string_view key) {
    const std::string_view name = text::trimBlanks(key);
    return key.find('=') == std::string_view::npos &&
           (name.empty() || (name.front() != ';' && name.front() != '['));
}

std::string folderOf(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) return "";
    std::string folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

std::string wrapValue(std::string_view value) { return "/*" + std::string(value) + "*/"; }

std::string unwrapValue(std::string_view stored) {
    std::string text(stored);
    if (const size_t open = text.find("/*"); open != std::string::npos) text.erase(open, 2);
    if (const size_t close = text.find("*/"); close != std::string::npos) text.erase(close, 2);
    return text;
}

std::string poolListSection(std::string_view configuration) {
    return std::string(configuration) + " Pools";
}

std::string tokenListSection(std::string_view configuration) {
    return std::string(configuration) + " Tokens";
}

std::string titleOfListing(std::string_view line) {
    const size_t equals = line.find('=');
    return std::string(equals == std::string_view::npos ? line : line.substr(equals + 1));
}

std::string titleEntryKey(int number) { return "ID" + std::to_string(number); }

std::optional<int> findTitle(const std::vector<std::string>& titles, std::string_view title) {
    for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i] == title) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

std::string SettingsStore::path() const {
    return folderOf(platform_.executablePath()) + "\\Morvane.ini";
}

std::string SettingsStore::read(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    std::string bytes;
    if (platform_.readFile(path(), bytes) != FilePlatform::ReadResult::Ok) {
        return std::string(fallback);
    }
    const auto value = ProfileText(bytes, platform_).read(section, key);
    return value ? *value : std::string(fallback);
}

std::vector<std::string> SettingsStore::list(std::string_view section) const {
    std::string bytes;
    if (platform_.readFile(path(), bytes) != FilePlatform::ReadResult::Ok) return {};
    return ProfileText(bytes, platform_).list(section);
}

std::vector<std::string> SettingsStore::titles(std::string_view section) const {
    std::vector<std::string> result;
    for (const std::string& line : list(section)) result.push_back(titleOfListing(line));
    return result;
}

void SettingsStore::write(std::string_view section, std::string_view key, std::string_view value) {
    requireStorable(section);
    requireStorableKey(key);
    requireStorable(value);
    const std::string file = path();
    const StoreError refused("Unable to write to " + file);

    // Another window of the program writing the same file waits for this write, and so reads
    // what this one wrote.
    auto rewrite = FileRewrite::begin(platform_, file, lockWait_);
    if (!rewrite) throw refused;
    std::string bytes;
    const auto result = rewrite->read(bytes);
    // A file that exists but cannot be read is never replaced on the belief that it is empty.
    if (result == FilePlatform::ReadResult::Unreadable) throw refused;
    if (result == FilePlatform::ReadResult::Absent) bytes.clear();

    ProfileText document(bytes, platform_);
    document.write(section, key, value);
    if (!rewrite->replace(document.bytes())) throw refused;
}

std::string SettingsStore::readWrapped(std::string_view section, std::string_view key,
                                       std::string_view fallback) const {
    return unwrapValue(read(section, key, fallback));
}

void SettingsStore::writeWrapped(std::string_view section, std::string_view key,
                                 std::string_view value) {
    write(section, key, wrapValue(value));
}

}  // namespace morvane
