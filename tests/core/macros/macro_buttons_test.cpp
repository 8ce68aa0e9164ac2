// The macro buttons, their function keys and rows, the macro store and the macro editor.
#include "macro_fixture.h"

#include "core/macros/macro_store.h"
#include "core/macros/macrobutton.h"
#include "core/modes/modeselection.h"
#include "core/transmit/txtyping.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

class MacroButtons : public MacroFixture {
protected:
    void SetUp() override
    {
        MacroFixture::SetUp();
        LoadMacroSet("Macro"); // the default look everywhere
        for (int i = 1; i <= 36; ++i)
            MacroTexts[static_cast<std::size_t>(i)] = QString::number(i) + ";";
    }
    QString stored(const char* section, const char* key, int n)
    {
        return ini::read(home->file("Sondrel.INI"), section, MacroKey(key, n), "<missing>", 4000);
    }
    MacroSetup& edit(int n)
    {
        Command1_Mouseup(n, 2, 0, 0, 0);
        EXPECT_NE(MacroSetup::loaded(), nullptr);
        return *MacroSetup::loaded();
    }
};

TEST_F(MacroButtons, FunctionKeysFireTheThreeBanks)
{
    const struct {
        int key, shift;
        const char* typed;
    } cases[] = {{112, 0, "1;"}, {123, 0, "12;"}, {112, 4, "13;"}, {113, 4, "14;"}, {112, 2, "25;"}, {123, 2, "36;"}};
    mnuNoMacros_Click(); // hidden rows still fire from their keys
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        typed.clear();
        TxWindowKey(TxKey{c.key, c.shift, 0});
        EXPECT_EQ(typed, QString::fromLatin1(c.typed));
    }
}

TEST_F(MacroButtons, MouseReleasesSendOrEdit)
{
    MacroButton* b = main().Command1[7];
    main().show();
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(typed, "7;");
    typed.clear();
    QTest::mouseClick(b, Qt::RightButton);
    EXPECT_EQ(typed, "");
    ASSERT_NE(MacroSetup::loaded(), nullptr);
    EXPECT_EQ(MacroSetup::loaded()->windowTitle(), "Macro Setup for F7");
    EXPECT_EQ(main().Tag, " 7");
    // a non-mouse activation is a left release: it closes the editor and sends
    b->click();
    EXPECT_EQ(MacroSetup::loaded(), nullptr);
    EXPECT_EQ(typed, "7;");
}

TEST_F(MacroButtons, RowMenuShowsRowsAndStoresTheChoice)
{
    const struct {
        void (*click)();
        const char* item;
        const char* value;
        int rows;
    } cases[] = {{mnuNoMacros_Click, "mnuNoMacros", "NoMacros", 0},
                 {mnu12Macros_Click, "mnu12Macros", "12Macros", 1},
                 {mnu24Macros_Click, "mnu24Macros", "24Macros", 2},
                 {mnu36Macros_Click, "mnu36Macros", "36Macros", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        main().mnu(c.item).click();
        for (const auto& other : cases)
            EXPECT_EQ(main().mnu(other.item).checked(), other.item == c.item);
        for (int r = 1; r <= 3; ++r) {
            EXPECT_EQ(main().Background[r]->isHidden(), r > c.rows);
            EXPECT_EQ(main().Background[r]->height() == 1, r > c.rows);
        }
        EXPECT_EQ(ini("Form View", "Macro Buttons"), c.value);
    }
}

TEST_F(MacroButtons, StoreEncodingAndCaptionRule)
{
    EXPECT_EQ(MacroTextToStore("CQ CQ\r\nde me"), "CQ CQ~de me");
    EXPECT_EQ(MacroTextToStore("a\nb\rc~"), "ab~c~");
    EXPECT_EQ(MacroTextFromStore("ab~c~"), "ab\r\nc\r\n");
    const struct {
        const char* typed;
        const char* stored;
    } captions[] = {{"Chr$(65)", "A"}, {"chr$(65)", "A"}, {"Net Chr$(35) x", "#"}, {"Chr$(65", "Chr$(65"},
                    {"Chr$(300)", "Chr$(300)"}, {"", " "}, {"CQ", "CQ"}};
    for (const auto& c : captions)
        EXPECT_EQ(MacroCaptionRule(c.typed), c.stored) << c.typed;
}

TEST_F(MacroButtons, EditorTitlesNameTheKey)
{
    const struct {
        int n;
        const char* title;
    } cases[] = {{1, "Macro Setup for F1"}, {12, "Macro Setup for F12"}, {13, "Macro Setup for ALT F1"},
                 {14, "Macro Setup for ALT F2"}, {25, "Macro Setup for CTRL F1"}, {36, "Macro Setup for CTRL F12"}};
    for (const auto& c : cases) {
        MacroTexts[static_cast<std::size_t>(c.n)] = "two\r\nlines";
        MacroSetup& e = edit(c.n);
        EXPECT_EQ(e.windowTitle(), c.title);
        EXPECT_EQ(e.MacroText->toPlainText(), "two\nlines");
    }
    // one editor at a time: opening for another button replaced the earlier one
    EXPECT_EQ(MacroSetup::loaded()->button(), 36);
}

TEST_F(MacroButtons, SavingWritesTheFourteenKeysOfTheActiveSet)
{
    for (bool psk : {true, false}) {
        SCOPED_TRACE(psk);
        PSKModeActive = psk;
        const char* section = psk ? "Macro" : "RTTY Macro";
        const char* other = psk ? "RTTY Macro" : "Macro";
        MacroSetup& e = edit(13);
        e.MacroText->setPlainText("CQ CQ\nde $mycall$");
        e.CaptionText->setText("chr$(67)");
        boxes.answerFont(dlg::FontChoice{"Arial", 9.75, true, false, 255});
        e.Hbutton2_Click();
        boxes.answerColour(65280);
        e.Hbutton3_Click();
        e.Hbutton5_Click();
        EXPECT_EQ(MacroSetup::loaded(), nullptr);
        EXPECT_EQ(stored(section, "Macro #", 13), "CQ CQ~de $mycall$");
        EXPECT_EQ(stored(section, "Macro Caption #", 13), "C");
        EXPECT_EQ(stored(section, "Macro Fontname #", 13), "Arial");
        EXPECT_EQ(stored(section, "Macro Fontsize #", 13), "10");
        EXPECT_EQ(stored(section, "Macro Fontbold #", 13), "True");
        EXPECT_EQ(stored(section, "Macro Fontitalic #", 13), "False");
        EXPECT_EQ(stored(section, "Macro ForeColor #", 13), "255");
        EXPECT_EQ(stored(section, "Macro MouseOver BackColor #", 13), "65280");
        EXPECT_EQ(stored(section, "Macro MouseOver Fontname #", 13), "MS Sans Serif");
        EXPECT_EQ(stored(other, "Macro #", 13), "<missing>");
        EXPECT_EQ(MacroTexts[13], "CQ CQ\r\nde $mycall$");
        EXPECT_EQ(main().Command1[13]->text(), "C");
        EXPECT_EQ(boxes.calls().size(), 2); // the font and colour boxes only
        boxes.clear();
        // the set reads back as saved
        MacroTexts[13].clear();
        LoadMacroSet(section);
        EXPECT_EQ(MacroTexts[13], "CQ CQ\r\nde $mycall$");
        EXPECT_EQ(MacroFontSize[13], 10);
        EXPECT_EQ(MacroMouseOverBackColor[13], 65280);
        QFile::remove(home->file("Sondrel.INI"));
    }
}

TEST_F(MacroButtons, TheLimitIsCountedOnTheStoredText)
{
    // 2990 characters and 10 line breaks: 3000 once stored
    QString text = QString(2990, 'x');
    for (int i = 0; i < 10; ++i)
        text.insert(i * 100, "\n");
    MacroSetup& e = edit(2);
    e.MacroText->setPlainText(text);
    e.Hbutton5_Click();
    EXPECT_EQ(MacroSetup::loaded(), nullptr);
    EXPECT_TRUE(boxes.messages().isEmpty());
    MacroTexts[2].clear();
    LoadMacroSet("Macro");
    EXPECT_EQ(MacroTextToStore(MacroTexts[2]).size(), 3000); // read back whole

    MacroSetup& again = edit(2);
    again.MacroText->setPlainText(QString(3001, 'y'));
    again.Hbutton5_Click();
    ASSERT_EQ(MacroSetup::loaded(), &again);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].title, "Too verbose");
    EXPECT_EQ(boxes.messages()[0].text,
              "Sorry, this Macro is awesome.  However it is  3001 characters long.  The maximum length is 3000 "
              "characters.  You don't want to bore the other station to death (do you?).");
    EXPECT_EQ(MacroTextToStore(MacroTexts[2]).size(), 3000);
}

TEST_F(MacroButtons, CancelResetAndLeftClickDropOrRestoreTheLook)
{
    MacroBackColor[4] = 255;
    MacroSetup& e = edit(4);
    boxes.answerColour(65280);
    e.BackColorButton_Click();
    EXPECT_EQ(MacroBackColor[0], 65280);
    e.Hbutton6_Click();
    EXPECT_EQ(MacroSetup::loaded(), nullptr);
    EXPECT_EQ(MacroBackColor[4], 255);
    EXPECT_EQ(stored("Macro", "Macro BackColor #", 4), "<missing>");

    // a cancelled dialog changes nothing
    MacroSetup& c = edit(4);
    c.Hbutton2_Click();
    EXPECT_EQ(MacroBackColor[0], 255);

    // a macro button fired while editing closes the editor unsaved and sends its macro
    c.MacroText->setPlainText("changed");
    typed.clear();
    TxWindowKey(TxKey{115, 0, 0});
    EXPECT_EQ(MacroSetup::loaded(), nullptr);
    EXPECT_EQ(typed, "4;");

    MacroSetup& r = edit(4);
    r.Hbutton7_Click();
    r.Hbutton5_Click();
    const struct {
        const char* key;
        const char* value;
    } defaults[] = {{"Macro #", ""}, {"Macro Caption #", ""}, {"Macro BackColor #", "14671839"},
                    {"Macro MouseOver BackColor #", "14671839"}, {"Macro ForeColor #", "0"},
                    {"Macro Fontname #", "MS Sans Serif"}, {"Macro Fontsize #", "8"}, {"Macro Fontbold #", "False"},
                    {"Macro MouseOver Fontitalic #", "False"}};
    for (const auto& d : defaults)
        EXPECT_EQ(stored("Macro", d.key, 4), d.value) << d.key;
    EXPECT_TRUE(ini::contains(home->file("Sondrel.INI"), "Macro", "Macro Caption #4"));
}

} // namespace
