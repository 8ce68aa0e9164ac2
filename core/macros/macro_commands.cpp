// Tokens that command something: the mode, the start and end of a transmission, the RTTY
// engine's switches, the receive frequency, CW identification, the split and the radio.
#include "core/macros/macro_services.h"
#include "core/macros/macro_tokens.h"
#include "core/modes/modeselection.h"
#include "core/receive/rx_links.h"
#include "core/transmit/transmit.h"
#include "core/transmit/txhooks.h"
#include "displays/spectrum/scale_clicks.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QTextEdit>
#include <QVariant>

namespace macro {

namespace {

constexpr std::int32_t kBandPassBit = 0x20;
constexpr std::int32_t kSquelchBit = 0x80;
constexpr std::int32_t kPolarityBit = 0x100;

void postRtty(std::int32_t command, std::int32_t value)
{
    APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, command, value);
}

void echo(const char* note)
{
    if (ShowCommands)
        EchoToRxWindow(QString::fromLatin1(note));
}

bool standalone()
{
    return MainWindow().mnu(QStringLiteral("mnuStandalone")).checked();
}

// A mode token: the mode changes unless the engine transmits; the note is written either way.
TokenAction mode(void (*select)(), const char* note, const char* leaves = "")
{
    TokenAction a;
    a.closed = [select, note, leaves](const RunContext&) {
        if (!TxActive)
            Guarded(select);
        echo(note);
        return QString::fromLatin1(leaves);
    };
    return a;
}

void selectRtty()
{
    RxLinks().mnuRTTY_Click(DefaultProfile);
}

// An RTTY switch: one bit of the switch word inverted, only when the engine's state differs
// from the one asked for.
TokenAction rttySwitch(const bool* state, bool wanted, std::int32_t bit)
{
    TokenAction a;
    a.closed = [state, wanted, bit](const RunContext&) {
        if (*state != wanted)
            postRtty(11, MMTTYFlags ^ bit);
        return QString();
    };
    return a;
}

TokenAction simple(std::function<void()> act)
{
    TokenAction a;
    a.closed = [act = std::move(act)](const RunContext&) {
        act();
        return QString();
    };
    return a;
}

TokenAction withArgument(std::function<void(const QString&)> act)
{
    TokenAction a;
    a.withArgument = [act = std::move(act)](const RunContext&, const QString& argument) {
        act(argument);
        return QString();
    };
    return a;
}

// "FE FE 58" to the bytes FE FE 58: groups of three characters, each trimmed and read as
// hexadecimal; a group that is no byte is skipped.
QString hexBytes(const QString& text)
{
    QString bytes;
    for (qsizetype at = 0; at < text.size(); at += 3) {
        bool ok = false;
        const uint value = text.mid(at, 3).trimmed().toUInt(&ok, 16);
        if (ok && value <= 255)
            bytes += cp1252::charOf(static_cast<unsigned char>(value));
    }
    return bytes;
}

void radioCommand(const char* member, const char* loggerPrefix, const QString& toRadio, const QString& toLogger)
{
    if (standalone()) {
        QVariantList args{toRadio};
        APIResult = RigCall(QString::fromLatin1(member), args).toInt();
    } else {
        TxHooks().SendToLogger(QString::fromLatin1(loggerPrefix) + toLogger);
    }
}

void sendCWID(const QString& text)
{
    const QByteArray ansi = cp1252::encode(QStringLiteral(" ") + text);
    APIResult = Psk().fnSetCWIDString(ansi.constData());
}

void clearBuffers(bool receiveToo)
{
    MainWindowControls& w = MainWindow();
    w.Tx->setText(QString());
    if (receiveToo)
        w.Rx->setText(QString());
    if (PSKModeActive)
        APIResult = Psk().fnClearTXBuffer();
    else
        postRtty(3, 4);
}

// The receive frequency one hertz up or down while it stays inside the limit.
TokenAction nudge(int step)
{
    TokenAction a = simple([step] { APIResult = Psk().fnSetRXFrequency(EngineFreqParam + step, AFCRange, 0); });
    a.active = [step] { return step > 0 ? EngineFreqParam < 3499 : EngineFreqParam > 301; };
    return a;
}

} // namespace

void AddCommandTokens(TokenTable& t)
{
    t.insert("$bpsk$", mode(mnuBPSK_Click, "<BPSK>"));
    t.insert("$qpsk$", mode(mnuQPSK_Click, "<QPSK>"));
    t.insert("$qpsk-i$", mode(mnuQPSKInv_Click, "<QPSK-I>"));
    t.insert("$rtty$", mode(selectRtty, "<RTTY>", "$rttynormal$"));
    t.insert("$rtty-i$", mode(selectRtty, "<RTTY>", "$rttyreverse$"));

    t.insert("$transmit$", simple([] {
        if (!TxActive)
            ToggleTransmit();
    }));
    t.insert("$receive$", simple([] { ReceiveAfterTx = true; }));

    t.insert("$rttybpfon$", rttySwitch(&MMTTYBPFOn, true, kBandPassBit));
    t.insert("$rttybpfoff$", rttySwitch(&MMTTYBPFOn, false, kBandPassBit));
    t.insert("$rttysquelchon$", rttySwitch(&MMTTYSquelchOn, true, kSquelchBit));
    t.insert("$rttysquelchoff$", rttySwitch(&MMTTYSquelchOn, false, kSquelchBit));
    t.insert("$rttynormal$", rttySwitch(&MMTTYPolarityFlag, true, kPolarityBit));
    t.insert("$rttyreverse$", rttySwitch(&MMTTYPolarityFlag, false, kPolarityBit));
    t.insert("$rttyfigures$", simple([] {
        echo("<FIGS>");
        postRtty(17, 1);
    }));
    t.insert("$rttyletters$", simple([] {
        echo("<LTRS>");
        postRtty(17, 0);
    }));
    t.insert("$rttysetup$", simple([] { postRtty(13, 0); }));

    t.insert("$qsx", withArgument([](const QString& n) {
        SplitOffset = vb::CLng(vb::Val(n));
        if (SplitOffset > 0)
            MainWindow().DuplexBox->setText(QStringLiteral("Split"));
    }));
    t.insert("$simplex$", simple([] {
        SplitOffset = 0;
        MainWindow().DuplexBox->setText(QStringLiteral("Simplex"));
    }));

    t.insert("$qsy", withArgument([](const QString& f) { RequestRadioFrequency(f); }));
    t.insert("$command", withArgument([](const QString& s) {
        const QString trimmed = vb::Trim(s);
        radioCommand("setDirectRadioCommand", "Command=", trimmed, trimmed);
    }));
    t.insert("$hexcommand", withArgument([](const QString& h) {
        radioCommand("setDirectRadioCommandHEX", "HEXCommand=", hexBytes(h), h);
    }));

    t.insert("$align$", simple([] {
        if (HzPerTwip <= 0)
            return; // no scale yet: no position to click
        const double hz = PSKModeActive ? EngineFreqParam : (RTTYMarkHz + RTTYSpaceHz) / 2.0;
        Spectrum_MouseDown(2, 0, hz / HzPerTwip, 0);
    }));
    t.insert("$up$", nudge(1));
    t.insert("$down$", nudge(-1));
    TokenAction net = simple(NetBox_Click);
    net.removeFirst = true;
    t.insert("$net$", net);
    TokenAction afc = simple(AFCBox_Click);
    afc.removeFirst = true;
    t.insert("$afc$", afc);

    t.insert("$cwid$", simple([] {
        APIResult = Psk().fnSetCWIDSpeed(CWIDSpeed);
        sendCWID(DefaultCallsign);
        APIResult = Psk().fnSendTXCharacter(2, -1);
        ReceiveAfterTx = true;
    }));

    t.insert("$clearbuffers$", simple([] { clearBuffers(true); }));
    t.insert("$cleartxbuffer$", simple([] { clearBuffers(false); }));
}

void CwToken()
{
    const qsizetype at = MacroBuffer.indexOf(QStringLiteral("$cw$"), 0, Qt::CaseInsensitive);
    if (at < 0)
        return;
    sendCWID(MacroBuffer.mid(at + 4));
    MacroBuffer = MacroBuffer.left(at);
    APIResult = Psk().fnSetCWIDSpeed(CWIDSpeed);
    APIResult = Psk().fnSendTXCharacter(2, -1);
    ReceiveAfterTx = true;
}

} // namespace macro
