#pragma once
// What the exports and the import share besides the file dialog: the report of a failed file
// operation, checked writes, the local date and time texts of the file headers, the progress
// button, and the guard that lets one transfer run at a time.
#include "platform/vb/vberror.h"

#include <QByteArray>
#include <QString>

namespace transfer {

// "Error # " + number + " " + description, with an OK button and the program's name as title.
void ReportError(const VbError& error);
// Writes every byte; false with the failure.
bool WriteAll(int fd, const QByteArray& bytes, VbError& error);
// Closes TransferFileNumber (when open) and clears TransferFileOpen; false with the failure of
// the close, which for a written file can be the first report of a full disk.
bool CloseTransferFile(VbError& error);

// The local date in the system's short date format, and the local time in its long time format.
QString LocalShortDate();
QString LocalLongTime();

// The progress button (through the Mini-Log's hooks).
void ShowProgress(bool shown);
void SetProgressCaption(const QString& caption);
// The operator clicked the button since ClearCancel.
bool CancelRequested();

// Held for the whole of an export or an import; `refused()` when another one runs already
// (the operator has been told).
class RunGuard {
public:
    explicit RunGuard(bool isExport);
    ~RunGuard();
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    bool refused() const { return refused_; }

private:
    bool refused_ = false;
};

} // namespace transfer
