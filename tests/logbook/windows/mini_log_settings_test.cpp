// The Mini-Log's section "Mini-Log": what the window reads when it loads, what its "&ToolBox"
// commands write, and what its unload writes.
#include "logbook_windows_fixture.h"

#include "platform/system/inifile.h"
#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace {

using MiniLogSettings = LogbookWindowsFixture;

TEST_F(MiniLogSettings, KeysAreReadAtLoad)
{
    const struct {
        std::vector<std::pair<const char*, const char*>> stored;
        QRect twipsPlace; // left, top, width, height
        const char* font;
        double size;
        bool bold, italic;
        std::int32_t back, text, editBack, editFore;
    } cases[] = {
        {{}, {0, 0, 9000, 2000}, "Arial", 9, false, false, 16777215, 0, 12648447, 255},
        {{{"Top", "1500"}, {"Left", "750"}, {"Width", "6000"}, {"Height", "3000"},
          {"Logbook Page Background Color", "65535"}, {"Logbook Page Font", "Courier"},
          {"Logbook Page Font Size", "10.5"}, {"Logbook Page Font Bold", "True"},
          {"Logbook Page Font Italic", "true"}, {"Logbook Page Text Color", "255"},
          {"Logbook Page Edit Background Color", "0"}, {"Logbook Page Edit ForeColor", "16777215"}},
         {750, 1500, 6000, 3000}, "Courier", 10.5, true, true, 65535, 255, 0, 16777215},
        // Values that are no numbers or truth values take the defaults; sizes never go negative.
        {{{"Top", "x"}, {"Width", "9000 twips"}, {"Height", "tall"}, {"Logbook Page Background Color", "blue"},
          {"Logbook Page Font Size", "big"}, {"Logbook Page Font Bold", "yes"}, {"Logbook Page Edit ForeColor", "-5"}},
         {0, 0, 9000, 2000}, "Arial", 9, false, false, 16777215, 0, 12648447, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        QFile::remove(home->file("Sondrel.INI"));
        for (const auto& [key, value] : c.stored)
            ini::write(home->file("Sondrel.INI"), "Mini-Log", key, value);
        MiniLog& w = MiniLog::instance();
        const QRect g = w.geometry();
        EXPECT_EQ(g.left(), twips::toPixels(c.twipsPlace.left()));
        EXPECT_EQ(g.top(), twips::toPixels(c.twipsPlace.top()));
        EXPECT_EQ(g.width(), twips::toPixels(c.twipsPlace.width()));
        EXPECT_EQ(g.height(), twips::toPixels(c.twipsPlace.height()));
        EXPECT_EQ(w.LogbookPage->font().family(), c.font);
        EXPECT_EQ(w.LogbookPage->font().pointSizeF(), c.size);
        EXPECT_EQ(w.LogbookPage->font().bold(), c.bold);
        EXPECT_EQ(w.LogbookPage->font().italic(), c.italic);
        EXPECT_EQ(w.LogbookPage->backColor(), c.back);
        EXPECT_EQ(w.LogbookPage->textColor(), c.text);
        EXPECT_EQ(w.editBackColor(), c.editBack);
        EXPECT_EQ(w.editForeColor(), c.editFore);
        EXPECT_EQ(w.windowTitle(), "Logbook for W1OP.");
        EXPECT_EQ(MiniLogOpen, "True");
        w.Unload();
        EXPECT_EQ(MiniLogOpen, "False");
    }
    EXPECT_TRUE(boxes.calls().isEmpty());

    // A negative size is no size: the window and its grid keep a size of their own.
    ini::write(home->file("Sondrel.INI"), "Mini-Log", "Width", "-4000");
    ini::write(home->file("Sondrel.INI"), "Mini-Log", "Height", "-9000");
    MiniLog& w = miniLog();
    EXPECT_GT(w.width(), 0);
    EXPECT_GE(w.LogbookPage->width(), 0);
    EXPECT_GE(w.LogbookPage->height(), 0);
    w.Unload();
    EXPECT_FALSE(ini("Mini-Log", "Width").startsWith("-"));
    EXPECT_FALSE(ini("Mini-Log", "Height").startsWith("-"));
}

TEST_F(MiniLogSettings, UnloadWritesPlaceWidthsAndWhetherItReopens)
{
    MiniLogColumnWidths = {"700", "1400", "1000", "520", "520", "520", "520", "1000", "1800", "oops"};
    ini::write(home->file("Sondrel.INI"), "Mini-Log", "Height", "2000");
    MiniLog& w = MiniLog::instance();
    EXPECT_EQ(w.LogbookPage->columnTwips(9), 5000); // no number: the default width
    w.LogbookPage->setColumnTwips(2, 2000);
    w.mnu("mnuExit").click();
    EXPECT_EQ(ini("Mini-Log", "Page Loaded"), "False");
    // In Str form; a window not moved or sized writes what it read.
    for (const char* line : {"Top= 0\r\n", "Left= 0\r\n", "Height= 2000\r\n", "Width= 9000\r\n"})
        EXPECT_TRUE(iniText().contains(line)) << line;
    const QStringList widths = {"0", "1400", "2000", "520", "520", "520", "520", "1000", "1800", "5000"};
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(ini("Mini-Log", QStringLiteral("Column Width %1").arg(c)), widths[c]) << c;
        EXPECT_EQ(MiniLogColumnWidths[static_cast<size_t>(c)], widths[c]) << c;
    }
    EXPECT_EQ(MiniLog::existing(), nullptr);

    // Reset the columns, then shut the program down with the window open.
    MiniLog& again = MiniLog::instance();
    again.LogbookPage->setColumnTwips(9, 800);
    again.mnu("mnuAppearance").click();
    again.resize(twips::toPixels(6000), twips::toPixels(3000));
    SpectrumHold = true;
    UnloadMiniLog();
    SpectrumHold = false;
    EXPECT_EQ(ini("Mini-Log", "Page Loaded"), "True");
    EXPECT_EQ(MiniLogOpen, "True");
    EXPECT_TRUE(iniText().contains("Width= 6000\r\n"));
    // The defaults, each widened to what its column shows in the grid's font.
    EXPECT_GE(ini("Mini-Log", "Column Width 2").toInt(), 1000);
    EXPECT_EQ(ini("Mini-Log", "Column Width 9"), "5000");
}

TEST_F(MiniLogSettings, TheToolBoxCommandsWriteWhatIsChosen)
{
    MiniLog& w = miniLog();
    // Cancelled dialogs change and write nothing.
    for (const char* item : {"mnuFont", "mnuBackground", "mnuEditForeColor", "mnuEditBackColor"})
        w.mnu(item).click();
    EXPECT_EQ(iniText().indexOf("Logbook Page"), -1);
    EXPECT_EQ(w.LogbookPage->font().family(), "Arial");

    boxes.answerFont(dlg::FontChoice{"Courier", 10.5, true, false, 8421376});
    w.mnu("mnuFont").click();
    ASSERT_EQ(boxes.calls().size(), 5);
    EXPECT_EQ(boxes.calls()[4].kind, dlg::BoxCall::Font);
    EXPECT_EQ(ini("Mini-Log", "Logbook Page Font"), "Courier");
    EXPECT_EQ(ini("Mini-Log", "Logbook Page Font Size"), "10.5");
    EXPECT_EQ(ini("Mini-Log", "Logbook Page Font Bold"), "True");
    EXPECT_EQ(ini("Mini-Log", "Logbook Page Font Italic"), "False");
    EXPECT_EQ(ini("Mini-Log", "Logbook Page Text Color"), "8421376");
    EXPECT_EQ(w.LogbookPage->textColor(), 8421376);
    EXPECT_TRUE(w.LogbookPage->font().bold());

    const struct {
        const char* item;
        const char* key;
        std::int32_t colour;
    } colours[] = {{"mnuBackground", "Logbook Page Background Color", 12632256},
                   {"mnuEditBackColor", "Logbook Page Edit Background Color", 65280},
                   {"mnuEditForeColor", "Logbook Page Edit ForeColor", 16711680}};
    for (const auto& c : colours) {
        boxes.answerColour(c.colour);
        w.mnu(c.item).click();
        EXPECT_EQ(ini("Mini-Log", c.key), QString::number(c.colour)) << c.item;
    }
    EXPECT_EQ(w.LogbookPage->backColor(), 12632256);
    EXPECT_EQ(w.editBackColor(), 65280);
    EXPECT_EQ(w.editForeColor(), 16711680);
    EXPECT_EQ(w.Text1->palette().color(QPalette::Base), rgb::toColor(65280));
}

// While an export or import runs, the grid cannot be edited, the menus do nothing and a close
// waits for the run to end.
TEST_F(MiniLogSettings, ARunningTransferLocksTheWindowUntilItEnds)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    bool running = false;
    QStringList ran;
    MiniLog& w = miniLog();
    QPointer<MiniLog> window(&w);
    LogTransfer().Running = [&] { return running; };
    LogTransfer().ExportADIF = [&] {
        ran << "ExportADIF";
        EXPECT_FALSE(w.menuBar()->isEnabled());
        // The operator clicks around while the export yields.
        edit(1, 7);
        EXPECT_FALSE(w.Text1->isVisible());
        w.mnu("mnuExportCSV").click();
        w.mnu("mnuDeleteLogbook").click();
        w.close();
        EXPECT_TRUE(window);
        EXPECT_TRUE(w.Command1->isHidden());
        w.Command1->show();
        w.Command1->click();
        EXPECT_TRUE(w.CancelRequested);
        running = true; // still running when the menu's call returns
    };
    edit(1, 7);
    w.mnu("mnuExportADI").click();
    EXPECT_EQ(ran, QStringList{"ExportADIF"});
    EXPECT_FALSE(w.Text1->isVisible());
    EXPECT_TRUE(boxes.calls().isEmpty());
    EXPECT_TRUE(window);
    EXPECT_FALSE(w.menuBar()->isEnabled());
    EXPECT_EQ(MiniLogOpen, "True");

    running = false;
    EXPECT_TRUE(QTest::qWaitFor([] { return !MiniLog::existing(); }, 5000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window); // closed once the run had ended
    EXPECT_EQ(MiniLogOpen, "False");
    EXPECT_EQ(ini("Mini-Log", "Page Loaded"), "False");
    EXPECT_EQ(stored(QSOKeyText(kNoon2024))[fCallsign], "DL1ABC");
}

} // namespace
