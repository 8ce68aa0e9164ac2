#include "core/connections.h"

#include "core/sondrel.h"
#include "logbook/frmatomclock.h"
#include "logbook/qso_panel.h"
#include "platform/menuitem.h"

void ConnectLogbook(Sondrel& w)
{
    ConnectQsoPanel(w);
    w.mnu(QStringLiteral("mnuAtomTime")).setHandler([] { frmAtomClock::instance().showOwned(); });
}
