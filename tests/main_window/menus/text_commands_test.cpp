// The File menu's text file commands and the ToolBox menu's looks of the text windows and the
// QSO panel, through their menu items.
#include "support/receive_fixture.h"

#include "core/macros/macro_hooks.h"
#include "core/receive/capturefile.h"
#include "core/receive/rxtext.h"
#include "main_window/menus/text_commands.h"
#include "platform/system/inifile.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "platform/vb/units.h"

#include <QFile>
#include <QLineEdit>
#include <QTextEdit>
#include <functional>

namespace {

class TextCommands : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
    }
    void TearDown() override
    {
        ResetMacroHooks();
        CloseCaptureFile();
        ReceiveFixture::TearDown();
    }
    void click(const char* item) { main().mnu(item).click(); }
    QByteArray fileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void receive(const QString& text) { AppendRxText(*main().Rx, text, 0, true); }
};

TEST_F(TextCommands, CaptureFileNamesAndTheReplaceQuestion)
{
    struct Case {
        const char* typed;
        const char* expectedFile;
        const char* existing; // nullptr: no such file yet
        int answer;           // to "Replace existing file - ...?"
        const char* expectedBytes;
    };
    const Case cases[] = {
        {"log", "log.TXT", nullptr, 0, "CQ\r\n"},
        {"night.txt", "night.txt", nullptr, 0, "CQ\r\n"},
        {"Night.TxT", "Night.TxT", nullptr, 0, "CQ\r\n"},
        {"keep.txt", "keep.txt", "old ", dlg::No, "old CQ\r\n"},
        {"fresh.txt", "fresh.txt", "old ", dlg::Yes, "CQ\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString path = home->file(c.expectedFile);
        if (c.existing)
            writeFile(path, c.existing);
        boxes.clear();
        boxes.answerSave(home->file(c.typed));
        if (c.answer)
            boxes.answerMessage(c.answer);
        click("mnuOutput");
        ASSERT_TRUE(CaptureFileOpen);
        EXPECT_FALSE(main().mnu("mnuOutput").enabled());
        EXPECT_TRUE(main().mnu("mnuOutputClose").enabled());
        if (c.existing) {
            ASSERT_EQ(boxes.messages().size(), 1);
            EXPECT_EQ(boxes.messages()[0].text, "Replace existing file - " + path + "?");
            EXPECT_EQ(boxes.messages()[0].style, dlg::YesNoCancel | dlg::Question);
        } else {
            EXPECT_TRUE(boxes.messages().isEmpty());
        }
        receive("CQ\r\n");
        // on disk at once, not held back in a buffer
        EXPECT_EQ(fileBytes(path), QByteArray(c.expectedBytes));
        click("mnuOutputClose");
        EXPECT_FALSE(CaptureFileOpen);
        EXPECT_TRUE(main().mnu("mnuOutput").enabled());
        EXPECT_FALSE(main().mnu("mnuOutputClose").enabled());
    }
}

TEST_F(TextCommands, CancelAtTheReplaceQuestionAsksForANameAgain)
{
    writeFile(home->file("keep.txt"), "old");
    boxes.answerSave(home->file("keep.txt"));
    boxes.answerMessage(dlg::Cancel);
    boxes.answerSave(QString()); // then the file box is cancelled
    click("mnuOutput");
    int fileBoxes = 0;
    for (const auto& call : boxes.calls())
        fileBoxes += call.kind == dlg::BoxCall::Save;
    EXPECT_EQ(fileBoxes, 2);
    EXPECT_FALSE(CaptureFileOpen);
    EXPECT_TRUE(main().mnu("mnuOutput").enabled());
    EXPECT_EQ(fileBytes(home->file("keep.txt")), "old");
}

TEST_F(TextCommands, AWriteFailureEndsTheCaptureWithOneMessage)
{
    ASSERT_TRUE(OpenCaptureFile(QStringLiteral("/dev/full")));
    main().mnu("mnuOutput").setEnabled(false);
    main().mnu("mnuOutputClose").setEnabled(true);
    boxes.clear();
    receive("CQ CQ");
    receive("DE W1AW");
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "Error # 61 Disk full");
    EXPECT_FALSE(CaptureFileOpen);
    EXPECT_TRUE(main().mnu("mnuOutput").enabled());
    EXPECT_FALSE(main().mnu("mnuOutputClose").enabled());
    EXPECT_EQ(rxText(), "CQ CQDE W1AW"); // the text itself is still shown
}

TEST_F(TextCommands, SendingATextFile)
{
    const QString file = home->file("brag.txt");
    writeFile(file, "RIG\r\nANT");
    struct Case {
        const char* name;
        QString chosen;
        int abortAtYield; // 0: never; the file is read with 9 yields (8 bytes and the end)
        QString typed;
        QStringList messages;
    };
    const Case cases[] = {
        {"whole file", file, 0, "RIG\r\nANT", {}},
        {"cancelled", QString(), 0, "", {}},
        {"aborted while read", file, 5, "", {}},
        {"aborted while typed", file, 12, "RI", {}},
        {"missing file", home->file("none.txt"), 0, "", {"Error # 53 File not found"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        main().Tx->setText(QString());
        boxes.clear();
        boxes.answerOpen(c.chosen);
        AbortMacro = true; // left over from an earlier abort: cleared by the command
        int yields = 0;
        MacroHooks().Yield = [&] {
            if (++yields == c.abortAtYield)
                AbortMacro = true;
        };
        click("mnuinput");
        EXPECT_EQ(main().Tx->text(), c.typed);
        QStringList shown;
        for (const auto& m : boxes.messages())
            shown << m.text;
        EXPECT_EQ(shown, c.messages);
    }
}

TEST_F(TextCommands, ColourCommandsApplyAndStoreTheChosenColour)
{
    struct Case {
        const char* item;
        const char* section;
        const char* key;
        std::function<std::int32_t()> shown; // where the colour takes effect
    };
    const std::int32_t pink = 12632319;
    auto text = [](const QString& t) { return ColourFromText(t); };
    auto panel = [this](QPalette::ColorRole r) { return rgb::fromColor(main().CallsignBox->palette().color(r)); };
    const Case cases[] = {
        {"mnuRxWinTxtext", "RxWindow", "Text Color TX", [&] { return text(TxEchoColor); }},
        {"mnuShowControlCodes", "RxWindow", "Text Color CC", [&] { return text(ControlCodeColor); }},
        {"mnuRxWndBack", "RxWindow", "BackGround Color", [this] { return main().Rx->backColor(); }},
        {"mnuRxwinPausedBack", "RxWindow", "Paused BackGround Color", [&] { return text(PausedBackColor); }},
        {"mnuMouseOver", "RxWindow", "Mouseover Color", [] { return MouseOverColor; }},
        {"mnuTxWndBack", "TxWindow", "BackGround Color", [this] { return main().Tx->backColor() == TxBackColor ? TxBackColor : -1; }},
        {"mnuBufferColor", "TxWindow", "TxWindow Buffer Color", [&] { return text(TxBufferColor); }},
        {"mnuLogFontColor", "Mini-Log", "Font Color", [&] { return panel(QPalette::Text); }},
        {"mnuLogBackGround", "Mini-Log", "BackGround Color", [&] { return panel(QPalette::Base); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        boxes.answerColour(pink);
        click(c.item);
        EXPECT_EQ(c.shown(), pink);
        EXPECT_EQ(ini(c.section, c.key), QString::number(pink));
        // Cancel keeps the colour, and stores it again as it was
        ini::write(home->file("Sondrel.INI"), c.section, c.key, "x");
        boxes.answerColour(std::nullopt);
        click(c.item);
        EXPECT_EQ(c.shown(), pink);
        EXPECT_EQ(ini(c.section, c.key), QString::number(pink));
    }
}

TEST_F(TextCommands, PausedAndNormalBackgroundsFollowTheFreeze)
{
    main().Rx->setBackColor(16777215);
    aux1->setBackColor(16777215);
    // not frozen: only the stored colour changes
    boxes.answerColour(255);
    click("mnuRxwinPausedBack");
    EXPECT_EQ(PausedBackColor, "255");
    EXPECT_EQ(main().Rx->backColor(), 16777215);
    EXPECT_EQ(aux1->backColor(), 16777215);
    // frozen: the receive windows take it at once
    RxFreeze = true;
    RxBackColorSaved = QStringLiteral("16777215");
    boxes.answerColour(65280);
    click("mnuRxwinPausedBack");
    EXPECT_EQ(main().Rx->backColor(), 65280);
    EXPECT_EQ(aux1->backColor(), 65280);
    // the normal background chosen while frozen is the one the window returns to
    boxes.answerColour(8454143);
    click("mnuRxWndBack");
    EXPECT_EQ(main().Rx->backColor(), 65280);
    EXPECT_EQ(RxBackColorSaved, "8454143");
    EXPECT_EQ(ini("RxWindow", "BackGround Color"), "8454143");
}

TEST_F(TextCommands, WindowFontsAndMiniLogBold)
{
    struct Case {
        const char* item;
        const char* section;
        QTextEdit* window;
        std::function<std::int32_t()> colour;
    };
    const Case cases[] = {
        {"mnuRxWndFont", "RxWindow", main().RxWindow, [] { return ColourFromText(RxTextColor); }},
        {"mnuTxWndFont", "TxWindow", main().TxWindow, [] { return TxTextColor; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        boxes.answerFont(std::nullopt);
        const QString before = iniText();
        click(c.item);
        EXPECT_EQ(iniText(), before); // Cancel changes nothing
        boxes.answerFont(dlg::FontChoice{"Courier", 12, true, false, 255});
        click(c.item);
        EXPECT_EQ(c.window->font().family(), "Courier");
        EXPECT_EQ(c.window->font().pointSizeF(), 12);
        EXPECT_TRUE(c.window->font().bold());
        EXPECT_FALSE(c.window->font().italic());
        EXPECT_EQ(c.colour(), 255);
        for (const auto& [key, value] : {std::pair{"Font", "Courier"}, std::pair{"Font Size", "12"},
                                         std::pair{"Font Bold", "True"}, std::pair{"Font Italic", "False"},
                                         std::pair{"Text Color", "255"}})
            EXPECT_EQ(ini(c.section, key), value) << key;
    }
    const bool wasBold = main().mnu("mnuLogFontBold").checked();
    click("mnuLogFontBold");
    EXPECT_NE(main().mnu("mnuLogFontBold").checked(), wasBold);
    EXPECT_EQ(main().NotesBox->font().bold(), !wasBold);
    EXPECT_EQ(ini("Mini-Log", "Font Bold"), wasBold ? "False" : "True");
}

} // namespace
