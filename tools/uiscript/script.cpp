#include "tools/uiscript/script.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>

#include "store/text.h"

namespace morvane::uiscript {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendText(PieceText& text, bool raw, std::string_view bytes) {
    if (text.empty() || text.back().raw != raw) text.push_back({raw, {}});
    text.back().bytes += bytes;
}

bool isNumber(std::string_view word) {
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

bool isName(std::string_view word) {
    if (word.empty() || (word[0] >= '0' && word[0] <= '9')) return false;
    for (char c : word) {
        const bool ok =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return true;
}

// "NAME:N"
bool isTabReference(std::string_view word) {
    const size_t colon = word.find(':');
    return colon != std::string_view::npos && isName(word.substr(0, colon)) &&
           isNumber(word.substr(colon + 1));
}

struct Line {
    int number;
    std::string text;
};

class Parser {
  public:
    explicit Parser(std::string_view text) { split(text); }

    std::vector<Command> run() {
        std::vector<Command> commands;
        while (next_ < lines_.size()) {
            const Line& line = lines_[next_++];
            const size_t first = line.text.find_first_not_of(" \t");
            if (first == std::string::npos || line.text[first] == '#') continue;
            commands.push_back(command(line));
        }
        return commands;
    }

  private:
    void split(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        int number = 0;
        while (!text.empty()) {
            size_t end = text.find('\n');
            std::string_view piece = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
            lines_.push_back({++number, std::string(piece)});
        }
    }

    [[noreturn]] void fail(const std::string& message) const {
        throw ParseError(current_.number, current_.text, message);
    }

    std::vector<Word> words(const std::string& text) {
        std::vector<Word> result;
        size_t at = 0;
        while (true) {
            while (at < text.size() && isBlank(text[at])) ++at;
            if (at == text.size()) return result;
            const char c = text[at];
            if (c == '"' || c == '\'') {
                const size_t close = closingQuote(text, at);
                const std::string_view body = std::string_view(text).substr(at + 1, close - at - 1);
                std::string value;
                if (c == '\'') {
                    value = body;
                } else {
                    try {
                        value = joined(unescape(body));
                    } catch (const std::invalid_argument& error) {
                        fail(error.what());
                    }
                }
                result.push_back({true, std::move(value)});
                at = close + 1;
                if (at < text.size() && !isBlank(text[at])) fail("a blank must follow a text");
            } else {
                const size_t end = text.find_first_of(" \t", at);
                std::string word = text.substr(at, end == std::string::npos ? end : end - at);
                if (word.find_first_of("\"'") != std::string::npos) {
                    fail("a quote inside the word " + word);
                }
                result.push_back({false, std::move(word)});
                at = end == std::string::npos ? text.size() : end;
            }
        }
    }

    size_t closingQuote(const std::string& text, size_t open) const {
        for (size_t at = open + 1; at < text.size(); ++at) {
            if (text[open] == '"' && text[at] == '\\') {
                ++at;
            } else if (text[at] == text[open]) {
                return at;
            }
        }
        fail("a text is not closed");
    }

    Command command(const Line& line) {
        current_ = line;
        Command cmd;
        cmd.line = line.number;
        cmd.source = line.text.substr(line.text.find_first_not_of(" \t"));
        std::vector<Word> all = words(line.text);

        std::string tag;
        if (!all.empty() && !all.back().quoted && all.back().text.starts_with("<<")) {
            tag = all.back().text.substr(2);
            if (tag.empty()) fail("a block needs a tag after <<");
            all.pop_back();
        }

        if (all.empty() || all[0].quoted) fail("a command starts with its name");
        std::string name = all[0].text;
        size_t used = 1;
        if (name == "expect") {
            if (all.size() < 2 || all[1].quoted) fail("expect what?");
            name += " " + all[1].text;
            used = 2;
        }
        static const std::map<std::string, Verb> verbs = {
            {"file", Verb::File},
            {"locale", Verb::Locale},
            {"readonly", Verb::Readonly},
            {"start", Verb::Start},
            {"menu", Verb::Menu},
            {"click", Verb::Click},
            {"type", Verb::Type},
            {"keys", Verb::Keys},
            {"press", Verb::Press},
            {"select", Verb::Select},
            {"tab", Verb::Tab},
            {"answer", Verb::Answer},
            {"pick", Verb::Pick},
            {"screenshot", Verb::Screenshot},
            {"expect message", Verb::ExpectMessage},
            {"expect failure", Verb::ExpectFailure},
            {"expect question", Verb::ExpectQuestion},
            {"expect picker", Verb::ExpectPicker},
            {"expect no-dialog", Verb::ExpectNoDialog},
            {"expect text", Verb::ExpectText},
            {"expect items", Verb::ExpectItems},
            {"expect selected", Verb::ExpectSelected},
            {"expect checked", Verb::ExpectChecked},
            {"expect unchecked", Verb::ExpectUnchecked},
            {"expect enabled", Verb::ExpectEnabled},
            {"expect disabled", Verb::ExpectDisabled},
            {"expect page", Verb::ExpectPage},
            {"expect tab", Verb::ExpectTab},
            {"expect tabs", Verb::ExpectTabs},
            {"expect memo", Verb::ExpectMemo},
            {"expect hint", Verb::ExpectHint},
            {"expect focus", Verb::ExpectFocus},
            {"expect menu", Verb::ExpectMenu},
            {"expect file", Verb::ExpectFile},
            {"expect no-file", Verb::ExpectNoFile},
            {"expect shell-open", Verb::ExpectShellOpen},
        };
        const auto verb = verbs.find(name);
        if (verb == verbs.end()) fail("unknown command: " + name);
        cmd.verb = verb->second;
        cmd.args.assign(all.begin() + static_cast<std::ptrdiff_t>(used), all.end());
        checkShape(cmd, name);

        const bool takesBlock =
            cmd.verb == Verb::File || cmd.verb == Verb::ExpectFile || cmd.verb == Verb::ExpectMemo;
        if (takesBlock && tag.empty()) fail(name + " takes a block: <<TAG");
        if (!takesBlock && !tag.empty()) fail(name + " takes no block");
        if (takesBlock) readBlock(cmd, tag);
        return cmd;
    }

    // Words in the forms a verb takes. Pattern letters: T a text, N a number, C a control
    // name, c a control name or NAME:N, M NAME:N; a trailing '*' repeats the last letter.
    void shape(const Command& cmd, const std::string& name, std::string_view pattern,
               std::string_view usage) const {
        const auto matches = [](char kind, const Word& word) {
            switch (kind) {
                case 'T':
                    return word.quoted;
                case 'N':
                    return !word.quoted && isNumber(word.text);
                case 'C':
                    return !word.quoted && isName(word.text);
                case 'c':
                    return !word.quoted && (isName(word.text) || isTabReference(word.text));
                case 'M':
                    return !word.quoted && isTabReference(word.text);
            }
            return false;
        };
        const bool repeats = pattern.ends_with('*');
        const std::string_view fixed = repeats ? pattern.substr(0, pattern.size() - 1) : pattern;
        bool ok =
            cmd.args.size() == fixed.size() || (repeats && cmd.args.size() >= fixed.size() - 1);
        for (size_t i = 0; ok && i < cmd.args.size(); ++i) {
            ok = matches(fixed[std::min(i, fixed.size() - 1)], cmd.args[i]);
        }
        if (!ok) fail("usage: " + name + (usage.empty() ? "" : " ") + std::string(usage));
    }

    bool bare(const Command& cmd, size_t index, std::string_view word) const {
        return index < cmd.args.size() && !cmd.args[index].quoted && cmd.args[index].text == word;
    }

    void checkShape(Command& cmd, const std::string& name) {
        switch (cmd.verb) {
            case Verb::Start:
            case Verb::ExpectNoDialog:
                return shape(cmd, name, "", "");
            case Verb::Locale:
                return shape(cmd, name, "TT", "\"DEC\" \"THOUSANDS\"");
            case Verb::Readonly:
            case Verb::ExpectNoFile:
            case Verb::ExpectShellOpen:
                return shape(cmd, name, "T", "\"PATH\"");
            case Verb::Screenshot:
                return shape(cmd, name, "T", "\"NAME\"");
            case Verb::Menu:
                return shape(cmd, name, "C", "ITEM");
            case Verb::Click:
            case Verb::ExpectChecked:
            case Verb::ExpectUnchecked:
            case Verb::ExpectFocus:
                return shape(cmd, name, "C", "CONTROL");
            case Verb::Type:
            case Verb::Keys:
            case Verb::ExpectText:
            case Verb::ExpectHint:
                return shape(cmd, name, "CT", "CONTROL \"TEXT\"");
            case Verb::Press: {
                const char* usage =
                    "usage: press KEY... (tab shift+tab enter space up down left right backspace)";
                for (const Word& word : cmd.args) {
                    const auto key = word.quoted ? std::nullopt : keyNamed(word.text);
                    if (!key) fail(usage);
                    cmd.keys.push_back(*key);
                }
                if (cmd.keys.empty()) fail(usage);
                return;
            }
            case Verb::Select:
                if (cmd.args.size() == 2 && !cmd.args[1].quoted) {
                    return shape(cmd, name, "CN", "CONTROL N");
                }
                return shape(cmd, name, "CT", "CONTROL \"ENTRY\" | CONTROL N");
            case Verb::Tab:
            case Verb::ExpectTab:
            case Verb::ExpectSelected:
                return shape(cmd, name, "CN", "CONTROL N");
            case Verb::ExpectPage:
                return shape(cmd, name, "N", "N");
            case Verb::ExpectItems:
            case Verb::ExpectTabs:
                return shape(cmd, name, "CT*", "CONTROL \"A\" \"B\" ...");
            case Verb::ExpectMenu:
                return shape(cmd, name, "T*", "\"A\" \"B\" ...");
            case Verb::ExpectEnabled:
            case Verb::ExpectDisabled:
                return shape(cmd, name, "c", "CONTROL | CONTROL:N");
            case Verb::ExpectMemo:
                return shape(cmd, name, "M", "CONTROL:N <<TAG");
            case Verb::Answer:
                if (cmd.args.size() == 1 && (bare(cmd, 0, "yes") || bare(cmd, 0, "no"))) return;
                fail("usage: answer yes | answer no");
            case Verb::Pick:
                if (cmd.args.size() == 1 && (cmd.args[0].quoted || bare(cmd, 0, "cancel"))) return;
                fail("usage: pick \"PATH\" | pick cancel");
            case Verb::ExpectFailure:
                if (cmd.args.size() == 1 && (cmd.args[0].quoted || bare(cmd, 0, "*"))) return;
                fail("usage: expect failure \"TEXT\" | expect failure *");
            case Verb::ExpectQuestion:
                return shape(cmd, name, "T", "\"TEXT\"");
            case Verb::ExpectMessage:
                if (cmd.args.size() == 2 && cmd.args[1].quoted &&
                    (bare(cmd, 0, "error") || bare(cmd, 0, "information") ||
                     bare(cmd, 0, "warning") || bare(cmd, 0, "confirm"))) {
                    return;
                }
                fail("usage: expect message error|information|warning|confirm \"TEXT\"");
            case Verb::ExpectPicker:
                if (bare(cmd, 0, "file") && cmd.args.size() == 2 && cmd.args[1].quoted) return;
                if (bare(cmd, 0, "folder") && cmd.args.size() == 3 && cmd.args[1].quoted &&
                    cmd.args[2].quoted) {
                    return;
                }
                fail(
                    "usage: expect picker file \"TITLE\" | expect picker folder \"CAPTION\" "
                    "\"START\"");
            case Verb::File:
            case Verb::ExpectFile:
                return fileOptions(cmd, name);
        }
    }

    void fileOptions(Command& cmd, const std::string& name) {
        if (cmd.args.empty() || !cmd.args[0].quoted)
            fail("usage: " + name + " \"PATH\" [OPTIONS] <<TAG");
        using E = FileFormat::Encoding;
        using L = FileFormat::LineEnd;
        static const std::map<std::string, E> encodings = {{"ansi", E::Ansi},
                                                           {"oem", E::Oem},
                                                           {"utf8", E::Utf8},
                                                           {"utf8bom", E::Utf8Bom},
                                                           {"utf16le", E::Utf16Le},
                                                           {"utf16be", E::Utf16Be}};
        static const std::map<std::string, L> lineEnds = {
            {"crlf", L::CrLf}, {"lf", L::Lf}, {"cr", L::Cr}};
        bool encodingSeen = false, lineEndSeen = false, finalSeen = false, escapesSeen = false;
        const auto once = [&](bool& seen, const std::string& option) {
            if (seen) fail("more than one " + option + " option");
            seen = true;
        };
        for (size_t i = 1; i < cmd.args.size(); ++i) {
            const Word& word = cmd.args[i];
            if (word.quoted) fail("options are bare words, not texts");
            if (const auto e = encodings.find(word.text); e != encodings.end()) {
                once(encodingSeen, "encoding");
                cmd.format.encoding = e->second;
            } else if (const auto l = lineEnds.find(word.text); l != lineEnds.end()) {
                once(lineEndSeen, "line end");
                cmd.format.lineEnd = l->second;
            } else if (word.text == "nofinal") {
                once(finalSeen, "nofinal");
                cmd.format.finalLineEnd = false;
            } else if (word.text == "escapes") {
                once(escapesSeen, "escapes");
                cmd.format.escapes = true;
            } else {
                fail("unknown option: " + word.text);
            }
        }
        cmd.args.resize(1);
    }

    void readBlock(Command& cmd, const std::string& tag) {
        while (next_ < lines_.size()) {
            const Line& line = lines_[next_++];
            if (line.text == tag) return;
            if (!cmd.format.escapes) {
                cmd.block.push_back(PieceText{{false, line.text}});
                continue;
            }
            try {
                cmd.block.push_back(unescape(line.text));
            } catch (const std::invalid_argument& error) {
                throw ParseError(line.number, line.text, error.what());
            }
        }
        fail("the block is not closed by a line " + tag);
    }

    std::vector<Line> lines_;
    size_t next_ = 0;
    Line current_{0, {}};
};

}  // namespace

std::vector<Command> parseScript(std::string_view text) { return Parser(text).run(); }

std::optional<Key> keyNamed(std::string_view name) {
    static const std::map<std::string_view, Key> keys = {
        {"tab", Key::Tab},
        {"shift+tab", Key::ShiftTab},
        {"enter", Key::Enter},
        {"space", Key::Space},
        {"up", Key::Up},
        {"down", Key::Down},
        {"left", Key::Left},
        {"right", Key::Right},
        {"backspace", Key::Backspace},
    };
    const auto found = keys.find(name);
    return found == keys.end() ? std::nullopt : std::optional<Key>(found->second);
}

PieceText unescape(std::string_view body) {
    PieceText text;
    for (size_t at = 0; at < body.size(); ++at) {
        if (body[at] != '\\') {
            appendText(text, false, body.substr(at, 1));
            continue;
        }
        if (++at == body.size()) throw std::invalid_argument("a lone backslash at the end");
        switch (body[at]) {
            case '"':
                appendText(text, false, "\"");
                break;
            case '\\':
                appendText(text, false, "\\");
                break;
            case 'r':
                appendText(text, false, "\r");
                break;
            case 'n':
                appendText(text, false, "\n");
                break;
            case 't':
                appendText(text, false, "\t");
                break;
            case 'x': {
                const int high = at + 2 < body.size() ? hexDigit(body[at + 1]) : -1;
                const int low = high >= 0 ? hexDigit(body[at + 2]) : -1;
                if (low < 0) throw std::invalid_argument("\\x takes two hex digits");
                appendText(text, true, std::string(1, static_cast<char>(high * 16 + low)));
                at += 2;
                break;
            }
            case 'u': {
                const size_t close = body.find('}', at);
                if (at + 1 >= body.size() || body[at + 1] != '{' ||
                    close == std::string_view::npos) {
                    throw std::invalid_argument("\\u takes {HEX}");
                }
                const std::string_view digits = body.substr(at + 2, close - at - 2);
                uint32_t value = 0;
                const auto [end, error] =
                    std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
                if (digits.empty() || digits.size() > 6 || error != std::errc() ||
                    end != digits.data() + digits.size() || value > 0x10FFFF) {
                    throw std::invalid_argument("\\u{" + std::string(digits) + "} is no character");
                }
                std::string encoded;
                text::appendUtf8(encoded, value);
                appendText(text, false, encoded);
                at = close;
                break;
            }
            default:
                throw std::invalid_argument(std::string("unknown escape \\") + body[at]);
        }
    }
    return text;
}

std::string joined(const PieceText& text) {
    std::string all;
    for (const Piece& piece : text) all += piece.bytes;
    return all;
}

std::string expandFolder(std::string_view text, std::string_view folder) {
    std::string result;
    for (size_t at = 0;;) {
        const size_t found = text.find("{E}", at);
        result += text.substr(at, found - at);
        if (found == std::string_view::npos) return result;
        result += folder;
        at = found + 3;
    }
}

PieceText expandFolder(const PieceText& text, std::string_view folder) {
    PieceText result;
    for (const Piece& piece : text) {
        result.push_back({piece.raw, piece.raw ? piece.bytes : expandFolder(piece.bytes, folder)});
    }
    return result;
}

std::string resolvePath(std::string_view path, std::string_view folder) {
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (drive || path.starts_with("\\\\")) return std::string(path);
    while (!path.empty() && (path[0] == '\\' || path[0] == '/')) path.remove_prefix(1);
    return std::string(folder) + "\\" + std::string(path);
}

std::string showText(std::string_view text) {
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        const char32_t c = text::decodeUtf8(text, at);
        const bool invalid = c == 0xFFFD && text.substr(start, at - start) != "\xEF\xBF\xBD";
        if (invalid) {
            static const char* digits = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(text[start]);
            out += std::string("\\x") + digits[byte >> 4] + digits[byte & 15];
            at = start + 1;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0xFEFF ||
                   (c >= 0xD800 && c <= 0xDFFF)) {
            char buffer[16];
            const auto [end, error] =
                std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint32_t>(c), 16);
            out += "\\u{" + std::string(buffer, end) + "}";
        } else {
            out += text.substr(start, at - start);
        }
    }
    return out + "\"";
}

}  // namespace morvane::uiscript
