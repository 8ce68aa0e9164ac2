#include "platform/processes/peerlink.h"
#include "platform/vb/text1252.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QUuid>
#include <QtEndian>
#include <functional>
#include <thread>
#include <vector>

namespace {

using peer::Frame;
using peer::FrameType;

bool waitUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (done())
            return true;
        if (clock.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

QString uniqueName()
{
    return QStringLiteral("sondrel-test-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

Frame makeFrame(FrameType type, std::int32_t target = 0, std::uint32_t msg = 0,
                std::int64_t w = 0, std::int64_t l = 0, const QByteArray& payload = {})
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

class Recorder : public QObject {
public:
    struct Got { std::uint32_t msg; std::intptr_t w, l; };
    std::vector<Got> got;
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        got.push_back({m->message(), m->wParam(), m->lParam()});
        return true;
    }
};

// ---- frames ----

TEST(PeerFrame, RoundTripAndPartialInput)
{
    const Frame sent = makeFrame(FrameType::SetText, 0x30002, 12, -1, INT64_MIN,
                                 cp1252::encode(QStringLiteral("CALLSIGN=G4\u00D8XY")));
    const QByteArray bytes = peer::encode(sent);
    ASSERT_EQ(bytes.size(), peer::kHeaderSize + sent.payload.size());
    for (int cut = 0; cut < bytes.size(); ++cut) {
        QByteArray part = bytes.left(cut);
        Frame f;
        ASSERT_EQ(peer::decode(part, f), peer::Decoded::Incomplete) << cut;
        ASSERT_EQ(part.size(), cut);
    }
    QByteArray two = bytes + peer::encode(makeFrame(FrameType::Post, 7, 0xC123, 1, 2));
    Frame a, b;
    ASSERT_EQ(peer::decode(two, a), peer::Decoded::Frame);
    ASSERT_EQ(peer::decode(two, b), peer::Decoded::Frame);
    EXPECT_TRUE(two.isEmpty());
    EXPECT_EQ(a.type, FrameType::SetText);
    EXPECT_EQ(a.target, 0x30002);
    EXPECT_EQ(a.message, 12u);
    EXPECT_EQ(a.wParam, -1);
    EXPECT_EQ(a.lParam, INT64_MIN);
    EXPECT_EQ(cp1252::decode(a.payload), QStringLiteral("CALLSIGN=G4\u00D8XY"));
    EXPECT_EQ(b.type, FrameType::Post);
    EXPECT_EQ(b.message, 0xC123u);
}

TEST(PeerFrame, BadHeadersAreRefused)
{
    auto header = [](std::uint16_t magic, std::uint16_t type, std::uint32_t length) {
        QByteArray h = peer::encode(makeFrame(FrameType::Post));
        qToLittleEndian<std::uint16_t>(magic, h.data());
        qToLittleEndian<std::uint16_t>(type, h.data() + 2);
        qToLittleEndian<std::uint32_t>(length, h.data() + 12);
        return h;
    };
    const struct { const char* what; QByteArray bytes; } rows[] = {
        {"magic", header(0x1234, 2, 0)},
        {"type 0", header(peer::kMagic, 0, 0)},
        {"type 6", header(peer::kMagic, 6, 0)},
        {"too long", header(peer::kMagic, 3, peer::kMaxPayload + 1)},
        {"huge", header(peer::kMagic, 3, 0xFFFFFFFFu)},
        {"payload on post", header(peer::kMagic, 2, 4)},
        {"payload on hello", header(peer::kMagic, 1, 1)},
    };
    for (const auto& r : rows) {
        QByteArray b = r.bytes;
        Frame f;
        EXPECT_EQ(peer::decode(b, f), peer::Decoded::Bad) << r.what;
    }
}

// ---- the program's side, with a hand-driven peer ----

class RawPeer {
public:
    explicit RawPeer(const QString& name)
    {
        socket.connectToServer(name);
        connected = socket.waitForConnected(2000);
    }
    void send(const Frame& f) { sendBytes(peer::encode(f)); }
    void sendBytes(const QByteArray& b)
    {
        socket.write(b);
        socket.flush();
    }
    // Next frame from the program, pumping the program's side meanwhile.
    bool next(Frame& f, int ms = 3000)
    {
        return waitUntil([&] {
            buffer += socket.readAll();
            return peer::decode(buffer, f) == peer::Decoded::Frame;
        }, ms);
    }
    bool nextOf(FrameType type, Frame& f)
    {
        while (next(f))
            if (f.type == type)
                return true;
        return false;
    }
    bool hello()
    {
        send(makeFrame(FrameType::Hello, 0, 0, peer::kProtocol));
        Frame f;
        if (!next(f) || f.type != FrameType::Hello)
            return false;
        base = static_cast<win::WinHandle>(f.lParam);
        return true;
    }
    bool closedByProgram(int ms = 3000)
    {
        return waitUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, ms);
    }

    QLocalSocket socket;
    QByteArray buffer;
    bool connected = false;
    win::WinHandle base = 0;
};

struct PeerServerTest : ::testing::Test {
    peer::PeerServer server{uniqueName()};
    Recorder main;
    QLineEdit holder;
    win::WinHandle mainHandle = 0;
    win::WinHandle holderHandle = 0;

    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        mainHandle = win::registerWindow(&main, QStringLiteral("Server Test Main"));
        holderHandle = win::registerWindow(&holder);
    }
};

TEST_F(PeerServerTest, SocketBelongsToTheUserAlone)
{
    const QFileInfo info(server.fullName());
    ASSERT_TRUE(info.exists());
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                        | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(info.permissions() & others, 0);

    peer::PeerServer second(server.fullName());
    EXPECT_FALSE(second.listen()); // a live server keeps its name
}

TEST(PeerServer, StaleSocketFileIsReplaced)
{
    const QString name = QDir::temp().filePath(uniqueName());
    {
        QFile stale(name);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    peer::PeerServer server(name);
    EXPECT_TRUE(server.listen());
    RawPeer p(server.fullName());
    EXPECT_TRUE(p.connected);
}

TEST_F(PeerServerTest, PeerWindowsBecomeHandles)
{
    RawPeer p(server.fullName());
    ASSERT_TRUE(p.connected);
    ASSERT_TRUE(p.hello());
    EXPECT_GT(p.base, 0);
    EXPECT_EQ(win::baseOf(p.base), p.base);

    // The program announces its titled windows.
    Frame f;
    bool sawMain = false;
    while (!sawMain && p.nextOf(FrameType::WindowTitled, f))
        sawMain = f.target == mainHandle
                  && cp1252::decode(f.payload) == QStringLiteral("Server Test Main");
    EXPECT_TRUE(sawMain);

    const win::WinHandle engine = p.base | 1;
    p.send(makeFrame(FrameType::WindowTitled, engine, 0, 0, 0, "MMTTY Engine"));
    ASSERT_TRUE(waitUntil([&] { return win::FindWindow(QStringLiteral("mmtty engine")) != 0; }));
    EXPECT_EQ(win::FindWindow(QStringLiteral("MMTTY Engine")), engine);

    // Program -> peer: posted messages with full-width parameters, and window text.
    EXPECT_TRUE(win::PostMessage(engine, 0xC200, -5, INT64_MAX));
    ASSERT_TRUE(p.nextOf(FrameType::Post, f));
    EXPECT_EQ(f.target, engine);
    EXPECT_EQ(f.message, 0xC200u);
    EXPECT_EQ(f.wParam, -5);
    EXPECT_EQ(f.lParam, INT64_MAX);
    EXPECT_TRUE(win::SetWindowText(engine, QStringLiteral("Set Frequency=14070.150 \u00D8")));
    ASSERT_TRUE(p.nextOf(FrameType::SetText, f));
    EXPECT_EQ(f.payload, QByteArray("Set Frequency=14070.150 \xD8"));

    // Posting from an engine thread goes out through the link's own thread.
    std::thread([engine] { win::PostMessage(engine, 0xC201, 1, 2); }).join();
    ASSERT_TRUE(p.nextOf(FrameType::Post, f));
    EXPECT_EQ(f.message, 0xC201u);

    // Peer -> program: a posted message and a window text for the hidden text box.
    p.send(makeFrame(FrameType::Post, mainHandle, 0xC300, engine, 77));
    ASSERT_TRUE(waitUntil([&] { return !main.got.empty(); }));
    EXPECT_EQ(main.got[0].msg, 0xC300u);
    EXPECT_EQ(main.got[0].w, engine);
    EXPECT_EQ(main.got[0].l, 77);
    p.send(makeFrame(FrameType::SetText, holderHandle, 0, 0, 0, "CALLSIGN=\xD8Z1"));
    ASSERT_TRUE(waitUntil([&] { return !holder.text().isEmpty(); }));
    EXPECT_EQ(holder.text(), QStringLiteral("CALLSIGN=\u00D8Z1"));

    // A window the peer takes away, then the peer itself.
    p.send(makeFrame(FrameType::WindowTitled, p.base | 2, 0, 0, 0, "Logger"));
    ASSERT_TRUE(waitUntil([&] { return win::FindWindow(QStringLiteral("Logger")) != 0; }));
    p.send(makeFrame(FrameType::WindowRemoved, p.base | 2));
    ASSERT_TRUE(waitUntil([&] { return win::FindWindow(QStringLiteral("Logger")) == 0; }));
    p.socket.disconnectFromServer();
    ASSERT_TRUE(waitUntil([&] { return server.peerCount() == 0; }));
    EXPECT_EQ(win::FindWindow(QStringLiteral("MMTTY Engine")), 0);
    EXPECT_FALSE(win::PostMessage(engine, 0xC200, 0, 0));
}

TEST_F(PeerServerTest, MisbehavingPeersAreDisconnected)
{
    const struct {
        const char* what;
        bool helloFirst;
        QByteArray bytes;
    } rows[] = {
        {"garbage", false, QByteArray(40, 'x')},
        {"post before hello", false, peer::encode(makeFrame(FrameType::Post, 1, 0xC000))},
        {"wrong protocol", false, peer::encode(makeFrame(FrameType::Hello, 0, 0, 99))},
        {"second hello", true, peer::encode(makeFrame(FrameType::Hello, 0, 0, peer::kProtocol))},
        {"foreign window", true,
         peer::encode(makeFrame(FrameType::WindowTitled, 0x7FFF0001, 0, 0, 0, "X"))},
        {"program's window", true, peer::encode(makeFrame(FrameType::WindowRemoved, 1))},
        {"oversized text", true,
         peer::encode(makeFrame(FrameType::SetText, 1, 0, 0, 0, QByteArray(9000, 'a')))},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        RawPeer p(server.fullName());
        ASSERT_TRUE(p.connected);
        if (r.helloFirst) {
            ASSERT_TRUE(p.hello());
        }
        p.sendBytes(r.bytes);
        EXPECT_TRUE(p.closedByProgram());
        EXPECT_TRUE(waitUntil([&] { return server.peerCount() == 0; }));
    }
    EXPECT_TRUE(main.got.empty());
    RawPeer good(server.fullName()); // the program still serves
    EXPECT_TRUE(good.hello());
}

// ---- a peer in another process ----

// Runs only as the helper process of ClientInAnotherProcess.
TEST(PeerHelper, Echo)
{
    const QString name = qEnvironmentVariable("SONDREL_PEER_HELPER");
    if (name.isEmpty())
        GTEST_SKIP() << "helper process only";
    peer::PeerClient client(name);
    ASSERT_TRUE(client.connectToServer());
    Recorder self;
    const win::WinHandle me = win::registerWindow(&self, QStringLiteral("Test Peer"));
    ASSERT_NE(win::baseOf(me), 0);
    bool quit = false;
    win::MessageHook hook;
    hook.install(&self, [&](std::uint32_t msg, std::intptr_t w, std::intptr_t l)
                            -> std::optional<std::intptr_t> {
        if (msg == 0xC0FF) {
            quit = true;
            return 0;
        }
        const win::WinHandle main = win::FindWindow(QStringLiteral("Peer Test Main"));
        win::PostMessage(main, msg + 1, me, l);
        win::SetWindowText(static_cast<win::WinHandle>(w), QStringLiteral("echo %1").arg(l));
        return 0;
    });
    ASSERT_TRUE(waitUntil([&] { return quit; }, 20000));
}

TEST(PeerClient, ClientInAnotherProcess)
{
    peer::PeerServer server(uniqueName());
    ASSERT_TRUE(server.listen());
    Recorder main;
    QLineEdit holder;
    win::registerWindow(&main, QStringLiteral("Peer Test Main"));
    const win::WinHandle holderHandle = win::registerWindow(&holder);

    QProcess helper;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SONDREL_PEER_HELPER"), server.fullName());
    helper.setProcessEnvironment(env);
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=PeerHelper.Echo")});
    ASSERT_TRUE(helper.waitForStarted());

    win::WinHandle peerWindow = 0;
    ASSERT_TRUE(waitUntil([&] {
        peerWindow = win::FindWindow(QStringLiteral("Test Peer"));
        return peerWindow != 0;
    }, 20000));
    EXPECT_TRUE(win::PostMessage(peerWindow, 0xC010, holderHandle, 42));
    ASSERT_TRUE(waitUntil([&] { return !main.got.empty() && !holder.text().isEmpty(); }));
    EXPECT_EQ(main.got[0].msg, 0xC011u);
    EXPECT_EQ(main.got[0].w, peerWindow);
    EXPECT_EQ(main.got[0].l, 42);
    EXPECT_EQ(holder.text(), QStringLiteral("echo 42"));

    win::PostMessage(peerWindow, 0xC0FF, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return helper.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(helper.exitCode(), 0);
    EXPECT_TRUE(waitUntil([&] { return win::FindWindow(QStringLiteral("Test Peer")) == 0; }));
}

} // namespace
