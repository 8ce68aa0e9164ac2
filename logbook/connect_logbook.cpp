
#include "state/main_window_controls.h"
#include "logbook/frmatomclock.h"
#include "logbook/qso_panel.h"
#include "platform/menuitem.h"

void ConnectLogbook(MainWindowControls& w)
{
    ConnectQsoPanel(w);
    w.mnu(QStringLiteral("mnuAtomTime")).setHandler([] { frmAtomClock::instance().showOwned(); });
}
