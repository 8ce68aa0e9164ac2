// Sondrel: a sound-card terminal for PSK31 and RTTY.
#include "main_window/sondrel.h"
#include "platform/system/signals.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/screen_fit.h"

#include <QApplication>
#include <QMenuBar>

#include <algorithm>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sondrel"));
    QApplication::setOrganizationName(QStringLiteral("Sondrel"));
    dlg::setApplicationTitle(QStringLiteral("Sondrel"));
    // The desktop ending the session closes the main window through the normal shut-down.
    Sondrel& main = Sondrel::instance();
    CloseOnTerminationSignals([&main] { main.close(); });

    if (!main.Form_Load())
        return main.startupExitCode();
    // The stored place may lie off this screen (another monitor, another resolution), the
    // stored size may be smaller than the window's contents,
    // and the menu bar shows all its menus rather than hiding the last ones behind a button.
    QSize wanted = main.size().expandedTo(main.minimumSizeHint());
    if (const QMenuBar* bar = main.menuBar())
        wanted.setWidth(std::max(wanted.width(), bar->sizeHint().width()));
    main.resize(wanted);
    FitOnScreen(main);
    main.show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int rc = app.exec();
    if (!main.unloaded())
        main.Form_Unload();
    return rc;
}
