#include "platform/widgets/top_band.h"

#include <QWidget>
#include <QWindow>

void SetStaysOnTop(QWidget& window, bool onTop)
{
    if (!window.isWindow() || window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    // The widget keeps the flag for when its native window is made; a native window that exists
    // takes it as a state (on X11 the _NET_WM_STATE_ABOVE message to the window manager).
    window.overrideWindowFlags(flags);
    if (QWindow* native = window.windowHandle())
        native->setFlags(flags);
}
