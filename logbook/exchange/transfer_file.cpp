// The transfer file dialog, and what the exports and the import share.
#include "logbook/exchange/import_export.h"
#include "logbook/exchange/transfer_io.h"
#include "platform/system/clock.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/link_table.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool g_running = false;
bool g_runningExport = false;
bool g_cancel = false;
bool g_progressShown = false;
QString g_progressCaption;

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

// Whether the file exists; false with `error` set when that cannot be found out.
bool fileExists(const QString& path, bool& exists, VbError& error)
{
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) == 0) {
        exists = true;
        return true;
    }
    if (errno == ENOENT) {
        exists = false;
        return true;
    }
    error = vberror::fromErrno(errno);
    return false;
}

// Opens the chosen file: for writing at its end (created when missing), or for reading.
int openTransfer(const QString& path, bool write, VbError& error)
{
    const int flags = write ? (O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC) : (O_RDONLY | O_CLOEXEC);
    const int fd = ::open(nativePath(path).constData(), flags, 0644);
    if (fd < 0) {
        error = vberror::fromErrno(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        error = vberror::fromErrno(S_ISDIR(st.st_mode) ? EISDIR : errno);
        ::close(fd);
        return -1;
    }
    if (write && ::lseek(fd, 0, SEEK_END) < 0) {
        error = vberror::fromErrno(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void OpenLogTransferFile(const QString& extension, const QString& mode)
{
    TransferFileOpen = false;
    const bool write = mode == QLatin1String("Write");

    dlg::FileRequest request;
    request.filter = extension + QStringLiteral(" Files (*") + extension + QLatin1Char(')');
    request.askOverwrite = false; // the replace question below is the only one
    QString path;
    for (;;) {
        // Reading needs an existing file; a file to write may be new.
        path = write ? dlg::Dialogs::instance().saveFile(request) : dlg::Dialogs::instance().openFile(request);
        if (!write && path.contains(QLatin1String("BAD.ADI"), Qt::CaseInsensitive)) {
            dlg::MsgBox(QStringLiteral("You can read directly from the BAD.ADI file.  If you want to import "
                                       "records from this file, you must rename it, and fix the bad records."),
                        dlg::OKOnly, QStringLiteral("Can't import this file ..."));
            return;
        }
        if (path.size() <= 1)
            return;
        if (path.right(4).toUpper() != extension)
            path += extension;
        if (!write)
            break;
        bool exists = false;
        VbError error;
        if (!fileExists(path, exists, error)) {
            transfer::ReportError(error);
            return;
        }
        if (!exists)
            break;
        QApplication::beep();
        const int answer = dlg::MsgBox(QStringLiteral("Replace existing file - ") + path + QLatin1Char('?'),
                                       dlg::YesNoCancel | dlg::Question);
        if (answer == dlg::Cancel)
            continue;
        if (answer == dlg::Yes && ::unlink(nativePath(path).constData()) != 0) {
            transfer::ReportError(vberror::fromErrno(errno));
            return;
        }
        break;
    }

    VbError error;
    const int fd = openTransfer(path, write, error);
    if (fd < 0) {
        transfer::ReportError(error);
        return;
    }
    TransferFileNumber = fd;
    TransferFileOpen = true;
}

TransferView& TransferViewHooks()
{
    return LinkTable<TransferView>::current();
}

void ResetTransferViewHooks()
{
    LinkTable<TransferView>::reset();
}

void InstallTransferView(TransferView (*make)())
{
    LinkTable<TransferView>::install(make);
}

bool TransferProgressShown()
{
    return g_progressShown;
}

QString TransferProgressCaption()
{
    return g_progressCaption;
}

void CancelLogTransfer()
{
    transfer::ShowProgress(false);
    if (g_running && g_runningExport)
        g_cancel = true;
}

bool LogTransferRunning()
{
    return g_running;
}

namespace transfer {

void ReportError(const VbError& error)
{
    dlg::MsgBox(error.text(), dlg::OKOnly);
}

bool WriteAll(int fd, const QByteArray& bytes, VbError& error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = vberror::fromErrno(n < 0 ? errno : EIO);
            return false;
        }
        done += n;
    }
    return true;
}

bool CloseTransferFile(VbError& error)
{
    bool ok = true;
    if (TransferFileNumber >= 0 && ::close(TransferFileNumber) != 0 && errno != EINTR) {
        error = vberror::fromErrno(errno);
        ok = false;
    }
    TransferFileNumber = -1;
    TransferFileOpen = false;
    return ok;
}

QString LocalShortDate()
{
    return QLocale::system().toString(Clock::instance().nowLocal().date(), QLocale::ShortFormat);
}

QString LocalLongTime()
{
    // The long format without its time-zone name: the clock gives a wall-clock time.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(Clock::instance().nowLocal().time(), format.trimmed());
}

void ShowProgress(bool shown)
{
    g_progressShown = shown;
    TransferViewHooks().ShowProgress(shown);
}

void SetProgressCaption(const QString& caption)
{
    g_progressCaption = caption;
    TransferViewHooks().SetProgressCaption(caption);
}

bool CancelRequested()
{
    return g_cancel;
}

RunGuard::RunGuard(bool isExport)
{
    if (g_running) {
        refused_ = true;
        dlg::MsgBox(QStringLiteral("A logbook export or import is running already.  Wait until it has finished, "
                                   "then try again."),
                    dlg::OKOnly | dlg::Exclamation);
        return;
    }
    g_running = true;
    g_runningExport = isExport;
    g_cancel = false;
}

RunGuard::~RunGuard()
{
    if (!refused_) {
        g_running = false;
        g_cancel = false;
    }
}

} // namespace transfer
