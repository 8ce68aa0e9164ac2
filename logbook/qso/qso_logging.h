#pragma once
// Logging the QSO panel into the logbook, and the look-up of earlier QSOs with a call sign.

// Checks the QSO panel (call sign, band, both reports, own call sign, mode), stopping at the
// first fault with its message; then stores the QSO under the key of this UTC second, flushes,
// advances the QSO counter, clears the panel and, with the Mini-Log window open, puts the QSO at
// the top of its page. A refused store is reported and leaves the panel as it was.
void LogAndClear();

// Counts the earlier QSOs with the call sign in the call-sign box and fills PreviousQSOs(1..5)
// and, from the newest of them, the name, QTH and notes boxes; with none, empties them.
void LogbookSearch();
