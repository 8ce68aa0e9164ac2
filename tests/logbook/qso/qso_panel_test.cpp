#include "logbook_fixture.h"

#include "platform/widgets/menuitem.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {

class QsoPanel : public LogbookFixture {
protected:
    void showActive()
    {
        main().show();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    }
    static void focusIn(QWidget* w)
    {
        QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(w, &e);
    }
    // The next widget that Tab stops at after `from` (its own inner widgets skipped).
    static QWidget* nextStop(QWidget* from)
    {
        QWidget* x = from->nextInFocusChain();
        while (x != from && (from->isAncestorOf(x) || !(x->focusPolicy() & Qt::TabFocus)))
            x = x->nextInFocusChain();
        return x;
    }
};

TEST_F(QsoPanel, EachBoxKeepsItsVariable)
{
    Sondrel& w = main();
    const struct { QLineEdit* box; QString* variable; } boxes[] = {
        {w.NameBox, &OtherName}, {w.MyRSTBox, &MyRST}, {w.HisRSTBox, &HisRST}, {w.NotesBox, &QSOComment}};
    for (const auto& b : boxes) {
        b.box->setText(QStringLiteral(" 5 9 9 "));
        EXPECT_EQ(*b.variable, " 5 9 9 ") << b.box->objectName().toStdString();
        b.box->clear();
        EXPECT_EQ(*b.variable, "") << b.box->objectName().toStdString();
    }
    w.QTHBox->setText(QStringLiteral("Bonn"));
    w.BandBox->setEditText(QStringLiteral("40"));
    EXPECT_EQ(CurrentBand, "40");
}

TEST_F(QsoPanel, ABandFromTheListSendsTheFocusToTheTransmitWindow)
{
    showActive();
    Sondrel& w = main();
    LoadBands();
    w.BandBox->setFocus();
    w.BandBox->setCurrentIndex(10);
    emit w.BandBox->activated(10);
    EXPECT_EQ(CurrentBand, "160");
    EXPECT_EQ(QApplication::focusWidget(), w.TxWindow);
}

TEST_F(QsoPanel, ABandTypedAndEnteredIsKeptButNeverJoinsTheList)
{
    showActive();
    Sondrel& w = main();
    LoadBands();
    for (const char* typed : {"1.25", "11", "20"}) {
        SCOPED_TRACE(typed);
        w.BandBox->setFocus();
        w.BandBox->lineEdit()->selectAll();
        QTest::keyClicks(w.BandBox->lineEdit(), QString::fromLatin1(typed));
        QTest::keyClick(w.BandBox->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(w.BandBox->currentText(), QString::fromLatin1(typed));
        EXPECT_EQ(CurrentBand, QString::fromLatin1(typed));
        ASSERT_EQ(w.BandBox->count(), 11);
        EXPECT_EQ(w.BandBox->itemText(0), "2");
        EXPECT_EQ(w.BandBox->itemText(10), "160");
    }
}

TEST_F(QsoPanel, TypedLettersBecomeCapitalsButSetTextDoesNot)
{
    Sondrel& w = main();
    putQso("DL1ABC", kNoon2024, "W1OP", "Hans");
    w.mnu("mnuAutoCDLookup").setChecked(true);
    QTest::keyClicks(w.CallsignBox, QStringLiteral("dl1abc"));
    EXPECT_EQ(w.CallsignBox->text(), "DL1ABC");
    EXPECT_EQ(hooks.count("DoCDLookup"), 4);
    EXPECT_EQ(w.NameBox->text(), "Hans");
    QTest::keyClick(w.CallsignBox, Qt::Key_Backspace);
    EXPECT_EQ(w.CallsignBox->text(), "DL1AB");
    w.CallsignBox->setText(QStringLiteral("dl1x"));
    EXPECT_EQ(w.CallsignBox->text(), "dl1x");
    EXPECT_EQ(PreviousQSOCall, "dl1x");
}

TEST_F(QsoPanel, ALookUpPutsTheFocusBackIntoAShownCallSignBox)
{
    showActive();
    Sondrel& w = main();
    w.TxWindow->setFocus();
    w.CallsignBox->setText(QStringLiteral("DL1ABC"));
    EXPECT_EQ(QApplication::focusWidget(), w.CallsignBox);
    w.vsElastic3->hide();
    w.TxWindow->setFocus();
    w.CallsignBox->setText(QStringLiteral("DL1ABD"));
    EXPECT_EQ(QApplication::focusWidget(), w.TxWindow);
    EXPECT_EQ(PreviousQSOCall, "DL1ABD");
}

TEST_F(QsoPanel, ClearEmptiesSixBoxesButNotTheBand)
{
    showActive();
    Sondrel& w = main();
    fillPanel();
    PreviousQSOCall = QStringLiteral("DL1ABC");
    PreviousPageOpen = QStringLiteral("True");
    PreviousQSOsPage.caption = QStringLiteral("Previous QSOs with DL1ABC");
    PreviousQSOsPage.cell(1, 2) = QStringLiteral("DL1ABC");
    NewQSO[fTimeOn] = QStringLiteral(" 45292.4"); // a start time stamped by a macro
    hooks.clear();
    w.ClearButton->click();
    for (QLineEdit* box : {w.CallsignBox, w.NameBox, w.QTHBox, w.MyRSTBox, w.HisRSTBox, w.NotesBox})
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    EXPECT_EQ(w.BandBox->currentText(), "20");
    EXPECT_EQ(CurrentBand, "20");
    for (const QString* v : {&OtherName, &MyRST, &HisRST, &QSOComment})
        EXPECT_TRUE(v->isEmpty());
    EXPECT_EQ(PreviousQSOCall, "DL1ABC");
    EXPECT_TRUE(NewQSO[fTimeOn].isEmpty());
    EXPECT_TRUE(PreviousQSOsPage.cell(1, 2).isEmpty());
    EXPECT_EQ(PreviousQSOsPage.caption, "Previous QSOs with DL1ABC");
    EXPECT_EQ(hooks, QStringList({"UnloadCDDisplay", "PreviousPageChanged"}));
    EXPECT_EQ(QApplication::focusWidget(), w.TxWindow);
}

TEST_F(QsoPanel, TheButtonsLogAndShowTheWindowsThenGiveTheFocusBack)
{
    showActive();
    Sondrel& w = main();
    const struct { QPushButton* button; const char* hook; bool onTop; } cases[] = {
        {w.PageButton, "ShowMiniLog", false},
        {w.PreviousButton, "ShowPreviousPage", false},
        {w.PageButton, "ShowMiniLog", true},
        {w.PreviousButton, "ShowPreviousPage", true},
    };
    for (const auto& c : cases) {
        hooks.clear();
        w.mnu("mnuOnTop").setChecked(c.onTop);
        w.NameBox->setFocus();
        c.button->click();
        EXPECT_EQ(hooks, QStringList{c.hook});
        EXPECT_EQ(QApplication::focusWidget(), w.TxWindow) << c.hook;
    }
    fillPanel();
    w.NameBox->setFocus();
    w.LogButton->click();
    EXPECT_EQ(stored(QSOKey)[fCallsign], "DL1ABC");
    EXPECT_EQ(QApplication::focusWidget(), w.TxWindow);
}

TEST_F(QsoPanel, TheCallSignBoxIsFirstInTheTabOrderUntilTheNotesHadTheFocus)
{
    Sondrel& w = main();
    auto panelOrder = [&] {
        QList<QWidget*> seen;
        for (QWidget* x = w.NameBox; seen.size() < 6; x = nextStop(x))
            seen << x;
        return seen;
    };
    const QList<QWidget*> middle{w.NameBox, w.QTHBox, w.MyRSTBox, w.HisRSTBox, w.NotesBox, w.BandBox};
    EXPECT_EQ(nextStop(w.CallsignBox), w.NameBox);
    EXPECT_EQ(panelOrder(), middle);

    focusIn(w.NotesBox);
    EXPECT_EQ(nextStop(w.BandBox), w.CallsignBox);
    EXPECT_NE(nextStop(w.CallsignBox), w.NameBox);
    EXPECT_EQ(panelOrder(), middle);

    focusIn(w.CallsignBox);
    EXPECT_EQ(nextStop(w.CallsignBox), w.NameBox);
    EXPECT_NE(nextStop(w.BandBox), w.CallsignBox);
    EXPECT_EQ(panelOrder(), middle);
}

TEST_F(QsoPanel, TheRadioFrequencyDisplayNeverKeepsTheFocus)
{
    showActive();
    Sondrel& w = main();
    w.NameBox->setFocus();
    QTest::mouseClick(w.RFFrequencyBox, Qt::LeftButton);
    EXPECT_NE(QApplication::focusWidget(), w.RFFrequencyBox);
    w.RFFrequencyBox->setFocus(Qt::OtherFocusReason);
    focusIn(w.RFFrequencyBox);
    EXPECT_EQ(QApplication::focusWidget(), w.TxWindow);
}

} // namespace
