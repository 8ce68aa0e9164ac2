#include "platform/widgets/screen_fit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {

QScreen* screenOf(const QWidget& w)
{
    const QWidget* anchor = w.isVisible() || !w.parentWidget() ? &w : w.parentWidget()->window();
    if (QScreen* s = QGuiApplication::screenAt(anchor->geometry().center()))
        return s;
    if (QScreen* s = anchor->screen())
        return s;
    return QGuiApplication::primaryScreen();
}

} // namespace

QMargins FrameMargins(const QWidget& w)
{
    if (w.isVisible()) {
        const QRect f = w.frameGeometry();
        const QRect g = w.geometry();
        if (f != g)
            return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
    }
    // Not decorated yet: the usual title bar and border.
    const int title = std::max(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight), 24);
    constexpr int kBorder = 4;
    return {kBorder, title + kBorder, kBorder, kBorder};
}

QRect FitInside(const QRect& inside, const QMargins& frame, const QRect& available)
{
    if (available.isEmpty())
        return inside;
    QRect r = inside;
    const int widest = std::max(1, available.width() - frame.left() - frame.right());
    const int highest = std::max(1, available.height() - frame.top() - frame.bottom());
    r.setWidth(std::min(r.width(), widest));
    r.setHeight(std::min(r.height(), highest));
    const int left = available.left() + frame.left();
    const int top = available.top() + frame.top();
    const int right = available.right() - frame.right();
    const int bottom = available.bottom() - frame.bottom();
    if (r.right() > right)
        r.moveRight(right);
    if (r.bottom() > bottom)
        r.moveBottom(bottom);
    if (r.left() < left)
        r.moveLeft(left);
    if (r.top() < top)
        r.moveTop(top);
    return r;
}

QRect AvailableScreenArea(const QWidget& window)
{
    QScreen* s = screenOf(window);
    return s ? s->availableGeometry() : QRect();
}

void FitOnScreen(QWidget& window)
{
    const QRect area = AvailableScreenArea(window);
    const QRect fitted = FitInside(window.geometry(), FrameMargins(window), area);
    if (fitted != window.geometry())
        window.setGeometry(fitted);
}

void CentreOnScreen(QWidget& dialog)
{
    dialog.adjustSize();
    const QRect area = AvailableScreenArea(dialog);
    if (area.isEmpty())
        return;
    QRect g = dialog.geometry();
    g.moveCenter(area.center());
    dialog.setGeometry(FitInside(g, FrameMargins(dialog), area));
}

void PlaceOnScreen(QWidget& dialog)
{
    if (!dialog.testAttribute(Qt::WA_Moved)) {
        if (!dialog.testAttribute(Qt::WA_Resized))
            dialog.adjustSize();
        const QRect area = AvailableScreenArea(dialog);
        QRect g = dialog.geometry();
        if (!area.isEmpty())
            g.moveCenter(area.center());
        dialog.setGeometry(g);
    }
    FitOnScreen(dialog);
}
