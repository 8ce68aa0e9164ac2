#include "platform/widgets/owned_window.h"

#include "platform/widgets/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <array>

namespace {

constexpr const char* kPlaced = "sondrelPlaced";

// A window with its frame.
QRect outerOf(const QWidget& w)
{
    return w.isVisible() ? w.frameGeometry() : w.geometry().marginsAdded(FrameMargins(w));
}

qint64 overlap(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// Where a window of `size` (with its frame) lies at each end of each side of `r`: right, below,
// left, above.
std::array<QPoint, 8> around(const QRect& r, const QSize& size)
{
    const int w = size.width(), h = size.height();
    return {{
        {r.right() + 1, r.top()},
        {r.right() + 1, r.bottom() + 1 - h},
        {r.left(), r.bottom() + 1},
        {r.right() + 1 - w, r.bottom() + 1},
        {r.left() - w, r.top()},
        {r.left() - w, r.bottom() + 1 - h},
        {r.left(), r.top() - h},
        {r.right() + 1 - w, r.top() - h},
    }};
}

// The window's inside around the owner, or around one of the owner's other windows, fitted to the
// owner's screen: the first place that covers the owner least, then its other windows least.
QRect besideOwner(const QWidget& window, const QWidget& owner)
{
    const QRect area = AvailableScreenArea(owner);
    const QMargins frame = FrameMargins(window);
    const QRect main = outerOf(owner);
    const QSize outer = window.size().grownBy(frame);
    QList<QRect> others;
    for (const QWidget* child : owner.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != &window && child->isWindow() && child->isVisible())
            others << child->frameGeometry();
    QList<QPoint> corners;
    for (const QRect& r : QList<QRect>{main} + others)
        for (const QPoint& p : around(r, outer))
            corners << p;

    QRect best;
    qint64 bestOnOwner = -1, bestOnOthers = 0;
    for (const QPoint& corner : corners) {
        const QRect inside =
            FitInside(QRect(corner + QPoint(frame.left(), frame.top()), window.size()), frame, area);
        const QRect placed = inside.marginsAdded(frame);
        const qint64 onOwner = overlap(placed, main);
        qint64 onOthers = 0;
        for (const QRect& r : others)
            onOthers += overlap(placed, r);
        if (bestOnOwner < 0 || onOwner < bestOnOwner || (onOwner == bestOnOwner && onOthers < bestOnOthers)) {
            best = inside;
            bestOnOwner = onOwner;
            bestOnOthers = onOthers;
        }
    }
    return best;
}

// Whether the window's inside lies wholly in the free area of one of the screens (its frame may
// still stick out a little: FitOnScreen brings that in).
bool insideOnAScreen(const QWidget& w)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&w](const QScreen* s) { return s->availableGeometry().contains(w.geometry()); });
}

} // namespace

void ShowOwnedWindow(QWidget& window, QWidget* owner, bool hasStoredPlace)
{
    if (owner && window.parentWidget() != owner)
        window.setParent(owner, window.windowFlags());
    if (!window.isVisible()) {
        // A stored place off the screens (another monitor, gone) is no place the operator chose
        // to see it at: it opens where a window with no stored place does.
        if (owner && !window.property(kPlaced).toBool() && (!hasStoredPlace || !insideOnAScreen(window)))
            window.setGeometry(besideOwner(window, *owner));
        window.setProperty(kPlaced, true);
        FitOnScreen(window);
    }
    // The owner's own window exists first, so that the window system knows this one as its
    // transient, also at start-up before the owner is shown.
    if (owner)
        owner->winId();
    window.show();
    window.raise();
    if (owner && window.windowHandle() && window.windowHandle()->transientParent() != owner->windowHandle())
        window.windowHandle()->setTransientParent(owner->windowHandle());
}
