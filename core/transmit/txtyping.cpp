// Transmit typing: each typed character goes to the engine at once, before it is shown.
#include "core/transmit/txtyping.h"

#include "core/receive/rx_links.h"
#include "core/receive/rxtext.h"
#include "core/transmit/transmit.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QTextEdit>
#include <array>

namespace {

constexpr int kWrapAtSpace = 65;   // a space on a line this long becomes a carriage return
constexpr int kForcedWrap = 69;    // a line this long is broken before the next character
constexpr int kPasteThreshold = 3; // characters arriving at once that count as a paste
constexpr int kTrimAbove = 5000;   // typed-in text beyond this is trimmed first

MainWindowControls& mainWindow()
{
    return MainWindow();
}

bool checked(const char* menu)
{
    return mainWindow().mnu(QString::fromLatin1(menu)).checked();
}

QString shownText(int code)
{
    if (code == 13)
        return QStringLiteral("\r\n");
    return QString(cp1252::charOf(static_cast<unsigned char>(code)));
}

// Shows what a typed key leaves in the window, at its end (the text control's own insertion).
void showTypedCode(std::int16_t code)
{
    RichText& tx = *mainWindow().Tx;
    switch (code) {
    case 0:
    case 10:
    case 27:
        return;
    case 8: {
        const int n = tx.length();
        if (n > 0) {
            tx.setSelection(n - 1, 1); // a line break goes as one
            tx.replaceSelection(QString());
        }
        return;
    }
    default:
        if (code > 0 && code <= 255)
            tx.appendText(shownText(code), TxTextColor);
    }
}

std::int16_t changeCase(std::int16_t code)
{
    if (code <= 0 || code > 255 || (TxCaseMode != 2 && TxCaseMode != 3))
        return code;
    const QChar c = cp1252::charOf(static_cast<unsigned char>(code));
    const int b = cp1252::byteOf(TxCaseMode == 2 ? c.toUpper() : c.toLower());
    return b > 0 ? static_cast<std::int16_t>(b) : code;
}

std::int32_t colourNumber(const QString& text)
{
    const double v = vb::Val(text);
    return v >= 0 && v <= 0xFFFFFF ? static_cast<std::int32_t>(v) : 0;
}

} // namespace

void SendTxChar(std::int16_t& code)
{
    if (PSKModeActive)
        APIResult = Psk().fnSendTXCharacter(code, 0);
    else
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, 4, code);
}

void LineWrapKey(std::int16_t& code)
{
    if (code == 10 || code <= 0)
        return;
    if (checked("mnuLinewrap")) {
        RichText& tx = *mainWindow().Tx;
        const int lastLine = tx.lineLength(tx.length());
        if (code == 32 && lastLine >= kWrapAtSpace) {
            code = 13;
        } else if (lastLine >= kForcedWrap && code != 8) {
            // A backspace is never preceded by a forced break: it would leave a long line
            // that could not be corrected.
            std::int16_t cr = 13;
            SendTxChar(cr);
            tx.appendText(QStringLiteral("\r\n"), TxTextColor);
        }
    }
    SendTxChar(code);
}

void TypeCharToTxWindow(std::int16_t& code)
{
    MainWindowControls& w = mainWindow();
    RichText& tx = *w.Tx;
    if (tx.length() > kTrimAbove)
        TrimRichText(tx);
    LineWrapKey(code);
    const bool zero = checked("mnuZero");
    std::int16_t shown = code;
    if (shown == 48 && zero)
        shown = 216;
    else if (shown == 216 && !zero)
        shown = 48;
    if (shown != 10 && shown > 0 && shown <= 255)
        tx.appendText(shownText(shown), TxTextColor);
    w.TxWindow->setFocus();
}

// ---- keys ----

bool TxWindowKey(const TxKey& key)
{
    int keyCode = key.keyCode;
    int shift = key.shift;
    TxWindow_KeyDown(keyCode, shift);
    if (key.keyCode != 0 && keyCode == 0)
        return false; // taken by the key-down (function keys)
    if (key.ascii == 0)
        return true;
    std::int16_t ascii = static_cast<std::int16_t>(key.ascii);
    TxWindow_KeyPress(ascii);
    showTypedCode(ascii);
    return false;
}

void TxWindowPaste(const QString& text)
{
    if (!text.isEmpty())
        mainWindow().Tx->appendText(text, TxTextColor);
}

void TxWindow_KeyDown(int& keyCode, int& shift)
{
    RxLinks().BreakMacroLoop();
    TxWindowKeyDown(keyCode, shift);
}

void TxWindowKeyDown(int& keyCode, int& shift)
{
    switch (keyCode) {
    case 19:
        ToggleTransmit();
        return;
    case 27:
        AbortTransmit();
        return;
    case 45:
        ToggleRxFreeze();
        return;
    default:
        break;
    }
    if (keyCode < 112 || keyCode > 123)
        return;
    const int fKey = keyCode;
    keyCode = 0;
    int button = 0;
    if (shift == 0)
        button = fKey - 111;
    else if (shift == 4)
        button = fKey - 99;
    else if (shift == 2)
        button = fKey - 87;
    if (button > 0)
        RxLinks().Command1_Mouseup(button, 0, 0, 0, 0);
}

void TxWindow_KeyPress(std::int16_t& keyAscii)
{
    RichText& tx = *mainWindow().Tx;
    tx.setSelStart(tx.length());
    tx.setSelColor(TxTextColor);
    if (keyAscii != 27 && keyAscii != 10) {
        keyAscii = changeCase(keyAscii);
        LineWrapKey(keyAscii);
        if (keyAscii == 48 && checked("mnuZero"))
            keyAscii = 216;
    }
    if (checked("mnuControlCodes") && keyAscii < 32 && keyAscii != 8 && keyAscii != 10 && keyAscii != 13)
        keyAscii = 127;
    if (keyAscii == 8 && TxCharPointer >= 2 && tx.length() >= 2) {
        const QChar last = tx.text().back();
        TxCharPointer -= (last == u'\n' || last == u'\r') ? 2 : 1;
    }
}

void TxWindow_Change()
{
    static bool busy = false; // colouring the new text changes the window again
    if (busy)
        return;
    busy = true;
    RichText& tx = *mainWindow().Tx;
    const int n = tx.length();
    const int m = TxSentMark;
    if (n >= m + kPasteThreshold) {
        tx.setSelection(m, n - m);
        tx.setSelColor(TxTextColor);
        const QByteArray bytes = cp1252::encode(tx.text().mid(m));
        for (const char b : bytes) {
            if (b == '\n')
                continue;
            std::int16_t code = static_cast<unsigned char>(b);
            SendTxChar(code);
        }
    }
    TxSentMark = n;
    tx.setSelStart(n);
    busy = false;
}

void TxWindow_MouseDown()
{
    RxLinks().BreakMacroLoop();
}

void TxWindow_MouseUp()
{
    mainWindow().Tx->setSelLength(1);
}

// ---- freeze ----

void ToggleRxFreeze()
{
    MainWindowControls& w = mainWindow();
    struct Window {
        RichText* text;
        QString* saved;
    };
    const std::array<Window, 3> windows{{{w.Rx.get(), &RxBackColorSaved},
                                         {RxLinks().AuxText(1), &Aux1BackColorSaved},
                                         {RxLinks().AuxText(2), &Aux2BackColorSaved}}};
    if (!RxFreeze)
        for (const Window& win : windows)
            if (win.text)
                *win.saved = QString::number(win.text->backColor());
    RxFreeze = !RxFreeze;
    for (const Window& win : windows) {
        if (!win.text)
            continue;
        if (RxFreeze) {
            win.text->setBackColor(colourNumber(PausedBackColor));
            win.text->edit()->setProperty("frozen", true);
        } else {
            win.text->setSelStart(win.text->length());
            win.text->edit()->setProperty("frozen", false);
            if (!win.saved->isEmpty())
                win.text->setBackColor(colourNumber(*win.saved));
        }
    }
}
