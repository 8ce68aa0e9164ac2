#pragma once
// Window messages to and from peer processes (the RTTY engine, the Logger) over a local socket.
// The program listens (PeerServer); each peer connects (PeerClient), is given its own handle
// base and from then on its windows and the program's are reached through win::PostMessage,
// win::SetWindowText and win::FindWindow as if they were in one process. A peer should connect
// before it registers its windows, so that they get handles of its base.
#include "platform/processes/peerframe.h"
#include "platform/processes/winmsg.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace peer {

// One connected socket, on either side. A frame that fails its checks, or a peer that breaks
// the protocol, ends the connection.
class PeerLink : public QObject, public win::RemoteEndpoint {
    Q_OBJECT
public:
    enum class Side { Program, Peer };
    // Takes the socket over. On the program's side, peerBase is the base given to the peer.
    PeerLink(QLocalSocket* socket, Side side, win::WinHandle peerBase, QObject* parent = nullptr);
    ~PeerLink() override;

    // What one peer may hold in the program; a peer that goes beyond it is disconnected.
    static constexpr int kMaxWindows = 64;            // windows it announces
    static constexpr int kMaxTitleBytes = 256;        // length of one window title
    static constexpr qint64 kMaxQueuedBytes = 1 << 20; // bytes waiting for it or from it
    static constexpr qint64 kReadChunk = 64 * 1024;    // bytes taken from its socket at a time

    bool ready() const { return ready_; }  // hello exchanged
    // Monotonic milliseconds of the last frame it sent (of its connection before that).
    qint64 lastActive() const { return lastActive_; }
    win::WinHandle peerBase() const { return peerBase_; }
    void sendHello();
    // Peer side: blocks until the program's hello has arrived (or the time is up).
    bool waitReady(int timeoutMs);
    void close();

    bool postRemote(win::WinHandle target, std::uint32_t msg, std::intptr_t wParam,
                    std::intptr_t lParam) override;
    bool setTextRemote(win::WinHandle target, const QString& text) override;

signals:
    void linked();
    void closed();

private:
    void onReadyRead();
    bool handle(const Frame& frame);
    bool handleHello(const Frame& frame);
    bool ownedByPeer(win::WinHandle h) const;
    void send(const Frame& frame);
    void announce(win::WinHandle handle, const QString& title);
    void announceRemoved(win::WinHandle handle);
    void drop();

    QLocalSocket* socket_;
    Side side_;
    win::WinHandle peerBase_;
    bool ready_ = false;
    bool dropped_ = false;
    QByteArray buffer_;
    qint64 lastActive_ = 0;
    int windows_ = 0;
    std::shared_ptr<qint64> pendingText_ = std::make_shared<qint64>(0);
};

// The program's end: a socket in the user's runtime folder, for the user alone.
class PeerServer : public QObject {
    Q_OBJECT
public:
    // name: a socket file name in the runtime folder, or a full path; empty for defaultName().
    explicit PeerServer(const QString& name = {}, QObject* parent = nullptr);
    ~PeerServer() override;

    // "<runtime folder>/sondrel-<program folder tag>".
    static QString defaultName();
    // A full path for a name as the constructors take it.
    static QString resolveName(const QString& name);

    // False when another live server answers on the name; a stale socket file is replaced.
    bool listen();
    void close();
    QString fullName() const;
    int peerCount() const { return static_cast<int>(links_.size()); }

    static constexpr int kMaxPeers = 16;
    static constexpr int kHelloTimeoutMs = 5000;

signals:
    void peerReady(win::WinHandle peerBase);
    void peerGone(win::WinHandle peerBase);

private:
    void onNewConnection();
    win::WinHandle freeBase();
    void makeRoom();

    QString name_;
    QLocalServer* server_;
    int nextPeer_ = 1;
    std::map<win::WinHandle, PeerLink*> links_;
};

// A peer process's end.
class PeerClient : public QObject {
    Q_OBJECT
public:
    explicit PeerClient(const QString& name = {}, QObject* parent = nullptr);
    ~PeerClient() override;

    // Connects and waits for the program's hello (which sets this process's handle base).
    bool connectToServer(int timeoutMs = 3000);
    void disconnectFromServer();
    bool isConnected() const;

signals:
    void disconnected();

private:
    QString name_;
    PeerLink* link_ = nullptr;
};

} // namespace peer
