#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace morvane::ui {

// A one-line edit box. Its change handler runs when a changed text is committed: at once when
// the program sets a different text, and when the user leaves the field or presses Enter after
// typing (the view then commits the typed text through setText). Setting the same text runs
// nothing.
class Edit : public Control {
  public:
    explicit Edit(std::string name) : Control(Kind::Edit, std::move(name)) {}

    const std::string& text() const { return text_; }
    void setText(std::string_view text);

    std::function<void()> onChange;

  private:
    std::string text_;
};

// A multi-line text box holding a list of lines.
class Memo : public Control {
  public:
    // A memo created at run time fills its parent from the start, so the view creates it so.
    explicit Memo(std::string name, bool fillsParent = false)
        : Control(Kind::Memo, std::move(name)), fillParent(fillsParent) {}

    const std::vector<std::string>& lines() const { return lines_; }
    // The lines joined by CR LF.
    std::string text() const;
    // Splits at CR LF, LF or CR.
    void setText(std::string_view text);
    void setLines(std::vector<std::string> lines);
    void clear() { setLines({}); }
    void addLine(std::string line);

    bool centred = false;  // every line centred horizontally
    bool readOnly = false;
    bool fillParent = false;  // aligned to fill its parent's client area

  private:
    std::vector<std::string> lines_;
};

}  // namespace morvane::ui
