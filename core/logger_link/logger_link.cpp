#include "core/logger_link/logger_link.h"

#include "displays/spectrum/scale.h"
#include "logbook/windows/logbook_windows.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/text1252.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/links.h"
#include "state/main_window_controls.h"

#include <QLineEdit>
#include <cmath>
#include <optional>

namespace {

StandaloneWindowHooks ownWindows()
{
    StandaloneWindowHooks h;
    h.UnloadMiniLog = [] { UnloadMiniLog(); };
    h.UnloadPreviousPage = [] { UnloadPreviousPage(); };
    return h;
}

MenuItem* item(const char* name)
{
    MainWindowControls* w = ExistingMainWindow();
    return w ? &w->mnu(QString::fromLatin1(name)) : nullptr;
}

bool checked(const char* name)
{
    MenuItem* m = item(name);
    return m && m->checked();
}

void lostLogger()
{
    LoggerhWnd = 0;
    LoggerPollCount = 0;
    dlg::MsgBox(QStringLiteral("I have lost low level message connection with the Logger program.  If you stopped "
                               "Logger, then no problem.  If Logger is still running, then we could be in serious "
                               "trouble here.  Try stopping Logger, and restarting it"),
                dlg::OKOnly | dlg::Exclamation,
                QStringLiteral("Important Message from Sondrel ... Who turned the lights off?"));
}

// The radio (or the Logger) reports its dial frequency; "USB" anywhere in the text means the
// upper sideband.
void applyFrequency(const QString& text)
{
    if (!checked("mnuRadioAuto"))
        return;
    const double kHz = vb::Val(text.mid(10));
    if (!SetDialFrequency(kHz))
        return;
    // The radio has arrived where a click on the spectrum sent it: the clicked signal is tuned
    // in at the preset receive frequency.
    if (PendingQSYFrequency != QLatin1String("0") && vb::Val(PendingQSYFrequency) == DialFrequency) {
        if (FFTBinHz != 0 && ScaleWidth != 0) {
            const double position = vb::RoundHalfEven(vb::Val(PresetRxAudioFreq) / (FFTBinHz / ScaleWidth));
            if (position >= -32768 && position <= 32767)
                SetRxFrequencyFromPixel(static_cast<std::int16_t>(position), true);
        }
        PendingQSYFrequency = QStringLiteral("0");
    }
    SidebandOrientation = text.contains(QLatin1String("USB")) ? QStringLiteral("Normal") : QStringLiteral("Reverse");
    UpdateScaleLabels();
}

// Up to five comma-ended fields; the first field without a comma after it ends the parse.
void applyPreviousQSOs(const QString& value)
{
    qsizetype from = 0;
    for (std::size_t k = 1; k <= 5; ++k) {
        const qsizetype comma = value.indexOf(u',', from);
        if (comma < 0)
            return;
        PreviousQSOs[k] = value.mid(from, comma - from);
        from = comma + 1;
    }
}

} // namespace

bool SetDialFrequency(double kHz)
{
    if (!std::isfinite(kHz) || std::fabs(kHz) >= 2147483647.0)
        return false;
    DialFrequency = kHz;
    DialKHz = static_cast<std::int32_t>(vb::Int(kHz));
    DialHzPart = static_cast<std::int32_t>(vb::RoundHalfEven((kHz - DialKHz) * 1000));
    return true;
}

StandaloneWindowHooks& StandaloneWindows()
{
    static StandaloneWindowHooks hooks = ownWindows();
    return hooks;
}

void ResetStandaloneWindows()
{
    StandaloneWindows() = ownWindows();
}

void SendToLogger(const QString& text)
{
    if (LoggerhWnd < 1 || checked("mnuStandalone"))
        return;
    // Any window with the Logger's title is proof of life; before the Logger has said what its
    // title is, any window will do.
    if (win::FindWindow(LoggerWindowCaption) == 0) {
        lostLogger();
        return;
    }
    if (!text.isEmpty())
        win::SetWindowText(LoggerhWnd, text);
}

void FreqHolder_Change()
{
    if (MainWindowControls* w = ExistingMainWindow())
        ApplyLoggerText(w->FreqHolder->text());
}

void ApplyLoggerText(const QString& text)
{
    auto after = [&text](const char* key) -> std::optional<QString> {
        const QLatin1String k(key);
        if (!text.startsWith(k, Qt::CaseSensitive))
            return std::nullopt;
        return text.mid(k.size());
    };
    if (after("FREQUENCY=")) {
        applyFrequency(text);
    } else if (auto v = after("CALLSIGN=")) {
        PreviousQSOCall = *v;
    } else if (auto v = after("HisRST=")) {
        HisRST = *v;
    } else if (auto v = after("MyRST=")) {
        MyRST = *v;
    } else if (auto v = after("LoggerCaption=")) {
        LoggerWindowCaption = *v;
    } else if (auto v = after("COMMENTS=")) {
        QSOComment = vb::Trim(*v);
        const qsizetype space = QSOComment.indexOf(u' ');
        OtherName = space < 0 ? QSOComment : vb::Trim(QSOComment.left(space));
    } else if (auto v = after("LoggerBand=")) {
        CurrentBand = vb::Trim(*v);
    } else if (auto v = after("Serialnum=")) {
        QSOCounter = vb::Trim(*v);
    } else if (auto v = after("MYCALLSIGN=")) {
        DefaultCallsign = vb::Trim(*v);
    } else if (auto v = after("Previous QSOs=")) {
        applyPreviousQSOs(vb::Trim(*v));
    } else if (text == QLatin1String("Clear Previous QSOs")) {
        for (std::size_t k = 1; k <= 5; ++k)
            PreviousQSOs[k].clear();
    }
}

void mnuStandalone_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    MenuItem& standalone = w->mnu(QStringLiteral("mnuStandalone"));
    auto enable = [w](bool on) {
        for (const char* name : {"mnuMiniLog", "mnuPortState", "mnuAutoCDLookup", "mnuRadioControl"})
            w->mnu(QString::fromLatin1(name)).setEnabled(on);
        w->mnu(QStringLiteral("mnuSerialNum")).setVisible(on);
    };
    if (standalone.checked()) {
        standalone.setChecked(false);
        WriteINI(QStringLiteral("Settings"), QStringLiteral("Standalone Program"), QStringLiteral("False"));
        StandaloneWindows().UnloadMiniLog();
        LogbookWindows().UnloadCDDisplay();
        StandaloneWindows().UnloadPreviousPage();
        w->vsElastic3->setFixedHeight(0);
        w->vsElastic3->hide();
        enable(false);
        if (RigCall(QStringLiteral("getCommPortState")).toBool()) {
            QVariantList closed{false};
            APIResult = RigCall(QStringLiteral("PortOpen"), closed).toInt();
        }
        MenuItem& debug = w->mnu(QStringLiteral("mnuShowRadioDebug"));
        if (debug.checked()) {
            debug.click();
            debug.setChecked(false);
        }
        debug.setEnabled(false);
        DialFrequency = 0;
    } else {
        standalone.setChecked(true);
        WriteINI(QStringLiteral("Settings"), QStringLiteral("Standalone Program"), QStringLiteral("True"));
        enable(true);
        if (w->mnu(QStringLiteral("mnuMiniLog")).checked()) {
            w->vsElastic3->setFixedHeight(twips::toPixels(750));
            w->vsElastic3->show();
        }
        w->mnu(QStringLiteral("mnuShowRadioDebug")).setEnabled(true);
        if (!RigCall(QStringLiteral("getCommPortState")).toBool())
            Links().SetupRadioPort();
        w->FreqHolder->setText(QStringLiteral("FREQUENCY=0"));
    }
    VerticalAdjustLayout();
}
