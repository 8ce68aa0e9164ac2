#pragma once
// Numbers the way the program has always read and written them: locale-free, "." as the point.
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace vb {

// A whole number that does not fit its field (VB run-time error 6). Callers catch it.
class OverflowError : public std::range_error {
public:
    explicit OverflowError(double value);
    double value() const { return value_; }

private:
    double value_;
};

// Leading number of a text: blanks, tabs and line feeds are skipped anywhere, "&H"/"&O" read
// hexadecimal or octal, "." is the point, an exponent (E or D) is allowed, reading stops at the
// first character that cannot continue the number, no number at all gives 0.
double Val(const QString& text);

// True when the whole text (blanks round it allowed) is one number.
bool IsNumeric(const QString& text);

// "Str" form: a blank before non-negative numbers, no 0 before the point (" 52", " .5", "-.5").
QString Str(double value);

// Plain form: shortest text with at most 15 significant digits, "." as the point (14070.3, 0.5, -5).
QString Text(double value);

// Rounded to a whole number, halves to even (62.5 -> 62, 63.5 -> 64). Not range-checked.
double RoundHalfEven(double value);

// Rounded halves to even into a 16-bit or 32-bit field; OverflowError when it does not fit.
std::int16_t CInt(double value);
std::int32_t CLng(double value);

// Whole part, rounded down (VB Int: -2.5 -> -3), and toward zero (VB Fix: -2.5 -> -2).
double Int(double value);
double Fix(double value);

// Format with "#0.00"-style patterns: at least one digit before the point, exactly `decimals` after.
QString Fixed(double value, int decimals);

} // namespace vb
