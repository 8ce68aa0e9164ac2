#include "child_windows_fixture.h"

#include "displays/windows/aux_window.h"
#include "displays/windows/tuning_window.h"
#include "state/declarations.h"
#include "state/psk_api.h"

#include <QCoreApplication>

void ChildWindowsFixture::SetUp()
{
    DisplayFixture::SetUp();
    Aux1Open = Aux2Open = Aux1Closing = Aux2Closing = false;
    Aux1Reopen = Aux2Reopen = false;
    Aux1AFCLimit = Aux2AFCLimit = 100;
    Aux1AFCRange = Aux2AFCRange = 45;
    Aux1TextColor = Aux2TextColor = 0;
    Aux1MouseOverColor = Aux2MouseOverColor = 16711680;
    PresetAux1AudioFreq = QStringLiteral("1400.00");
    PresetAux2AudioFreq = QStringLiteral("1600.00");
    PresetAudioDefaultsOn = QStringLiteral("True");
    SquelchSpeed = 1;
    PSKModeActive = true;
    using i32 = std::int32_t;
    PskApi& e = Psk();
    e.fnSetSquelchThreshold = [this](i32 threshold, i32 speed, i32 channel) {
        pskCalls << QStringLiteral("fnSetSquelchThreshold %1 %2 %3").arg(threshold).arg(speed).arg(channel);
        return i32{0};
    };
    e.fnSetAFCLimit = [this](i32 limit, i32 channel) {
        pskCalls << QStringLiteral("fnSetAFCLimit %1 %2").arg(limit).arg(channel);
        return i32{0};
    };
    e.fnSetRXPSKMode = [this](i32 mode, i32 channel) {
        pskCalls << QStringLiteral("fnSetRXPSKMode %1 %2").arg(mode).arg(channel);
        return i32{0};
    };
}

void ChildWindowsFixture::TearDown()
{
    // The windows go the way the program sends them at shut-down.
    SpectrumHold = true;
    if (TuningWindow* t = TuningWindow::existing())
        t->Unload();
    UnloadAuxWindow(2);
    UnloadAuxWindow(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SpectrumHold = false;
    DisplayFixture::TearDown();
}

QStringList ChildWindowsFixture::takeCalls()
{
    QStringList calls = pskCalls;
    pskCalls.clear();
    return calls;
}

QString ChildWindowsFixture::stored(const QString& section, const QString& key) const
{
    bool inSection = false;
    for (const QString& line : iniText().split(QStringLiteral("\r\n"))) {
        if (line.startsWith(u'['))
            inSection = line.compare(u'[' + section + u']', Qt::CaseInsensitive) == 0;
        else if (inSection && line.section(u'=', 0, 0).compare(key, Qt::CaseInsensitive) == 0)
            return line.section(u'=', 1);
    }
    return QStringLiteral("<missing>");
}

bool PostedMessages::event(QEvent* e)
{
    if (e->type() == win::WindowMessageEvent::eventType()) {
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        messages.append({qint64(m->message()), qint64(m->wParam()), qint64(m->lParam())});
        return true;
    }
    return QObject::event(e);
}
