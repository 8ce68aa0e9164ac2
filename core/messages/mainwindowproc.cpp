// The main window's message hook: the PSK engine's four messages, the Logger's hello and the
// RTTY engine's notifications. Every one of them is answered with 0 and goes no further.
#include "core/messages/hookmodule.h"

#include "core/messages/engine_tick.h"
#include "core/messages/mmtty_notify.h"
#include "core/receive/errors.h"
#include "core/receive/rx_links.h"
#include "core/transmit/switchover.h"
#include "displays/spectrum/readouts.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QLineEdit>

namespace {

void appendCode(QString& buffer, std::intptr_t code)
{
    buffer += cp1252::charOf(static_cast<unsigned char>(code & 0xFF));
}

void pskCharacter(std::intptr_t code, std::int32_t channel)
{
    switch (channel) {
    case 0:
        appendCode(RxCharBuffer, code);
        break;
    case 1:
        if (Aux1Open)
            appendCode(Aux1CharBuffer, code);
        break;
    case 2:
        if (Aux2Open)
            appendCode(Aux2CharBuffer, code);
        break;
    case -1: {
        auto ch = static_cast<std::int16_t>(code & 0xFF);
        EchoTxChar(ch);
        break;
    }
    default: // an unknown channel: dropped
        break;
    }
}

void pskStatus(std::int32_t status)
{
    switch (status) {
    case 0: GoToReceive(); break;
    case 1: GoToTransmit(); break;
    case 2: ShowOverloadLight(); break;
    default: ShowDLLError(status); break;
    }
}

void loggerHello(std::intptr_t loggerWindow)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || w->mnu(QStringLiteral("mnuStandalone")).checked())
        return;
    LoggerhWnd = static_cast<std::int32_t>(loggerWindow);
    const win::WinHandle box = win::registerWindow(w->FreqHolder);
    RxLinks().SendToLogger(QStringLiteral("SondrelhWndToUse=") + QString::number(box));
    RxLinks().SendToLogger(QStringLiteral("Reset"));
}

} // namespace

std::optional<std::intptr_t> MainWindowProc(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    const auto l = static_cast<std::int32_t>(lParam);
    switch (msg) {
    case kPskDataReady:
        EngineFreqParam = static_cast<std::int32_t>(wParam);
        SignalLevel = l;
        if (!SpectrumHold)
            OnEngineTick();
        return 0;
    case kPskCharacter:
        pskCharacter(wParam, l);
        return 0;
    case kPskStatus:
        pskStatus(static_cast<std::int32_t>(wParam));
        return 0;
    case kPskIMD:
        // Channels 0..2 only; a negative channel is no channel.
        if (l >= 0 && l < 3)
            ShowIMD(static_cast<std::int32_t>(wParam), l);
        return 0;
    default:
        break;
    }
    if (SoundCardMessage != 0 && msg == SoundCardMessage) {
        loggerHello(wParam);
        return 0;
    }
    if (MMTTYMessage != 0 && msg == MMTTYMessage) {
        HandleMMTTYNotification(static_cast<std::int32_t>(wParam) - kMMTTYNotifyBase, l);
        return 0;
    }
    return std::nullopt;
}
