#include "store/profile_text.h"

#include <algorithm>
#include <cstring>

#include "store/text.h"

namespace morvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isAscii(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view asciiPrefix) {
    if (text.size() < asciiPrefix.size()) return false;
    for (size_t i = 0; i < asciiPrefix.size(); ++i) {
        char a = text[i], b = asciiPrefix[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
        if (a != b) return false;
    }
    return true;
}

}  // namespace

ProfileText::ProfileText(std::string_view fileBytes, const FilePlatform& codePage)
    : codePage_(codePage), multiByte_(!codePage.ansiIsSingleByte()) {
    encoding_ = markedEncoding(fileBytes);
    const std::string_view body = fileBytes.substr(byteOrderMark(encoding_).size());
    if (encoding_ == FileEncoding::Utf8) {
        view_ = body;
    } else if (encoding_ != FileEncoding::Ansi) {
        text_ = text::utf16ToUtf8(text::utf16Units(body, encoding_ == FileEncoding::Utf16Be));
        view_ = text_;
        if (body.size() % 2 != 0) tail_ = body.substr(body.size() - 1);
    } else {
        // Kept as bytes in every code page, so that lines nobody writes keep every byte, also
        // where decoding and encoding again would change them.
        ansiBytes_ = true;
        view_ = fileBytes;
    }
}

void ProfileText::setView(std::string_view text) {
    view_ = text;
    lfFrom_ = std::string_view::npos;
}

ProfileText::Line ProfileText::lineAt(size_t start) const {
    const char* data = view_.data();
    const size_t size = view_.size();
    // The next LF is remembered: in a file of lone CRs every line would otherwise search the
    // whole rest of the file for one.
    if (lfFrom_ > start || lfAt_ < start) {
        const auto* lf = static_cast<const char*>(std::memchr(data + start, '\n', size - start));
        lfFrom_ = start;
        lfAt_ = lf ? static_cast<size_t>(lf - data) : size;
    }
    size_t stop = lfAt_;
    const auto* cr = static_cast<const char*>(std::memchr(data + start, '\r', stop - start));
    if (cr) stop = static_cast<size_t>(cr - data);
    size_t next = stop;
    if (next < size && view_[next] == '\r') ++next;
    if (next < size && view_[next] == '\n' && (next == stop || view_[stop] == '\r')) ++next;
    const auto* nul = static_cast<const char*>(std::memchr(data + start, '\0', stop - start));
    const size_t end = nul ? static_cast<size_t>(nul - data) : stop;
    return {start, end, next};
}

std::optional<std::string_view> ProfileText::headerName(std::string_view line) {
    size_t open = 0;
    while (open < line.size() && isBlank(line[open])) ++open;
    if (open == line.size() || line[open] != '[') return std::nullopt;
    const size_t close = line.rfind(']');
    if (close == std::string_view::npos || close < open) return std::nullopt;
    return text::trimBlanks(line.substr(open + 1, close - open - 1));
}

std::optional<ProfileText::Entry> ProfileText::entryOf(std::string_view line) {
    size_t first = 0;
    while (first < line.size() && isBlank(line[first])) ++first;
    if (first == line.size() || line[first] == ';') return std::nullopt;
    const size_t equals = line.find('=', first);
    if (equals == std::string_view::npos) return std::nullopt;
    return Entry{text::trimBlanks(line.substr(first, equals - first)), line.substr(equals + 1)};
}

bool ProfileText::isHeader(std::string_view line) const {
    // A header in the bytes is one in the text too unless its "]" is the second byte of a
    // character.
    if (!headerName(line)) return false;
    return !(ansiBytes_ && multiByte_) || headerName(codePage_.ansiToUtf8(line)).has_value();
}

bool ProfileText::headerMatches(std::string_view line, std::string_view wanted) const {
    if (ansiBytes_ && multiByte_) {
        if (!headerName(line)) return false;
        const std::string text = codePage_.ansiToUtf8(line);
        const auto name = headerName(text);
        return name && text::equalsNoCase(*name, wanted);
    }
    const auto name = headerName(line);
    return name && nameMatches(*name, wanted);
}

bool ProfileText::nameMatches(std::string_view stored, std::string_view wanted) const {
    if (!ansiBytes_ || isAscii(stored)) return text::equalsNoCase(stored, wanted);
    return text::equalsNoCase(codePage_.ansiToUtf8(stored), wanted);
}

std::optional<size_t> ProfileText::findSection(std::string_view name) const {
    const std::string_view wanted = text::trimBlanks(name);
    // An ASCII name can be rejected from the bytes after "[" alone: no other letter folds to an
    // ASCII one. Headers are rare among entries, so the scan jumps from "[" to "[".
    const bool quickReject = !wanted.empty() && isAscii(wanted);
    const char* data = view_.data();
    size_t pos = 0;
    while (pos < view_.size()) {
        const auto* hit =
            static_cast<const char*>(std::memchr(data + pos, '[', view_.size() - pos));
        if (!hit) break;
        const size_t bracket = static_cast<size_t>(hit - data);
        size_t start = bracket;
        while (start > 0 && isBlank(view_[start - 1])) --start;
        if (start > 0 && view_[start - 1] != '\n' && view_[start - 1] != '\r') {
            pos = bracket + 1;
            continue;
        }
        if (quickReject) {
            size_t first = bracket + 1;
            while (first < view_.size() && isBlank(view_[first])) ++first;
            if (!startsWithNoCase(view_.substr(first), wanted)) {
                pos = bracket + 1;
                continue;
            }
        }
        const Line line = lineAt(start);
        if (headerMatches(view_.substr(line.begin, line.end - line.begin), wanted)) {
            return line.next;
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::string ProfileText::decoded(std::string_view raw) const {
    return ansiBytes_ ? codePage_.ansiToUtf8(raw) : std::string(raw);
}

std::string ProfileText::value(std::string_view raw) const {
    const std::string full = decoded(raw);
    std::string_view v = text::trimSpace(full);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        v = v.substr(1, v.size() - 2);
    }
    return std::string(v);
}

std::optional<std::string> ProfileText::read(std::string_view section, std::string_view key) const {
    const auto body = findSection(section);
    if (!body) return std::nullopt;
    const std::string_view wanted = text::trimBlanks(key);
    for (size_t pos = *body; pos < view_.size();) {
        const Line line = lineAt(pos);
        const std::string_view content = view_.substr(line.begin, line.end - line.begin);
        if (isHeader(content)) break;
        if (const auto entry = entryOf(content); entry && nameMatches(entry->key, wanted)) {
            return value(entry->value);
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::vector<std::string> ProfileText::list(std::string_view section) const {
    std::vector<std::string> lines;
    const auto body = findSection(section);
    if (!body) return lines;
    for (size_t pos = *body; pos < view_.size();) {
        const Line line = lineAt(pos);
        const std::string_view content = view_.substr(line.begin, line.end - line.begin);
        if (isHeader(content)) break;
        if (const auto entry = entryOf(content)) {
            lines.push_back(decoded(entry->key) + "=" + value(entry->value));
        }
        pos = line.next;
    }
    return lines;
}

bool ProfileText::encode(std::string_view utf8, std::string& out) const {
    if (!ansiBytes_) {
        out = utf8;
        return true;
    }
    return codePage_.utf8ToAnsi(utf8, out);
}

void ProfileText::switchToUnicode() {
    if (ansiBytes_) {
        // Line by line: a cut double-byte character must not take the line break with it.
        std::string decoded;
        for (size_t pos = 0; pos < view_.size();) {
            const size_t stop = std::min(view_.find_first_of("\r\n", pos), view_.size());
            decoded += codePage_.ansiToUtf8(view_.substr(pos, stop - pos));
            const size_t next = std::min(view_.find_first_not_of("\r\n", stop), view_.size());
            decoded += view_.substr(stop, next - stop);
            pos = next;
        }
        text_ = std::move(decoded);
    }
    setView(text_);
    ansiBytes_ = false;
    encoding_ = FileEncoding::Utf16Le;
}

void ProfileText::write(std::string_view section, std::string_view key, std::string_view value) {
    if (view_.data() != text_.data()) text_ = view_;
    setView(text_);
    // Names are stored trimmed, as they are matched, so writing twice changes nothing more.
    section = text::trimBlanks(section);
    key = text::trimBlanks(key);
    std::string rawSection, rawKey, rawValue;
    if (!encode(section, rawSection) || !encode(key, rawKey) || !encode(value, rawValue)) {
        switchToUnicode();
        rawSection = section, rawKey = key, rawValue = value;
    }
    const auto endLastLine = [this] {
        if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') text_ += "\r\n";
    };

    const auto body = findSection(section);
    if (!body) {
        endLastLine();
        text_ += "[" + rawSection + "]\r\n" + rawKey + "=" + rawValue + "\r\n";
        setView(text_);
        return;
    }
    size_t insertAt = *body;
    for (size_t pos = insertAt; pos < view_.size();) {
        const Line line = lineAt(pos);
        const std::string_view content = view_.substr(line.begin, line.end - line.begin);
        if (isHeader(content)) break;
        if (const auto entry = entryOf(content)) {
            if (nameMatches(entry->key, key)) {
                const std::string replacement = std::string(entry->key) + "=" + rawValue;
                // The line's text ends at a NUL; what follows it on the line goes with it.
                size_t stop = line.next;
                while (stop > line.begin && (text_[stop - 1] == '\n' || text_[stop - 1] == '\r')) {
                    --stop;
                }
                text_.replace(line.begin, stop - line.begin, replacement);
                setView(text_);
                return;
            }
            insertAt = line.next;
        }
        pos = line.next;
    }
    if (insertAt == text_.size()) {
        endLastLine();
        insertAt = text_.size();
    }
    text_.insert(insertAt, rawKey + "=" + rawValue + "\r\n");
    setView(text_);
}

std::string ProfileText::bytes() {
    if (encoding_ == FileEncoding::Ansi) return std::string(view_);
    std::string bytes;
    encodeTextFile(view_, encoding_, codePage_, bytes);  // cannot fail with a byte-order mark
    return bytes + tail_;
}

}  // namespace morvane
