#include "platform/processes/winmsg.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSet>
#include <QWidget>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using Message = std::tuple<std::uint32_t, std::intptr_t, std::intptr_t>;

// A window that records every window message that reaches its own handling.
class Recorder : public QObject {
public:
    std::vector<Message> got;
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        got.emplace_back(m->message(), m->wParam(), m->lParam());
        m->setResult(-1);
        return true;
    }
};

void pump()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

TEST(WinMsg, HandlesFollowTheirObjects)
{
    auto* a = new Recorder;
    Recorder b;
    const win::WinHandle ha = win::registerWindow(a, QStringLiteral("Alpha Window"));
    const win::WinHandle hb = win::registerWindow(&b);
    EXPECT_GT(ha, 0);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(win::registerWindow(a), ha);
    EXPECT_EQ(win::windowObject(ha), a);
    EXPECT_EQ(win::handleOf(&b), hb);
    EXPECT_EQ(win::FindWindow(QStringLiteral("alpha WINDOW")), ha);
    EXPECT_EQ(win::FindWindow(QStringLiteral("Beta")), 0);
    EXPECT_NE(win::FindWindow(QString()), 0);

    delete a; // a destroyed window's handle goes away with it
    EXPECT_EQ(win::windowObject(ha), nullptr);
    EXPECT_EQ(win::FindWindow(QStringLiteral("Alpha Window")), 0);
    EXPECT_FALSE(win::PostMessage(ha, 0xC000, 1, 2));
    win::unregisterWindow(hb);
    EXPECT_EQ(win::windowObject(hb), nullptr);
}

TEST(WinMsg, RegisteredMessageNumbers)
{
    const std::uint32_t mmtty = win::RegisterWindowMessage(QStringLiteral("MMTTY"));
    const std::uint32_t hello = win::RegisterWindowMessage(QStringLiteral("SoundCard"));
    EXPECT_NE(mmtty, hello);
    EXPECT_EQ(win::RegisterWindowMessage(QStringLiteral("mmtty")), mmtty);
    EXPECT_EQ(win::RegisterWindowMessage(QStringLiteral("SOUNDCARD")), hello);
    EXPECT_EQ(win::RegisterWindowMessage(QString()), 0u);

    QSet<std::uint32_t> seen{mmtty, hello};
    for (int i = 0; i < 3000; ++i) {
        const std::uint32_t n = win::RegisterWindowMessage(QStringLiteral("name %1").arg(i));
        ASSERT_GE(n, 0xC000u);
        ASSERT_LE(n, 0xFFFFu);
        ASSERT_FALSE(seen.contains(n)) << i;
        seen.insert(n);
    }
}

TEST(WinMsg, PostQueuesAndSendDelivers)
{
    Recorder w;
    const win::WinHandle h = win::registerWindow(&w);
    EXPECT_FALSE(win::PostMessage(0, 0xC001, 1, 2));
    EXPECT_FALSE(win::PostMessage(0x7654, 0xC001, 1, 2));

    EXPECT_TRUE(win::PostMessage(h, 2024, 5, -6));
    EXPECT_TRUE(w.got.empty()); // queued, not delivered yet
    pump();
    ASSERT_EQ(w.got.size(), 1u);
    EXPECT_EQ(w.got[0], Message(2024, 5, -6));

    EXPECT_EQ(win::SendMessage(h, 2025, 7, 8), -1);
    ASSERT_EQ(w.got.size(), 2u);
    EXPECT_EQ(win::SendMessage(0, 2025, 7, 8), 0);
}

TEST(WinMsg, PostFromOtherThreadsArrivesInOrder)
{
    Recorder w;
    const win::WinHandle h = win::registerWindow(&w);
    constexpr int kEach = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([h, t] {
            for (int i = 0; i < kEach; ++i)
                win::PostMessage(h, 2026, t, i);
        });
    for (auto& t : threads)
        t.join();
    pump();
    ASSERT_EQ(w.got.size(), 4u * kEach);
    int next[4] = {0, 0, 0, 0};
    for (const auto& [msg, thread, i] : w.got) {
        ASSERT_EQ(i, next[thread]);
        ++next[thread];
    }
}

TEST(WinMsg, HookSeesMessagesFirst)
{
    Recorder w;
    const win::WinHandle h = win::registerWindow(&w);
    win::MessageHook hook;
    std::vector<Message> hooked;

    // Before the hook exists, messages reach the window's own handling.
    win::PostMessage(h, 0xC100, 1, 1);
    pump();
    EXPECT_EQ(w.got.size(), 1u);

    hook.install(&w, [&](std::uint32_t msg, std::intptr_t wp, std::intptr_t lp)
                        -> std::optional<std::intptr_t> {
        hooked.emplace_back(msg, wp, lp);
        if (msg == 0xC100)
            return 0;
        return std::nullopt;
    });
    EXPECT_TRUE(hook.installed());
    win::PostMessage(h, 0xC100, 2, 3); // handled: goes no further
    win::PostMessage(h, 0x0010, 4, 5); // not handled: falls through
    pump();
    EXPECT_EQ(hooked.size(), 2u);
    ASSERT_EQ(w.got.size(), 2u);
    EXPECT_EQ(w.got[1], Message(0x0010, 4, 5));
    EXPECT_EQ(win::SendMessage(h, 0xC100, 0, 0), 0);
    EXPECT_EQ(win::SendMessage(h, 0x0011, 0, 0), -1);

    hook.remove();
    EXPECT_FALSE(hook.installed());
    win::PostMessage(h, 0xC100, 6, 7);
    pump();
    EXPECT_EQ(hooked.size(), 4u);
    EXPECT_EQ(w.got.back(), Message(0xC100, 6, 7));
}

TEST(WinMsg, HookOutlivedByNothingDangerous)
{
    win::MessageHook hook;
    {
        Recorder w;
        hook.install(&w, [](std::uint32_t, std::intptr_t, std::intptr_t) { return 0; });
    }
    hook.remove(); // the window went first: removing must not touch it
    EXPECT_FALSE(hook.installed());
}

TEST(WinMsg, WindowText)
{
    QWidget top;
    QLineEdit holder(&top);
    const win::WinHandle ht = win::registerWindow(&top, QStringLiteral("Old Title"));
    const win::WinHandle hh = win::registerWindow(&holder);
    EXPECT_TRUE(win::SetWindowText(hh, QStringLiteral("FREQUENCY=14070.150")));
    EXPECT_EQ(holder.text(), QStringLiteral("FREQUENCY=14070.150"));
    EXPECT_TRUE(win::SetWindowText(ht, QStringLiteral("New Title")));
    EXPECT_EQ(top.windowTitle(), QStringLiteral("New Title"));
    EXPECT_EQ(win::FindWindow(QStringLiteral("new title")), ht);
    EXPECT_EQ(win::FindWindow(QStringLiteral("Old Title")), 0);
    EXPECT_FALSE(win::SetWindowText(0, QStringLiteral("x")));
}

} // namespace
