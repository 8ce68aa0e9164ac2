// The stay-on-top band: a window leaves it around the modal boxes and windows it opens, so
// they are not hidden behind it, and returns to it afterwards.
#include "displays/spectrum/scale.h"

#include "platform/processes/winmsg.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/top_band.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QWidget>

void SetWindowTopmost(std::int32_t window, std::int16_t insertAfter)
{
    auto* widget = qobject_cast<QWidget*>(win::windowObject(window));
    if (!widget || !widget->isWindow())
        return;
    if (insertAfter != kHwndTopmost && insertAfter != kHwndNoTopmost)
        return;
    SetStaysOnTop(*widget, insertAfter == kHwndTopmost);
}

void SetWindowTopmost(bool topmost)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->mnu(QStringLiteral("mnuOnTop")).checked())
        return;
    SetWindowTopmost(MainWindowHandle, topmost ? kHwndTopmost : kHwndNoTopmost);
}

void AroundTopmost(const std::function<void()>& show)
{
    SetWindowTopmost(false);
    if (show)
        show();
    SetWindowTopmost(true);
}
