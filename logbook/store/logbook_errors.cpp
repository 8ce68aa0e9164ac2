// The logbook error box: the record library's status, the logbook file and what to do.
#include "logbook/store/database.h"

#include "logbook/store/vmx.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/error_reports.h"

#include <QFileInfo>

QString LogbookErrorAdvice(std::int16_t status)
{
    switch (status) {
    case VmxAccessDenied:
    case VmxReadOnly:
        return QStringLiteral("Make the file and its folder writable for you, then start Sondrel again.");
    case VmxDiskFull:
        return QStringLiteral("Free some space on the disk; the QSOs logged before are kept.");
    case VmxLocked:
        return QStringLiteral("Close the other program (or the other Sondrel) that has it open.");
    case VmxNotOurFile:
    case VmxDamaged:
    case VmxNewerVersion:
        return QStringLiteral("Move the file elsewhere (keep it: it may hold your QSOs); Sondrel then starts a new "
                              "logbook.");
    case VmxFileExists:
        return QStringLiteral("Something that is not a logbook is in its place (for example a link to a file that "
                              "no longer exists): remove or rename it and start Sondrel again.");
    case VmxPathMissing:
    case VmxFileMissing:
        return QStringLiteral("Check that the program folder exists, then start Sondrel again.");
    case VmxIoError:
        return QStringLiteral("The disk reported an error: check it, and keep a copy of the logbook.");
    default:
        return QString();
    }
}

void ShowLogbookError()
{
    ShowErrorBoxOnce(ErrorBox::Logbook, [] {
        QString text = QStringLiteral("Logbook Error = ")
                       + cp1252::decode(QByteArray::fromStdString(VmxReturnCode(LogbookStatus)));
        const QString path = LogbookPath();
        text += QStringLiteral("\r\n\r\nLogbook file: ") + path;
        const QFileInfo file(path);
        QString advice = LogbookErrorAdvice(LogbookStatus);
        if (file.isSymLink() && !file.exists())
            advice = QStringLiteral("It is a link to ") + file.symLinkTarget()
                     + QStringLiteral(", which does not exist: restore that file, or remove the link so that "
                                      "Sondrel starts a new logbook.");
        if (!advice.isEmpty())
            text += QStringLiteral("\r\n") + advice;
        dlg::MsgBox(text, dlg::OKOnly, QString());
    });
}
