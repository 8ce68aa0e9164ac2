#include "core/receive/capturefile.h"

#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextEdit>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

void focusTx()
{
    if (MainWindowControls* w = ExistingMainWindow())
        if (w->TxWindow)
            w->TxWindow->setFocus();
}

// "Open receive text file" usable exactly while no capture runs.
void showCaptureState()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    w->mnu(QStringLiteral("mnuOutput")).setEnabled(!CaptureFileOpen);
    w->mnu(QStringLiteral("mnuOutputClose")).setEnabled(CaptureFileOpen);
}

void showError(const VbError& error)
{
    dlg::MsgBox(error.text(), dlg::OKOnly);
}

// The capture file's name: ".TXT" is added unless it already ends so, in any letter case.
QString withTxt(const QString& name)
{
    return name.endsWith(QLatin1String(".TXT"), Qt::CaseInsensitive) ? name : name + QStringLiteral(".TXT");
}

} // namespace

bool OpenCaptureFile(const QString& path, VbError* error)
{
    CloseCaptureFile();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error)
            *error = vberror::fromErrno(errno);
        return false;
    }
    CaptureFileNumber = fd;
    CaptureFileOpen = true;
    return true;
}

bool WriteCaptureFile(const QByteArray& bytes, VbError* error)
{
    if (CaptureFileNumber < 0) {
        if (error)
            *error = vberror::fromNumber(52 /* bad file number: shown as a file access error */);
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(CaptureFileNumber, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (error)
                *error = vberror::fromErrno(n < 0 ? errno : EIO);
            return false;
        }
        done += n;
    }
    return true;
}

void CloseCaptureFile()
{
    if (CaptureFileNumber >= 0)
        ::close(CaptureFileNumber);
    CaptureFileNumber = -1;
    CaptureFileOpen = false;
}

void mnuOutput_Click()
{
    dlg::FileRequest request;
    request.title = QStringLiteral("Open receive text file");
    request.filter = QStringLiteral("Text Files (*.txt *.TXT)");
    request.askOverwrite = false;
    QString name;
    int answer = dlg::No;
    for (;;) {
        name = dlg::Dialogs::instance().saveFile(request);
        if (name.size() < 2) {
            focusTx();
            return;
        }
        name = withTxt(name);
        if (!QFileInfo::exists(name)) {
            answer = dlg::No;
            break;
        }
        QApplication::beep();
        answer = dlg::MsgBox(QStringLiteral("Replace existing file - ") + name + QStringLiteral("?"),
                             dlg::YesNoCancel | dlg::Question);
        if (answer != dlg::Cancel)
            break;
    }
    // Yes starts the file empty; No keeps it and adds to its end.
    if (answer == dlg::Yes && ::unlink(QFile::encodeName(name).constData()) != 0 && errno != ENOENT) {
        showError(vberror::fromErrno(errno));
        focusTx();
        return;
    }
    VbError error;
    if (!OpenCaptureFile(name, &error)) {
        showError(error);
        focusTx();
        return;
    }
    showCaptureState();
}

void mnuOutputClose_Click()
{
    if (!CaptureFileOpen)
        return;
    CloseCaptureFile();
    showCaptureState();
}

void CaptureFailed(const QString& errorText)
{
    // Closed before the box is shown, so text arriving while it is up is not written again.
    CloseCaptureFile();
    showCaptureState();
    dlg::MsgBox(errorText, dlg::OKOnly);
}
