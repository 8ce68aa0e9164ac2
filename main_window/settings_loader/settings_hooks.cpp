#include "main_window/settings_loader/settings_hooks.h"

#include "logbook/windows/logbook_windows.h"
#include "platform/vb/units.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

SettingsHookTable defaults()
{
    SettingsHookTable h;
    h.UnloadMiniLog = [] { UnloadMiniLog(); };
    h.UnloadPreviousPage = [] { UnloadPreviousPage(); };
    h.ScreenTwips = [] {
        const QScreen* s = QGuiApplication::primaryScreen();
        const QSize px = s ? s->geometry().size() : QSize(1024, 768);
        return QSize(twips::fromPixels(px.width()), twips::fromPixels(px.height()));
    };
    return h;
}

SettingsHookTable& table()
{
    static SettingsHookTable t = defaults();
    return t;
}

} // namespace

SettingsHookTable& SettingsHooks()
{
    return table();
}

void ResetSettingsHooks()
{
    table() = defaults();
}
