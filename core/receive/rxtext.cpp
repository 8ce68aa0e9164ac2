#include "core/receive/rxtext.h"

#include "core/receive/capturefile.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <array>

namespace {

constexpr std::array<const char*, 32> kNames = {
    "<NUL>", "<SOH>", "<STX>", "<ETX>", "<EOT>", "<ENQ>", "<ACK>", "<BEL>",
    "<BS>",  "<HT>",  "<LF>",  "<VT>",  "<FF>",  "<CR>",  "<SO>",  "<SI>",
    "<SLE>", "<CS1>", "<DC2>", "<DC3>", "<DC4>", "<NAK>", "<SYN>", "<EIB>",
    "<CAN>", "<EM>",  "<SIB>", "<ESC>", "<FS>",  "<GS>",  "<RS>",  "<US>",
};

bool menuChecked(const char* name)
{
    MainWindowControls* w = ExistingMainWindow();
    return w && w->mnu(QString::fromLatin1(name)).checked();
}

// Writes one received character to the capture file; a failed write is shown once and ends
// capturing.
void capture(int code)
{
    const QByteArray bytes = code == 13 ? QByteArray("\r\n") : QByteArray(1, static_cast<char>(code));
    VbError error;
    if (!WriteCaptureFile(bytes, &error))
        CaptureFailed(error.text());
}

} // namespace

QString ControlCodeName(int code)
{
    if (code < 0 || code >= static_cast<int>(kNames.size()))
        return QString();
    return QString::fromLatin1(kNames[static_cast<std::size_t>(code)]);
}

std::int32_t ColourFromText(const QString& text)
{
    try {
        return vb::CLng(vb::Val(text));
    } catch (const vb::OverflowError&) {
        return 0;
    }
}

void AppendRxText(RichText& window, const QString& text, std::int32_t colour, bool isMain)
{
    if (window.length() > kRxWindowLimit)
        TrimRichText(window);
    for (const QChar c : text) {
        int code = cp1252::byteOf(c);
        if (code < 0)
            code = '?';
        if (code == 10)
            continue;
        if (isMain && CaptureFileOpen)
            capture(code);
        if (isMain && code <= 31 && code != 8 && menuChecked("mnuControlCodes")) {
            ScratchInteger = static_cast<std::int16_t>(code);
            ShowControlCodeName(code);
        }
        if (code == 8) {
            RxBackspace(window);
            continue;
        }
        if (code == '0' && menuChecked("mnuZero"))
            code = 216;
        window.appendText(code == 13 ? QStringLiteral("\r\n") : QString(cp1252::charOf(static_cast<unsigned char>(code))),
                          colour);
    }
}

void TrimRichText(RichText& window)
{
    window.setSelStart(0);
    window.setSelLength(kRxTrimCut);
    window.replaceSelection(QString());
    window.setSelStart(window.length());
}

void ShowControlCodeName(int code)
{
    const QString name = ControlCodeName(code);
    if (!name.isEmpty())
        EchoToRxWindow(name);
}

void RxBackspace(RichText& window)
{
    const QString text = window.text();
    int count = 0;
    if (text.endsWith(QStringLiteral("\r\n"))) {
        count = 2;
    } else {
        for (const char* name : kNames) {
            const QString n = QString::fromLatin1(name);
            if (n.size() == 4 && text.endsWith(n)) {
                count = 4;
                break;
            }
        }
        if (count == 0)
            for (const char* name : kNames) {
                const QString n = QString::fromLatin1(name);
                if (n.size() == 5 && text.endsWith(n)) {
                    count = 5;
                    break;
                }
            }
        if (count == 0 && !text.isEmpty())
            count = 1;
    }
    if (count == 0)
        return;
    window.setSelection(window.length() - count, count);
    window.replaceSelection(QString());
}

void EchoToRxWindow(const QString& text)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->Rx)
        return;
    w->Rx->appendText(text, ColourFromText(ControlCodeColor));
}
