#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::uiscript {

// One word of a command: a bare word (name, keyword, number) or a quoted text with its escapes
// already applied ({E} is expanded later, when the folder is known).
struct Word {
    bool quoted = false;
    std::string text;
};

// A stretch of a text: characters, or bytes from "\xHH" that a file takes as they are.
struct Piece {
    bool raw = false;
    std::string bytes;
};
using PieceText = std::vector<Piece>;

// How `file` writes and `expect file` reads a block.
struct FileFormat {
    enum class Encoding { Ansi, Oem, Utf8, Utf8Bom, Utf16Le, Utf16Be };
    enum class LineEnd { CrLf, Lf, Cr };
    Encoding encoding = Encoding::Ansi;
    LineEnd lineEnd = LineEnd::CrLf;
    bool finalLineEnd = true;
    bool escapes = false;
};

// The keys `press` knows.
enum class Key { Tab, ShiftTab, Enter, Space, Up, Down, Left, Right, Backspace };
// The key of a `press` word ("tab", "shift+tab", ...), or nothing.
std::optional<Key> keyNamed(std::string_view name);

enum class Verb {
    File,
    Locale,
    Readonly,
    Start,
    Menu,
    Click,
    Type,
    Keys,
    Press,
    Select,
    Tab,
    Answer,
    Pick,
    Screenshot,
    ExpectMessage,
    ExpectFailure,
    ExpectQuestion,
    ExpectPicker,
    ExpectNoDialog,
    ExpectText,
    ExpectItems,
    ExpectSelected,
    ExpectChecked,
    ExpectUnchecked,
    ExpectEnabled,
    ExpectDisabled,
    ExpectPage,
    ExpectTab,
    ExpectTabs,
    ExpectMemo,
    ExpectHint,
    ExpectFocus,
    ExpectMenu,
    ExpectFile,
    ExpectNoFile,
    ExpectShellOpen,
};

// One command, checked for its shape: `args` are the words after the verb (after "expect
// KIND" for checks), in the forms the verb takes.
struct Command {
    int line = 0;
    std::string source;  // the line as written
    Verb verb = Verb::Start;
    std::vector<Word> args;
    std::vector<Key> keys;         // press
    FileFormat format;             // file and expect file
    std::vector<PieceText> block;  // one entry per content line
};

class ParseError : public std::runtime_error {
  public:
    ParseError(int line, std::string source, const std::string& message)
        : std::runtime_error(message), line(line), source(std::move(source)) {}
    int line;
    std::string source;
};

// Parses a whole scenario; throws ParseError at the first malformed line. A UTF-8 BOM and CR
// before LF are ignored.
std::vector<Command> parseScript(std::string_view text);

// Applies the double-quoted escapes (\" \\ \r \n \t \xHH \u{H...}); throws std::invalid_argument
// with the reason for any other backslash.
PieceText unescape(std::string_view body);
std::string joined(const PieceText& text);

// Replaces every "{E}" by the executable's folder.
std::string expandFolder(std::string_view text, std::string_view folder);
PieceText expandFolder(const PieceText& text, std::string_view folder);

// A Windows path as the program sees it: one with a drive letter (or a UNC path) as it is,
// anything else relative to `folder`.
std::string resolvePath(std::string_view path, std::string_view folder);

// A text shown in a report: double-quoted with the escapes above for anything unprintable.
std::string showText(std::string_view text);

}  // namespace morvane::uiscript
