// The File menu's text files: a text file typed into the transmitter, and the capture file that
// keeps everything the main receive window shows.
#include "core/text_commands.h"

#include "core/capturefile.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "core/txtyping.h"
#include "platform/dialogs.h"
#include "platform/events.h"
#include "platform/menuitem.h"
#include "platform/text1252.h"
#include "platform/vberror.h"
#include "settings/macro_hooks.h"
#include "settings/macro_services.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextEdit>
#include <cerrno>
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

void mnuinput_Click()
{
    dlg::FileRequest request;
    request.title = QStringLiteral("Send a text file");
    request.filter = QStringLiteral("Text Files (*.txt);;All Files (*.*)");
    const QString name = dlg::Dialogs::instance().openFile(request);
    if (name.isEmpty())
        return; // Cancel: nothing to say
    QString text;
    {
        BusyPointer busy;
        AbortMacro = false;
        VbError error;
        text = macro::readTextFile(name, error);
        if (error.number != 0) {
            showError(error);
            return;
        }
        // An abort while the file was read sends none of it.
        for (const QChar c : text) {
            MacroHooks().Yield();
            if (AbortMacro || events::ProgramClosing())
                break;
            const int byte = cp1252::byteOf(c);
            std::int16_t code = static_cast<std::int16_t>(byte < 0 ? '?' : byte);
            TypeCharToTxWindow(code);
        }
    }
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
