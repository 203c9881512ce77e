#include "toolkit/spin_box.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "store/text.h"

namespace morvane::ui {

namespace {

bool isRemovedSpace(char32_t c) {
    return c == ' ' || c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xA0 || c == 0x2007 ||
           c == 0x202F;
}

// Half to even, also where binary fractions land a hair off the half.
double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (std::fabs(fraction - 0.5) < 1e-9) return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
    return std::round(value);
}

// A plain decimal number: sign, digits with at most one ".", an optional exponent.
bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) {
            return false;
        }
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

}  // namespace

Locale& locale() {
    static Locale current;
    return current;
}

SpinBox::SpinBox(std::string name, double minimum, double maximum, double step, int decimals,
                 double value)
    : Control(Kind::SpinBox, std::move(name)),
      minimum_(minimum),
      maximum_(maximum),
      step_(step),
      decimals_(decimals),
      value_(value) {}

std::string SpinBox::text() const {
    char buffer[64];
    if (decimals_ == 0) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value_ == 0 ? 0.0 : value_);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals_, value_);
    std::string shown = buffer;
    const size_t point = shown.find('.');
    if (point != std::string::npos) shown.replace(point, 1, locale().decimal);
    return shown;
}

double SpinBox::rounded(double value) const {
    const double scale = std::pow(10.0, decimals_);
    return roundHalfEven(value * scale) / scale;
}

void SpinBox::setValue(double value) {
    const double clamped = std::clamp(rounded(value), minimum_, maximum_);
    if (clamped == value_) return;
    value_ = clamped;
    changed();
}

void SpinBox::setText(std::string_view text) {
    const Locale& format = locale();
    std::string cleaned(text);
    if (!format.thousands.empty() && format.thousands != format.decimal) {
        for (size_t at; (at = cleaned.find(format.thousands)) != std::string::npos;) {
            cleaned.erase(at, format.thousands.size());
        }
    }
    std::string number;
    for (size_t pos = 0; pos < cleaned.size();) {
        const size_t start = pos;
        const char32_t c = text::decodeUtf8(cleaned, pos);
        if (isRemovedSpace(c)) continue;
        const std::string_view piece = std::string_view(cleaned).substr(start, pos - start);
        number += (c == ',' || piece == format.decimal) ? std::string(".") : std::string(piece);
    }
    if (number.empty()) {
        setValue(minimum_);
        changed();  // the text shows the value's form again, even when the value stays
        return;
    }
    double parsed = 0;
    if (parseNumber(number, parsed)) setValue(parsed);
    changed();
}

void SpinBox::stepBy(int count) { setValue(value_ + count * step_); }

bool SpinBox::acceptsKey(char32_t key) const {
    if ((key >= '0' && key <= '9') || key == '-' || key == '+') return true;
    if (decimals_ == 0) return false;
    if (key == '.' || key == ',') return true;
    std::string asText;
    text::appendUtf8(asText, key);
    return asText == locale().decimal;
}

}  // namespace morvane::ui
