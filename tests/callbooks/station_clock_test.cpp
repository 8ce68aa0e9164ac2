// The station clock: the DAYTIME reply, the clock set through the seam (a stand-in here), the
// correction shown, the failures, the time-out; a time server on 127.0.0.1.
#include "core/support/main_window_fixture.h"

#include "logbook/frmatomclock.h"
#include "platform/clock.h"
#include "platform/clock_setting.h"
#include "platform/menuitem.h"
#include "settings/inistuff.h"

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kNist = "60000 25-03-14 17:05:09 50 0 0 150.0 UTC(NIST) * \n";
const QDateTime kNistTime(QDate(2025, 3, 14), QTime(17, 5, 9), Qt::UTC);

TEST(DaytimeReply, TheSixFieldsAroundTheFirstColon)
{
    const struct {
        QByteArray reply;
        QDateTime utc; // invalid: not understood
    } cases[] = {
        {kNist, kNistTime},
        {"\n" + kNist, kNistTime},
        {"\r\n60000 25-03-14 17:05:09 50 0 0 150.0 UTC(NIST) *\r\n", kNistTime},
        {"59999 24-12-31 23:59:59", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59), Qt::UTC)},
        {"60000 25-02-29 17:05:09 50", QDateTime()},   // no such day
        {"60000 25-13-14 17:05:09 50", QDateTime()},   // month
        {"60000 25-03-14 24:05:09 50", QDateTime()},   // hour
        {"60000 25-03-14 17:60:09 50", QDateTime()},   // minute
        {"60000 25-03-14 17:05:6x 50", QDateTime()},   // digit
        {"60000 25/03/14 17:05:09 50", QDateTime()},   // separator
        {"Friday, March 14, 2025 17:05:09-UTC", QDateTime()},
        {"17:05:09", QDateTime()},
        {"no time here", QDateTime()},
        {"", QDateTime()},
    };
    for (const auto& t : cases) {
        const auto got = frmAtomClock::ParseDaytime(t.reply);
        EXPECT_EQ(got.value_or(QDateTime()), t.utc) << t.reply.toStdString();
    }
}

// Moves the test's clock to the time it is given, or refuses with a reason.
class FakeClockSetting : public ClockSetting {
public:
    explicit FakeClockSetting(FixedClock& clock) : clock_(clock) {}
    QString setUtc(const QDateTime& utc) override
    {
        set << utc;
        if (!refusal.isEmpty())
            return refusal;
        clock_.setUtc(utc);
        return QString();
    }
    QList<QDateTime> set;
    QString refusal;

private:
    FixedClock& clock_;
};

class StationClock : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        INIPath = home->file(QStringLiteral("Sondrel.INI"));
        Clock::install(&clock);
        ClockSetting::install(&setting);
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = server.nextPendingConnection();
            ++connections;
            if (reply.isEmpty())
                return; // a server that never answers
            s->write(reply);
            s->disconnectFromHost();
        });
        frmAtomClock::setPort(server.serverPort());
        WriteINI("Atom Clock", "ClockAddress", " 127.0.0.1 ");
        main();
    }
    void TearDown() override
    {
        if (frmAtomClock* w = frmAtomClock::existing())
            w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frmAtomClock::setPort(13);
        ClockSetting::install(nullptr);
        Clock::install(nullptr);
        MainWindowFixture::TearDown();
    }
    // Opens the window as the menu does; its ticks are then given by the test.
    frmAtomClock& open()
    {
        main().mnu("mnuAtomTime").click();
        frmAtomClock* w = frmAtomClock::existing();
        EXPECT_NE(w, nullptr);
        w->Timer1->stop();
        return *w;
    }
    // The first tick connects; waits for the outcome.
    frmAtomClock& ask()
    {
        frmAtomClock& w = open();
        w.Timer1_Timer();
        EXPECT_TRUE(QTest::qWaitFor([&w] { return w.finished(); }, 5000));
        return w;
    }
    static QColor colour(const frmAtomClock& w) { return w.lblError->palette().color(QPalette::WindowText); }

    FixedClock clock;
    FakeClockSetting setting{clock};
    QTcpServer server;
    QByteArray reply = kNist;
    int connections = 0;
};

TEST_F(StationClock, SetsTheClockAndShowsTheCorrection)
{
    const struct {
        int behind; // seconds the computer's clock is behind the server
        int zone;   // local time minus UTC, hours
        QString shown;
    } cases[] = {
        {1, 0, "System clock is correct.  No adjustment made."},
        {-1, 0, "System clock is correct.  No adjustment made."},
        {37, 0, "System updated on March 14, 2025 at\r\n05:05:09 PM (+37 seconds)"},
        {-5, 0, "System updated on March 14, 2025 at\r\n05:05:09 PM (-5 seconds)"},
        // Across midnight of the local day: 23:55:09 set to 00:05:09.
        {600, 7, "System updated on March 15, 2025 at\r\n12:05:09 AM (+600 seconds)"},
        {18 * 3600, 0, "System updated on March 14, 2025 at\r\n05:05:09 PM (+64800 seconds)"},
    };
    for (const auto& t : cases) {
        clock.setUtc(kNistTime.addSecs(-t.behind));
        clock.setOffsetSeconds(t.zone * 3600);
        setting.set.clear();
        frmAtomClock& w = ask();
        EXPECT_EQ(setting.set, QList<QDateTime>{kNistTime});
        EXPECT_EQ(w.lblError->text(), t.shown) << t.behind;
        EXPECT_EQ(colour(w), QColor(Qt::blue));
        w.Unload();
    }
}

TEST_F(StationClock, AReplyInAnotherLayoutAndARefusedSettingAreSaidInRed)
{
    reply = "Friday, March 14, 2025 17:05:09-UTC\r\n";
    frmAtomClock& w = ask();
    EXPECT_TRUE(setting.set.isEmpty());
    EXPECT_TRUE(w.lblError->text().startsWith("The time server's reply was not understood")) << w.lblError->text().toStdString();
    EXPECT_EQ(colour(w), QColor(Qt::red));
    w.Unload();

    reply = kNist;
    setting.refusal = QStringLiteral("Operation not permitted");
    frmAtomClock& again = ask();
    EXPECT_EQ(setting.set.size(), 1);
    EXPECT_TRUE(again.lblError->text().startsWith("Could not set the system clock: Operation not permitted."))
        << again.lblError->text().toStdString();
    EXPECT_EQ(colour(again), QColor(Qt::red));
}

TEST_F(StationClock, WithNoAnswerTheTimeOutShowsAtTheTickPastIt)
{
    reply.clear();
    WriteINI("Atom Clock", "TimeOut", "3");
    frmAtomClock& w = open();
    for (int tick = 1; tick <= 6; ++tick) {
        w.Timer1_Timer();
        QCoreApplication::processEvents();
        EXPECT_FALSE(w.finished()) << tick;
    }
    EXPECT_EQ(w.lblError->text(), "VIZ. Getting Date / Time");
    EXPECT_EQ(colour(w), QColor(Qt::black));
    w.Timer1_Timer();
    EXPECT_TRUE(w.finished());
    EXPECT_EQ(w.lblError->text(), "Timeout :  I waited 3 seconds and got bored.");
    EXPECT_EQ(colour(w), QColor(Qt::red));
    EXPECT_TRUE(setting.set.isEmpty());
}

TEST_F(StationClock, ARefusedConnectionIsSaidAtOnce)
{
    server.close();
    frmAtomClock& w = ask();
    EXPECT_FALSE(w.lblError->text().isEmpty());
    EXPECT_NE(w.lblError->text(), "VIZ. Getting Date / Time");
    EXPECT_EQ(colour(w), QColor(Qt::red));
}

TEST_F(StationClock, AMissingSectionIsWrittenWithTheDefaults)
{
    frmAtomClock& w = open();
    EXPECT_EQ(w.serverAddress(), "127.0.0.1");
    EXPECT_EQ(w.timeOutSeconds(), 10);
    EXPECT_EQ(ini("Atom Clock", "TimeOut"), "10");
    w.Unload();

    QFile::remove(INIPath);
    frmAtomClock& fresh = open();
    EXPECT_EQ(ini("Atom Clock", "ClockAddress"), "time.nist.gov");
    EXPECT_EQ(fresh.serverAddress(), "time.nist.gov");
}

} // namespace
