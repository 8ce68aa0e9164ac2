// The AFC and Net switches of the status bar.
#include "core/modes/modeselection.h"
#include "platform/processes/winmsg.h"
#include "settings/appliers.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QLabel>
#include <QTextEdit>

namespace {

constexpr std::int32_t kSwitchCommand = 11;
constexpr std::int32_t kAfcBit = 0x4;
constexpr std::int32_t kNetBit = 0x8;

const QString kSettings = QStringLiteral("Settings");

} // namespace

void SetPSKAFCOn()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->AFCBox->setText(QStringLiteral("AFC On"));
    AFCRange = 45;
    AFCLimit = 100;
}

void SetPSKAFCOff()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->AFCBox->setText(QStringLiteral("AFC Off"));
    AFCRange = 0;
    AFCLimit = 0;
}

void LoadAFCSettings()
{
    if (ReadINI(kSettings, QStringLiteral("AFC On/Off"), QStringLiteral("On")) == QLatin1String("On"))
        SetPSKAFCOn();
    else
        SetPSKAFCOff();
    ApplySettingsPhrase(ReadINI(kSettings, QStringLiteral("Net"), QStringLiteral("Net On")));
}

void AFCBox_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    if (!PSKModeActive) {
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kSwitchCommand, MMTTYFlags ^ kAfcBit);
        return;
    }
    if (w->AFCBox->text() == QLatin1String("AFC On")) {
        SetPSKAFCOff();
        WriteINI(kSettings, QStringLiteral("AFC On/Off"), QStringLiteral("Off"));
    } else {
        SetPSKAFCOn();
        WriteINI(kSettings, QStringLiteral("AFC On/Off"), QStringLiteral("On"));
    }
    APIResult = Psk().fnSetAFCLimit(AFCLimit, 0);
    APIResult = Psk().fnSetRXFrequency(EngineFreqParam, AFCRange, 0);
}

void AFCBox_MouseUp()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->TxWindow->setFocus();
}

void NetBox_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    if (!PSKModeActive) {
        APIResult = win::PostMessage(MMTTYhWnd, MMTTYMessage, kSwitchCommand, MMTTYFlags ^ kNetBit);
        return;
    }
    const QString caption = w->NetBox->text();
    if (caption == QLatin1String("Net On")) {
        w->NetBox->setText(QStringLiteral("Net Off"));
        WriteINI(kSettings, QStringLiteral("Net"), QStringLiteral("Net Off"));
        NetOn = false;
    } else if (caption == QLatin1String("Net Off")) {
        w->NetBox->setText(QStringLiteral("Net On"));
        WriteINI(kSettings, QStringLiteral("Net"), QStringLiteral("Net On"));
        NetOn = true;
    }
}
