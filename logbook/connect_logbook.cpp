#include "core/connections.h"

#include "core/sondrel.h"
#include "logbook/qso_panel.h"

void ConnectLogbook(Sondrel& w)
{
    ConnectQsoPanel(w);
}
