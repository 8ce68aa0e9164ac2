// Transmit start, end after the buffer, and abort. These only ask the engine; the switch-over
// runs when the engine reports that it has switched.
#include "core/transmit/transmit.h"

#include "core/receive/rx_links.h"
#include "core/transmit/labelcolors.h"
#include "core/transmit/ptt_keying.h"
#include "platform/processes/winmsg.h"
#include "platform/system/clock.h"
#include "platform/system/events.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QTextEdit>

namespace {

constexpr std::int32_t kRed = 0xFF;
constexpr std::int32_t kWhite = 0xFFFFFF;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr int kQsyTimeoutSeconds = 5;

// A start waiting for the radio to reach the split frequency; a second start request meanwhile
// is the same request and is not run again.
bool g_startPending = false;
// Counts aborts, so a waiting start can tell that it was abandoned.
unsigned g_abortCount = 0;

bool standalone(MainWindowControls& w)
{
    return w.mnu(QStringLiteral("mnuStandalone")).checked();
}

// Second boundaries of the clock crossed between two readings.
qint64 secondsBetween(qint64 startMs, qint64 nowMs)
{
    auto whole = [](qint64 ms) { return ms >= 0 ? ms / 1000 : (ms - 999) / 1000; };
    return whole(nowMs) - whole(startMs);
}

// Moves the radio to the split transmit frequency and waits for it. False: start abandoned.
bool qsyToSplit(MainWindowControls& w, unsigned abortsAtStart)
{
    if (DialFrequency <= 0) {
        dlg::MsgBox(QStringLiteral("The radio does not appear to be connected/responding.  You have a "
                                   "split TX/RX frequency of ")
                        + QString::number(SplitOffset)
                        + QStringLiteral(" Hz set.  To avoid transmitting on your receive freq, I have "
                                         "abandoned the Transmit request.  Please clear the QSX Macro, "
                                         "execute a $simplex$ Macro, or connect the Radio."),
                    dlg::OKOnly, QStringLiteral("Is your radio connected?"));
        return false;
    }
    const double from = DialFrequency;
    const QString transmitKHz = vb::Text(DialFrequency + SplitOffset / 1000.0);
    if (!RequestRadioFrequency(transmitKHz)) {
        dlg::MsgBox(QStringLiteral("The radio was not tuned to the split transmit frequency of ") + transmitKHz
                        + QStringLiteral(" kHz.  To avoid transmitting on your receive freq, I have abandoned the "
                                         "Transmit request.  Please clear the QSX Macro, or execute a $simplex$ "
                                         "Macro."),
                    dlg::OKOnly, QStringLiteral("QSY refused"));
        return false;
    }
    g_startPending = true;
    const QsyResult r = WaitForDialChange(from, [abortsAtStart] { return g_abortCount != abortsAtStart; });
    g_startPending = false;
    if (r == QsyResult::TimedOut)
        dlg::MsgBox(QStringLiteral("The radio did not acknowledge the QSY instruction.  To avoid "
                                   "transmitting on your receive freq, I have abandoned the Transmit "
                                   "request."),
                    dlg::OKOnly, QStringLiteral("Timeout"));
    if (r != QsyResult::Moved)
        return false;
    labelcolor::setBack(w.DuplexBox, kRed);
    labelcolor::setFore(w.DuplexBox, kWhite);
    return true;
}

void startEngine()
{
    if (PSKModeActive) {
        if (NetOn) {
            APIResult = Psk().fnSetTXFrequency(EngineFreqParam);
            TxAudioFreqText = QString::number(EngineFreqParam);
        }
        if (!LongSquelch)
            APIResult = Psk().fnSendTXCharacter(3, -1);
        APIResult = Psk().fnStartTX(PSKMode);
    } else {
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, 3, 2);
    }
}

void startTransmit(MainWindowControls& w)
{
    if (PTTPortFailed) {
        dlg::MsgBox(QStringLiteral("Failed to open Comm ") + vb::Str(PTTPortNum) + QStringLiteral("."),
                    dlg::OKOnly, QStringLiteral("Serial port error"));
        return;
    }
    if (SplitOffset != 0) {
        if (g_startPending)
            return;
        if (!qsyToSplit(w, g_abortCount))
            return;
    }
    KeyProgramPTT();
    startEngine();
}

void endAfterBuffer(MainWindowControls& w)
{
    if (PSKModeActive)
        APIResult = Psk().fnSendTXCharacter(1, -1);
    else
        RTTYStopPending = true;
    labelcolor::setFore(w.TxRxBox, kBlue);
}

} // namespace

void ToggleTransmit()
{
    MainWindowControls& w = MainWindow();
    if (!TxActive)
        startTransmit(w);
    else
        endAfterBuffer(w);
}

void AbortTransmit()
{
    MainWindowControls& w = MainWindow();
    ++g_abortCount;
    AbortMacro = true;
    RxLinks().BreakMacroLoop();
    w.Tx->setText(QString());
    if (PSKModeActive)
        APIResult = Psk().fnAbortTX();
    else
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, 3, 0);
    w.TxWindow->setFocus();
    ReceiveAfterTx = false;
    RTTYStopPending = false;
    ScratchText.clear();
    MacroBuffer.clear();
}

void TxRxBox_Click()
{
    ToggleTransmit();
}

bool RequestRadioFrequency(const QString& kHzText)
{
    if (standalone(MainWindow())) {
        QVariantList args{kHzText}; // the component may rewrite its argument
        APIResult = RigCall(QStringLiteral("setRadioFrequency"), args).toInt();
        // 0: the command is on its way; any other result: refused, and the component said why.
        return APIResult == 0;
    }
    RxLinks().SendToLogger(QStringLiteral("Set Frequency=") + kHzText);
    return true;
}

QsyResult WaitForDialChange(double from, const std::function<bool()>& giveUp)
{
    const qint64 start = Clock::instance().monotonicMs();
    while (DialFrequency == from) {
        RxLinks().WaitYield();
        if (events::ProgramClosing() || (giveUp && giveUp()))
            return QsyResult::Abandoned;
        if (DialFrequency != from)
            break;
        if (secondsBetween(start, Clock::instance().monotonicMs()) >= kQsyTimeoutSeconds)
            return QsyResult::TimedOut;
    }
    return QsyResult::Moved;
}

void Label4_Click()
{
    AbortTransmit();
}
