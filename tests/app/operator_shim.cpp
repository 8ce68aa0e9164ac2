// Preloaded into the real program under test (LD_PRELOAD), it stands in for the operator and
// for the modem lines that a pseudo-terminal does not have:
// - every RTS/DTR change asked of a device (TIOCMBIS, TIOCMBIC, TIOCMSET) is appended to the
//   file $SONDREL_LINES_LOG as "<monotonic ns> <pid> <device> <S|C|=> <bits>", by the program
//   and by the engine it starts;
// - in the program itself (with $SONDREL_OPERATOR set), lines on standard input are done on its
//   own widgets once its main window shows: "click NAME" (a left click on the widget),
//   "menu NAME" (the menu item triggered), "close" (the main window closed); each is answered
//   with "done <line>" on standard output.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

void logLines(int fd, unsigned long request, int bits)
{
    static const char* const path = std::getenv("SONDREL_LINES_LOG");
    if (!path)
        return;
    char link[64];
    char device[256] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    if (::readlink(link, device, sizeof device - 1) <= 0)
        return;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const char op = request == TIOCMBIS ? 'S' : request == TIOCMBIC ? 'C' : '=';
    char line[400];
    const int n = std::snprintf(line, sizeof line, "%lld %d %s %c %d\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                                static_cast<int>(::getpid()), device, op, bits);
    const int out = ::open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (out < 0)
        return;
    [[maybe_unused]] ssize_t w = ::write(out, line, size_t(n));
    ::close(out);
}

QWidget* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("Sondrel") && w->isVisible())
            return w;
    return nullptr;
}

bool perform(const QString& line)
{
    const QString name = line.section(u' ', 1);
    if (line.startsWith(QLatin1String("click "))) {
        for (QWidget* w : QApplication::allWidgets()) {
            if (w->objectName() != name)
                continue;
            const QPointF at(w->width() / 2.0, w->height() / 2.0);
            const QPointF global = w->mapToGlobal(at);
            QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(w, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {});
            QCoreApplication::sendEvent(w, &release);
            return true;
        }
    } else if (line.startsWith(QLatin1String("menu "))) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* action = top->findChild<QAction*>(name)) {
                action->trigger();
                return true;
            }
        }
    } else if (line == QLatin1String("close")) {
        if (QWidget* w = mainWindow())
            return w->close(), true;
    }
    return false;
}

// Commands wait for the main window; each is done once, in order.
class Operator : public QObject {
public:
    Operator() : input_(STDIN_FILENO, QSocketNotifier::Read, this)
    {
        connect(&input_, &QSocketNotifier::activated, this, &Operator::read);
        connect(&timer_, &QTimer::timeout, this, &Operator::next);
        timer_.start(20);
    }

private:
    void read()
    {
        char buf[512];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input_.setEnabled(false);
            return;
        }
        pending_.append(buf, n);
    }
    void next()
    {
        const qsizetype end = pending_.indexOf('\n');
        if (end < 0 || !mainWindow())
            return;
        const QString line = QString::fromLatin1(pending_.left(end)).trimmed();
        pending_.remove(0, end + 1);
        const bool done = perform(line);
        std::printf("%s %s\n", done ? "done" : "failed", qPrintable(line));
        std::fflush(stdout);
    }

    QSocketNotifier input_;
    QTimer timer_;
    QByteArray pending_;
};

void startOperator()
{
    if (!qEnvironmentVariableIsSet("SONDREL_OPERATOR"))
        return;
    const QStringList args = QCoreApplication::arguments();
    if (args.isEmpty() || QFileInfo(args.first()).fileName() != QLatin1String("sondrel"))
        return;
    new Operator(); // lives as long as the program
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startOperator)

extern "C" int ioctl(int fd, unsigned long request, ...) __THROW
{
    using Real = int (*)(int, unsigned long, void*);
    static const Real real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "ioctl"));
    va_list ap;
    va_start(ap, request);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    const int rc = real(fd, request, arg);
    if ((request == TIOCMBIS || request == TIOCMBIC || request == TIOCMSET) && arg)
        logLines(fd, request, *static_cast<const int*>(arg));
    return rc;
}
