#include "platform/system/ptt_guard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace pttguard {

namespace {

constexpr char kProperty[] = "sondrelPttGuard";
constexpr int kSlots = 8;
constexpr int kMaxCommand = 32; // the longest release command is 8 bytes

struct Slot {
    int fd = -1;
    int bits = 0;
    int size = 0;
    char command[kMaxCommand] = {};
};

struct Table {
    std::mutex lock;
    Slot entries[kSlots];
};

void releaseAtExit()
{
    releaseAll();
}

Table& ownTable()
{
    static Table table;
    return table;
}

// The host's table when a host published one (this code is then a plug-in's copy), else our own.
Table& table()
{
    static Table* const chosen = [] {
        if (QCoreApplication* app = QCoreApplication::instance()) {
            const QVariant v = app->property(kProperty);
            if (v.isValid())
                return reinterpret_cast<Table*>(v.value<quintptr>());
        }
        Table* own = &ownTable();
        std::atexit(releaseAtExit);
        return own;
    }();
    return *chosen;
}

// The slot of fd, or a free one when `make`; null when there is none.
Slot* slotFor(Table& t, int fd, bool make)
{
    Slot* empty = nullptr;
    for (Slot& s : t.entries) {
        if (s.fd == fd)
            return &s;
        if (!empty && s.fd < 0)
            empty = &s;
    }
    if (make && empty)
        empty->fd = fd;
    return make ? empty : nullptr;
}

void clearIfEmpty(Slot& s)
{
    if (s.bits == 0 && s.size == 0)
        s.fd = -1;
}

int remaining(const QElapsedTimer& clock, int ms)
{
    return std::max(0, ms - int(clock.elapsed()));
}

// Writes the command to the non-blocking descriptor and waits for it to leave, both within the
// time left.
void writeAndDrain(int fd, const char* data, int size, const QElapsedTimer& clock, int ms)
{
    int done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n > 0) {
            done += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return;
        pollfd p{fd, POLLOUT, 0};
        if (remaining(clock, ms) == 0 || ::poll(&p, 1, std::min(10, remaining(clock, ms))) < 0)
            return;
    }
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || queued <= 0 || remaining(clock, ms) == 0)
            return;
        ::poll(nullptr, 0, 2);
    }
}

} // namespace

void setLines(int fd, int bits)
{
    if (fd < 0)
        return;
    Table& t = table();
    std::lock_guard guard(t.lock);
    if (Slot* s = slotFor(t, fd, bits != 0)) {
        s->bits = bits;
        clearIfEmpty(*s);
    }
}

void setReleaseCommand(int fd, const QByteArray& command)
{
    if (fd < 0)
        return;
    Table& t = table();
    std::lock_guard guard(t.lock);
    const int size = command.size() <= kMaxCommand ? int(command.size()) : 0;
    if (Slot* s = slotFor(t, fd, size != 0)) {
        std::memcpy(s->command, command.constData(), size_t(size));
        s->size = size;
        clearIfEmpty(*s);
    }
}

void forget(int fd)
{
    if (fd < 0)
        return;
    Table& t = table();
    std::lock_guard guard(t.lock);
    if (Slot* s = slotFor(t, fd, false))
        *s = Slot();
}

bool keyed()
{
    Table& t = table();
    std::lock_guard guard(t.lock);
    for (const Slot& s : t.entries)
        if (s.fd >= 0)
            return true;
    return false;
}

namespace {

// With the table locked.
void releaseLocked(Table& t, int drainMs)
{
    QElapsedTimer clock;
    clock.start();
    // Every line first: they cost nothing and need no wait.
    for (Slot& s : t.entries)
        if (s.fd >= 0 && s.bits != 0)
            ::ioctl(s.fd, TIOCMBIC, &s.bits);
    for (Slot& s : t.entries)
        if (s.fd >= 0 && s.size > 0)
            writeAndDrain(s.fd, s.command, s.size, clock, drainMs);
    for (Slot& s : t.entries)
        s = Slot();
}

} // namespace

void releaseAll(int drainMs)
{
    Table& t = table();
    std::lock_guard guard(t.lock);
    releaseLocked(t, drainMs);
}

void releaseAllFromSignalHandler(int drainMs)
{
    Table& t = table();
    if (!t.lock.try_lock())
        return;
    releaseLocked(t, drainMs);
    t.lock.unlock();
}

void publish()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->setProperty(kProperty, QVariant::fromValue(reinterpret_cast<quintptr>(&table())));
}

} // namespace pttguard
