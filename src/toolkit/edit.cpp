#include "toolkit/edit.h"

namespace morvane::ui {

void Edit::setText(std::string_view text) {
    if (text_ == text) return;
    text_ = text;
    changed();
    if (onChange) onChange();
}

std::string Memo::text() const {
    std::string joined;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) joined += "\r\n";
        joined += lines_[i];
    }
    return joined;
}

void Memo::setText(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    setLines(std::move(lines));
}

void Memo::setLines(std::vector<std::string> lines) {
    if (lines_ == lines) return;
    lines_ = std::move(lines);
    changed();
}

void Memo::addLine(std::string line) {
    lines_.push_back(std::move(line));
    changed();
}

}  // namespace morvane::ui
