#include "platform/processes/peerlink.h"

#include "platform/processes/folder_tag.h"
#include "platform/vb/text1252.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <limits>

namespace peer {

namespace {
qint64 monotonicMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock.elapsed();
}
} // namespace

// ---- link ----

PeerLink::PeerLink(QLocalSocket* socket, Side side, win::WinHandle peerBase, QObject* parent)
    : QObject(parent), socket_(socket), side_(side), peerBase_(peerBase)
{
    socket_->setParent(this);
    lastActive_ = monotonicMs();
    // A peer that writes faster than the program reads waits in its own socket, not in ours.
    socket_->setReadBufferSize(kReadChunk);
    connect(socket_, &QLocalSocket::readyRead, this, &PeerLink::onReadyRead);
    connect(socket_, &QLocalSocket::disconnected, this, &PeerLink::drop);
    connect(&win::windowNews(), &win::WindowNews::titled, this, &PeerLink::announce);
    connect(&win::windowNews(), &win::WindowNews::removed, this, &PeerLink::announceRemoved);
}

PeerLink::~PeerLink()
{
    win::detachRoute(this);
}

void PeerLink::sendHello()
{
    Frame hello;
    hello.type = FrameType::Hello;
    hello.wParam = kProtocol;
    send(hello);
}

bool PeerLink::waitReady(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!ready_ && !dropped_) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !socket_->waitForReadyRead(static_cast<int>(left)))
            break;
    }
    return ready_;
}

void PeerLink::close()
{
    drop();
}

void PeerLink::drop()
{
    if (dropped_)
        return;
    dropped_ = true;
    ready_ = false;
    win::detachRoute(this);
    socket_->abort();
    emit closed();
}

void PeerLink::send(const Frame& frame)
{
    if (dropped_ || socket_->state() != QLocalSocket::ConnectedState)
        return;
    // A peer that never reads what it is sent is not given memory without end.
    if (socket_->bytesToWrite() > kMaxQueuedBytes) {
        QMetaObject::invokeMethod(this, &PeerLink::drop, Qt::QueuedConnection);
        return;
    }
    socket_->write(encode(frame));
}

bool PeerLink::postRemote(win::WinHandle target, std::uint32_t msg, std::intptr_t wParam,
                          std::intptr_t lParam)
{
    if (!ready_)
        return false;
    Frame frame;
    frame.type = FrameType::Post;
    frame.target = target;
    frame.message = msg;
    frame.wParam = wParam;
    frame.lParam = lParam;
    if (QThread::currentThread() == thread())
        send(frame);
    else // engines post from their own threads; the socket belongs to this one
        QMetaObject::invokeMethod(this, [this, frame] { send(frame); }, Qt::QueuedConnection);
    return true;
}

bool PeerLink::setTextRemote(win::WinHandle target, const QString& text)
{
    Frame frame;
    frame.type = FrameType::SetText;
    frame.target = target;
    frame.payload = cp1252::encode(text);
    if (!ready_ || frame.payload.size() > static_cast<qsizetype>(kMaxPayload)
        || QThread::currentThread() != thread())
        return false;
    send(frame);
    return socket_->flush() || socket_->bytesToWrite() == 0;
}

bool PeerLink::ownedByPeer(win::WinHandle h) const
{
    if (side_ == Side::Program)
        return win::baseOf(h) == peerBase_ && h != peerBase_;
    return win::baseOf(h) != win::handleBase() && h != 0;
}

void PeerLink::announce(win::WinHandle handle, const QString& title)
{
    if (!ready_ || win::baseOf(handle) != win::handleBase() || !win::windowObject(handle))
        return;
    Frame frame;
    frame.type = FrameType::WindowTitled;
    frame.target = handle;
    frame.payload = cp1252::encode(title).left(kMaxPayload);
    send(frame);
}

void PeerLink::announceRemoved(win::WinHandle handle)
{
    if (!ready_ || win::baseOf(handle) != win::handleBase())
        return;
    Frame frame;
    frame.type = FrameType::WindowRemoved;
    frame.target = handle;
    send(frame);
}

void PeerLink::onReadyRead()
{
    buffer_ += socket_->read(kReadChunk);
    if (socket_->bytesAvailable() > 0) // the rest after these frames are handled
        QMetaObject::invokeMethod(this, &PeerLink::onReadyRead, Qt::QueuedConnection);
    while (!dropped_) {
        Frame frame;
        const Decoded result = decode(buffer_, frame);
        if (result == Decoded::Incomplete)
            return;
        if (result == Decoded::Bad || !handle(frame)) {
            drop();
            return;
        }
        lastActive_ = monotonicMs();
    }
}

bool PeerLink::handleHello(const Frame& frame)
{
    if (frame.wParam != kProtocol || frame.target != 0)
        return false;
    if (side_ == Side::Program) {
        Frame answer;
        answer.type = FrameType::Hello;
        answer.wParam = kProtocol;
        answer.lParam = peerBase_;
        send(answer);
        win::attachRoute(peerBase_, this);
    } else {
        const std::int64_t base = frame.lParam;
        if (base <= 0 || base > std::numeric_limits<win::WinHandle>::max()
            || win::baseOf(static_cast<win::WinHandle>(base)) != base)
            return false;
        win::setHandleBase(static_cast<win::WinHandle>(base));
        win::attachDefaultRoute(this);
    }
    ready_ = true;
    for (const auto& [handle, title] : win::localTitledWindows())
        announce(handle, title);
    emit linked();
    return true;
}

bool PeerLink::handle(const Frame& frame)
{
    if (!ready_)
        return frame.type == FrameType::Hello && handleHello(frame);
    switch (frame.type) {
    case FrameType::Hello:
        return false;
    case FrameType::Post:
    case FrameType::SetText: {
        // The program may pass a message on to another peer; a peer only takes its own.
        if (side_ == Side::Peer && win::baseOf(frame.target) != win::handleBase())
            return false;
        if (side_ == Side::Program && win::baseOf(frame.target) == peerBase_)
            return true; // back to the sender: nothing to do
        // A peer posts the program only registered messages (the RTTY engine's notifications,
        // the Logger's hello); the fixed numbers below them are the program's own engine's.
        if (side_ == Side::Program && frame.type == FrameType::Post && frame.message < kFirstRegisteredMessage
            && win::baseOf(frame.target) == win::handleBase())
            return false;
        if (frame.type == FrameType::Post) {
            win::PostMessage(frame.target, frame.message, static_cast<std::intptr_t>(frame.wParam),
                             static_cast<std::intptr_t>(frame.lParam));
        } else {
            // Delivered from the event loop, so a text handler that opens a box cannot run
            // this reader again underneath itself.
            const win::WinHandle target = frame.target;
            const QString text = cp1252::decode(frame.payload);
            const qint64 size = frame.payload.size() + kHeaderSize;
            if (*pendingText_ + size > kMaxQueuedBytes)
                return false;
            *pendingText_ += size;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [target, text, size, pending = pendingText_] {
                    *pending -= size;
                    win::SetWindowText(target, text);
                },
                Qt::QueuedConnection);
        }
        return true;
    }
    case FrameType::WindowTitled:
        if (!ownedByPeer(frame.target) || (frame.target & win::kIndexMask) == 0)
            return false;
        if (side_ == Side::Program) {
            if (frame.payload.size() > kMaxTitleBytes)
                return false;
            if (!win::isRemoteWindow(frame.target) && ++windows_ > kMaxWindows)
                return false;
        }
        win::addRemoteWindow(frame.target, cp1252::decode(frame.payload), this);
        return true;
    case FrameType::WindowRemoved:
        if (!ownedByPeer(frame.target))
            return false;
        if (side_ == Side::Program && win::isRemoteWindow(frame.target))
            --windows_;
        win::removeRemoteWindow(frame.target, this);
        return true;
    }
    return false;
}

// ---- program side ----

PeerServer::PeerServer(const QString& name, QObject* parent)
    : QObject(parent), name_(resolveName(name)), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &PeerServer::onNewConnection);
}

PeerServer::~PeerServer()
{
    close();
}

QString PeerServer::defaultName()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
           + QStringLiteral("/sondrel-") + places::programFolderTag();
}

QString PeerServer::resolveName(const QString& name)
{
    if (name.isEmpty())
        return defaultName();
    if (name.contains(u'/'))
        return name;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + u'/' + name;
}

QString PeerServer::fullName() const
{
    return name_;
}

bool PeerServer::listen()
{
    if (server_->isListening())
        return true;
    // Listening would silently take the name over from a live server, so ask first.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name_); // a socket file left behind by a crash
    return server_->listen(name_);
}

void PeerServer::close()
{
    server_->close();
    const auto links = links_;
    for (const auto& [base, link] : links)
        link->close();
}

win::WinHandle PeerServer::freeBase()
{
    constexpr int kLast = 0x7FFF;
    // Bases go round, so a peer that reconnects is not reached through its old handles.
    for (int tries = 0; tries < kLast; ++tries) {
        const win::WinHandle base = nextPeer_ << win::kBaseShift;
        nextPeer_ = nextPeer_ == kLast ? 1 : nextPeer_ + 1;
        if (links_.find(base) == links_.end())
            return base;
    }
    return 0;
}

// A full house makes room for a newcomer by letting go of the peer that has been quiet longest
// (one still to say hello first), so idle connections can never keep the RTTY engine out.
void PeerServer::makeRoom()
{
    PeerLink* quietest = nullptr;
    for (const auto& [base, link] : links_) {
        if (!quietest || (!link->ready() && quietest->ready())
            || (link->ready() == quietest->ready() && link->lastActive() < quietest->lastActive()))
            quietest = link;
    }
    if (quietest)
        quietest->close(); // its closed() takes it out of links_
}

void PeerServer::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (static_cast<int>(links_.size()) >= kMaxPeers)
            makeRoom();
        const win::WinHandle base =
            static_cast<int>(links_.size()) < kMaxPeers ? freeBase() : 0;
        if (base == 0) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* link = new PeerLink(socket, PeerLink::Side::Program, base, this);
        links_[base] = link;
        connect(link, &PeerLink::linked, this, [this, base] { emit peerReady(base); });
        connect(link, &PeerLink::closed, this, [this, base, link] {
            links_.erase(base);
            link->deleteLater();
            emit peerGone(base);
        });
        QTimer::singleShot(kHelloTimeoutMs, link, [link] {
            if (!link->ready())
                link->close();
        });
    }
}

// ---- peer side ----

PeerClient::PeerClient(const QString& name, QObject* parent)
    : QObject(parent), name_(PeerServer::resolveName(name))
{
}

PeerClient::~PeerClient()
{
    disconnectFromServer();
}

bool PeerClient::connectToServer(int timeoutMs)
{
    if (link_)
        return link_->ready();
    auto* socket = new QLocalSocket;
    socket->connectToServer(name_);
    if (!socket->waitForConnected(timeoutMs)) {
        delete socket;
        return false;
    }
    link_ = new PeerLink(socket, PeerLink::Side::Peer, 0, this);
    connect(link_, &PeerLink::closed, this, &PeerClient::disconnected);
    link_->sendHello();
    if (link_->waitReady(timeoutMs))
        return true;
    disconnectFromServer();
    return false;
}

void PeerClient::disconnectFromServer()
{
    if (!link_)
        return;
    PeerLink* link = link_;
    link_ = nullptr;
    link->disconnect(this);
    link->close();
    link->deleteLater(); // this may run inside the link's own signal
}

bool PeerClient::isConnected() const
{
    return link_ && link_->ready();
}

} // namespace peer
