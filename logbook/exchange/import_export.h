#pragma once
// Log exchange (module ImportExport): the own QSOs go out as ADIF and CSV files, and QSOs come
// in from ADIF files; a record that cannot be loaded is kept, with its reason, in "BAD.ADI" in
// the program folder. The Mini-Log window's "&Export" and "&Import" menus call ExportADIF,
// ExportCSV and ImportADIF; its button Command1 shows the progress and cancels an export.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

struct QSORecord;

// Asks for the transfer file in the file dialog and opens it: extension ".ADI" or ".CSV",
// mode "Write" (an export: appended to a kept file) or "Read" (the import). Sets
// TransferFileOpen, and TransferFileNumber when it is true; reports its own failures.
void OpenLogTransferFile(const QString& extension, const QString& mode);

// The QSOs of DefaultCallsign, oldest first, into an ADIF or a CSV file.
void ExportADIF();
void ExportCSV();

// The QSOs of an ADIF file into the logbook, all with DefaultCallsign as their operator.
void ImportADIF();
// One record's text, from after the previous "<eor>" (or the header) through its own "<eor>":
// adds its QSO, or hands the record to WriteBadADIFRecord with the reason.
void ImportADIFRecord(const QByteArray& recordText);
// Appends a rejected record to "BAD.ADI", creating the file at the first rejection of an import.
void WriteBadADIFRecord(const QString& reason, const QByteArray& recordText);

// Counts of the running (or last) import: records read, records kept in "BAD.ADI", and
// records rejected that could not be written there.
extern std::int32_t ImportQSOCount;
extern std::int32_t ImportBadCount;
extern std::int32_t ImportUnsavedCount;

// The full path of the import's exception file.
QString BadADIFPath();

// One QSO as the exports write it, with its line end: the ADIF line of Operator `op` (the item
// order OPERATOR, QSO_DATE, TIME_OFF, QSO_DATE_OFF when the QSO ended on a later day than it
// began, CALL, then the fields present) and the CSV line of twelve quoted columns. `key` is the
// QSO's primary key.
QByteArray ADIFLine(const QString& key, const QSORecord& qso, const QString& op);
QByteArray CSVLine(const QString& key, const QSORecord& qso);

// What the exports and the import show on the Mini-Log window: its button Command1, centred
// over the grid, with a progress caption. The window sits above the exchange, so the program's
// own functions are installed by the main window's room when the program starts.
struct TransferView {
    std::function<void(bool)> ShowProgress;              // show or hide Command1
    std::function<void(const QString&)> SetProgressCaption; // Command1's caption
};
TransferView& TransferViewHooks();
void ResetTransferViewHooks();
void InstallTransferView(TransferView (*make)());
// What the button shows now.
bool TransferProgressShown();
QString TransferProgressCaption();

// Command1 was clicked: the button hides, and a running export stops before its next record
// (an import goes on).
void CancelLogTransfer();
// True while an export or the import runs (from its file dialog to its end); a second one
// started meanwhile is refused with a message.
bool LogTransferRunning();
