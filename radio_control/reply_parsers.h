#pragma once
// Turns what a radio answered to the status poll into frequency and mode texts.
#include <QByteArray>
#include <QString>
#include <optional>

namespace varnel {

struct ParseResult {
    enum Kind {
        Wait,    // not complete yet: keep the buffer
        Taken,   // a reply was taken: the wait for it is over
        Report,  // a frequency or mode was taken, but not the reply awaited: the wait goes on
        Dropped, // not a reply: the bytes are dropped, the wait goes on
    } kind = Wait;
    qsizetype consumed = -1;       // bytes used up from the front; -1 = the whole buffer
    bool showLine = false;         // write the buffer to the debug window as a received line
    bool showHex = true;           // ... as hexadecimal bytes (else as text)
    std::optional<double> freqKHz; // frequency read, when the reply carries one
    QString freqText;              // and its text for getRadioFreq
    QString mode;                  // mode read; empty leaves the mode as it was
};

// What the parser may know about the line beyond the received bytes.
struct ReplyContext {
    // The CI-V radio's address; replies from other radios are not ours. 00 (or none) takes
    // replies from any radio.
    std::optional<unsigned char> civAddress;
    // The CI-V command byte of the read whose reply is awaited (03 frequency, 04 mode); none
    // when unknown, in which case any reply ends the wait.
    std::optional<unsigned char> civAwaited;
};

// Runs the parser of the radio type over everything gathered so far. Types without a
// parser always wait. A reply is believed only when it is whole and sound: packed BCD
// digits 0..9, the right length, a frequency the radio can have.
ParseResult parseReply(int radioCode, const QByteArray& buffer, const ReplyContext& context = {});

// True for the types that have a parser.
bool hasReplyParser(int radioCode);

// Frequency texts: the shortest form with at most 15 significant digits and a point.
QString frequencyText(double khz);

} // namespace varnel
