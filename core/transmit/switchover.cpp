// The program's half of the engine's switch between receive and transmit.
#include "core/transmit/switchover.h"

#include "core/receive/rx_links.h"
#include "core/transmit/labelcolors.h"
#include "core/transmit/ptt_keying.h"
#include "core/transmit/transmit.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

#include <QLabel>
#include <QTimer>

namespace {

constexpr std::int32_t kRed = 0xFF;
constexpr std::int32_t kBlue = 0xFF0000;
constexpr std::int32_t kGrey = 0xC0C0C0;

// Set by each transmit report, used up by the first receive report after it: the radio comes
// back from the split frequency once per transmission.
bool g_splitReturnDue = false;

void returnFromSplit(MainWindowControls& w)
{
    if (DialFrequency > 0) {
        const double from = DialFrequency;
        const QString receiveKHz = vb::Text(DialFrequency - SplitOffset / 1000.0);
        if (!RequestRadioFrequency(receiveKHz))
            dlg::MsgBox(QStringLiteral("The radio was not tuned back to the receive frequency of ") + receiveKHz
                            + QStringLiteral(" kHz.  You may still be receiving on your QSX frequency."),
                        dlg::OKOnly, QStringLiteral("QSY refused"));
        else if (WaitForDialChange(from) == QsyResult::TimedOut)
            dlg::MsgBox(QStringLiteral("The radio did not acknowledge the QSY instruction.  "
                                       "You may still be receiving on your QSX frequency."),
                        dlg::OKOnly, QStringLiteral("Timeout"));
    }
    labelcolor::setFore(w.DuplexBox, kBlue);
    labelcolor::setBack(w.DuplexBox, kGrey);
}

} // namespace

void GoToTransmit()
{
    MainWindowControls& w = MainWindow();
    TxCharPointer = 1;
    TxActive = true;
    g_splitReturnDue = true;
    w.Image2->setPixmap(*w.Green);
    labelcolor::setFore(w.TxRxBox, kRed);
    w.TxRxBox->setText(QStringLiteral("Transmit"));
    if (w.mnu(QStringLiteral("mnuSpectrum")).checked())
        w.Spectrum->Cls();
}

void GoToReceive()
{
    MainWindowControls& w = MainWindow();
    ReleaseProgramPTT();

    TxActive = false;
    labelcolor::setFore(w.TxRxBox, kBlue);
    w.TxRxBox->setText(QStringLiteral("Receive"));
    w.Tx->setText(QString());
    w.Image2->setPixmap(*w.Red);

    if (LoopCountdown > 0)
        w.Timer1->start();

    // The flag is cleared before logging: logging may show a box, and a receive report handled
    // meanwhile must not log the same QSO again.
    if (LogAfterTx) {
        LogAfterTx = false;
        if (!w.vsElastic3->isHidden())
            RxLinks().LogAndClear();
        else
            RxLinks().SendToLogger(QStringLiteral("LogQSO"));
    }

    if (SplitOffset != 0 && g_splitReturnDue) {
        g_splitReturnDue = false;
        returnFromSplit(w);
    }
}

void RequestRTTYRxAfterTx()
{
    if (RTTYStopPending)
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, 3, 1);
    RTTYStopPending = false;
}

void ResetSwitchOver()
{
    g_splitReturnDue = false;
}
