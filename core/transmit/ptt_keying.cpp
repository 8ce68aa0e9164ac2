#include "core/transmit/ptt_keying.h"

#include "core/receive/rx_links.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

namespace {

bool g_keyed = false;

struct Lines {
    bool rts;
    bool dtr;
};

Lines keyingLines()
{
    return {PTTKeyingLine == QLatin1String("RTS") || PTTKeyingLine == QLatin1String("RTS & DTR"),
            PTTKeyingLine == QLatin1String("DTR") || PTTKeyingLine == QLatin1String("RTS & DTR")};
}

void setPTT(bool on)
{
    const Lines lines = keyingLines();
    if (MainWindow().mnu(QStringLiteral("mnuStandalone")).checked()) {
        if (PTTMode == QLatin1String("By Command")) {
            APIResult = RigCall(on ? QStringLiteral("setPTTByCommandOn") : QStringLiteral("setPTTByCommandOff")).toInt();
        } else if (PTTMode == QLatin1String("By Shared Port")) {
            if (lines.rts)
                APIResult = RigCall(QStringLiteral("RTSEnable"), on).toInt();
            if (lines.dtr)
                APIResult = RigCall(QStringLiteral("DTREnable"), on).toInt();
        }
    } else {
        if (PTTMode == QLatin1String("By Command"))
            RxLinks().SendToLogger(on ? QStringLiteral("Turn PTT On") : QStringLiteral("Turn PTT Off"));
        else if (PTTMode == QLatin1String("By Shared Port"))
            RxLinks().SendToLogger(on ? QStringLiteral("Turn Shared PTT On") : QStringLiteral("Turn Shared PTT Off"));
    }
}

} // namespace

void KeyProgramPTT()
{
    g_keyed = PTTMode == QLatin1String("By Command") || PTTMode == QLatin1String("By Shared Port");
    setPTT(true);
}

void ReleaseProgramPTT()
{
    g_keyed = false;
    setPTT(false);
}

bool ProgramPTTKeyed()
{
    return g_keyed;
}
