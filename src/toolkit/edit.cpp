#include "toolkit/edit.h"

#include "store/text_file.h"

namespace morvane::ui {

void Edit::setText(std::string_view text) {
    if (text_ == text) return;
    text_ = text;
    changed();
    if (onChange) onChange();
}

std::string Memo::text() const { return joinLines(lines_, false); }

void Memo::setText(std::string_view text) { setLines(splitLines(text)); }

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
