#include "core/radio/ptt.h"

#include "core/radio/frmserialport.h"
#include "displays/spectrum/scale.h"
#include "platform/processes/winmsg.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/mmtty_block.h"
#include "state/psk_api.h"

namespace {
constexpr std::int32_t kRttyPortCommand = 21;
}

int PTTLineNumber(const QString& line)
{
    if (line == QLatin1String("RTS"))
        return 1;
    if (line == QLatin1String("DTR"))
        return 2;
    if (line == QLatin1String("RTS & DTR"))
        return 3;
    return 0;
}

void doPTTSetup()
{
    if (PTTMode != QLatin1String("Serial Port")) {
        PTTPortNum = 0;
        WriteINI(QStringLiteral("PTT"), QStringLiteral("PTT Port Num"), QStringLiteral("0"));
        PTTPortFailed = false;
    }
    const int line = PTTLineNumber(PTTKeyingLine);
    if (PSKModeActive) {
        APIResult = Psk().fnSetComPort(PTTPortNum, line);
        PTTPortFailed = APIResult == 0 && PTTPortNum > 0;
        return;
    }
    // The RTTY engine reads the port name from the shared block.
    if (MMTTYView) {
        const QByteArray name = PTTPortNum >= 1 ? "COM" + QByteArray::number(PTTPortNum) : QByteArray("NONE");
        mmtty::PutPaddedText(MMTTYView + mmtty::kPortName, name.constData(), 8);
    }
    APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kRttyPortCommand, 0);
    PTTPortFailed = false;
}

void mnuPTTOptions_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    const bool onTop = w && w->mnu(QStringLiteral("mnuOnTop")).checked();
    if (onTop)
        SetWindowTopmost(false);
    {
        frmSerialPort dialog(MainWindowWidget());
        dlg::ShowModal(dialog);
    }
    if (onTop)
        SetWindowTopmost(true);
}
