#include "state/main_window_controls.h"

#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QMainWindow>
#include <QWidget>

namespace {

MainWindowControls* g_window = nullptr;
MainWindowControls& (*g_make)() = nullptr;

} // namespace

MainWindowControls::MainWindowControls(QMainWindow* window) : Window(window)
{
    g_window = this;
}

MainWindowControls::~MainWindowControls()
{
    forgetWindow();
}

void MainWindowControls::forgetWindow()
{
    if (g_window == this)
        g_window = nullptr;
}

MenuItem& MainWindowControls::mnu(const QString& name)
{
    MenuItem* m = menus_.value(name);
    Q_ASSERT_X(m, "Sondrel::mnu", qPrintable(name));
    return *m;
}

MenuItem& MainWindowControls::mnu(const QString& name, int index)
{
    return mnu(QStringLiteral("%1(%2)").arg(name).arg(index));
}

MainWindowControls& MainWindow()
{
    if (!g_window && g_make)
        return g_make();
    Q_ASSERT_X(g_window, "MainWindow", "no main window, and none can be made");
    return *g_window;
}

MainWindowControls* ExistingMainWindow()
{
    return g_window;
}

QWidget* MainWindowWidget()
{
    return g_window ? g_window->Window : nullptr;
}

void SetMainWindowMaker(MainWindowControls& (*make)())
{
    g_make = make;
}

void VerticalAdjustLayout()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->DummyStatusBar)
        return;
    const int h = w->DummyStatusBar->height();
    w->DummyStatusBar->setFixedHeight(h + twips::toPixels(10));
    w->DummyStatusBar->setFixedHeight(h);
}
