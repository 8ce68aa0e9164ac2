// sondrel-rtty: the RTTY engine that the program starts ("-m -p": minimised, with the PTT port
// of the shared block). It links to the program that started it over the program's peer link,
// attaches the block the program created, and ends when told to quit or when the program goes.
#include <QApplication>

#include "engines/rtty/engine_view.h"
#include "engines/rtty/engine_window.h"
#include "platform/processes/peerlink.h"
#include "platform/system/places.h"
#include "platform/processes/shared_block.h"
#include "platform/system/signals.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // Without a desktop (a service, a test run) the windows are kept off-screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::setApplicationName(QStringLiteral("sondrel-rtty"));

    peer::PeerClient link;
    if (!link.connectToServer()) {
        std::fprintf(stderr, "sondrel-rtty: the program does not answer\n");
        return 1;
    }
    SharedBlock block(SharedBlock::nameArgument(app.arguments(), QStringLiteral("MMTTY")), 21204);
    if (!block.attach()) {
        std::fprintf(stderr, "sondrel-rtty: no shared block\n");
        return 1;
    }
    auto* view = static_cast<unsigned char*>(block.data());
    rtty::EngineWindow window(view, places::programFile(QStringLiteral("UserPara.INI")));
    if (window.open() == 0)
        return 1;
    QObject::connect(&window, &rtty::EngineWindow::quitRequested, &app, &QCoreApplication::quit);
    QObject::connect(&link, &peer::PeerClient::disconnected, &app, &QCoreApplication::quit);
    CloseOnTerminationSignals([] { QCoreApplication::quit(); });
    if (window.view()) {
        if (app.arguments().contains(QStringLiteral("-m")))
            window.view()->showMinimized();
        else
            window.view()->show();
    }
    // The sound starts once the program listens, so nothing heard is lost before its hello.
    bool started = false;
    QObject::connect(&window, &rtty::EngineWindow::greeted, &app, [&] {
        if (started)
            return;
        started = true;
        window.startSound(); // a failure is told in words, here and in the program
    });
    // Every way out drops PTT: quit, the link gone, a termination signal, a fault.
    int rc = 1;
    try {
        rc = app.exec();
    } catch (...) {
        window.engine().stop();
        throw;
    }
    StartReleaseDeadline(); // should the sound not stop, the line is dropped all the same
    window.engine().stop();
    return rc;
}
