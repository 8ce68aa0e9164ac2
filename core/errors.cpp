#include "core/errors.h"

#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "logbook/database.h"
#include "logbook/vmx.h"
#include "platform/dialogs.h"
#include "platform/text1252.h"
#include "platform/vbnum.h"

#include <QFileInfo>
#include <QLabel>

QString DLLErrorText(std::int32_t code)
{
    static const char* const kTexts[] = {
        "Memory allocation Error.",
        "Tried to read and soundcard is not open.",
        "Input buffer overflow.",
        "Timed out waiting for input buffers.",
        "Tried to write and soundcard is not open.",
        "Output buffers overflowed.",
        "Timed out waiting for output buffers.",
        "Soundcard does not support 16bit, 8000Hz, Mono format.",
        "There is still something playing on the soundcard.",
        "Header not prepared.",
        "Device is synchronous.",
        "Bad device ID or Soundcard not present.",
        "Driver failed to enable.",
        "Device already allocated.",
        "Device handle is invalid.",
        "No device driver present.",
        "Function is not suported.",
        "Error value out of range.",
        "Invalid flag passed.",
        "Invalid parameter passed.",
        "Handle being used.",
        "Driver does not support DriverCallBack.",
        "Registry error.",
    };
    if (code >= 10 && code <= 32)
        return QString::fromLatin1(kTexts[code - 10]);
    return QChar(0xBF) + QStringLiteral("\u00bfQue pasa?  I'm lost, how did I get here?  Unknown error.");
}

namespace {

// One box of a kind at a time: a report that comes while its box is open (the box's own loop
// handles further messages) is counted instead of opening a box inside the box.
struct OneBox {
    bool open = false;
    int counted = 0;
};
OneBox g_engineBox;
OneBox g_logbookBox;
int g_countedReports = 0;

template <typename Show>
void showOnce(OneBox& box, Show show)
{
    if (box.open) {
        ++box.counted;
        ++g_countedReports;
        return;
    }
    box.open = true;
    show();
    box.open = false;
}

} // namespace

int CountedErrorReports()
{
    return g_countedReports;
}

void ShowDLLError(std::int32_t code)
{
    showOnce(g_engineBox, [code] {
        APIResult = dlg::MsgBox(DLLErrorText(code), dlg::OKOnly, QStringLiteral("DLL Error ") + vb::Str(code));
    });
}

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
    showOnce(g_logbookBox, [] {
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

void ShowOverloadLight()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->Image1->setPixmap(*w->Red);
    OverloadCountdown = 10;
}

void SetLights()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->Image1->setPixmap(EnergySaverOn ? *w->Orange : *w->Green);
}
