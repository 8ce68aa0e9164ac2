// The receive windows as the operator clicks in them, in the program with its own links: the
// engine's characters arrive as its messages to the main window, and a right click on a received
// name puts it in the Name box while the text goes on arriving.
#include "support/main_window_fixture.h"

#include "displays/windows/aux_window.h"
#include "platform/processes/winmsg.h"
#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QWindow>

namespace {

constexpr std::uint32_t kEngineCharacter = 2025; // wParam the character, lParam the channel
constexpr std::uint32_t kEngineDataReady = 2024; // the tick that shows what arrived

class ReceiveWindowClicks : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ResetLinks();
        const QString file = home->file("Sondrel.INI");
        ini::write(file, "Settings", "Standalone Program", "True");
        ini::write(file, "Mini-Log", "Visible", "True");
        ini::write(file, "Mode", "Mode", "BPSK");
        ASSERT_TRUE(main().Form_Load());
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    }

    // Characters of a channel as the engine sends them, then its tick.
    static void receive(const char* text, int channel)
    {
        for (const char* c = text; *c; ++c)
            win::PostMessage(MainWindowHandle, kEngineCharacter, static_cast<unsigned char>(*c), channel);
        win::PostMessage(MainWindowHandle, kEngineDataReady, 1500, 50);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
};

// The middle of the second character of `word` in the text box, in its viewport.
QPoint inWord(QTextEdit& edit, const QString& word)
{
    const int at = edit.toPlainText().indexOf(word) + 1;
    QTextCursor a(edit.document()), b(edit.document());
    a.setPosition(at);
    b.setPosition(at + 1);
    return QPoint((edit.cursorRect(a).left() + edit.cursorRect(b).left()) / 2, edit.cursorRect(a).center().y());
}

TEST_F(ReceiveWindowClicks, ARightClickTakesANameAndTheTextFlowsOn)
{
    const struct {
        int channel;
        const char* menu; // opens the channel's window
        bool holds;       // text received while the button is down waits for its release
    } cases[] = {{0, nullptr, true}, {1, "mnuAux1", false}, {2, "mnuAux2", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channel);
        QTextEdit* edit = main().RxWindow;
        if (c.menu) {
            main().mnu(c.menu).click();
            AuxWindow* w = AuxWindow::existing(c.channel);
            ASSERT_NE(w, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
            edit = w->AuxText;
        }
        main().NameBox->clear();
        receive("name is hANS hans ", c.channel);
        ASSERT_TRUE(edit->toPlainText().contains("hANS"));

        // Through the window system's events, as a real mouse gives them (and a menu would open).
        QWidget* window = edit->window();
        QWindow* native = window->windowHandle();
        const QPoint at = edit->viewport()->mapTo(window, inWord(*edit, QStringLiteral("hANS")));
        QTest::mouseMove(native, at);
        QTest::mousePress(native, Qt::RightButton, {}, at);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr); // no menu took the click
        receive("while held ", c.channel);
        EXPECT_EQ(edit->toPlainText().contains("held"), !c.holds);
        QTest::mouseRelease(native, Qt::RightButton, {}, at);
        EXPECT_EQ(main().NameBox->text(), "Hans");

        receive("and after", c.channel);
        EXPECT_TRUE(edit->toPlainText().endsWith("while held and after")) << edit->toPlainText().toStdString();
    }
}

} // namespace
