#pragma once
// Window messages. A window handle is a small integer that maps to an object of this process or
// to a window of a peer process reached over a local socket (platform/processes/peerlink.h). Messages are
// QEvents of one custom type, so a window sees them in event() and an event filter (the message
// hook) sees them first.
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace win {

using WinHandle = std::int32_t;

// The handles of one process share their upper bits (the base): 0 in the program, a per-peer
// base given out by the program to each connected peer process. The low 16 bits number the
// windows of that process from 1.
constexpr int kBaseShift = 16;
constexpr WinHandle kIndexMask = 0xFFFF;
constexpr WinHandle baseOf(WinHandle h) { return h & ~kIndexMask; }

// Registers an object as a window (again: its existing handle). The handle goes away when the
// object is destroyed. 0 when no handle is free.
WinHandle registerWindow(QObject* window, const QString& title = {});
void unregisterWindow(WinHandle handle);
QObject* windowObject(WinHandle handle);  // nullptr for peers' windows and unknown handles
WinHandle handleOf(const QObject* window); // 0 when not registered

// A window of this process or of a connected peer whose title matches, letter case ignored.
// An empty title matches any window. 0 when none.
WinHandle FindWindow(const QString& title);

// 0xC000..0xFFFF; the same number for the same name (letter case ignored) in every process.
std::uint32_t RegisterWindowMessage(const QString& name);

// Queues the message to the window's thread (a peer's: over its link). Safe from any thread.
// False for handle 0 and unknown handles.
bool PostMessage(WinHandle handle, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);
// Delivers at once on the window's own thread and returns what its handling gave (0 when
// nobody handled it). From another thread, or to a peer, the message is posted and 0 returned.
std::intptr_t SendMessage(WinHandle handle, std::uint32_t msg, std::intptr_t wParam,
                          std::intptr_t lParam);
// Window text: a text box's (label's, button's) text, else the window's title (FindWindow then
// finds it by the new one). To a peer it goes over the link.
bool SetWindowText(WinHandle handle, const QString& text);

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);
    static QEvent::Type eventType();

    std::uint32_t message() const { return msg_; }
    std::intptr_t wParam() const { return w_; }
    std::intptr_t lParam() const { return l_; }
    std::intptr_t result() const { return result_; }
    void setResult(std::intptr_t r) { result_ = r; }

private:
    std::uint32_t msg_;
    std::intptr_t w_;
    std::intptr_t l_;
    std::intptr_t result_ = 0;
};

// The main window's message hook: sees every window message to the window first. A message the
// handler answers (returns a value) is finished there; the others reach the window itself.
class MessageHook {
public:
    using Handler = std::function<std::optional<std::intptr_t>(std::uint32_t msg,
                                                               std::intptr_t wParam,
                                                               std::intptr_t lParam)>;
    MessageHook();
    ~MessageHook();
    MessageHook(const MessageHook&) = delete;
    MessageHook& operator=(const MessageHook&) = delete;

    void install(QObject* window, Handler handler);
    void remove();
    bool installed() const;

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
};

// ---- For the peer transport ----

// Where messages for another process's windows go.
class RemoteEndpoint {
public:
    virtual ~RemoteEndpoint() = default;
    virtual bool postRemote(WinHandle target, std::uint32_t msg, std::intptr_t wParam,
                            std::intptr_t lParam) = 0;
    virtual bool setTextRemote(WinHandle target, const QString& text) = 0;
};

// This process's base; windows registered afterwards get handles base | index.
void setHandleBase(WinHandle base);
WinHandle handleBase();
// Handles with this base go to the endpoint (the program, one per peer).
void attachRoute(WinHandle base, RemoteEndpoint* endpoint);
// Every handle not of this process goes to the endpoint (a peer, towards the program).
void attachDefaultRoute(RemoteEndpoint* endpoint);
// Removes the endpoint's routes and the windows it announced.
void detachRoute(RemoteEndpoint* endpoint);
// A peer's window announced with its title, for FindWindow.
void addRemoteWindow(WinHandle handle, const QString& title, RemoteEndpoint* endpoint);
void removeRemoteWindow(WinHandle handle, RemoteEndpoint* endpoint);
bool isRemoteWindow(WinHandle handle);
// This process's titled windows, and news of them.
QList<QPair<WinHandle, QString>> localTitledWindows();

class WindowNews : public QObject {
    Q_OBJECT
signals:
    void titled(win::WinHandle handle, const QString& title); // registered or retitled
    void removed(win::WinHandle handle);
};
WindowNews& windowNews();

} // namespace win
