// The RTTY engine's notifications (registered message "MMTTY", 0x8000 + code) and the display
// of its switch word.
#include "core/messages/mmtty_notify.h"

#include "core/messages/engine_tick.h"
#include "core/receive/errors.h"
#include "core/receive/rx_links.h"
#include "core/receive/rxtext.h"
#include "core/transmit/switchover.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/mmtty_block.h"

#include <QLabel>
#include <QToolBar>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::int32_t kSwitchCommand = 11;

bool toolbarShown(const MainWindowControls& w)
{
    return w.Toolbar && !w.Toolbar->isHidden();
}

void note(const char* text)
{
    if (ShowCommands)
        EchoToRxWindow(QString::fromLatin1(text));
}

// A switch shown by an indicator label's caption (AFC, Net).
void labelSwitch(MainWindowControls& w, QLabel* label, bool on, const char* onCaption, const char* offCaption, int button,
                 const char* onNote, const char* offNote)
{
    const QString want = QString::fromLatin1(on ? onCaption : offCaption);
    if (!label || label->text() == want)
        return;
    label->setText(want);
    if (toolbarShown(w))
        RxLinks().SetToolbarButton(button, on, want);
    note(on ? onNote : offNote);
}

// A switch remembered in a latch variable (band-pass filter, squelch, UOS).
void latchSwitch(MainWindowControls& w, bool& latch, bool on, int button, const char* onCaption, const char* offCaption,
                 const char* onNote, const char* offNote)
{
    if (on == latch)
        return;
    latch = on;
    if (toolbarShown(w))
        RxLinks().SetToolbarButton(button, on, QString::fromLatin1(on ? onCaption : offCaption));
    note(on ? onNote : offNote);
}

std::int32_t blockLong(int offset)
{
    std::int32_t v = 0;
    if (MMTTYView)
        std::memcpy(&v, MMTTYView + offset, sizeof v);
    return v;
}

void setBlockLong(int offset, std::int32_t v)
{
    if (MMTTYView)
        std::memcpy(MMTTYView + offset, &v, sizeof v);
}

// A frequency of the engine's into a 16-bit value; one that does not fit is no frequency of ours
// and is ignored.
void storeHz(std::int16_t& to, std::int32_t hz)
{
    if (hz >= INT16_MIN && hz <= INT16_MAX)
        to = static_cast<std::int16_t>(hz);
}

void switchWord(std::int32_t word)
{
    MMTTYFlags = word;
    if (MMTTYSwitchSyncPending) {
        MMTTYFlags = static_cast<std::int32_t>((static_cast<std::uint32_t>(word) & 0x7FFFu) | 0xFFFE8000u);
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kSwitchCommand, MMTTYFlags);
        if (MainWindowControls* w = ExistingMainWindow()) {
            MenuItem& wordMode = w->mnu(QStringLiteral("mnuRTTYWord"));
            wordMode.setChecked(!WordBoundary);
            wordMode.click();
        }
        MMTTYSwitchSyncPending = false;
    }
    ShowMMTTYSwitches();
}

void viewWord(std::int32_t word)
{
    MMTTYViewWord = word;
    MainWindowControls* w = ExistingMainWindow();
    const bool on = (word & 0x1000) != 0;
    if (on == XYScopeOn || !w)
        return;
    XYScopeOn = on;
    if (toolbarShown(*w))
        RxLinks().SetToolbarButton(4, on, on ? QStringLiteral("XY On") : QStringLiteral("XY Off"));
    note(on ? "<SCOPE ON>" : "<SCOPE OFF>");
}

void rttyTick(std::int32_t lParam)
{
    // 1. The squelch starts where the engine's level says, the first time.
    ResumeNext([&] {
        if (RTTYSquelchLevel == 0) {
            const auto high = static_cast<std::int16_t>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF);
            RTTYSquelchLevel = static_cast<float>(65.0 - high / 16.0);
            MainWindowControls* w = ExistingMainWindow();
            if (w && w->mnu(QStringLiteral("mnuTuningWindow")).checked())
                RxLinks().SetTuningSquelchLine(RTTYSquelchLevel);
        }
    });
    // 2. The level, 0..100.
    ResumeNext([&] {
        SignalLevel = std::min<std::int32_t>(100, vb::CLng((lParam & 0xFFFF) / 10.24));
    });
    // 3. The shared block: data taken, lost sound shown, overload noted.
    setBlockLong(mmtty::kSpectrumReady, 0);
    if (XYScopeOn)
        setBlockLong(mmtty::kXYReady, 0);
    if (blockLong(mmtty::kLostSound) > 0)
        ShowOverloadLight();
    OverloadFlag = blockLong(mmtty::kOverload);
    // 4.
    OnEngineTick();
}

void notch(std::int32_t lParam)
{
    if ((MMTTYFlags & 0x4000) == 0 || (MMTTYFlags & 0x20) == 0)
        return;
    const std::int32_t hz = lParam & 0xFFFF;
    if (hz > 32767) // not a frequency of the passband
        return;
    NotchFreq = static_cast<std::int16_t>(hz);
    if (NotchFreq > 0) {
        RxLinks().SetNotchVisible(true);
        if (HzPerTwip > 0)
            RxLinks().PlaceNotch(NotchFreq / HzPerTwip);
    } else {
        RxLinks().SetNotchVisible(false);
    }
}

// The engine's own message for the operator (a sound device it cannot use, a fault): shown in
// words, as the PSK engine's errors are.
void engineMessage()
{
    if (!MMTTYView)
        return;
    const auto* text = reinterpret_cast<const char*>(MMTTYView + mmtty::kEngineMessage);
    const void* nul = std::memchr(text, 0, mmtty::kEngineMessageSize);
    const auto n = nul ? static_cast<const char*>(nul) - text : mmtty::kEngineMessageSize;
    if (n > 0)
        APIResult = dlg::MsgBox(cp1252::decode(text, n), dlg::OKOnly | dlg::Exclamation, dlg::applicationTitle());
}

} // namespace

void HandleMMTTYNotification(std::int32_t code, std::int32_t lParam)
{
    switch (code) {
    case 0:
        MMTTYhWnd = lParam;
        break;
    case 3:
        if (!TxActive) {
            RxCharBuffer += cp1252::charOf(static_cast<unsigned char>(lParam & 0xFF));
        } else {
            auto ch = static_cast<std::int16_t>(lParam & 0xFF);
            EchoTxChar(ch);
        }
        break;
    case 4:
        if (lParam == 0) {
            XYScopeScale = 1100;
            GoToReceive();
        } else if (lParam == 1) {
            XYScopeScale = 12000;
            GoToTransmit();
        }
        break;
    case 7: storeHz(RTTYMarkHz, lParam); break;
    case 8: storeHz(RTTYSpaceHz, lParam); break;
    case 9: switchWord(lParam); break;
    case 0x0A: viewWord(lParam); break;
    case 0x0B: rttyTick(lParam); break;
    case 0x11: notch(lParam); break;
    case 0x12: storeHz(RTTYShiftHz, lParam); break;
    case 0x20: engineMessage(); break;
    default: // the engine's own business
        break;
    }
}

void ShowMMTTYSwitches()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    const std::int32_t f = MMTTYFlags;
    labelSwitch(*w, w->AFCBox, f & 0x4, "AFC On", "AFC Off", 13, "<AFC ON>", "<AFC OFF>");
    labelSwitch(*w, w->NetBox, f & 0x8, "Net On", "Net Off", 12, "<NET ON>", "<NET OFF>");
    if (!PSKModeActive) {
        const bool on = (f & 0x40) != 0;
        if (on != RxLinks().NotchVisible())
            RxLinks().SetNotchVisible(on);
    }
    latchSwitch(*w, MMTTYBPFOn, f & 0x20, 2, "BPF On", "BPF Off", "<BPF ON>", "<BPF OFF>");
    latchSwitch(*w, MMTTYSquelchOn, f & 0x80, 1, "SQ On", "SQ Off", "<SQUELCH ON>", "<SQUELCH OFF>");
    // Reverse polarity: the flag is True while "Normal" is shown.
    const bool reverse = (f & 0x100) != 0;
    if (reverse == MMTTYPolarityFlag) {
        MMTTYPolarityFlag = !reverse;
        if (toolbarShown(*w))
            RxLinks().SetToolbarButton(3, reverse, reverse ? QStringLiteral("Reverse") : QStringLiteral("Normal"));
        note(reverse ? "<REVERSE>" : "<NORMAL>");
        if (reverse)
            RTTYMarkLast = 0;
    }
    latchSwitch(*w, MMTTYSwitch200Latch, f & 0x200, 5, "UOS On", "UOS Off", "<UOS ON>", "<UOS OFF>");
}
