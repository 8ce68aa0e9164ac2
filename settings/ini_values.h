#pragma once
// Stored texts turned into the fields the program keeps them in. A value that does not fit its
// field throws vb::OverflowError; a value that is no number where a number is required, or no
// truth value where one is required, throws inival::TypeMismatch. The start-up loader stops at the
// first of these; every other caller catches them.
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace inival {

// A text that cannot be converted to the type asked for (VB run-time error 13).
class TypeMismatch : public std::runtime_error {
public:
    explicit TypeMismatch(const QString& text);
};

// The leading number (0 when there is none), rounded halves to even into the field.
std::int16_t Int16(const QString& text);
std::int32_t Int32(const QString& text);
// The leading number as a single or double floating-point number.
float Single(const QString& text);
double Double(const QString& text);
// The whole text as one number, rounded into 32 bits; a text that is not wholly a number throws.
std::int32_t WholeInt32(const QString& text);
// "True"/"False" in any letter case, or a number (0 is False); anything else throws.
bool Truth(const QString& text);

} // namespace inival
