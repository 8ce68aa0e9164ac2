#include "displays/spectrum/click_filter.h"

#include "platform/vb/units.h"
#include "platform/widgets/picturebox.h"

#include <QMouseEvent>
#include <QWidget>

ClickFilter* ClickFilter::attach(QWidget* target)
{
    auto* f = new ClickFilter(target);
    target->installEventFilter(f);
    return f;
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        pressed_ = true;
        if (onMouseDown)
            onMouseDown(vbButton(e->button()), vbShift(e->modifiers()), twips::fromPixels(1) * e->position().x());
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const bool inside = widget && widget->rect().contains(e->position().toPoint());
        if (pressed_ && inside && onClick)
            onClick();
        pressed_ = false;
        break;
    }
    case QEvent::FocusIn:
        if (onFocus)
            onFocus();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
