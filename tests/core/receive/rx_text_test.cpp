// The receive text path: control-code names, line breaks, backspace, slashed zero, trimming
// and the capture file.
#include "support/receive_fixture.h"

#include "core/messages/engine_tick.h"
#include "core/messages/hookmodule.h"
#include "core/receive/capturefile.h"
#include "core/receive/notifications.h"
#include "core/receive/rxtext.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"

#include <QFile>
#include <QTextEdit>

namespace {

using RxPath = ReceiveFixture;

QString bytes(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s += QChar(c);
    return s;
}

TEST_F(RxPath, TurnsPendingTextIntoWindowText)
{
    struct Case {
        const char* name;
        QString before, text;
        bool controlCodes, zero, isMain;
        QString after;
    };
    const QString Z(QChar(216));
    const Case cases[] = {
        {"line break", "", "ab\r\nc", false, false, true, "ab\r\nc"},
        {"line feeds only", "x", "\n\n", false, false, true, "x"},
        {"bell named", "", bytes({7}), true, false, true, "<BEL>" + bytes({7})},
        {"bell unnamed in aux", "", bytes({7}), true, false, false, bytes({7})},
        {"CR named", "", "a\r\n", true, false, true, "a<CR>\r\n"},
        {"CR then BS leaves the name", "", bytes({'a', 13, 8}), true, false, true, "a<CR>"},
        {"second BS takes the name", "", bytes({'a', 13, 8, 8}), true, false, true, "a"},
        {"BS takes a typed <ESC> whole", "x<ESC>", bytes({8}), false, false, true, "x"},
        {"BS takes a five-letter name", "x<SOH>", bytes({8}), false, false, false, "x"},
        {"BS on empty", "", bytes({8, 8}), false, false, true, ""},
        {"BS across a line break", "ab\r\n", bytes({8}), false, false, true, "ab"},
        {"slashed zero", "", "10", false, true, true, "1" + Z},
        {"slashed zero then BS", "", bytes({'1', '0', 8}), false, true, true, "1"},
        {"zero plain", "", "10", false, false, true, "10"},
        {"BS never named", "ab", bytes({8}), true, false, true, "a"},
    };
    for (const Case& c : cases) {
        main().Rx->setText(c.before);
        main().mnu("mnuControlCodes").setChecked(c.controlCodes);
        main().mnu("mnuZero").setChecked(c.zero);
        AppendRxText(*main().Rx, c.text, 0, c.isMain);
        EXPECT_EQ(rxText(), c.after) << c.name;
    }
}

TEST_F(RxPath, NamesInTheControlCodeColourTextInItsOwn)
{
    main().mnu("mnuControlCodes").setChecked(true);
    AppendRxText(*main().Rx, bytes({7, 'k'}), 255, true);
    RichText& rx = *main().Rx;
    ASSERT_EQ(rxText(), "<BEL>" + bytes({7, 'k'}));
    rx.setSelection(0, 5);
    EXPECT_EQ(rx.selColor(), 4194368);
    rx.setSelection(5, 1);
    EXPECT_EQ(rx.selColor(), 255);
    rx.setSelection(6, 1);
    EXPECT_EQ(rx.selColor(), 255);
    EXPECT_EQ(ControlCodeName(16), "<SLE>");
    EXPECT_EQ(ControlCodeName(17), "<CS1>");
    EXPECT_EQ(ControlCodeName(23), "<EIB>");
    EXPECT_EQ(ControlCodeName(26), "<SIB>");
    EXPECT_EQ(ControlCodeName(32), "");
}

TEST_F(RxPath, TrimsOnceBeforeAddingWhenAbove5000)
{
    for (const auto& [length, expected] : {std::pair{5001, 4002}, std::pair{5000, 5001}}) {
        main().Rx->setText(QString(length, u'x'));
        AppendRxText(*main().Rx, "y", 0, true);
        EXPECT_EQ(main().Rx->length(), expected) << length;
        EXPECT_TRUE(rxText().endsWith("y"));
        EXPECT_EQ(main().Rx->selStart(), main().Rx->length());
    }
}

TEST_F(RxPath, CapturesWhatTheMainWindowReceives)
{
    const QString path = home->file("capture.txt");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    ASSERT_TRUE(OpenCaptureFile(path));
    EXPECT_TRUE(CaptureFileOpen);
    main().mnu("mnuZero").setChecked(true);
    main().mnu("mnuControlCodes").setChecked(true);
    AppendRxText(*main().Rx, bytes({'a', 'b', 13, 10, 'c', 8, '0', 0xE9}), 0, true);
    AppendRxText(*main().Rx, "aux", 0, false); // auxiliary windows are never captured
    SentText = "tx";
    FlushPendingText(); // the echo is captured too
    CloseCaptureFile();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("oldab\r\nc\b0\xE9tx"));
    EXPECT_EQ(rxText(), "ab<CR>\r\n" + QString(QChar(216)) + QChar(0xE9) + "auxtx");
}

TEST_F(RxPath, AFailedCaptureWriteIsShownOnceAndEndsCapturing)
{
    ASSERT_TRUE(OpenCaptureFile("/dev/full"));
    AppendRxText(*main().Rx, "abc", 0, true);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "Error # 61 Disk full");
    EXPECT_EQ(boxes.messages()[0].style, 0);
    EXPECT_FALSE(CaptureFileOpen);
    EXPECT_EQ(rxText(), "abc");
}

// A message box that lets the engine's messages in while it is up, as a modal box does.
class BusyBox : public dlg::Dialogs {
public:
    BusyBox(dlg::ScriptedDialogs& answers, std::function<void()> whileShown)
        : answers_(answers), whileShown_(std::move(whileShown))
    {
        dlg::Dialogs::install(this);
    }
    ~BusyBox() override { dlg::Dialogs::install(&answers_); }
    int message(const QString& text, int style, const QString& title) override
    {
        if (whileShown_)
            whileShown_();
        return answers_.message(text, style, title);
    }
    std::optional<QString> input(const QString& p, const QString& t, const QString& d) override
    {
        return answers_.input(p, t, d);
    }
    std::optional<std::int32_t> colour(std::int32_t c) override { return answers_.colour(c); }
    std::optional<dlg::FontChoice> font(const dlg::FontChoice& f, const QString& t) override { return answers_.font(f, t); }
    QString openFile(const dlg::FileRequest& r) override { return answers_.openFile(r); }
    QString saveFile(const dlg::FileRequest& r) override { return answers_.saveFile(r); }

private:
    dlg::ScriptedDialogs& answers_;
    std::function<void()> whileShown_;
};

TEST_F(RxPath, TextArrivingWhileTheCaptureErrorIsShownWaitsForTheNextTick)
{
    load();
    ASSERT_TRUE(OpenCaptureFile("/dev/full"));
    BusyBox box(boxes, [] {
        // Received characters and a data-ready tick while the box is up.
        for (const char c : QByteArray("xyz"))
            MainWindowProc(kPskCharacter, c, 0);
        MainWindowProc(kPskDataReady, 1000, 50);
    });
    RxCharBuffer = QStringLiteral("abcdefghijklmnopqrstuvwxyz").repeated(4);
    OnEngineTick();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_FALSE(CaptureFileOpen);
    const QString first = QStringLiteral("abcdefghijklmnopqrstuvwxyz").repeated(4);
    EXPECT_EQ(rxText(), first);
    EXPECT_EQ(RxCharBuffer, "xyz");
    OnEngineTick();
    EXPECT_EQ(rxText(), first + "xyz");
    EXPECT_TRUE(RxCharBuffer.isEmpty());
}

} // namespace
