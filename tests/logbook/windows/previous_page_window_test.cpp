// The previous-QSO window: its rows as the call sign changes, its layout and rows per page, and
// its section "Previous QSOs".
#include "logbook_windows_fixture.h"

#include "logbook/qso/qso_panel.h"
#include "platform/system/inifile.h"
#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"

#include <QHeaderView>
#include <QLineEdit>

namespace {

using PreviousPageWindow = LogbookWindowsFixture;

int filledRows()
{
    int n = 0;
    for (int r = 1; r <= 20; ++r)
        n += !PreviousQSOsPage.cell(r, 0).isEmpty();
    return n;
}

TEST_F(PreviousPageWindow, RowsFollowTheCallSign)
{
    for (int i = 0; i < 25; ++i)
        putQso("DL1ABC", kNoon2024 + i * kSecond, i % 2 ? "W1OP" : "W2XYZ", QStringLiteral("Hans%1").arg(i));
    for (int i = 0; i < 3; ++i)
        putQso("G4XYZ", kNoon2024 + (100 + i) * kSecond, "W1OP", "Ann");
    main().CallsignBox->setText("DL1ABC");
    PreviousButton_Click();
    frmPreviousPage* w = frmPreviousPage::existing();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(PreviousPageOpen, "True");
    EXPECT_EQ(w->windowTitle(), "Previous QSOs with DL1ABC");
    EXPECT_EQ(filledRows(), 20);
    EXPECT_EQ(LogbookStatus, 0);
    EXPECT_EQ(w->LogbookPage->item(0, 2)->text(), "DL1ABC");
    EXPECT_EQ(w->LogbookPage->item(0, 1)->text(), "01 Jan 24  12:00");
    EXPECT_EQ(w->LogbookPage->item(1, 7)->text(), "Hans1");
    EXPECT_EQ(w->LogbookPage->horizontalHeaderItem(1)->text(), "Date/Time UTC");

    // Fewer QSOs empty the rows after them; two characters leave the page as it was.
    main().CallsignBox->setText("G4XYZ");
    EXPECT_EQ(filledRows(), 3);
    EXPECT_TRUE(w->LogbookPage->item(3, 2)->text().isEmpty());
    main().CallsignBox->setText("G4");
    EXPECT_EQ(filledRows(), 3);
    main().CallsignBox->setText("K9NEW");
    EXPECT_EQ(filledRows(), 0);
    EXPECT_EQ(w->windowTitle(), "Previous QSOs with ");
    main().CallsignBox->setText("G4XYZ");
    ClearButton_Click();
    EXPECT_EQ(filledRows(), 0);
    EXPECT_EQ(w->windowTitle(), "Previous QSOs with G4XYZ");
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(PreviousPageWindow, RowsPerPageShareTheGridHeight)
{
    // A window 4440 twips high has a grid 3740 twips high. The rows' heights are exact for a font
    // whose rows fit in 320 twips: DejaVu Sans, which every desktop's fonts include.
    ini::write(home->file("Sondrel.INI"), "Previous QSOs", "Logbook Page Font", "DejaVu Sans");
    ini::write(home->file("Sondrel.INI"), "Previous QSOs", "Height", "4440");
    ini::write(home->file("Sondrel.INI"), "Previous QSOs", "Logbook Page Rows per Page", "7");
    frmPreviousPage& w = frmPreviousPage::instance();
    w.show();
    const struct {
        std::int16_t rows;
        int rowTwips;
        const char* ticked;
    } cases[] = {{7, 440, "mnu7rows"}, {10, 320, "mnu10rows"}, {4, 704, ""}, {-1, 1760, ""}, {5, 587, "mnu5rows"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        if (c.rows != 7)
            w.SetupNumRows(c.rows);
        EXPECT_EQ(w.gridTwips().height(), 3740);
        EXPECT_EQ(w.LogbookPage->rowHeight(0), twips::toPixels(c.rowTwips));
        EXPECT_EQ(w.LogbookPage->horizontalHeader()->height(), twips::toPixels(c.rowTwips));
        for (int n = 5; n <= 10; ++n)
            EXPECT_EQ(w.mnu(QStringLiteral("mnu%1rows").arg(n)).checked(), QStringLiteral("mnu%1rows").arg(n) == c.ticked);
    }
    EXPECT_EQ(w.mnu("mnu5rows").caption(), " 5 Rows per Page");
    EXPECT_EQ(w.mnu("mnu10rows").caption(), "10 Rows per page");
    w.mnu("mnu8rows").click();
    EXPECT_EQ(w.rowsPerPage(), 8);
    // A window too small for its grid gives a grid of no size, never a negative one.
    w.resize(20, 20);
    EXPECT_EQ(w.gridTwips().height(), 0);
    EXPECT_GE(w.gridTwips().width(), 0);
    EXPECT_GE(w.LogbookPage->rowHeight(0), 1);
}

TEST_F(PreviousPageWindow, ItsSectionIsReadAndWritten)
{
    ini::write(home->file("Sondrel.INI"), "Previous QSOs", "Logbook Page Show Grid", "0");
    ini::write(home->file("Sondrel.INI"), "Previous QSOs", "Logbook Page Font", "Courier");
    PreviousQSOsColumnWidths = {"300", "1400", "1000", "520", "520", "520", "520", "1000", "1800", "5000"};
    frmPreviousPage& w = frmPreviousPage::instance();
    EXPECT_FALSE(w.mnu("mnuGridLines").checked());
    EXPECT_FALSE(w.LogbookPage->showGrid());
    EXPECT_EQ(w.LogbookPage->font().family(), "Courier");
    w.mnu("mnuGridLines").click();
    EXPECT_TRUE(w.mnu("mnuGridLines").checked());
    EXPECT_TRUE(w.LogbookPage->showGrid());
    EXPECT_EQ(ini("Previous QSOs", "Logbook Page Show Grid"), "1");
    boxes.answerColour(255);
    w.mnu("mnuBackground").click();
    EXPECT_EQ(ini("Previous QSOs", "Logbook Page Background Color"), "255");
    w.LogbookPage->setColumnTwips(9, 700);
    w.SetupNumRows(6);

    // Closed by the operator: recorded as closed, column 0 stored as 0.
    w.mnu("mnuExit").click();
    EXPECT_EQ(PreviousPageOpen, "False");
    EXPECT_EQ(ini("Previous QSOs", "Page Loaded"), "False");
    EXPECT_EQ(ini("Previous QSOs", "Logbook Page Rows per Page"), "6");
    EXPECT_EQ(ini("Previous QSOs", "Column Width 0"), "0");
    EXPECT_EQ(ini("Previous QSOs", "Column Width 9"), "700");
    EXPECT_TRUE(iniText().contains("Width= 9000\r\n"));
    EXPECT_EQ(PreviousQSOsColumnWidths[9], "700");

    // Open at shut-down: recorded as open, and the flag stays.
    frmPreviousPage::instance().mnu("mnuAppearance").click();
    SpectrumHold = true;
    UnloadPreviousPage();
    SpectrumHold = false;
    EXPECT_EQ(ini("Previous QSOs", "Page Loaded"), "True");
    EXPECT_EQ(PreviousPageOpen, "True");
    EXPECT_EQ(ini("Previous QSOs", "Column Width 9"), "5000");
    EXPECT_EQ(ini("Previous QSOs", "Logbook Page Rows per Page"), "6");
}

} // namespace
