// A right click on a received name, in the program with its own links: the name goes to the Name
// box, and the engine's text (its messages to the main window) goes on arriving.
#include "support/main_window_fixture.h"

#include "displays/windows/aux_window.h"
#include "platform/processes/winmsg.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QWindow>

namespace {

using ReceiveWindowClicks = MainWindowFixture;

// Characters of a channel as the engine sends them (wParam, lParam), then its tick.
void receive(const char* text, int channel)
{
    for (const char* c = text; *c; ++c)
        win::PostMessage(MainWindowHandle, 2025, static_cast<unsigned char>(*c), channel);
    win::PostMessage(MainWindowHandle, 2024, 1500, 50);
    QCoreApplication::processEvents();
}

TEST_F(ReceiveWindowClicks, ARightClickTakesANameAndTheTextFlowsOn)
{
    ResetLinks();
    for (const char* key : {"Settings/Standalone Program", "Mini-Log/Visible"})
        ini::write(home->file("Sondrel.INI"), QString(key).section('/', 0, 0), QString(key).section('/', 1), "True");
    ASSERT_TRUE(main().Form_Load());
    main().show();
    const struct {
        int channel;
        const char* menu; // opens the channel's window
        bool holds;       // text received while the button is down waits for its release
    } cases[] = {{0, nullptr, true}, {1, "mnuAux1", false}, {2, "mnuAux2", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channel);
        if (c.menu)
            main().mnu(c.menu).click();
        QTextEdit* edit = c.menu ? AuxWindow::existing(c.channel)->AuxText : main().RxWindow;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(edit->window()));
        receive("name is hANS hans ", c.channel);
        // Through the window system's events, as a mouse gives them (and as a menu would open).
        QTextCursor word(edit->document());
        word.setPosition(edit->toPlainText().indexOf("hANS") + 1);
        const QPoint at = edit->viewport()->mapTo(edit->window(), edit->cursorRect(word).center() + QPoint(2, 0));
        QWindow* native = edit->window()->windowHandle();
        QTest::mouseMove(native, at);
        QTest::mousePress(native, Qt::RightButton, {}, at);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr); // no menu took the click
        receive("while held ", c.channel);
        EXPECT_EQ(edit->toPlainText().contains("held"), !c.holds);
        QTest::mouseRelease(native, Qt::RightButton, {}, at);
        EXPECT_EQ(main().NameBox->text(), "Hans");
        main().NameBox->clear();
        receive("and after", c.channel);
        EXPECT_TRUE(edit->toPlainText().endsWith("while held and after")) << edit->toPlainText().toStdString();
    }
}

} // namespace
