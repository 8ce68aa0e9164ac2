#include "displays/drawing/surfaces.h"

#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <array>

namespace {

std::array<TuningSurfaces, 3> g_tuning;
std::array<AuxReadoutBoxes, 3> g_aux;

} // namespace

TuningSurfaces& TuningSurface(int channel)
{
    static TuningSurfaces none;
    if (channel < 0 || channel > 2) {
        none = TuningSurfaces();
        return none;
    }
    return g_tuning[static_cast<size_t>(channel)];
}

AuxReadoutBoxes& AuxReadouts(int channel)
{
    static AuxReadoutBoxes none;
    if (channel < 1 || channel > 2) {
        none = AuxReadoutBoxes();
        return none;
    }
    return g_aux[static_cast<size_t>(channel)];
}

void ClearSurfaces()
{
    g_tuning = {};
    g_aux = {};
}

bool TuningWindowShown(int channel)
{
    switch (channel) {
    case 0: {
        MainWindowControls* w = ExistingMainWindow();
        return w && w->mnu(QStringLiteral("mnuTuningWindow")).checked();
    }
    case 1:
        return TuningWindowAux1Open;
    case 2:
        return TuningWindowAux2Open;
    default:
        return false;
    }
}
