#pragma once
// What the operating core uses of the macro interpreter and the macro store: the macro arrays
// (one entry per button, 1..36; 0 is never used), the store's key names, the text file reader
// and the File menu's text sender. The interpreter's program-wide flags (AbortMacro, LogAfterTx,
// RTTYStopPending, LoopCountdown, LoopMacroIndex) and the store's section names live with the
// other shared state in state/declarations.h; its echo of notes into the receive window is the
// receive text path's (EchoToRxWindow).
#include <QString>
#include <array>
#include <cstdint>

#include "core/receive/rxtext.h"
#include "state/declarations.h"

constexpr int kMacroCount = 36;
template <class T> using MacroArray = std::array<T, kMacroCount + 1>;

extern MacroArray<QString> MacroTexts, MacroCaptions;
extern MacroArray<std::int32_t> MacroBackColor, MacroMouseOverBackColor;
extern MacroArray<std::int32_t> MacroForeColor, MacroMouseOverForeColor;
extern MacroArray<QString> MacroFontName, MacroMouseOverFontName;
extern MacroArray<std::int32_t> MacroFontSize, MacroMouseOverFontSize;
extern MacroArray<bool> MacroFontBold, MacroMouseOverFontBold;
extern MacroArray<bool> MacroFontItalic, MacroMouseOverFontItalic;

// A store key for button n, the number written without a blank: MacroKey("Macro Caption #", 7)
// gives "Macro Caption #7".
QString MacroKey(const char* name, int n);

// Stored macro text to text: every "~" is a line break (CR LF).
QString MacroTextFromStore(const QString& stored);

struct VbError;
namespace macro {
// A text file's bytes as Windows-1252 text, yielding to the message queue before each byte
// (through the macro hooks); stops at the end, at a read error or once AbortMacro is set, and
// gives nothing when aborted. A failure is kept in `error`. The "$file$" token and the File
// menu's text sender read their files through it.
QString readTextFile(const QString& name, VbError& error);
} // namespace macro

// File: types a chosen file into the transmitter, character by character, as typed text.
void mnuinput_Click();
