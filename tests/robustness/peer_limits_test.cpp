// What a peer on the local socket may do to the program, and where it is cut off.
#include "platform/processes/peerlink.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QUuid>
#include <functional>
#include <memory>
#include <vector>

namespace {

using peer::Frame;
using peer::FrameType;

bool waitUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

Frame frame(FrameType type, std::int32_t target = 0, std::uint32_t msg = 0, std::int64_t w = 0,
            std::int64_t l = 0, const QByteArray& payload = {})
{
    Frame f;
    f.type = type;
    f.target = target;
    f.message = msg;
    f.wParam = w;
    f.lParam = l;
    f.payload = payload;
    return f;
}

struct Peer {
    explicit Peer(const QString& name) { socket.connectToServer(name); connected = socket.waitForConnected(2000); }
    void send(const Frame& f) { socket.write(peer::encode(f)); socket.flush(); }
    bool hello()
    {
        send(frame(FrameType::Hello, 0, 0, peer::kProtocol));
        return waitUntil([&] {
            buffer += socket.readAll();
            Frame f;
            while (peer::decode(buffer, f) == peer::Decoded::Frame)
                if (f.type == FrameType::Hello)
                    base = static_cast<win::WinHandle>(f.lParam);
            return base != 0;
        });
    }
    bool dropped(int ms = 5000)
    {
        return waitUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, ms);
    }
    QLocalSocket socket;
    QByteArray buffer;
    bool connected = false;
    win::WinHandle base = 0;
};

struct Recorder : QObject {
    std::vector<std::uint32_t> got;
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        got.push_back(static_cast<win::WindowMessageEvent*>(e)->message());
        return true;
    }
};

struct PeerLimits : testing::Test {
    peer::PeerServer server{QStringLiteral("sondrel-limits-") + QUuid::createUuid().toString(QUuid::Id128).left(12)};
    Recorder main;
    win::WinHandle mainHandle = 0;
    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        mainHandle = win::registerWindow(&main, QStringLiteral("Limits Main"));
    }
};

// The PSK engine's four messages are the program's own: a peer that posts one is cut off before
// anything happens; what peers do send (registered messages) still arrives.
TEST_F(PeerLimits, APeerPostsOnlyWhatPeersSend)
{
    for (std::uint32_t msg : {2024u, 2025u, 2026u, 2027u, 0x0010u, 0xBFFFu}) {
        SCOPED_TRACE(msg);
        Peer p(server.fullName());
        ASSERT_TRUE(p.hello());
        for (int n = 0; n < 2000; ++n)
            p.send(frame(FrameType::Post, mainHandle, msg, 99, 0));
        EXPECT_TRUE(p.dropped());
    }
    EXPECT_TRUE(main.got.empty());
    Peer engine(server.fullName());
    ASSERT_TRUE(engine.hello());
    engine.send(frame(FrameType::Post, mainHandle, 0xC123, 0x8000, 1));
    ASSERT_TRUE(waitUntil([&] { return !main.got.empty(); }));
    EXPECT_EQ(main.got, std::vector<std::uint32_t>{0xC123});
}

TEST_F(PeerLimits, WindowsAndTitlesHaveALimit)
{
    const struct {
        const char* what;
        int windows;
        int titleBytes;
        bool dropped;
    } rows[] = {
        {"the most windows", peer::PeerLink::kMaxWindows, 64, false},
        {"one window more", peer::PeerLink::kMaxWindows + 1, 64, true},
        {"the longest title", 1, peer::PeerLink::kMaxTitleBytes, false},
        {"a title too long", 1, peer::PeerLink::kMaxTitleBytes + 1, true},
        {"65535 windows of 8 KB", 65535, 8192, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Peer p(server.fullName());
        ASSERT_TRUE(p.hello());
        for (int n = 1; n <= r.windows && p.socket.state() == QLocalSocket::ConnectedState; ++n) {
            p.send(frame(FrameType::WindowTitled, p.base | n, 0, 0, 0, QByteArray(r.titleBytes, 'w')));
            if (n % 256 == 0)
                QCoreApplication::processEvents();
        }
        // Retitling a window it has already announced is no new window.
        p.send(frame(FrameType::WindowTitled, p.base | 1, 0, 0, 0, "again"));
        EXPECT_EQ(p.dropped(r.dropped ? 5000 : 300), r.dropped);
        if (!r.dropped) {
            EXPECT_EQ(win::FindWindow("again"), p.base | 1);
        }
    }
}

// A peer that never reads what the program sends it is let go before its queue grows without end.
TEST_F(PeerLimits, APeerThatNeverReadsIsDropped)
{
    Peer p(server.fullName());
    ASSERT_TRUE(p.hello());
    p.send(frame(FrameType::WindowTitled, p.base | 1, 0, 0, 0, "Deaf Engine"));
    ASSERT_TRUE(waitUntil([&] { return win::FindWindow("Deaf Engine") != 0; }));
    p.socket.setReadBufferSize(1);
    for (int n = 0; n < 200000 && server.peerCount() > 0; ++n) {
        win::PostMessage(p.base | 1, 0xC200, n, n);
        if (n % 1000 == 0)
            QCoreApplication::processEvents();
    }
    EXPECT_TRUE(waitUntil([&] { return server.peerCount() == 0; }));
}

// 200 connections that say nothing (or only hello) never keep the RTTY engine out.
TEST_F(PeerLimits, IdleConnectionsDoNotLockTheEngineOut)
{
    std::vector<std::unique_ptr<Peer>> idle;
    for (int n = 0; n < 200; ++n) {
        idle.push_back(std::make_unique<Peer>(server.fullName()));
        if (n % 2)
            idle.back()->send(frame(FrameType::Hello, 0, 0, peer::kProtocol));
        QCoreApplication::processEvents();
    }
    waitUntil([] { return false; }, 300);
    EXPECT_LE(server.peerCount(), peer::PeerServer::kMaxPeers);
    Peer engine(server.fullName());
    ASSERT_TRUE(engine.hello());
    engine.send(frame(FrameType::WindowTitled, engine.base | 1, 0, 0, 0, "MMTTY Engine"));
    engine.send(frame(FrameType::Post, mainHandle, 0xC321, 0x8000, 1));
    ASSERT_TRUE(waitUntil([&] { return !main.got.empty(); }));
    EXPECT_EQ(win::FindWindow("MMTTY Engine"), engine.base | 1);
    // A newcomer after the engine has spoken lets go of a quiet one, not of the engine.
    Peer late(server.fullName());
    ASSERT_TRUE(late.hello());
    EXPECT_EQ(engine.socket.state(), QLocalSocket::ConnectedState);
}

} // namespace
