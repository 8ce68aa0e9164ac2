
#include "logbook/clock/frmatomclock.h"
#include "logbook/qso/qso_panel.h"
#include "platform/widgets/menuitem.h"
#include "state/main_window_controls.h"

void ConnectLogbook(MainWindowControls& w)
{
    ConnectQsoPanel(w);
    w.mnu(QStringLiteral("mnuAtomTime")).setHandler([] { frmAtomClock::instance().showOwned(); });
}
