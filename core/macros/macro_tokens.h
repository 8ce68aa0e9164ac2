#pragma once
// The token families of the macro language, as the interpreter runs them: for each token what it
// does and which text takes its place. The processing order lives in the interpreter.
#include <QHash>
#include <QString>
#include <functional>

namespace macro {

// The macro being run.
struct RunContext {
    int index = 0; // its button, 1..36
};

struct TokenAction {
    // A token without argument: carries out its action, returns the text that takes its place.
    std::function<QString(const RunContext&)> closed;
    // A token whose argument runs up to the next "$".
    std::function<QString(const RunContext&, const QString& argument)> withArgument;
    // Asked once at the start of the pass; false leaves every occurrence in the text.
    std::function<bool()> active;
    // The token leaves the text before its action runs (the action sees the text without it).
    bool removeFirst = false;
};

// Keyed by the token literal in lower case ("$bpsk$", "$qsx").
using TokenTable = QHash<QString, TokenAction>;

void AddCommandTokens(TokenTable& table);      // modes, transmit, RTTY engine, radio, CW ID
void AddSubstitutionTokens(TokenTable& table); // fields, frequencies, dates, characters
void AddActionTokens(TokenTable& table);       // logbook, windows, callbook, repeat

// The two tokens that reach beyond themselves and act on their first occurrence only.
void FileToken(); // "$file$" NAME: the contents of a text file in place of the rest of the line
void CwToken();   // "$cw$" TEXT: the rest of the macro sent in CW

// Runs one step of a macro; a failure abandons that step only. True when it completed.
bool Guarded(const std::function<void()>& step);

} // namespace macro
