#include "logbook/clock/frmatomclock.h"

#include "displays/spectrum/scale.h"
#include "platform/system/clock.h"
#include "platform/system/clock_setting.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "settings/inistuff.h"
#include "state/main_window_controls.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QScreen>
#include <QTcpSocket>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>

namespace {

frmAtomClock* g_window = nullptr;
quint16 g_port = 13;

const QString kSection = QStringLiteral("Atom Clock");
// NIST's servers answer DAYTIME in the layout the window reads.
const QString kDefaultServer = QStringLiteral("time.nist.gov");
constexpr int kTickMs = 500;
// A reply is one line of well under 100 bytes; this much without its line end is no time.
constexpr qsizetype kMaxReply = 256;
constexpr std::int32_t kBlack = 0, kRed = 255, kBlue = 16711680;

QString english(const QDateTime& t, const char* format)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(t, QString::fromLatin1(format));
}

// A local time in whole seconds.
QDateTime wholeSeconds(const QDateTime& t)
{
    return t.addMSecs(-t.time().msec());
}

// How far the system clock is from the time server, `behind` seconds behind it.
QString offsetText(qint64 behind)
{
    if (behind >= -1 && behind <= 1)
        return QStringLiteral("The system clock is within a second of the time server.");
    return QStringLiteral("The system clock is %1 seconds %2 the time server.")
        .arg(std::abs(behind))
        .arg(behind > 0 ? QStringLiteral("behind") : QStringLiteral("ahead of"));
}

} // namespace

frmAtomClock::frmAtomClock(QWidget* owner)
    : QWidget(owner, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmAtomClock"));
    setWindowTitle(QStringLiteral("Atomic Clock"));
    auto* layout = new QVBoxLayout(this);
    CurrentSystemTime = new QLabel(this);
    CurrentSystemTime->setObjectName(QStringLiteral("CurrentSystemTime"));
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    bold.setPointSize(12);
    CurrentSystemTime->setFont(bold);
    CurrentSystemTime->setAlignment(Qt::AlignCenter);
    lblError = new QLabel(this);
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setFont(QFont(QStringLiteral("Arial")));
    lblError->setAlignment(Qt::AlignCenter);
    lblError->setWordWrap(true);
    layout->addWidget(CurrentSystemTime);
    layout->addWidget(lblError);
    setMinimumWidth(360);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    Winsock1 = new QTcpSocket(this);
    Winsock1->setReadBufferSize(kMaxReply);
    connect(Winsock1, &QTcpSocket::readyRead, this, [this] { Winsock1_DataArrival(); });
    // A DAYTIME server closes the connection after its line: what arrived is the reply.
    connect(Winsock1, &QTcpSocket::disconnected, this, [this] { handleReply(); });
    connect(Winsock1, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError)
            handleReply();
        else
            Winsock1_Error(Winsock1->errorString());
    });
}

frmAtomClock::~frmAtomClock()
{
    if (g_window == this)
        g_window = nullptr;
}

frmAtomClock* frmAtomClock::existing()
{
    return g_window;
}

frmAtomClock& frmAtomClock::instance()
{
    if (!g_window) {
        g_window = new frmAtomClock(MainWindowWidget());
        g_window->Form_Load();
    }
    return *g_window;
}

void frmAtomClock::showOwned()
{
    AroundTopmost([this] {
        show();
        raise();
    });
}

void frmAtomClock::setPort(quint16 port)
{
    g_port = port;
}

void frmAtomClock::Form_Load()
{
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->geometry();
        move(r.width() / 2 - width() / 2, r.height() / 2 - height() / 2);
    }
    finished_ = false;
    openedMs_ = Clock::instance().monotonicMs();
    doAtomClockINISetup();
    Timer1->start();
}

void frmAtomClock::doAtomClockINISetup()
{
    const QString timeOut = ReadINI(kSection, QStringLiteral("TimeOut"), QString());
    if (timeOut.isEmpty()) {
        WriteINI(kSection, QStringLiteral("TimeOut"), QStringLiteral("10"));
        timeOut_ = 10;
    } else {
        timeOut_ = std::int16_t(qBound(0.0, vb::Fix(vb::Val(timeOut)), 32767.0));
    }
    const QString address = ReadINI(kSection, QStringLiteral("ClockAddress"), QString());
    if (address.isEmpty()) {
        WriteINI(kSection, QStringLiteral("ClockAddress"), kDefaultServer);
        address_ = kDefaultServer;
    } else {
        address_ = address.trimmed();
    }
}

void frmAtomClock::showLocalTime()
{
    CurrentSystemTime->setText(english(Clock::instance().nowLocal(), "MMMM d, yyyy  hh:mm:ss AP"));
}

void frmAtomClock::showStatus(const QString& text, std::int32_t colour)
{
    QPalette p = lblError->palette();
    p.setColor(QPalette::WindowText, rgb::toColor(colour));
    lblError->setPalette(p);
    lblError->setText(text);
    // The window grows to show the whole message (the label wraps it to the window's width).
    if (QLayout* l = layout()) {
        l->activate();
        const int needed = heightForWidth(width());
        if (needed > height())
            resize(width(), needed);
    }
}

void frmAtomClock::connectToServer()
{
    received_.clear();
    Winsock1->abort();
    Winsock1->connectToHost(address_, g_port);
}

void frmAtomClock::Timer1_Timer()
{
    if (CurrentSystemTime->text().isEmpty()) {
        showLocalTime();
        showStatus(QStringLiteral("VIZ. Getting Date / Time"), kBlack);
        connectToServer();
    } else {
        showLocalTime();
    }
    // The time since opening, by the clock: a tick that came late does not put the time-out off.
    if (!finished_)
        elapsedMs_ = Clock::instance().monotonicMs() - openedMs_;
    if (elapsedMs_ > qint64(timeOut_) * 1000)
        timeOut();
}

bool frmAtomClock::doneOrTimedOut()
{
    if (finished_)
        return true;
    if (Clock::instance().monotonicMs() - openedMs_ <= qint64(timeOut_) * 1000)
        return false;
    timeOut();
    return true;
}

void frmAtomClock::timeOut()
{
    // Finished first: closing the socket hands over what arrived so far, which is too late now to
    // set the clock by.
    finished_ = true;
    Winsock1->abort();
    showStatus(QStringLiteral("Timeout :  I waited ") + QString::number(timeOut_)
                   + QStringLiteral(" seconds and got bored."),
               kRed);
    elapsedMs_ = 0;
}

void frmAtomClock::readReply()
{
    received_ += Winsock1->read(kMaxReply - received_.size());
}

void frmAtomClock::Winsock1_DataArrival()
{
    if (doneOrTimedOut())
        return;
    readReply();
    // The reply is complete with its line: the first line feed behind some text.
    const qsizetype text = received_.indexOf(QByteArray(":"));
    if (text >= 0 && received_.indexOf('\n', text) >= 0) {
        handleReply();
    } else if (received_.size() >= kMaxReply) {
        // A server that streams on without ending its line is read no further.
        finished_ = true;
        Winsock1->abort();
        showStatus(QStringLiteral("The time server's answer is not a time (%1 characters without a line end), "
                                  "so the clock was not set.  Check that [Atom Clock] \"ClockAddress\" names a "
                                  "DAYTIME server.")
                       .arg(kMaxReply),
                   kRed);
    }
}

void frmAtomClock::Winsock1_Error(const QString& description)
{
    if (doneOrTimedOut())
        return;
    showStatus(description, kRed);
    finished_ = true;
}

std::optional<QDateTime> frmAtomClock::ParseDaytime(const QByteArray& reply)
{
    const qsizetype p = reply.indexOf(':');
    if (p < 11 || p + 6 > reply.size())
        return std::nullopt;
    // YY-MM-DD HH:MM:SS around the first colon.
    const QByteArray stamp = reply.mid(p - 11, 17);
    static const char kShape[] = "99-99-99 99:99:99";
    for (int i = 0; i < 17; ++i) {
        const char c = stamp[i];
        if (kShape[i] == '9' ? (c < '0' || c > '9') : c != kShape[i])
            return std::nullopt;
    }
    auto num = [&stamp](int at) { return (stamp[at] - '0') * 10 + (stamp[at + 1] - '0'); };
    const QDate date(2000 + num(0), num(3), num(6));
    const int hour = num(9), minute = num(12), second = num(15);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QDateTime(date, QTime(hour, minute, second), Qt::UTC);
}

void frmAtomClock::handleReply()
{
    if (doneOrTimedOut())
        return;
    if (Winsock1->isOpen())
        readReply();
    if (received_.trimmed().isEmpty())
        return; // nothing yet; the time-out follows when nothing comes
    const QByteArray reply = received_;
    received_.clear();
    Winsock1->abort();

    const std::optional<QDateTime> utc = ParseDaytime(reply);
    if (!utc) {
        showStatus(QStringLiteral("The time server's reply was not understood, so the clock was not set.  "
                                  "Check that [Atom Clock] \"ClockAddress\" names a DAYTIME server."),
                   kRed);
        finished_ = true;
        return;
    }
    const QDateTime before = wholeSeconds(Clock::instance().nowLocal());
    // How far the clock is off, said also when it cannot be set.
    const qint64 behind = wholeSeconds(Clock::instance().nowUtc()).secsTo(*utc);
    const QString refused = ClockSetting::instance().setUtc(*utc);
    if (!refused.isEmpty()) {
        showStatus(QStringLiteral("Could not set the system clock: ") + refused
                       + QStringLiteral(".  Setting the clock needs the right to do so (run Sondrel with "
                                        "that privilege, CAP_SYS_TIME).\r\n")
                       + offsetText(behind),
                   kRed);
        finished_ = true;
        return;
    }
    const QDateTime now = Clock::instance().nowLocal();
    const qint64 correction = before.secsTo(wholeSeconds(now));
    if (correction >= -1 && correction <= 1) {
        showStatus(QStringLiteral("System clock is correct.  No adjustment made."), kBlue);
    } else {
        showStatus(QStringLiteral("System updated on ") + english(now, "MMMM d, yyyy 'at'") + QStringLiteral("\r\n")
                       + english(now, "hh:mm:ss AP") + QStringLiteral(" (") + (correction > 0 ? "+" : "")
                       + QString::number(correction) + QStringLiteral(" seconds)"),
                   kBlue);
    }
    finished_ = true;
}

void frmAtomClock::Form_Unload()
{
    Timer1->stop();
    Winsock1->abort();
}

void frmAtomClock::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Form_Unload();
    if (g_window == this)
        g_window = nullptr;
    hide();
    deleteLater();
}

void frmAtomClock::closeEvent(QCloseEvent* e)
{
    Unload();
    e->accept();
}
