#include "app/operated_program.h"

#include "platform/system/inifile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMap>
#include <QTest>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

qint64 monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The RTS/DTR state of a device as the program and its engine left it, from the stand-in's
// log: the bits now, whether they were ever raised, and when they last changed.
struct Lines {
    int now = 0;
    bool ever = false;
    qint64 changed = 0;
};

Lines linesOf(const QString& log, const QString& device)
{
    QFile f(log);
    Lines l;
    if (!f.open(QIODevice::ReadOnly))
        return l;
    for (const QByteArray& row : f.readAll().split('\n')) {
        const QList<QByteArray> p = row.split(' ');
        if (p.size() != 5 || QString::fromLocal8Bit(p[2]) != device)
            continue;
        const int bits = p[4].toInt() & (TIOCM_RTS | TIOCM_DTR);
        const int next = p[3] == "S" ? l.now | bits : p[3] == "C" ? l.now & ~bits : bits;
        if (next != l.now)
            l.changed = p[0].toLongLong();
        l.now = next;
        l.ever = l.ever || l.now != 0;
    }
    return l;
}

} // namespace

OperatedProgram::OperatedProgram(const WayOut& c, const QString& executable)
    : case_(c)
    , executable_(executable.isEmpty() ? QStringLiteral(SONDREL_EXE) : executable)
    , serial_(QLatin1String(c.ptt) == QLatin1String("Serial Port"))
    , command_(QLatin1String(c.ptt) == QLatin1String("By Command"))
{
    lineMaster_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (lineMaster_ >= 0 && ::grantpt(lineMaster_) == 0 && ::unlockpt(lineMaster_) == 0)
        linePath_ = QString::fromLocal8Bit(::ptsname(lineMaster_));
}

OperatedProgram::~OperatedProgram()
{
    if (program_.state() != QProcess::NotRunning) {
        program_.kill();
        program_.waitForFinished(5000);
    }
    if (lineMaster_ >= 0)
        ::close(lineMaster_);
}

bool OperatedProgram::keyed()
{
    if (command_)
        return radio_.ptt();
    return linesOf(home_.filePath("lines.log"), serial_ ? linePath_ : radio_.devicePath()).now != 0;
}

bool OperatedProgram::startTransmitting()
{
    if (!home_.isValid() || !radio_.isOpen() || linePath_.isEmpty()) {
        failure = QStringLiteral("no temporary folder or pseudo-terminal");
        return false;
    }
    radio_.startAutomatic(2);
    const QString ini = home_.filePath("Sondrel.INI");
    ini::write(ini, "Mode", "Mode", case_.mode);
    ini::write(ini, "PTT", "PTT Mode", case_.ptt);
    ini::write(ini, "PTT", "PTT Port Num", serial_ ? "2" : "0");
    ini::write(ini, "PTT", "PTT Keying Line", "RTS & DTR");
    ini::write(ini, "Radio Control", "Radio Type", serial_ ? "No Radio" : "Kenwood - all");
    ini::write(ini, "Radio Control", "Port Number", "1");
    ini::write(ini, "Radio Control", "Poll Interval", "50");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SONDREL_HOME", home_.path());
    env.insert("SONDREL_AUDIO", "null");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SONDREL_COM1", radio_.devicePath());
    env.insert("SONDREL_COM2", linePath_);
    env.insert("SONDREL_OPERATOR", "1");
    env.insert("SONDREL_LINES_LOG", home_.filePath("lines.log"));
    env.insert("LD_PRELOAD", OPERATOR_SHIM);
    // The stand-in is preloaded ahead of the sanitizers' run-time in a sanitized build.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    program_.setProcessEnvironment(env);
    program_.setProgram(executable_);
    program_.start();
    if (!program_.waitForStarted(10000)) {
        failure = program_.errorString();
        return false;
    }
    // A click before the engine listens starts nothing: the operator clicks again. A start
    // comes within a few engine blocks of the click, so one never lands on a transmission.
    QDeadlineTimer giveUp(60000);
    while (!keyed() && !giveUp.hasExpired() && program_.state() == QProcess::Running) {
        program_.write("click TxRxBox\n");
        (void)QTest::qWaitFor([this] { return keyed(); }, 3000);
    }
    if (keyed())
        return true;
    failure = QStringLiteral("never keyed: ") + QString::fromLocal8Bit(program_.readAllStandardOutput())
        + QString::fromLocal8Bit(program_.readAllStandardError());
    return false;
}

qint64 OperatedProgram::takeWayOut()
{
    static const QMap<QString, int> kSignals{
        {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}, {"SIGKILL", SIGKILL}};
    const qint64 at = monotonicNs();
    if (kSignals.contains(case_.way)) {
        ::kill(static_cast<pid_t>(program_.processId()), kSignals[case_.way]);
    } else {
        program_.write(QByteArray(case_.way) + '\n');
        program_.waitForBytesWritten(1000);
    }
    return at;
}

bool OperatedProgram::waitForEnd(int ms)
{
    return program_.waitForFinished(ms);
}

bool OperatedProgram::released(int ms, qint64* when)
{
    QDeadlineTimer deadline(ms);
    for (;;) {
        qint64 at = 0;
        bool done = false;
        if (command_) {
            radio_.pump(0, 1);
            at = monotonicNs();
            done = !radio_.ptt();
        } else {
            const Lines l = linesOf(home_.filePath("lines.log"), serial_ ? linePath_ : radio_.devicePath());
            done = l.ever && l.now == 0;
            at = l.changed;
        }
        if (done) {
            if (when)
                *when = at;
            return true;
        }
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
}
