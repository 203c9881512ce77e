#include "store/settings_store.h"

#include "store/profile_text.h"

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

}  // namespace

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
    requireStorable(key);
    requireStorable(value);
    const std::string file = path();
    const StoreError refused("Unable to write to " + file);

    std::string bytes;
    const auto result = platform_.readFile(file, bytes);
    // A file that exists but cannot be read is never replaced on the belief that it is empty.
    if (result == FilePlatform::ReadResult::Unreadable) throw refused;
    if (result == FilePlatform::ReadResult::Absent) bytes.clear();

    ProfileText document(bytes, platform_);
    document.write(section, key, value);
    const std::string temporary = file + ".tmp";
    if (!platform_.writeFile(temporary, document.bytes()) ||
        !platform_.replaceFile(temporary, file)) {
        platform_.removeFile(temporary);
        throw refused;
    }
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
