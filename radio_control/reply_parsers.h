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
        Dropped, // not a reply: the buffer is emptied, the wait goes on
    } kind = Wait;
    bool showLine = false;         // write the buffer to the debug window as a received line
    bool showHex = true;           // ... as hexadecimal bytes (else as text)
    std::optional<double> freqKHz; // frequency read, when the reply carries one
    QString freqText;              // and its text for getRadioFreq
    QString mode;                  // mode read; empty leaves the mode as it was
};

// Runs the parser of the radio type over everything gathered so far. Types without a
// parser always wait.
ParseResult parseReply(int radioCode, const QByteArray& buffer);

// True for the types that have a parser.
bool hasReplyParser(int radioCode);

// Frequency texts: the shortest form with at most 15 significant digits and a point.
QString frequencyText(double khz);

} // namespace varnel
