#include "core/links.h"

#include "core/capturefile.h"
#include "core/modeselection.h"
#include "core/psk_api.h"
#include "core/radio_port.h"
#include "displays/aux_window.h"
#include "core/rtty_link.h"
#include "displays/palette.h"
#include "displays/tuning_window.h"
#include "platform/comobject.h"
#include "core/sondrel.h"
#include "logbook/logbook_services.h"
#include "logbook/logbook_windows.h"
#include "logbook/frmatomclock.h"

#include <QComboBox>

namespace {

ProgramLinks realLinks()
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

ProgramLinks& current()
{
    static ProgramLinks links = realLinks();
    return links;
}

} // namespace

ProgramLinks& Links()
{
    return current();
}

void ResetLinks()
{
    current() = realLinks();
}

QVariant RigCall(const QString& member, QVariantList& args)
{
    return Links().rig(member, args);
}

QVariant RigCall(const QString& member, const QVariant& arg)
{
    QVariantList args{arg};
    return Links().rig(member, args);
}

QVariant RigCall(const QString& member)
{
    QVariantList args;
    return Links().rig(member, args);
}
