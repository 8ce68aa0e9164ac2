// The program's own links: what each part calls through its table of links (state/links.h,
// core/rx_links.h, displays/display_hooks.h) when the part that answers sits above it. They are
// installed once, when the program starts; tests replace single entries and put these back.
#include "core/capturefile.h"
#include "core/hookmodule.h"
#include "core/logger_link.h"
#include "core/macro_buttons.h"
#include "core/modeselection.h"
#include "core/psk_api.h"
#include "core/radio_port.h"
#include "core/rtty_link.h"
#include "core/rx_links.h"
#include "core/sondrel.h"
#include "core/wordcapture.h"
#include "displays/aux_window.h"
#include "displays/display_hooks.h"
#include "displays/palette.h"
#include "displays/tuning_window.h"
#include "logbook/frmatomclock.h"
#include "logbook/logbook_services.h"
#include "logbook/logbook_windows.h"
#include "logbook/qso_logging.h"
#include "platform/comobject.h"
#include "platform/events.h"
#include "state/links.h"

#include <QComboBox>
#include <cstdlib>

namespace {

ProgramLinks programLinks()
{
    ProgramLinks l;
    l.FindCDDrive = [] { return FindCDDrive(); };
    l.OpenLogbook = [] { OpenLogbook(); };
    l.LoadBands = [] { LoadBands(); };
    l.VmxClose = [](std::int32_t handle) { return CloseLogbook(handle); };
    l.fnStopSoundCard = [] { return Psk().fnStopSoundCard(); };
    l.rig = [](const QString& member, QVariantList& args) -> QVariant {
        Sondrel* w = Sondrel::existing();
        if (!w || !w->RigControl)
            return QVariant();
        return w->RigControl->call(member, args);
    };
    l.LoadDefaultPalette = [] { LoadDefaultWaterfallColors(); };
    l.LoadRTTYProfiles = [] { LoadRTTYProfiles(); };
    l.SetupRadioPort = [] { SetupRadioPort(); };
    l.SetModeFromINI = [] { SetModeFromINI(); };
    l.CloseCaptureFile = [] { CloseCaptureFile(); };
    l.UnloadChildWindows = [] {
        if (TuningWindow* t = TuningWindow::existing())
            t->Unload();
        UnloadAuxWindow(2);
        UnloadAuxWindow(1);
        UnloadMiniLog();
        UnloadPreviousPage();
        LogbookWindows().UnloadCDDisplay();
        if (frmAtomClock* clock = frmAtomClock::existing())
            clock->Unload();
    };
    return l;
}

ReceiveLinks receiveLinks()
{
    ReceiveLinks l;
    l.SendToLogger = [](const QString& text) { ::SendToLogger(text); };
    l.mnuRTTY_Click = [](int profile) { ::mnuRTTY_Click(profile); };
    l.BreakMacroLoop = [] { ::BreakMacroLoop(); };
    l.Command1_Mouseup = [](int index, int button, int shift, int x, int y) {
        ::Command1_Mouseup(index, button, shift, x, y);
    };
    l.LoadMacroSet = [](const QString& section) { ::LoadMacroSet(section); };
    l.LogAndClear = [] { ::LogAndClear(); };
    l.NotchVisible = [] { return ::NotchVisible(); };
    l.SetNotchVisible = [](bool on) { ::SetNotchVisible(on); };
    l.PlaceNotch = [](double x) { ::PlaceNotch(x); };
    l.SetToolbarButton = [](int b, bool on, const QString& c) { ::SetToolbarButton(b, on, c); };
    l.SetTuningSquelchLine = [](double level) { SetTuningSquelchLine(level); };
    l.AuxText = [](int channel) { return AuxTextOf(channel); };
    l.EndProgram = [] {
        ReleaseBeforeEnd();
        // Static clean-up still runs: the shared block is unmapped and the instance lock let go.
        std::exit(EXIT_FAILURE);
    };
    l.WaitYield = [] { events::DoEvents(); };
    return l;
}

DisplayLinks displayLinks()
{
    DisplayLinks l;
    l.SetNotchAt = [](float x) { ::SetNotchAt(x); };
    l.CentreNotchPosition = [](float x) { ::PlaceNotch(x); };
    l.ResetRTTYShift = [] { ::ResetRTTYShift(); };
    l.SendToLogger = [](const QString& text) { ::SendToLogger(text); };
    l.TrackWordUnderMouse = [](RichText& window, double x, double y, std::int32_t over, std::int32_t text) {
        ::TrackWordUnderMouse(window, x, y, over, text);
    };
    l.UseSelectedString = [] { ::UseSelectedString(); };
    return l;
}

const bool kInstalled = [] {
    InstallProgramLinks(programLinks);
    InstallReceiveLinks(receiveLinks);
    InstallDisplayLinks(displayLinks);
    return true;
}();

} // namespace
