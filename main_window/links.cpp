// The program's own links: what each part calls through its table of links (state/links.h,
// core/receive/rx_links.h, displays/spectrum/display_hooks.h, logbook/store/window_links.h, logbook/exchange/import_export.h)
// when the part that answers sits above it. They are
// installed once, when the program starts; tests replace single entries and put these back.
#include "core/logger_link/logger_link.h"
#include "core/macros/macro_buttons.h"
#include "core/messages/hookmodule.h"
#include "core/modes/modeselection.h"
#include "core/radio/radio_port.h"
#include "core/receive/capturefile.h"
#include "core/receive/rx_links.h"
#include "core/receive/wordcapture.h"
#include "core/rtty/rtty_link.h"
#include "displays/drawing/palette.h"
#include "displays/spectrum/display_hooks.h"
#include "displays/windows/aux_window.h"
#include "displays/windows/tuning_window.h"
#include "logbook/callbook/cd_lookup.h"
#include "logbook/clock/frmatomclock.h"
#include "logbook/exchange/import_export.h"
#include "logbook/logbook_services.h"
#include "logbook/qso/qso_logging.h"
#include "logbook/windows/frm_previous_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "logbook/windows/logbook_windows.h"
#include "logbook/windows/mini_log.h"
#include "main_window/sondrel.h"
#include "platform/system/comobject.h"
#include "platform/system/events.h"
#include "platform/widgets/owned_window.h"
#include "state/links.h"
#include "state/psk_api.h"

#include <QComboBox>
#include <QPushButton>
#include <cstdlib>

namespace {

// A logbook window shown modeless, owned by the main window.
template <class W> void showOwned()
{
    W& w = W::instance();
    ShowOwnedWindow(w, MainWindowWidget(), w.hasStoredPlace());
}

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

LogbookWindowHooks logbookWindows()
{
    LogbookWindowHooks h;
    h.ShowMiniLog = [] { showOwned<MiniLog>(); };
    h.ShowPreviousPage = [] { showOwned<frmPreviousPage>(); };
    h.UnloadCDDisplay = [] { UnloadCDDisplay(); };
    h.DoCDLookup = [] { DoCDLookup(); };
    h.MiniLogPageChanged = [] {
        if (MiniLog* w = MiniLog::existing())
            w->showPage();
    };
    h.PreviousPageChanged = [] {
        if (frmPreviousPage* w = frmPreviousPage::existing())
            w->showPage();
    };
    return h;
}

LogTransferHooks logTransfer()
{
    LogTransferHooks h;
    h.ExportADIF = [] { ExportADIF(); };
    h.ExportCSV = [] { ExportCSV(); };
    h.ImportADIF = [] { ImportADIF(); };
    h.Running = [] { return LogTransferRunning(); };
    return h;
}

// The Mini-Log window's button Command1, centred over its grid, when the window is open.
TransferView transferView()
{
    TransferView v;
    v.ShowProgress = [](bool shown) {
        MiniLog* w = MiniLog::existing();
        if (!w || !w->Command1)
            return;
        if (shown) {
            const QRect grid = w->LogbookPage->geometry();
            w->Command1->move(grid.center() - QPoint(w->Command1->width() / 2, w->Command1->height() / 2));
            w->Command1->raise();
        }
        w->Command1->setVisible(shown);
    };
    v.SetProgressCaption = [](const QString& caption) {
        if (MiniLog* w = MiniLog::existing(); w && w->Command1)
            w->Command1->setText(caption);
    };
    return v;
}


const bool kInstalled = [] {
    InstallProgramLinks(programLinks);
    InstallReceiveLinks(receiveLinks);
    InstallDisplayLinks(displayLinks);
    InstallLogbookWindows(logbookWindows);
    InstallLogTransfer(logTransfer);
    InstallTransferView(transferView);
    return true;
}();

} // namespace
