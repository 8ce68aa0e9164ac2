#pragma once
// The link with the Logger, the logging program that can run beside this one: texts go to it as
// its window text, its texts come back through the hidden box FreqHolder. The standalone switch
// decides whether the Logger or the program's own logbook and radio control are used.
#include <QString>
#include <functional>

// Sends one text to the Logger, or with an empty text only checks that it is still there.
// Nothing happens without a link or in standalone mode. A Logger found gone is reported once and
// the link dropped until it says hello again; the text is not sent.
void SendToLogger(const QString& text);

// FreqHolder's change handler: applies the Logger's text (or the radio's, in standalone mode).
void FreqHolder_Change();
// The same for a given text (the box's text in the program).
void ApplyLoggerText(const QString& text);

// "Run as standalone program".
void mnuStandalone_Click();

// Sets DialFrequency, DialKHz and DialHzPart from a dial frequency in kHz; false (and nothing
// changed) for a frequency too large to be one.
bool SetDialFrequency(double kHz);

// What turning standalone mode off closes in the logbook's part of the program: the Mini-Log and
// previous-QSO windows (replaceable for tests).
struct StandaloneWindowHooks {
    std::function<void()> UnloadMiniLog;
    std::function<void()> UnloadPreviousPage;
};
StandaloneWindowHooks& StandaloneWindows();
void ResetStandaloneWindows();
