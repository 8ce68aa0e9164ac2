#include "platform/processes/winmsg.h"

#include "platform/processes/folder_tag.h"

#include <QCoreApplication>
#include <QHash>
#include <QMetaProperty>
#include <QPointer>
#include <QSet>
#include <QThread>
#include <QWidget>
#include <map>
#include <mutex>

namespace win {

namespace {

struct Window {
    QObject* object = nullptr;           // local window
    RemoteEndpoint* endpoint = nullptr;  // a peer's window
    QString title;
    QMetaObject::Connection onDestroyed;
};

struct Registry {
    // Recursive: a peer link's write can fail and detach the link on the same thread.
    std::recursive_mutex lock;
    std::map<WinHandle, Window> windows;
    std::map<WinHandle, RemoteEndpoint*> routes;
    RemoteEndpoint* defaultRoute = nullptr;
    WinHandle base = 0;
    WinHandle nextIndex = 1;
    QHash<QString, std::uint32_t> messages;
    QSet<std::uint32_t> messageNumbers;
};

Registry& registry()
{
    static Registry r;
    return r;
}

// The endpoint that carries messages for a handle that is not of this process.
RemoteEndpoint* routeFor(Registry& r, WinHandle handle)
{
    const auto it = r.routes.find(baseOf(handle));
    return it != r.routes.end() ? it->second : r.defaultRoute;
}

bool isLocal(const Registry& r, WinHandle handle)
{
    return baseOf(handle) == r.base;
}

// The endpoint for a handle that is no window object of this process, or nullptr.
RemoteEndpoint* remoteFor(Registry& r, WinHandle handle)
{
    const auto it = r.windows.find(handle);
    if (it != r.windows.end())
        return it->second.endpoint;
    return isLocal(r, handle) ? nullptr : routeFor(r, handle);
}

} // namespace

WindowNews& windowNews()
{
    static WindowNews news;
    return news;
}

WinHandle registerWindow(QObject* window, const QString& title)
{
    if (!window)
        return 0;
    Registry& r = registry();
    WinHandle handle = 0;
    {
        std::lock_guard guard(r.lock);
        for (const auto& [h, w] : r.windows)
            if (w.object == window)
                return h;
        for (int tries = 0; tries < kIndexMask && handle == 0; ++tries) {
            const WinHandle candidate = r.base | r.nextIndex;
            r.nextIndex = r.nextIndex == kIndexMask ? 1 : r.nextIndex + 1;
            if (r.windows.find(candidate) == r.windows.end())
                handle = candidate;
        }
        if (handle == 0)
            return 0;
        Window& w = r.windows[handle];
        w.object = window;
        w.title = title;
        w.onDestroyed = QObject::connect(window, &QObject::destroyed,
                                         [handle] { unregisterWindow(handle); });
    }
    if (!title.isEmpty())
        emit windowNews().titled(handle, title);
    return handle;
}

void unregisterWindow(WinHandle handle)
{
    Registry& r = registry();
    bool announced = false;
    {
        std::lock_guard guard(r.lock);
        const auto it = r.windows.find(handle);
        if (it == r.windows.end() || !it->second.object)
            return;
        QObject::disconnect(it->second.onDestroyed);
        announced = !it->second.title.isEmpty();
        r.windows.erase(it);
    }
    if (announced)
        emit windowNews().removed(handle);
}

QObject* windowObject(WinHandle handle)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const auto it = r.windows.find(handle);
    return it == r.windows.end() ? nullptr : it->second.object;
}

WinHandle handleOf(const QObject* window)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    for (const auto& [h, w] : r.windows)
        if (window && w.object == window)
            return h;
    return 0;
}

WinHandle FindWindow(const QString& title)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    for (const auto& [h, w] : r.windows)
        if (title.isEmpty() || w.title.compare(title, Qt::CaseInsensitive) == 0)
            return h;
    return 0;
}

std::uint32_t RegisterWindowMessage(const QString& name)
{
    if (name.isEmpty())
        return 0;
    const QString key = name.toUpper();
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const auto found = r.messages.constFind(key);
    if (found != r.messages.constEnd())
        return *found;
    constexpr std::uint32_t kFirst = 0xC000;
    constexpr std::uint32_t kCount = 0x4000;
    std::uint32_t offset = places::stableHash(key.toUtf8()) % kCount;
    // Two names of this process never share a number.
    for (std::uint32_t tries = 0; tries < kCount; ++tries, offset = (offset + 1) % kCount) {
        if (!r.messageNumbers.contains(kFirst + offset)) {
            r.messages.insert(key, kFirst + offset);
            r.messageNumbers.insert(kFirst + offset);
            return kFirst + offset;
        }
    }
    return 0;
}

bool PostMessage(WinHandle handle, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    if (handle == 0)
        return false;
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const auto it = r.windows.find(handle);
    if (it != r.windows.end() && it->second.object) {
        // Under the lock: the window cannot finish unregistering (and so being destroyed, which
        // drops its queued events) while the event is being queued.
        QCoreApplication::postEvent(it->second.object, new WindowMessageEvent(msg, wParam, lParam));
        return true;
    }
    RemoteEndpoint* endpoint = remoteFor(r, handle);
    return endpoint && endpoint->postRemote(handle, msg, wParam, lParam);
}

std::intptr_t SendMessage(WinHandle handle, std::uint32_t msg, std::intptr_t wParam,
                          std::intptr_t lParam)
{
    QObject* target = windowObject(handle);
    if (!target || target->thread() != QThread::currentThread()) {
        PostMessage(handle, msg, wParam, lParam);
        return 0;
    }
    WindowMessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(target, &event);
    return event.result();
}

namespace {

void setLocalText(WinHandle handle, QObject* object, const QString& text)
{
    // A text box (or label, or button) takes it as its text; a window as its title.
    for (const char* name : {"text", "plainText"}) {
        const int index = object->metaObject()->indexOfProperty(name);
        if (index >= 0 && object->metaObject()->property(index).isWritable()) {
            object->setProperty(name, text);
            return;
        }
    }
    if (auto* widget = qobject_cast<QWidget*>(object))
        widget->setWindowTitle(text);
    {
        Registry& r = registry();
        std::lock_guard guard(r.lock);
        const auto it = r.windows.find(handle);
        if (it == r.windows.end())
            return;
        it->second.title = text;
    }
    emit windowNews().titled(handle, text);
}

} // namespace

bool SetWindowText(WinHandle handle, const QString& text)
{
    if (handle == 0)
        return false;
    Registry& r = registry();
    {
        std::lock_guard guard(r.lock);
        const auto it = r.windows.find(handle);
        if (it == r.windows.end() || !it->second.object) {
            RemoteEndpoint* endpoint = remoteFor(r, handle);
            return endpoint && endpoint->setTextRemote(handle, text);
        }
    }
    QObject* object = windowObject(handle);
    if (!object || object->thread() != QThread::currentThread())
        return false;
    setLocalText(handle, object, text);
    return true;
}

// ---- events and the hook ----

WindowMessageEvent::WindowMessageEvent(std::uint32_t msg, std::intptr_t wParam,
                                       std::intptr_t lParam)
    : QEvent(eventType()), msg_(msg), w_(wParam), l_(lParam)
{
}

QEvent::Type WindowMessageEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class MessageHook::Filter : public QObject {
public:
    Filter(QObject* window, Handler handler) : window_(window), handler_(std::move(handler)) {}
    ~Filter() override
    {
        if (window_)
            window_->removeEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_ || event->type() != WindowMessageEvent::eventType())
            return false;
        auto* message = static_cast<WindowMessageEvent*>(event);
        const std::optional<std::intptr_t> answer =
            handler_(message->message(), message->wParam(), message->lParam());
        if (!answer)
            return false;
        message->setResult(*answer);
        return true;
    }

private:
    QPointer<QObject> window_;
    Handler handler_;
};

MessageHook::MessageHook() = default;
MessageHook::~MessageHook() = default;

void MessageHook::install(QObject* window, Handler handler)
{
    remove();
    if (!window || !handler)
        return;
    filter_ = std::make_unique<Filter>(window, std::move(handler));
    window->installEventFilter(filter_.get());
}

void MessageHook::remove()
{
    filter_.reset();
}

bool MessageHook::installed() const
{
    return filter_ != nullptr;
}

// ---- peer transport side ----

void setHandleBase(WinHandle base)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.base = baseOf(base);
}

WinHandle handleBase()
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    return r.base;
}

void attachRoute(WinHandle base, RemoteEndpoint* endpoint)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.routes[baseOf(base)] = endpoint;
}

void attachDefaultRoute(RemoteEndpoint* endpoint)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.defaultRoute = endpoint;
}

void detachRoute(RemoteEndpoint* endpoint)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (r.defaultRoute == endpoint)
        r.defaultRoute = nullptr;
    std::erase_if(r.routes, [endpoint](const auto& kv) { return kv.second == endpoint; });
    std::erase_if(r.windows, [endpoint](const auto& kv) { return kv.second.endpoint == endpoint; });
}

void addRemoteWindow(WinHandle handle, const QString& title, RemoteEndpoint* endpoint)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (handle == 0 || isLocal(r, handle))
        return;
    Window& w = r.windows[handle];
    if (w.object)
        return;
    w.endpoint = endpoint;
    w.title = title;
}

void removeRemoteWindow(WinHandle handle, RemoteEndpoint* endpoint)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const auto it = r.windows.find(handle);
    if (it != r.windows.end() && it->second.endpoint == endpoint)
        r.windows.erase(it);
}

bool isRemoteWindow(WinHandle handle)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const auto it = r.windows.find(handle);
    return it != r.windows.end() && it->second.endpoint != nullptr;
}

QList<QPair<WinHandle, QString>> localTitledWindows()
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    QList<QPair<WinHandle, QString>> list;
    for (const auto& [h, w] : r.windows)
        if (w.object && !w.title.isEmpty())
            list.append({h, w.title});
    return list;
}

} // namespace win
