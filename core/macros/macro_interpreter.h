#pragma once
// The macro interpreter: one button's macro text, its tokens carried out in the fixed order of
// the macro language, and what is left typed into the transmitter character by character.
#include <QString>
#include <QStringList>
#include <cstdint>

// Runs the macro of button `index` (1..36): clears ReceiveAfterTx, expands MacroTexts(index) into
// MacroBuffer pass by pass, types the rest through TypeCharToTxWindow (yielding before each
// character, stopping once AbortMacro is set) and, when a token asked for it, queues the return
// to receive. A macro started while this one is typing takes over: this one stops typing and
// leaves the end of the run to the newer one.
void ExpandAndSendMacro(std::int16_t& index);
void ExpandAndSendMacro(int index);

// In MacroBuffer, replaces as many characters as `token` has, from the 1-based `position`, by
// `replacement`. Only the token's length is used.
void ReplaceAtPos(const QString& token, int position, const QString& replacement);

// The token passes in processing order (the literal each pass looks for).
const QStringList& MacroTokenOrder();
