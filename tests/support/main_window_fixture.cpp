#include "main_window_fixture.h"

#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "settings/inistuff.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

void MainWindowFixture::SetUp()
{
    home = std::make_unique<TempHome>();
    events::SetProgramClosing(false);
    SpectrumHold = false;
    PSKModeActive = true;
    EngineFreqParam = 0;
    TxAudioFreqText.clear();
    Aux1RxFreq = Aux2RxFreq = 0;
    EnergySaverOn = false;
    RadioModel = QStringLiteral("No Radio");
    RadioPortNumber.clear();
    INIPath.clear();
    fakeLinks();
}

void MainWindowFixture::TearDown()
{
    if (Sondrel* w = Sondrel::existing())
        if (w->loaded() && !w->unloaded())
            w->Form_Unload();
    Sondrel::destroyInstance();
    ResetLinks();
    home.reset();
}

void MainWindowFixture::fakeLinks()
{
    ProgramLinks& l = Links();
    auto note = [this](const char* name) { return [this, name] { calls << QString::fromLatin1(name); }; };
    l.FindCDDrive = [this] { calls << "FindCDDrive"; return QStringLiteral("None"); };
    l.OpenLogbook = note("OpenLogbook");
    l.LoadBands = note("LoadBands");
    l.VmxClose = [this](std::int32_t) { calls << "VmxClose"; return std::int16_t{0}; };
    l.fnStopSoundCard = [this] { calls << "fnStopSoundCard"; return std::int32_t{0}; };
    l.rig = [this](const QString& member, QVariantList& args) {
        calls << "rig." + member;
        rigArgs << args;
        return member == u"setRadioFrequency" ? QVariant(frequencyResult) : QVariant(true);
    };
    l.LoadDefaultPalette = note("LoadDefaultPalette");
    l.LoadRTTYProfiles = note("LoadRTTYProfiles");
    l.SetupRadioPort = note("SetupRadioPort");
    l.SetModeFromINI = note("SetModeFromINI");
    l.CloseCaptureFile = note("CloseCaptureFile");
    l.UnloadChildWindows = note("UnloadChildWindows");
}

QString MainWindowFixture::iniText() const
{
    QFile f(home->file("Sondrel.INI"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

QString MainWindowFixture::ini(const QString& section, const QString& key) const
{
    return ini::read(home->file("Sondrel.INI"), section, key, QStringLiteral("<missing>"), 3000);
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}
