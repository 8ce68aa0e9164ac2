#include "logbook/exchange/adif_scanner.h"

#include <algorithm>

namespace {

// Longer names, lengths or types than any ADIF file holds mean the "<" began plain text.
constexpr qsizetype kMaxNameLength = 64;
constexpr qsizetype kMaxLengthText = 32;
// No value is longer than the file; this only keeps the number in range.
constexpr std::int64_t kMaxValueLength = std::int64_t(1) << 40;

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

} // namespace

void AdifScanner::reset()
{
    state_ = Text;
    name_.clear();
    lengthText_.clear();
    value_.clear();
    remaining_ = 0;
}

AdifScanner::Event AdifScanner::feed(char c)
{
    switch (state_) {
    case Text:
        if (c == '<') {
            state_ = Name;
            name_.clear();
        }
        return None;
    case Name:
        if (c == '>')
            return endTag();
        if (c == '<') {
            name_.clear();
        } else if (c == ':') {
            state_ = Length;
            lengthText_.clear();
        } else if (name_.size() >= kMaxNameLength) {
            state_ = Text;
        } else {
            name_ += upper(c);
        }
        return None;
    case Length:
    case Type:
        if (c == '>')
            return endTag();
        if (c == '<') {
            state_ = Name;
            name_.clear();
        } else if (c == ':') {
            state_ = Type;
        } else if (state_ == Length) {
            if (lengthText_.size() >= kMaxLengthText)
                state_ = Text;
            else
                lengthText_ += c;
        }
        return None;
    case Value:
        value_ += c;
        if (--remaining_ == 0) {
            state_ = Text;
            return Field;
        }
        return None;
    }
    return None;
}

AdifScanner::Event AdifScanner::endTag()
{
    const bool withLength = state_ != Name;
    state_ = Text;
    if (name_ == "EOH")
        return EndOfHeader;
    if (name_ == "EOR")
        return EndOfRecord;
    if (!withLength || name_.isEmpty())
        return None;
    // The length is the leading number of its text; an empty one is 0, and one that does not
    // begin with a digit makes the tag plain text.
    qsizetype i = 0;
    while (i < lengthText_.size() && lengthText_[i] == ' ')
        ++i;
    if (i < lengthText_.size() && !(lengthText_[i] >= '0' && lengthText_[i] <= '9'))
        return None;
    std::int64_t length = 0;
    for (; i < lengthText_.size() && lengthText_[i] >= '0' && lengthText_[i] <= '9'; ++i)
        length = std::min(kMaxValueLength, length * 10 + (lengthText_[i] - '0'));
    value_.clear();
    if (length == 0)
        return Field;
    value_.reserve(static_cast<qsizetype>(std::min<std::int64_t>(length, 4096)));
    remaining_ = length;
    state_ = Value;
    return None;
}
