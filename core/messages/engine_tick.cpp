// The engine tick: once per PSK data-ready message or RTTY data notification. A failing step
// is skipped and the tick goes on with the next one.
#include "core/messages/engine_tick.h"

#include "core/receive/errors.h"
#include "core/receive/notifications.h"
#include "core/receive/rx_links.h"
#include "core/receive/rxtext.h"
#include "core/transmit/switchover.h"
#include "displays/spectrum/display_drawing.h"
#include "displays/spectrum/readouts.h"
#include "platform/system/events.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

#include <QLineEdit>
#include <utility>

namespace {

bool g_pumping = false;

// Standalone: the radio's port and debug window states mirrored in the menu, and its
// frequency and mode handed to the frequency box as the Logger would write them.
void pollRadio(MainWindowControls& w)
{
    ResumeNext([&] {
        RadioPortStateLast = RigCall(QStringLiteral("getCommPortState")).toBool();
        MenuItem& port = w.mnu(QStringLiteral("mnuPortState"));
        if (port.checked() != RadioPortStateLast)
            port.setChecked(RadioPortStateLast);
    });
    ResumeNext([&] {
        RadioDebugStateLast = RigCall(QStringLiteral("getDebugWindowState")).toInt() != 0;
        MenuItem& debug = w.mnu(QStringLiteral("mnuShowRadioDebug"));
        if (debug.checked() != RadioDebugStateLast)
            debug.setChecked(RadioDebugStateLast);
    });
    ResumeNext([&] {
        if (RadioModel == QLatin1String("Kachina 505") || RadioPortStateLast)
            w.FreqHolder->setText(QStringLiteral("FREQUENCY=") + RigCall(QStringLiteral("getRadioFreq")).toString()
                                  + RigCall(QStringLiteral("getRadioMode")).toString());
        else
            w.FreqHolder->setText(QStringLiteral("FREQUENCY=0"));
    });
}

// Every eleventh tick the Logger sender checks that the Logger is still there.
void checkLogger()
{
    if (LoggerhWnd <= 0)
        return;
    ++LoggerPollCount;
    if (LoggerPollCount > 10) {
        RxLinks().SendToLogger(QString());
        LoggerPollCount = 0;
    }
}

void countIMD(std::int16_t& counter, std::int32_t channel)
{
    if (counter > 0) {
        ++counter;
        if (counter > 10)
            ClearIMD(channel);
    }
}

} // namespace

void FlushPendingText()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    // A capture error's box lets engine messages in: each buffer is taken before it is shown,
    // so text arriving meanwhile stays pending, and a tick run inside the box leaves the
    // windows to this one.
    static bool flushing = false;
    if (flushing)
        return;
    flushing = true;
    if (!RxCharBuffer.isEmpty()) {
        const QString text = std::exchange(RxCharBuffer, QString());
        ResumeNext([&] { AppendRxText(*w->Rx, text, ColourFromText(RxTextColor), true); });
    }
    if (!SentText.isEmpty()) {
        const QString text = std::exchange(SentText, QString());
        ResumeNext([&] { AppendRxText(*w->Rx, text, ColourFromText(TxEchoColor), true); });
    }
    // An auxiliary channel's text is dropped while its window is closed.
    if (!Aux1CharBuffer.isEmpty()) {
        const QString text = std::exchange(Aux1CharBuffer, QString());
        ResumeNext([&] {
            if (RichText* aux = Aux1Open ? RxLinks().AuxText(1) : nullptr)
                AppendRxText(*aux, text, Aux1TextColor, false);
        });
    }
    if (!Aux2CharBuffer.isEmpty()) {
        const QString text = std::exchange(Aux2CharBuffer, QString());
        ResumeNext([&] {
            if (RichText* aux = Aux2Open ? RxLinks().AuxText(2) : nullptr)
                AppendRxText(*aux, text, Aux2TextColor, false);
        });
    }
    flushing = false;
}

void OnEngineTick()
{
    // 1. Pending messages first. A tick that arrives while they are handled does not pump
    // again: the outer pump is already draining the queue.
    if (!g_pumping) {
        g_pumping = true;
        ResumeNext([] { events::DoEvents(); });
        g_pumping = false;
    }
    // 2.
    ++TickCycle;
    if (TickCycle < 1 || TickCycle > 2)
        TickCycle = 1;
    SpectrumToggle = !SpectrumToggle;
    // 3.
    if (SpectrumHold)
        return;
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    // 4.
    if (w->mnu(QStringLiteral("mnuStandalone")).checked())
        pollRadio(*w);
    else
        ResumeNext(checkLogger);
    // 6. (Step 5, the scope segment counters, belongs to the drawing.)
    if (!PSKModeActive && TxActive)
        ResumeNext(RequestRTTYRxAfterTx);
    // 7.
    if (OverloadCountdown > 0) {
        --OverloadCountdown;
        if (OverloadCountdown < 1)
            ResumeNext(SetLights);
    }
    // 8.
    ResumeNext([] { countIMD(IMDClearCount, 0); });
    ResumeNext([] { countIMD(Aux1IMDClearCount, 1); });
    ResumeNext([] { countIMD(Aux2IMDClearCount, 2); });
    // 9. Held back while a mouse button is down in the receive window or the windows are frozen.
    if (!MouseOverSuppressed && !RxFreeze)
        FlushPendingText();
    // 10. With the energy saver on, the displays are drawn on every second tick only.
    if (EnergySaverOn && SpectrumToggle)
        return;
    ResumeNext(DrawEngineData);
}
