#include "core/radio/radio_port.h"

#include "core/radio/frmradiocommand.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

#include <cmath>

namespace {

// A stored number as the component's 16-bit parameter; 0 when it does not fit.
std::int16_t number16(const QString& text)
{
    try {
        return vb::CInt(vb::Val(text));
    } catch (const vb::OverflowError&) {
        return 0;
    }
}

} // namespace

int RigNumber(const QString& member, const QVariant& arg)
{
    QVariantList args{arg};
    return RigCall(member, args).toInt();
}

void DropRadioPTTLines()
{
    APIResult = 1;
    if (PTTMode != QLatin1String("By Command"))
        return;
    if (PTTKeyingLine == QLatin1String("RTS") || PTTKeyingLine == QLatin1String("RTS & DTR"))
        APIResult = RigNumber(QStringLiteral("RTSEnable"), false);
    if (PTTKeyingLine == QLatin1String("DTR") || PTTKeyingLine == QLatin1String("RTS & DTR"))
        APIResult = RigNumber(QStringLiteral("DTREnable"), false);
}

void SetupRadioPort()
{
    const std::int16_t port = number16(RadioPortNumber);
    if (port == 0)
        return;
    if (RigCall(QStringLiteral("getCommPortState")).toBool())
        APIResult = RigNumber(QStringLiteral("PortOpen"), false);
    DropRadioPTTLines();
    APIResult = RigNumber(QStringLiteral("CommPort"), port);
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("setIcomAddress"), IcomAddress);
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("setPollInterval"), RadioPollInterval);
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("Handshaking"), number16(RadioFlowControl));
    if (APIResult != 0)
        APIResult = RigNumber(QStringLiteral("Settings"), RadioBaudRate + u',' + RadioParity + u',' + RadioDataBits
                                                               + u',' + RadioStopBits);
    APIResult = RigNumber(QStringLiteral("PortOpen"), true);
}

void mnuRadioControl_Click()
{
    AroundTopmost([] {
        frmRadioCommand dialog(MainWindowWidget());
        dlg::ShowModal(dialog);
    });
}

void mnuPortState_Click()
{
    // An empty or unreadable port number is no port either.
    if (number16(RadioPortNumber) == 0)
        return;
    const bool open = RigCall(QStringLiteral("getCommPortState")).toBool();
    APIResult = RigNumber(QStringLiteral("PortOpen"), !open);
}

void mnuShowRadioDebug_Click()
{
    APIResult = RigCall(QStringLiteral("setDebugWindow")).toInt();
}
