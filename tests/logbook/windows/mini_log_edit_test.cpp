// Editing the Mini-Log's grid in place: the write-back of each column, re-keying a QSO whose date
// or time changes, the editor's keys, its typing rules, and what drops an edit.
#include "logbook_windows_fixture.h"

#include "logbook/exchange/import_export.h"
#include "logbook/store/logbook_page.h"
#include "platform/widgets/menuitem.h"

#include <QLineEdit>
#include <QTest>

namespace {

using MiniLogEdit = LogbookWindowsFixture;

TEST_F(MiniLogEdit, EachColumnIsWrittenBackAsStored)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    const QString key = QSOKeyText(kNoon2024);
    const struct {
        int column;
        const char* typed;
        QSOField field;
        const char* stored;
    } cases[] = {
        {2, "k1abc ", fCallsign, "K1ABC"}, {3, "20m", fBand, "20M"},     {4, "psk", fMode, "PSK"},
        {5, " 5nn", fRSTSent, "5NN"},      {6, "57x", fRSTRcvd, "57X"},  {7, " Jane ", fName, "Jane"},
        {8, " Bonn am Rhein ", fQTH, "Bonn am Rhein"}, {9, "cq dx", fNotes, "cq dx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        edit(1, c.column);
        type(QString::fromLatin1(c.typed), Qt::Key_Return);
        EXPECT_EQ(stored(key)[c.field], c.stored);
        EXPECT_EQ(cell(1, c.column), c.stored);
        EXPECT_FALSE(miniLog().Text1->isVisible());
    }
    EXPECT_EQ(stored(key)[fOperator], "W1OP");
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(MiniLogEdit, AnUnchangedTextWritesNothing)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    const QString key = QSOKeyText(kNoon2024);
    edit(1, 7);
    // The logbook changes behind the grid's back; Enter on the unchanged cell must not touch it.
    QSORecord r = stored(key);
    r[fName] = QStringLiteral("Otto");
    ASSERT_EQ(LogbookPut(key, r, VmxReplace), 0);
    CurrentQSO[fName] = QStringLiteral("sentinel");
    press(Qt::Key_Return);
    EXPECT_EQ(stored(key)[fName], "Otto");
    EXPECT_EQ(CurrentQSO[fName], "sentinel");
    EXPECT_EQ(cell(1, 7), "Hans");
}

TEST_F(MiniLogEdit, ANewDateAndTimeMovesTheQsoToItsNewKey)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    putQso("G4XYZ", kNoon2024 + 60 * kSecond, "W1OP", "Ann");
    const QString taken = QSOKeyText(kNoon2024);
    const QString moved = QSOKeyText(kNoon2024 + 60 * kSecond);

    // To a time that is taken: refused, both QSOs as they were.
    edit(1, 1);
    ASSERT_EQ(cell(1, 2), "G4XYZ");
    type("01 Jan 24  12:00", Qt::Key_Return);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].title, "Duplicate Date/Time");
    EXPECT_EQ(boxes.messages()[0].text,
              "There is a QSO logged at this exact Date/Time.  Try adding a second to the time and try again");
    EXPECT_EQ(stored(taken)[fCallsign], "DL1ABC");
    EXPECT_EQ(stored(moved)[fCallsign], "G4XYZ");

    // A refused date: nothing written.
    boxes.clear();
    edit(1, 1);
    type("31 Apr 24  12:30", Qt::Key_Return);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].title, "Invalid date");
    EXPECT_EQ(stored(moved)[fCallsign], "G4XYZ");

    // To a free time a day earlier: added under the new key, gone from the old one, and the page
    // rebuilt in time order.
    boxes.clear();
    edit(1, 1);
    type("31 Dec 23  09:15:30", Qt::Key_Return);
    EXPECT_TRUE(boxes.calls().isEmpty());
    QSORecord gone;
    EXPECT_NE(LogbookGet(0, VmxGetEqual, moved, gone), 0);
    const QString key = QStringLiteral("45291.3857638889");
    EXPECT_EQ(stored(key)[fCallsign], "G4XYZ");
    EXPECT_EQ(stored(key)[fName], "Ann");
    EXPECT_EQ(cell(1, 2), "DL1ABC");
    EXPECT_EQ(cell(2, 2), "G4XYZ");
    EXPECT_EQ(cell(2, 0), key);
    EXPECT_EQ(cell(2, 1), "31 Dec 23  09:15");
}

TEST_F(MiniLogEdit, AMovedQsoTakesItsStartAlongAndExportsOnItsNewDay)
{
    constexpr double kMinute = 60 * kSecond, kNoStart = -1;
    const struct {
        const char* what;
        double key, timeOn;
        const char* typed;
        double newKey, movedTimeOn;
        const char* dates; // the export's date and time items
    } cases[] = {
        {"a day forward", kNoon2024, kNoon2024 - 90 * kSecond, "02 Jan 24  12:00", kNoon2024 + 1,
         kNoon2024 + 1 - 90 * kSecond, "<QSO_DATE:8>20240102 <TIME_OFF:6>120000 "},
        {"a day back and a minute on", kNoon2024, kNoon2024 - 90 * kSecond, "31 Dec 23  12:01",
         kNoon2024 - 1 + kMinute, kNoon2024 - 1 - 30 * kSecond, "<QSO_DATE:8>20231231 <TIME_OFF:6>120100 "},
        {"no start", kNoon2024, kNoStart, "02 Jan 24  12:00", kNoon2024 + 1, kNoStart,
         "<QSO_DATE:8>20240102 <TIME_OFF:6>120000 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QSORecord r;
        r[fCallsign] = QStringLiteral("DL1ABC");
        r[fOperator] = QStringLiteral("W1OP");
        if (c.timeOn != kNoStart)
            r[fTimeOn] = QSOKeyText(c.timeOn);
        ASSERT_EQ(LogbookPut(QSOKeyText(c.key), r, VmxAdd), 0);
        LoadLogbookPage();
        edit(1, 1);
        type(QString::fromLatin1(c.typed), Qt::Key_Return);
        EXPECT_TRUE(boxes.calls().isEmpty());
        const QString key = QSOKeyText(c.newKey);
        const QSORecord moved = stored(key);
        EXPECT_EQ(moved[fTimeOn], c.movedTimeOn == kNoStart ? QString() : QSOKeyText(c.movedTimeOn));
        EXPECT_TRUE(ADIFLine(key, moved, "W1OP").startsWith(QByteArray("<OPERATOR:4>W1OP ") + c.dates + "<CALL:"))
            << ADIFLine(key, moved, "W1OP").toStdString();
        ASSERT_EQ(LogbookDelete(key), 0);
    }
}

TEST_F(MiniLogEdit, ArrowKeysMoveTheEditorWithinThePage)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    enum Caret { Start, Middle, End };
    const struct {
        int row, column;
        Caret caret;
        Qt::Key key;
        int toRow, toColumn;
    } cases[] = {
        {1, 7, End, Qt::Key_Right, 1, 8},     {1, 7, Middle, Qt::Key_Right, 1, 7},
        {1, 9, End, Qt::Key_Right, 1, 9},     {1, 7, Start, Qt::Key_Left, 1, 6},
        {1, 7, Middle, Qt::Key_Left, 1, 7},   {1, 1, Start, Qt::Key_Left, 1, 1},
        {1, 7, Middle, Qt::Key_Down, 2, 7},   {20, 7, End, Qt::Key_Down, 20, 7},
        {2, 3, Start, Qt::Key_Up, 1, 3},      {1, 3, Start, Qt::Key_Up, 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column << " key " << c.key);
        edit(c.row, c.column);
        QLineEdit* box = miniLog().Text1;
        box->setText(QStringLiteral("abc"));
        box->setCursorPosition(c.caret == Start ? 0 : c.caret == Middle ? 1 : 3);
        MiniLogPage.cell(c.row, c.column) = box->text(); // unchanged: nothing is written
        miniLog().LogbookPage->item(c.row - 1, c.column)->setText(box->text());
        press(c.key);
        EXPECT_EQ(miniLog().LogbookPage->Row(), c.toRow);
        EXPECT_EQ(miniLog().LogbookPage->Col(), c.toColumn);
        EXPECT_TRUE(box->isVisible());
        if (c.toRow != c.row || c.toColumn != c.column) {
            EXPECT_EQ(box->text(), cell(c.toRow, c.toColumn)); // reopened on the new cell
        }
    }
    EXPECT_EQ(stored(QSOKeyText(kNoon2024))[fName], "Hans");
    EXPECT_TRUE(boxes.calls().isEmpty());
}

TEST_F(MiniLogEdit, AnArrowKeyWritesTheCellItLeaves)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    edit(1, 7);
    type("Johann", Qt::Key_Right);
    EXPECT_EQ(stored(QSOKeyText(kNoon2024))[fName], "Johann");
    EXPECT_EQ(miniLog().LogbookPage->Col(), 8);
    EXPECT_EQ(miniLog().Text1->text(), "QTH of Hans");
}

TEST_F(MiniLogEdit, ALongImportedNoteSurvivesAnEditOfAnotherCell)
{
    QSORecord r;
    r[fCallsign] = QStringLiteral("DL1ABC");
    r[fOperator] = QStringLiteral("W1OP");
    r[fNotes] = QString(150, QLatin1Char('n'));
    const QString key = QSOKeyText(kNoon2024);
    ASSERT_EQ(LogbookPut(key, r, VmxAdd), 0);
    edit(1, 9);
    EXPECT_EQ(miniLog().Text1->text().size(), 150);
    press(Qt::Key_Left); // caret at the start: to the QTH cell, nothing written
    type("Bonn", Qt::Key_Return);
    EXPECT_EQ(stored(key)[fNotes].size(), 150);
    EXPECT_EQ(cell(1, 9).size(), 150);

    // Typing stops at the column's length; what is typed in the call and mode columns is upper case.
    edit(1, 4);
    miniLog().Text1->clear();
    QTest::keyClicks(miniLog().Text1, "psk31");
    EXPECT_EQ(miniLog().Text1->text(), "PSK3");
    edit(1, 3);
    miniLog().Text1->clear();
    QTest::keyClicks(miniLog().Text1, "20m");
    EXPECT_EQ(miniLog().Text1->text(), "20m");
    edit(1, 2);
    miniLog().Text1->clear();
    QTest::keyClicks(miniLog().Text1, "dl1abc/p");
    EXPECT_EQ(miniLog().Text1->text(), "DL1ABC/P");
}

TEST_F(MiniLogEdit, EscapeDeactivationAndARightClickWriteNothing)
{
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    const QString key = QSOKeyText(kNoon2024);
    edit(1, 7);
    type("Otto", Qt::Key_Escape);
    EXPECT_FALSE(miniLog().Text1->isVisible());
    EXPECT_EQ(cell(1, 7), "Hans");
    edit(1, 1);
    EXPECT_TRUE(miniLog().mnu("mnuDelete").enabled());
    miniLog().Text1->setText("Otto");
    miniLog().Form_Deactivate();
    EXPECT_FALSE(miniLog().Text1->isVisible());
    EXPECT_FALSE(miniLog().mnu("mnuDelete").enabled());
    EXPECT_EQ(stored(key)[fName], "Hans");

    // Mouse presses on a cell: the right button opens nothing, the left one opens the editor.
    LogbookGridView* grid = miniLog().LogbookPage;
    const QPoint name = grid->visualRect(grid->model()->index(0, 7)).center();
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, name);
    EXPECT_FALSE(miniLog().Text1->isVisible());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, name);
    EXPECT_TRUE(miniLog().Text1->isVisible());
    EXPECT_EQ(miniLog().Text1->text(), "Hans");
    EXPECT_EQ(grid->Col(), 7);
}

TEST_F(MiniLogEdit, AnOpenEditorStaysWithItsQsoWhenOneIsLogged)
{
    putQso("DL1ABC", kNoon2024 - 1, "W1OP", "Hans");
    edit(1, 7);
    miniLog().Text1->setText("Johann");
    // A QSO logged meanwhile (a macro, the Log button) moves the rows down.
    clock.setUtc(QDateTime(QDate(2024, 1, 1), QTime(12, 5), Qt::UTC));
    fillPanel("G4XYZ");
    LogAndClear();
    ASSERT_EQ(cell(1, 2), "G4XYZ");
    EXPECT_EQ(miniLog().LogbookPage->Row(), 2);
    press(Qt::Key_Return);
    EXPECT_EQ(stored(QSOKeyText(kNoon2024 - 1))[fName], "Johann");
    EXPECT_EQ(stored(QSOKeyText(kNoon2024 + 300 * kSecond))[fName], "Hans"); // the panel's name
}

} // namespace
