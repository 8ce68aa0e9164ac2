// The station clock: the DAYTIME reply, the clock set through the seam (a stand-in here), the
// correction shown, the failures, the time-out; a time server on 127.0.0.1.
#include "support/main_window_fixture.h"

#include "logbook/clock/frmatomclock.h"
#include "platform/system/clock.h"
#include "platform/system/clock_setting.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"

#include <QLabel>
#include <QPointer>
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
            peer = s;
            ++connections;
            if (flood) {
                // Streams on without a line end, as long as it is read.
                QObject::connect(s, &QTcpSocket::bytesWritten, s, [this, s] {
                    if (s->bytesToWrite() == 0 && (sent += 65536) < (qint64(1) << 30))
                        s->write(QByteArray(65536, '7'));
                });
                s->write(QByteArray(65536, '7'));
                return;
            }
            if (reply.isEmpty())
                return; // a server that never answers
            s->write(reply);
            if (!hold)
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
    // A message is shown whole: the window is as tall as its wrapped text needs.
    static void expectFits(const frmAtomClock& w)
    {
        EXPECT_GE(w.lblError->height(), w.lblError->heightForWidth(w.lblError->width()));
        EXPECT_LE(w.lblError->geometry().bottom(), w.height());
    }

    FixedClock clock;
    FakeClockSetting setting{clock};
    QTcpServer server;
    QByteArray reply = kNist;
    bool hold = false;  // the server keeps the connection open after its reply
    bool flood = false; // the server streams without end
    qint64 sent = 0;
    QPointer<QTcpSocket> peer;
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
    const struct {
        const char* timeOut;
        int gapMs;      // between two ticks
        int firingTick; // the first tick past the time-out, by the clock
    } cases[] = {
        {"3", 500, 7},
        {"10", 500, 21},
        {"10", 3600, 3}, // ticks held up by a busy program
        {"0", 500, 1},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.gapMs);
        WriteINI("Atom Clock", "TimeOut", t.timeOut);
        frmAtomClock& w = open();
        for (int tick = 1; tick < t.firingTick; ++tick) {
            clock.advanceMs(t.gapMs);
            w.Timer1_Timer();
            QCoreApplication::processEvents();
            EXPECT_FALSE(w.finished()) << tick;
        }
        EXPECT_EQ(w.lblError->text(), t.firingTick > 1 ? "VIZ. Getting Date / Time" : "");
        clock.advanceMs(t.gapMs);
        w.Timer1_Timer();
        EXPECT_TRUE(w.finished());
        EXPECT_EQ(w.lblError->text(), QStringLiteral("Timeout :  I waited %1 seconds and got bored.").arg(t.timeOut));
        EXPECT_EQ(colour(w), QColor(Qt::red));
        w.Unload();
    }
    EXPECT_TRUE(setting.set.isEmpty());
}

TEST_F(StationClock, AReplyIsUsedOnlyWhenReadWholeWithinTheTimeOut)
{
    // The server sends part of a stamp at once and the rest later; the window is opened at 0 and
    // ticked every 500 ms by the clock, the time-out is 10 s. While the program is busy (an import
    // holding the event loop) nothing of it runs: the rest then lands unread and is read at the end.
    const QByteArray part = kNist.left(20), rest = kNist.mid(20);
    const struct {
        const char* name;
        int restMs;   // the rest is sent
        int busyFrom; // the program is busy from then until busyTo (0: never)
        int busyTo;
        bool set;
    } cases[] = {
        {"in time", 9900, 0, 0, true},
        {"at the time-out", 10000, 0, 0, true},
        {"after the time-out, before its tick", 10060, 0, 0, false},
        {"after the time-out's tick", 10600, 0, 0, false},
        {"busy across the time-out, rest in time", 9000, 8000, 13000, false},
        {"busy across the time-out, rest late", 12000, 8000, 13000, false},
        {"busy, rest and reading in time", 8500, 8000, 9500, true},
    };
    hold = true;
    reply = part;
    for (const auto& t : cases) {
        SCOPED_TRACE(t.name);
        clock.setUtc(kNistTime.addSecs(-37));
        setting.set.clear();
        frmAtomClock& w = open();
        const qint64 opened = clock.monotonicMs();
        qint64 nextTick = 500;
        // Ticks (with the events between) until `ms` after opening.
        auto runUntil = [&](qint64 ms) {
            for (; nextTick <= ms; nextTick += 500) {
                clock.advanceMs(opened + nextTick - clock.monotonicMs());
                w.Timer1_Timer();
                QCoreApplication::processEvents();
                if (nextTick == 500) {
                    ASSERT_TRUE(QTest::qWaitFor([&] { return w.received() == part; }, 5000));
                }
            }
            clock.advanceMs(opened + ms - clock.monotonicMs());
        };
        const bool busy = t.busyTo > 0;
        runUntil(busy ? t.busyFrom : t.restMs);
        if (busy)
            clock.advanceMs(opened + t.restMs - clock.monotonicMs());
        if (peer) {
            peer->write(rest);
            peer->flush();
            peer->disconnectFromHost();
        }
        if (busy) {
            // What the loop was kept from comes as it resumes, the reply before the tick.
            clock.advanceMs(opened + t.busyTo - clock.monotonicMs());
            nextTick = t.busyTo;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.finished(); }, 5000));
        runUntil(nextTick + 1000);
        if (t.set) {
            EXPECT_EQ(setting.set, QList<QDateTime>{kNistTime});
            EXPECT_TRUE(w.lblError->text().startsWith("System updated on March 14, 2025 at\r\n05:05:09 PM"))
                << w.lblError->text().toStdString();
            EXPECT_EQ(colour(w), QColor(Qt::blue));
        } else {
            EXPECT_TRUE(setting.set.isEmpty());
            EXPECT_EQ(w.lblError->text(), "Timeout :  I waited 10 seconds and got bored.");
            EXPECT_EQ(colour(w), QColor(Qt::red));
        }
        w.Unload();
    }
}

TEST_F(StationClock, AServerThatNeverEndsItsLineIsReadNoFurther)
{
    flood = true;
    frmAtomClock& w = ask();
    EXPECT_EQ(w.lblError->text(), "The time server's answer is not a time (256 characters without a line end), so "
                                  "the clock was not set.  Check that [Atom Clock] \"ClockAddress\" names a DAYTIME "
                                  "server.");
    EXPECT_EQ(colour(w), QColor(Qt::red));
    expectFits(w);
    EXPECT_LE(w.received().size(), 256);
    // The connection is closed: the server streams no more.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !peer || peer->state() != QAbstractSocket::ConnectedState; }, 5000));
    EXPECT_LT(sent, qint64(64) << 20);
    EXPECT_TRUE(setting.set.isEmpty());
}

TEST_F(StationClock, ARefusedSettingStillSaysHowFarTheClockIsOff)
{
    setting.refusal = QStringLiteral("Operation not permitted");
    const struct {
        int behind; // seconds the computer's clock is behind the server
        QString offset;
    } cases[] = {
        {37, "The system clock is 37 seconds behind the time server."},
        {-5, "The system clock is 5 seconds ahead of the time server."},
        {1, "The system clock is within a second of the time server."},
        {-3600, "The system clock is 3600 seconds ahead of the time server."},
    };
    for (const auto& t : cases) {
        clock.setUtc(kNistTime.addSecs(-t.behind));
        clock.setOffsetSeconds(3600);
        frmAtomClock& w = ask();
        EXPECT_EQ(w.lblError->text(), "Could not set the system clock: Operation not permitted.  Setting the clock "
                                      "needs the right to do so (run Sondrel with that privilege, CAP_SYS_TIME).\r\n"
                                          + t.offset);
        EXPECT_EQ(colour(w), QColor(Qt::red));
        expectFits(w);
        w.Unload();
    }
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
