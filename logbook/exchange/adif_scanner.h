#pragma once
// Reads ADIF text one byte at a time, as ADIF defines it: a data specifier "<NAME:LENGTH>" or
// "<NAME:LENGTH:TYPE>" is followed by exactly LENGTH bytes of value, whatever they hold, so a
// value containing "<eor>" or another tag is read as text. "<EOH>" and "<EOR>" end the header
// and a record; names match in any letter case. Anything else between specifiers ("<" included,
// as in a header that names a mail address) is text and is skipped.
#include <QByteArray>
#include <cstdint>

class AdifScanner {
public:
    enum Event { None, Field, EndOfHeader, EndOfRecord };

    // Takes one byte; the event it completes, if any. After Field, name() and value() hold the
    // field until the next byte.
    Event feed(char c);
    // The field's name in upper case, and its value as read.
    const QByteArray& name() const { return name_; }
    const QByteArray& value() const { return value_; }
    // Back to the start (between two records).
    void reset();

private:
    enum State { Text, Name, Length, Type, Value };

    Event endTag();

    State state_ = Text;
    QByteArray name_;
    QByteArray lengthText_;
    QByteArray value_;
    std::int64_t remaining_ = 0;
};
