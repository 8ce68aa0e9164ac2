// sondrel-rtty: the RTTY engine that the program starts ("-m -p": minimised, with the PTT port
// of the shared block). It links to the program that started it over the program's peer link,
// attaches the block the program created, and ends when told to quit or when the program goes.
#include <QCoreApplication>

#include "engines/psk/audio.h"
#include "engines/rtty/engine_window.h"
#include "platform/peerlink.h"
#include "platform/places.h"
#include "platform/shared_block.h"

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
    // The sound starts once the program listens, so nothing heard is lost before its hello.
    bool started = false;
    QObject::connect(&window, &rtty::EngineWindow::greeted, &app, [&] {
        if (started)
            return;
        started = true;
        if (const int rc = window.engine().start(psk::makeAudioDevice(-1)))
            std::fprintf(stderr, "sondrel-rtty: sound device error %d\n", rc);
    });
    const int rc = app.exec();
    window.engine().stop();
    return rc;
}
