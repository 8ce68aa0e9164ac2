// Word capture: the word under the pointer, its highlight, and where a clicked word goes.
#include "support/receive_fixture.h"

#include "core/messages/engine_tick.h"
#include "core/receive/wordcapture.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

namespace {

class WordCapture : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        edit = std::make_unique<QTextEdit>();
        edit->resize(600, 200);
        edit->show();
        window = std::make_unique<RichText>(edit.get());
    }
    void TearDown() override
    {
        ResetWordHighlight();
        window.reset();
        edit.reset();
        ReceiveFixture::TearDown();
    }
    // The pointer over the middle of character i, in twips of the window.
    QPointF over(int i)
    {
        QTextCursor a(edit->document()), b(edit->document());
        a.setPosition(i);
        b.setPosition(i + 1);
        const QRect ra = edit->cursorRect(a), rb = edit->cursorRect(b);
        const QPoint p = QPoint((ra.left() + rb.left()) / 2, ra.center().y()) + edit->viewport()->pos();
        return QPointF(p.x() * 15.0, p.y() * 15.0);
    }
    QString wordAt(int i)
    {
        const QPointF p = over(i);
        return RichWordOver(*window, p.x(), p.y(), 65280, 0);
    }
    std::int32_t colourAt(int i)
    {
        window->setSelection(i, 1);
        return window->selColor();
    }
    std::unique_ptr<QTextEdit> edit;
    std::unique_ptr<RichText> window;
};

TEST_F(WordCapture, PicksTheWordFromItsSecondCharacterOn)
{
    window->setText(QString("CQ de W1AW/4 pse K TAB") + QChar(216) + "1");
    struct Case {
        int index;
        const char* word;
    };
    const Case cases[] = {
        {0, ""},        // the first character of the text
        {1, "CQ"},
        {6, ""},        // the first character of a word
        {7, "W1AW/4"},  // slash included
        {9, "W1AW/4"},
        {11, "W1AW/4"}, // its last character
        {12, ""},       // the blank after it
        {4, "de"},
        {17, ""},       // a one-character word
        {21, "TAB01"},  // the slashed zero is read as a zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(wordAt(c.index), c.word) << c.index;
    const QPointF p = over(7);
    EXPECT_EQ(RichWordOver(*window, edit->width() * 15 - 349, p.y(), 0, 0), ""); // the scroll-bar strip
    EXPECT_EQ(RichWordOver(*window, -1, p.y(), 0, 0), "");
}

TEST_F(WordCapture, HighlightsTheWordWhenMouseoverIsOn)
{
    load();
    window->setText("CQ de W1AW/4 pse");
    const std::int32_t plain = colourAt(7);
    main().mnu("mnuRxwindowMouseover").setChecked(true);
    EXPECT_EQ(wordAt(8), "W1AW/4");
    for (int i = 6; i <= 11; ++i)
        EXPECT_EQ(colourAt(i), 65280) << i;
    EXPECT_EQ(colourAt(5), plain);
    EXPECT_EQ(colourAt(12), plain);

    EXPECT_EQ(wordAt(14), "pse");      // to another word: the first gets its colour back
    EXPECT_EQ(colourAt(7), plain);
    EXPECT_EQ(colourAt(14), 65280);
    EXPECT_EQ(RichWordOver(*window, -15, 0, 65280, 0), ""); // leaving the window
    EXPECT_EQ(colourAt(14), plain);

    main().mnu("mnuRxwindowMouseover").setChecked(false);
    EXPECT_EQ(wordAt(8), "W1AW/4");
    EXPECT_EQ(colourAt(8), plain);
}

TEST_F(WordCapture, AClickedWordGoesToTheQsoPanelOrTheLogger)
{
    load();
    struct Case {
        const char* word;
        int button;
        const char* rst;
        const char* name;
        const char* call;
        const char* logger;
    };
    const Case cases[] = {
        {"599", 1, "599", "", "", "MyRST=599"},
        {"599", 2, "599", "", "", "MyRST=599"}, // the report rule comes first
        {"101", 1, "101", "", "", "MyRST=101"},
        {"100", 1, "", "", "100", "CALLSIGN=100"},
        {"600", 1, "", "", "600", "CALLSIGN=600"},
        {"5E2", 1, "", "", "5E2", "CALLSIGN=5E2"}, // three digits only
        {"59", 1, "", "", "", ""},              // too short
        {"sAM", 2, "", "Sam", "", "COMMENTS=Sam"},
        {"BILL", 2, "", "Bill", "", "COMMENTS=Bill"},
        {"w1aw/4", 1, "", "", "W1AW/4", "CALLSIGN=W1AW/4"},
    };
    for (bool own : {false, true}) {
        main().mnu("mnuMiniLog").setEnabled(own);
        main().mnu("mnuMiniLog").setChecked(true);
        for (const Case& c : cases) {
            MyRST.clear(), OtherName.clear(), PreviousQSOCall.clear(), loggerTexts.clear();
            main().MyRSTBox->clear(), main().NameBox->clear(), main().CallsignBox->clear();
            WordUnderMouse = c.word;
            WordClickMode = static_cast<std::int16_t>(c.button);
            UseSelectedString();
            EXPECT_TRUE(WordUnderMouse.isEmpty());
            EXPECT_EQ(MyRST, c.rst) << c.word;
            EXPECT_EQ(OtherName, c.name) << c.word;
            EXPECT_EQ(PreviousQSOCall, c.call) << c.word;
            if (own) {
                EXPECT_TRUE(loggerTexts.isEmpty()) << c.word;
                EXPECT_EQ(main().MyRSTBox->text() + main().NameBox->text() + main().CallsignBox->text(),
                          QString(c.rst) + c.name + c.call)
                    << c.word;
            } else {
                EXPECT_EQ(loggerTexts.join(""), c.logger) << c.word;
                EXPECT_TRUE(main().CallsignBox->text().isEmpty()) << c.word;
            }
        }
    }
}

TEST_F(WordCapture, PointingAndClickingInTheReceiveWindow)
{
    load();
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    main().Rx->setText("CQ de W1AW pse");
    QTextCursor c(main().RxWindow->document());
    c.setPosition(8);
    const QPoint inViewport = main().RxWindow->cursorRect(c).center() + QPoint(2, 0);
    const QPoint at = main().RxWindow->viewport()->mapTo(&main(), inViewport);
    QTest::mouseMove(main().windowHandle(), at);
    EXPECT_EQ(WordUnderMouse, "W1AW");
    QTest::mouseClick(main().windowHandle(), Qt::LeftButton, {}, at);
    EXPECT_EQ(loggerTexts, QStringList({"CALLSIGN=W1AW"}));
    EXPECT_FALSE(MouseOverSuppressed);
    EXPECT_EQ(hooks, QStringList({"BreakMacroLoop"}));
}

TEST_F(WordCapture, AButtonHeldInTheReceiveWindowHoldsTheTextBack)
{
    load();
    RxWindow_MouseDown(2, 0, 0, 0);
    EXPECT_TRUE(MouseOverSuppressed);
    EXPECT_EQ(WordClickMode, 2);
    EXPECT_EQ(hooks, QStringList({"BreakMacroLoop"}));
    RxCharBuffer = "held";
    OnEngineTick();
    EXPECT_EQ(RxCharBuffer, "held");
    EXPECT_TRUE(rxText().isEmpty());
    RxWindow_MouseUp(2, 0, 0, 0);
    EXPECT_FALSE(MouseOverSuppressed);
    OnEngineTick();
    EXPECT_EQ(rxText(), "held");
}

TEST_F(WordCapture, ADraggedSelectionGoesToTheClipboard)
{
    load();
    main().Rx->setText("hello world");
    main().Rx->setSelection(6, 5);
    WordUnderMouse = "hello";
    RxWindow_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "world");
    EXPECT_EQ(main().Rx->selLength(), 1);
    EXPECT_EQ(PreviousQSOCall, "HELLO"); // the word hovered before the drag is used as well
}

} // namespace
