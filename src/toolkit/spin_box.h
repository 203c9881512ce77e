#pragma once

#include <string>
#include <string_view>

#include "toolkit/control.h"

namespace morvane::ui {

// The user's number format, as the spin boxes show and read numbers.
struct Locale {
    std::string decimal = ".";
    std::string thousands = ",";
};
Locale& locale();

// A number between a minimum and a maximum, shown as text: whole-number spin boxes as a plain
// decimal number ("4"), two-decimal ones in fixed point with the locale's decimal separator
// ("0.75").
class SpinBox : public Control {
  public:
    SpinBox(std::string name, double minimum, double maximum, double step, int decimals,
            double value);

    double value() const { return value_; }
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }
    double step() const { return step_; }
    int decimals() const { return decimals_; }

    // The value in the spin box's text form.
    std::string text() const;

    // Commits a text, typed or set by the program: blanks, control characters, no-break spaces
    // and the locale's thousands separator (where it differs from the decimal separator) are
    // removed; nothing left gives the minimum; "." and "," both read as the decimal separator;
    // a text that is no number keeps the value; whole numbers round half to even; the result
    // is clamped to the range. Examples (0..100): "2.5" -> 2, "150" -> 100, "abc" -> unchanged.
    void setText(std::string_view text);
    void setValue(double value);
    // `count` steps up (negative: down), clamped.
    void stepBy(int count);
    // The user presses the up or down arrow (of the box or of the keyboard): the box takes the
    // focus and steps.
    void userStep(int count) {
        setFocus();
        stepBy(count);
    }
    // The keyboard filter: digits, "-" and "+"; two-decimal spin boxes also ".", "," and the
    // locale's decimal separator.
    bool acceptsKey(char32_t key) const;

  private:
    double rounded(double value) const;

    double minimum_;
    double maximum_;
    double step_;
    int decimals_;
    double value_;
};

}  // namespace morvane::ui
