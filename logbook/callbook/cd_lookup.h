#pragma once
// Callbook look-ups: the call sign in the QSO panel is looked up on the callbook disc of the
// type chosen in the menu (HamCall, QRZ or RAC) through the disc's own library, and the station
// shows in the callbook window. A look-up never writes into the QSO panel.
#include <QByteArray>
#include <QString>
#include <optional>

// Runs the look-up of the chosen callbook type for the call sign in CallsignBox; with no
// callbook folder known it says so.
void DoCDLookup();
// Shows the callbook window over the main window (modeless, owned by it).
void ShowCDDisplay();
// Unloads the callbook window when it is loaded.
void UnloadCDDisplay();

void LookupHamCall();
void LookupQRZ();
void LookupRAC();
// Formats the RAC answer in CDLookupBuffer and shows it.
void FormatRACRecord();

// The display texts the look-ups build from a library's answer (the answer up to its first NUL).
// Empty optional: nothing is shown.
std::optional<QString> RACDisplayText(const QString& record);
std::optional<QString> QRZDisplayText(const QString& page);
struct HamCallDisplay {
    QString text;
    QString qslRoute; // the caption of the window's panel; empty when the record has none
};
HamCallDisplay HamCallDisplayText(const QString& buffer);

namespace cdlookup {
// The buffer handed to a library: CDLookupBuffer's 501 characters, all blanks, so nothing of an
// earlier answer can show through.
QByteArray blankBuffer();
// A library's answer back into CDLookupBuffer (501 characters, padded with blanks or cut).
void storeBuffer(const QByteArray& buffer);
// CDLookupBuffer up to its first NUL.
QString answer();
// Shows the window with the call sign of CallsignBox as its caption and `text` in its box.
void present(const QString& text);
// The text of CallsignBox.
QString callSign();
} // namespace cdlookup
