// The program as the operator starts it, with every link and hook its own: three QSOs logged from
// the QSO panel, then the "Page" and "Prev" buttons open the two logbook windows, the mini-log
// switch closes them, and a shut-down with them open reopens them at the next start. At the first
// start the windows (and View > Show Tuning Window, Display > Aux 1 / Aux 2) open beside the main
// window on a 1024 x 768 screen, owned by it, also with "Always on top", and the logbook windows'
// columns and rows show what they hold, also in another font.
#include "support/main_window_fixture.h"

#include "core/logger_link/logger_link.h"
#include "displays/windows/aux_window.h"
#include "displays/windows/tuning_window.h"
#include "logbook/logbook_services.h"
#include "logbook/windows/frm_previous_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "logbook/windows/logbook_windows.h"
#include "logbook/windows/mini_log.h"
#include "main_window/settings_loader/settings_hooks.h"
#include "platform/system/clock.h"
#include "platform/system/events.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"

#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWindow>
#include <QMenuBar>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>

namespace {

class LogbookWindowsProgram : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ResetLinks();
        ResetLogbookWindows();
        ResetSettingsHooks();
        ResetStandaloneWindows();
        ResetLogTransfer();
        Clock::install(&clock);
        MiniLogOpen = PreviousPageOpen = QStringLiteral("False");
        MiniLogPage = LogbookGrid();
        PreviousQSOsPage = LogbookGrid();
        const QString file = home->file("Sondrel.INI");
        ini::write(file, "Settings", "Standalone Program", "True");
        ini::write(file, "Settings", "Default CW ID", "W1OP");
        ini::write(file, "Mini-Log", "Visible", "True");
        ini::write(file, "Mode", "Mode", "BPSK");
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        Clock::install(nullptr);
    }

    void start()
    {
        SpectrumHold = false;
        events::SetProgramClosing(false);
        ASSERT_TRUE(main().Form_Load());
        main().show();
    }

    void logQso(const char* call, const char* name, int minute)
    {
        clock.setUtc(QDateTime(QDate(2024, 1, 1), QTime(12, minute), Qt::UTC));
        Sondrel& w = main();
        QTest::keyClicks(w.CallsignBox, call);
        w.NameBox->setText(QString::fromLatin1(name));
        QTest::mouseClick(w.LogButton, Qt::LeftButton);
    }

    // Both logbook windows opened by their buttons, the previous QSOs of `call`.
    void openBoth(const char* call)
    {
        main().CallsignBox->clear();
        QTest::keyClicks(main().CallsignBox, call);
        QTest::mouseClick(main().PageButton, Qt::LeftButton);
        QTest::mouseClick(main().PreviousButton, Qt::LeftButton);
        ASSERT_NE(MiniLog::existing(), nullptr);
        ASSERT_NE(frmPreviousPage::existing(), nullptr);
    }

    FixedClock clock;
};

// The free area of the screen the tests run on (tests/support/screen_1024x768.json).
QRect screenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Whether the screen has room for the window beside or below the main window, where it would not
// cover it (a desktop's larger fonts make both windows larger).
bool roomBesideMain(const QWidget& w)
{
    const QRect area = screenArea();
    const QRect main = Sondrel::instance().frameGeometry();
    const QSize outer = w.frameGeometry().size();
    const bool across = area.right() - main.right() >= outer.width() || main.left() - area.left() >= outer.width();
    const bool down = area.bottom() - main.bottom() >= outer.height() || main.top() - area.top() >= outer.height();
    return (across && area.height() >= outer.height()) || (down && area.width() >= outer.width());
}

// Owned by the main window as the window system keeps it: the main window is its transient parent,
// and it is a tool or dialog window (X11 is told the owner of those types only).
void expectOwnedByMain(QWidget* w, const char* name)
{
    ASSERT_NE(w->windowHandle(), nullptr) << name;
    EXPECT_EQ(w->windowHandle()->transientParent(), Sondrel::instance().windowHandle()) << name;
    EXPECT_TRUE(w->windowType() == Qt::Tool || w->windowType() == Qt::Dialog) << name << " " << w->windowType();
}

// The settings file without the place stored in `section`, as at the first start.
void forgetPlace(const QString& file, const QString& section)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QString current;
    QStringList kept;
    for (const QString& line : QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1Char('[')))
            current = line.mid(1, line.indexOf(QLatin1Char(']')) - 1);
        const QString key = line.section(QLatin1Char('='), 0, 0);
        if (current != section || !QStringList{"Top", "Left", "Height", "Width"}.contains(key))
            kept << line;
    }
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(kept.join(QStringLiteral("\r\n")).toLatin1());
}

// Whether every column of a grid is as wide as its header and its cells need.
void expectColumnsShowTheirText(LogbookGridView& grid, const char* window)
{
    QAbstractItemView& view = grid;
    for (int c = 1; c < 10; ++c) {
        EXPECT_FALSE(grid.isColumnHidden(c)) << window << " column " << c;
        EXPECT_GE(grid.columnWidth(c), view.sizeHintForColumn(c)) << window << " column " << c;
        EXPECT_GE(grid.columnWidth(c), grid.horizontalHeader()->sectionSizeHint(c)) << window << " column " << c;
    }
}

TEST_F(LogbookWindowsProgram, ThePanelButtonsOpenBothWindowsOnTheRealLogbook)
{
    start();
    ASSERT_TRUE(main().vsElastic3->isVisible());
    logQso("dl1abc", "Hans", 0);
    logQso("g4xyz", "Ann", 1);
    logQso("dl1abc", "Hans", 2);
    EXPECT_EQ(QSOCounter, "4");
    ASSERT_TRUE(boxes.messages().isEmpty()) << boxes.messages()[0].text.toStdString();

    QTest::mouseClick(main().PageButton, Qt::LeftButton);
    MiniLog* log = MiniLog::existing();
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->isVisible());
    EXPECT_EQ(log->windowTitle(), "Logbook for W1OP.");
    const QStringList calls = {"DL1ABC", "G4XYZ", "DL1ABC"};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(log->LogbookPage->item(r, 2)->text(), calls[r]) << r;
    EXPECT_EQ(log->LogbookPage->item(0, 1)->text(), "01 Jan 24  12:02");
    EXPECT_TRUE(log->LogbookPage->item(3, 2)->text().isEmpty());

    QTest::keyClicks(main().CallsignBox, "dl1abc");
    QTest::mouseClick(main().PreviousButton, Qt::LeftButton);
    frmPreviousPage* previous = frmPreviousPage::existing();
    ASSERT_NE(previous, nullptr);
    EXPECT_TRUE(previous->isVisible());
    EXPECT_EQ(previous->windowTitle(), "Previous QSOs with DL1ABC");
    EXPECT_EQ(previous->LogbookPage->item(0, 2)->text(), "DL1ABC");
    EXPECT_EQ(previous->LogbookPage->item(1, 2)->text(), "DL1ABC");
    EXPECT_TRUE(previous->LogbookPage->item(2, 2)->text().isEmpty());

    // A fourth QSO goes to the top of the open Mini-Log; the panel's Clear empties the other.
    main().NameBox->setText("Hans");
    QTest::mouseClick(main().LogButton, Qt::LeftButton); // same second as the last: refused
    clock.setUtc(QDateTime(QDate(2024, 1, 1), QTime(12, 3), Qt::UTC));
    boxes.clear();
    QTest::mouseClick(main().LogButton, Qt::LeftButton);
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_EQ(log->LogbookPage->item(0, 1)->text(), "01 Jan 24  12:03");
    EXPECT_TRUE(previous->LogbookPage->item(0, 2)->text().isEmpty());

    // Shut-down with both open: they come back at the next start.
    main().close();
    EXPECT_EQ(ini("Mini-Log", "Page Loaded"), "True");
    EXPECT_EQ(ini("Previous QSOs", "Page Loaded"), "True");
    Sondrel::destroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    start();
    ASSERT_NE(MiniLog::existing(), nullptr);
    ASSERT_NE(frmPreviousPage::existing(), nullptr);
    EXPECT_EQ(MiniLog::existing()->LogbookPage->item(3, 2)->text(), "DL1ABC");

    // The mini-log switched off closes both, as closed by the operator.
    main().mnu("mnuMiniLog").click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MiniLog::existing(), nullptr);
    EXPECT_EQ(frmPreviousPage::existing(), nullptr);
    EXPECT_EQ(ini("Mini-Log", "Page Loaded"), "False");
    EXPECT_EQ(ini("Previous QSOs", "Page Loaded"), "False");

    // Back on, "$page$" (the Page button's handler) opens the Mini-Log again; leaving standalone
    // mode closes it.
    main().mnu("mnuMiniLog").click();
    PageButton_Click();
    ASSERT_NE(MiniLog::existing(), nullptr);
    main().mnu("mnuStandalone").click();
    EXPECT_EQ(MiniLog::existing(), nullptr);
    EXPECT_EQ(MiniLogOpen, "False");
}

TEST_F(LogbookWindowsProgram, TheMiniLogMenusExportAndImportTheLog)
{
    start();
    logQso("dl1abc", "Hans", 0);
    logQso("g4xyz", "Ann", 1);
    QTest::mouseClick(main().PageButton, Qt::LeftButton);
    MiniLog* log = MiniLog::existing();
    ASSERT_NE(log, nullptr);
    boxes.clear();

    const QString adi = home->file("out.ADI");
    boxes.answerSave(adi);
    log->mnu("mnuExportADI").click();
    QFile f(adi);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    EXPECT_TRUE(written.contains("<CALL:6>DL1ABC")) << written.toStdString();
    EXPECT_TRUE(written.contains("<CALL:5>G4XYZ")) << written.toStdString();
    EXPECT_FALSE(log->Command1->isVisible());
    EXPECT_TRUE(log->menuBar()->isEnabled());

    // The same file back in: both QSOs are there already, so both go to BAD.ADI.
    boxes.clear();
    boxes.answerOpen(adi);
    log->mnu("mnuImportADI").click();
    QStringList said;
    for (const auto& b : boxes.messages())
        said << b.text;
    EXPECT_TRUE(said.join("|").contains("BAD.ADI")) << said.join("|").toStdString();
    EXPECT_TRUE(QFile::exists(home->file("BAD.ADI")));
    EXPECT_EQ(log->LogbookPage->item(0, 2)->text(), "G4XYZ");
}

TEST_F(LogbookWindowsProgram, AtFirstStartEveryColumnShowsWhatItHolds)
{
    start();
    logQso("dl1abc/p", "Hans", 0);
    logQso("g4xyz", "Ann", 1);
    openBoth("dl1abc/p");
    MiniLog* log = MiniLog::existing();
    expectColumnsShowTheirText(*log->LogbookPage, "Mini-Log");
    expectColumnsShowTheirText(*frmPreviousPage::existing()->LogbookPage, "previous QSOs");
    EXPECT_EQ(log->LogbookPage->columnTwips(9), 5000); // the notes

    // Another own call sign reloads the page: its caption follows, its columns stay as wide.
    boxes.answerInput(QStringLiteral("K2NEW"));
    main().mnu("mnuCWID").click();
    EXPECT_EQ(log->windowTitle(), "Logbook for K2NEW.");
    EXPECT_TRUE(log->LogbookPage->item(0, 2)->text().isEmpty());
    expectColumnsShowTheirText(*log->LogbookPage, "Mini-Log for K2NEW");
    EXPECT_EQ(log->LogbookPage->columnTwips(9), 5000);

    // Stored widths are used as they are, also narrower than the text.
    main().close();
    ini::write(home->file("Sondrel.INI"), "Mini-Log", "Column Width 1", "600");
    Sondrel::destroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    start();
    ASSERT_NE(MiniLog::existing(), nullptr);
    EXPECT_EQ(MiniLog::existing()->LogbookPage->columnTwips(1), 600);
    EXPECT_EQ(MiniLog::existing()->LogbookPage->columnWidth(1), 40);
}

TEST_F(LogbookWindowsProgram, WindowsWithNoStoredPlaceOpenBesideTheMainWindow)
{
    ASSERT_EQ(screenArea(), QRect(0, 0, 1024, 768));
    start();
    openBoth("dl1abc");
    const QRect mainFrame = main().frameGeometry();
    const struct {
        const char* name;
        QWidget* window;
    } cases[] = {{"Mini-Log", MiniLog::existing()}, {"previous QSOs", frmPreviousPage::existing()}};
    // Neither covers the main window. (Below it, 1024 pixels are too narrow for both 600-pixel
    // windows side by side and too low for the previous QSOs' ten rows under the Mini-Log: the
    // later one covers the other as little as it can.)
    for (const auto& c : cases) {
        const QRect frame = c.window->frameGeometry();
        EXPECT_TRUE(screenArea().contains(frame)) << c.name << " " << frame;
        EXPECT_FALSE(frame.intersects(mainFrame)) << c.name << " " << frame << " main " << mainFrame;
        EXPECT_EQ(c.window->parentWidget(), &main()) << c.name;
        expectOwnedByMain(c.window, c.name);
    }
}

TEST_F(LogbookWindowsProgram, PreviousQsoRowsAreAsHighAsTheirFontNeeds)
{
    start();
    logQso("dl1abc", "Hans", 0);
    const QString file = home->file("Sondrel.INI");
    const struct {
        int rows;
        const char* points;
    } cases[] = {{10, "9"}, {5, "9"}, {7, "14"}, {10, "12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows of " << c.points << " points");
        UnloadPreviousPage();
        forgetPlace(file, "Previous QSOs");
        ini::write(file, "Previous QSOs", "Logbook Page Rows per Page", QString::number(c.rows));
        ini::write(file, "Previous QSOs", "Logbook Page Font Size", c.points);
        QTest::mouseClick(main().PreviousButton, Qt::LeftButton);
        frmPreviousPage* w = frmPreviousPage::existing();
        ASSERT_NE(w, nullptr);
        LogbookGridView& grid = *w->LogbookPage;
        QCoreApplication::processEvents();
        // Every row and the header show their text whole.
        const int row = grid.rowHeight(0);
        EXPECT_GE(row, grid.fontMetrics().height() + 2);
        EXPECT_GE(grid.horizontalHeader()->height(), grid.horizontalHeader()->sizeHint().height());
        // At the first start the window shows its rows per page, beside the main window where the
        // screen has room for it.
        EXPECT_GE(grid.viewport()->height(), c.rows * row) << w->geometry();
        EXPECT_EQ(grid.verticalScrollBar()->maximum(), 20 - c.rows);
        EXPECT_TRUE(screenArea().contains(w->frameGeometry())) << w->frameGeometry();
        if (roomBesideMain(*w)) {
            EXPECT_FALSE(w->frameGeometry().intersects(main().frameGeometry())) << w->frameGeometry();
        }
        // Made lower, it scrolls its rows instead of squeezing them.
        w->resize(w->width(), w->height() * 2 / 3);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid.rowHeight(0), row);
        EXPECT_GT(grid.verticalScrollBar()->maximum(), 20 - c.rows);
    }
}

// Another grid font: the header follows it, and every column widens to show its text whole.
TEST_F(LogbookWindowsProgram, AnotherFontFitsTheColumnsAndTheHeader)
{
    start();
    logQso("dl1abc/p", "Hans", 0);
    openBoth("dl1abc/p");
    const struct {
        const char* textOf; // what the font and color boxes say they set
        QMainWindow* window;
        LogbookGridView* grid;
        const char* menu;
    } cases[] = {
        {"Previous QSOs", frmPreviousPage::existing(), frmPreviousPage::existing()->LogbookPage, "mnuFont"},
        {"Mini-Log", MiniLog::existing(), MiniLog::existing()->LogbookPage, "mnuFont"},
    };
    for (const auto& c : cases) {
        for (double points : {16.0, 9.0}) {
            SCOPED_TRACE(testing::Message() << c.textOf << " " << points);
            boxes.clear();
            boxes.answerFont(dlg::FontChoice{"DejaVu Sans", points, true, false, 255});
            c.window->findChild<QAction*>(c.menu)->trigger();
            ASSERT_EQ(boxes.calls().size(), 1);
            EXPECT_EQ(boxes.calls()[0].title, c.textOf);
            QCoreApplication::processEvents();
            const QHeaderView& header = *c.grid->horizontalHeader();
            EXPECT_EQ(header.font().pointSizeF(), points);
            EXPECT_TRUE(header.font().bold());
            EXPECT_GE(header.height(), header.sizeHint().height());
            EXPECT_GE(c.grid->rowHeight(0), c.grid->fontMetrics().height());
            expectColumnsShowTheirText(*c.grid, c.textOf);
        }
    }
}

// View > Show Tuning Window and Display > Aux 1 / Aux 2 open their windows as the logbook windows
// open theirs; the channel windows open at shut-down come back at the next start.
TEST_F(LogbookWindowsProgram, TheDisplayWindowsOpenBesideTheMainWindow)
{
    ASSERT_EQ(screenArea(), QRect(0, 0, 1024, 768));
    start();
    const struct {
        const char* menu;
        const char* section;
        const char* top;
        const char* left;
        QWidget* (*window)();
    } windows[] = {
        {"mnuTuningWindow", "Main Tuning Window", "Tuning Window Top", "Tuning Window Left",
         [] { return static_cast<QWidget*>(TuningWindow::existing()); }},
        {"mnuAux1", "Aux 1", "Top", "Left", [] { return static_cast<QWidget*>(AuxWindow::existing(1)); }},
        {"mnuAux2", "Aux 2", "Top", "Left", [] { return static_cast<QWidget*>(AuxWindow::existing(2)); }},
    };
    const struct {
        const char* top;
        const char* left;
        QPoint expected; // where its frame goes; none: beside the main window
    } places[] = {
        {nullptr, nullptr, {}},
        {"3000", "4500", {300, 200}},
        {"-3000", "-9000", {}},  // off the screen
        {"3000", "30000", {}},
    };
    const QString file = home->file("Sondrel.INI");
    for (const auto& w : windows) {
        for (const auto& p : places) {
            SCOPED_TRACE(testing::Message() << w.menu << " " << (p.top ? p.top : "none") << " " << (p.left ? p.left : "none"));
            if (QWidget* open = w.window())
                open->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (p.top) {
                ini::write(file, w.section, w.top, p.top);
                ini::write(file, w.section, w.left, p.left);
            }
            main().mnu(w.menu).click();
            QWidget* shown = w.window();
            ASSERT_NE(shown, nullptr);
            ASSERT_TRUE(shown->isVisible());
            EXPECT_TRUE(screenArea().contains(shown->frameGeometry())) << shown->frameGeometry();
            if (p.expected.isNull())
                EXPECT_FALSE(shown->frameGeometry().intersects(main().frameGeometry())) << shown->frameGeometry();
            else // where it was stored: its frame (a tuning window) or its inside
                EXPECT_TRUE(shown->pos() == p.expected || shown->geometry().topLeft() == p.expected)
                    << shown->geometry();
            expectOwnedByMain(shown, w.menu);
        }
    }
    for (int channel : {1, 2}) {
        AuxWindow* aux = AuxWindow::existing(channel);
        ASSERT_NE(aux, nullptr);
        for (QWidget* box : aux->Statusbar->findChildren<QWidget*>()) // the status line whole
            EXPECT_LE(aux->Statusbar->mapTo(aux, box->geometry().bottomRight()).x(), aux->width()) << channel;
    }

    main().close();
    Sondrel::destroyInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    start();
    for (int channel : {1, 2}) {
        AuxWindow* aux = AuxWindow::existing(channel);
        ASSERT_NE(aux, nullptr) << channel;
        EXPECT_TRUE(aux->isVisible()) << channel;
        EXPECT_TRUE(screenArea().contains(aux->frameGeometry())) << channel << " " << aux->frameGeometry();
        expectOwnedByMain(aux, "channel window at the next start");
    }
}

// The windows shown while it watches, each with whether the main window was in the top-most band
// then, and how often the main window was hidden (as one made anew is; on X11 its id changes too).
class ShowsWatch : public QObject {
public:
    explicit ShowsWatch(QWidget& main) : main_(main) { qApp->installEventFilter(this); }
    QList<QPair<QWidget*, bool>> shown;
    int mainHidden = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && w != &main_ && w->isWindow() && e->type() == QEvent::Show)
            shown.append({w, main_.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint)});
        mainHidden += w == &main_ && e->type() == QEvent::Hide;
        return false;
    }

private:
    QWidget& main_;
};

// With "Always on top", each window is shown while the main window is out of the top-most band,
// and the main window goes back into it as the same native window, still owning every window.
TEST_F(LogbookWindowsProgram, AlwaysOnTopKeepsTheMainWindowAndItsOwnedWindows)
{
    start();
    main().mnu("mnuOnTop").click();
    QWindow* native = main().windowHandle();
    const WId id = main().winId();
    const struct {
        const char* name;
        std::function<void()> show;
    } cases[] = {
        {"Page", [this] { QTest::mouseClick(main().PageButton, Qt::LeftButton); }},
        {"Prev", [this] { QTest::mouseClick(main().PreviousButton, Qt::LeftButton); }},
        {"Show Tuning Window", [this] { main().mnu("mnuTuningWindow").click(); }},
        {"Aux 1", [this] { main().mnu("mnuAux1").click(); }},
    };
    QList<QWidget*> owned;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShowsWatch watch(main());
        c.show();
        ASSERT_FALSE(watch.shown.isEmpty());
        for (const auto& [window, mainInBand] : watch.shown) {
            EXPECT_FALSE(mainInBand) << window->objectName().toStdString();
            owned << window;
        }
        EXPECT_EQ(watch.mainHidden, 0);
        EXPECT_EQ(main().windowHandle(), native);
        EXPECT_EQ(main().winId(), id);
        EXPECT_TRUE(native->flags().testFlag(Qt::WindowStaysOnTopHint));
        for (QWidget* w : owned) {
            EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
            expectOwnedByMain(w, c.name);
        }
    }
    main().mnu("mnuOnTop").click();
    EXPECT_FALSE(native->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(LogbookWindowsProgram, AStoredPlaceIsUsedOnTheScreen)
{
    ASSERT_EQ(screenArea(), QRect(0, 0, 1024, 768));
    start();
    const struct {
        const char* section;
        const char* top;
        const char* left;
        QPoint expected; // the place in pixels; none: anywhere wholly on the screen
        bool beside;     // off the screen: beside the main window, as with no stored place
    } cases[] = {
        {"Mini-Log", "3000", "4500", {300, 200}, false},
        {"Previous QSOs", "1500", "6000", {400, 100}, false},
        {"Mini-Log", "0", "0", {}, false},          // only the title bar would be above the screen
        {"Mini-Log", "20000", "30000", {}, true},   // off the right and the bottom
        {"Previous QSOs", "-5000", "-9000", {}, true},
        {"Previous QSOs", "-3000", "-9000", {}, true},
        {"Mini-Log", "3000", "12000", {}, true},    // partly off the right
    };
    const QString file = home->file("Sondrel.INI");
    for (const auto& c : cases) {
        UnloadMiniLog();
        UnloadPreviousPage();
        ini::write(file, c.section, "Top", c.top);
        ini::write(file, c.section, "Left", c.left);
        openBoth("dl1abc");
        QWidget* w = QLatin1String(c.section) == QLatin1String("Mini-Log") ? static_cast<QWidget*>(MiniLog::existing())
                                                                          : frmPreviousPage::existing();
        EXPECT_TRUE(screenArea().contains(w->frameGeometry())) << c.section << " " << c.top << " " << w->frameGeometry();
        if (!c.expected.isNull()) {
            EXPECT_EQ(w->geometry().topLeft(), c.expected) << c.section << " " << c.top;
        }
        if (c.beside) {
            EXPECT_FALSE(w->frameGeometry().intersects(main().frameGeometry())) << c.section << " " << c.top;
        }
        EXPECT_EQ(w->windowHandle()->transientParent(), main().windowHandle()) << c.section;
    }
}

} // namespace
