
#include "core/logger_link/logger_link.h"
#include "core/radio/frmsplitfreq.h"
#include "core/radio/radio_port.h"
#include "core/radio/radio_presets.h"
#include "displays/spectrum/click_filter.h"
#include "platform/widgets/menuitem.h"
#include "state/main_window_controls.h"

#include <QLabel>
#include <QLineEdit>

void ConnectRadioControl(MainWindowControls& w)
{
    auto handle = [&w](const QString& name, std::function<void()> fn) { w.mnu(name).setHandler(std::move(fn)); };
    handle(QStringLiteral("mnuRadioControl"), mnuRadioControl_Click);
    handle(QStringLiteral("mnuPortState"), mnuPortState_Click);
    handle(QStringLiteral("mnuShowRadioDebug"), mnuShowRadioDebug_Click);
    handle(QStringLiteral("mnusettings"), mnusettings_Click);
    handle(QStringLiteral("mnuRadioAuto"), mnuRadioAuto_Click);
    for (int n = 1; n <= 4; ++n)
        handle(QStringLiteral("mnuSimulatedRadio%1").arg(n), [n] { mnuSimulatedRadio_Click(n); });
    handle(QStringLiteral("mnuStandalone"), mnuStandalone_Click);
    ClickFilter::attach(w.DuplexBox)->onClick = DuplexBox_Click;
    // The Logger (or the radio poll) writes into the hidden box; every change is parsed.
    QObject::connect(w.FreqHolder, &QLineEdit::textChanged, w.FreqHolder, [] { FreqHolder_Change(); });
}
