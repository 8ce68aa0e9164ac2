#include "platform/widgets/richtext.h"
#include "platform/vb/units.h"

#include <gtest/gtest.h>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace {

constexpr std::int32_t kRed = 255;
constexpr std::int32_t kGreen = 65280;
constexpr std::int32_t kBlue = 16711680;

struct RichTextTest : ::testing::Test {
    QTextEdit edit;
    RichText rt{&edit};

    std::int32_t colourAt(int index)
    {
        rt.setSelection(index, 1);
        return rt.selColor();
    }
};

TEST_F(RichTextTest, LineBreaksCountTwo)
{
    rt.setText(QStringLiteral("ab\r\ncd\r\n\r\ne"));
    EXPECT_EQ(rt.text(), QStringLiteral("ab\r\ncd\r\n\r\ne"));
    EXPECT_EQ(rt.length(), 11);
    EXPECT_EQ(rt.lineCount(), 4);

    struct Row { int index, line, lineLength; };
    const Row rows[] = {
        {0, 0, 2}, {2, 0, 2}, {4, 1, 2}, {5, 1, 2}, {6, 1, 2},
        {8, 2, 0}, {10, 3, 1}, {11, 3, 1}, {99, 3, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_EQ(rt.lineFromChar(r.index), r.line);
        EXPECT_EQ(rt.lineLength(r.index), r.lineLength);
    }
    const int firstChars[] = {0, 4, 8, 10};
    for (int line = 0; line < 4; ++line)
        EXPECT_EQ(rt.lineIndex(line), firstChars[line]);
    EXPECT_EQ(rt.lineIndex(4), -1);

    // Every position survives the trip into the document and back, except the LF of a break,
    // which lands on its CR.
    for (int p = 0; p <= rt.length(); ++p) {
        const bool onLf = p == 3 || p == 7 || p == 9;
        EXPECT_EQ(rt.fromDocument(rt.toDocument(p)), onLf ? p - 1 : p) << p;
    }
}

TEST_F(RichTextTest, SelectionIsClampedLikeSelStartAndSelLength)
{
    rt.setText(QStringLiteral("ab\r\ncd"));
    struct Row { int start, length, wantStart, wantLength; const char* text; };
    const Row rows[] = {
        {1, 4, 1, 4, "b\r\nc"},
        {-5, 2, 0, 2, "ab"},
        {100, 5, 6, 0, ""},
        {4, 100, 4, 2, "cd"},
        {2, -3, 2, 0, ""},
        {3, 0, 2, 0, ""}, // between CR and LF: on the CR
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.start);
        rt.setSelection(r.start, r.length);
        EXPECT_EQ(rt.selStart(), r.wantStart);
        EXPECT_EQ(rt.selLength(), r.wantLength);
        EXPECT_EQ(rt.selText(), QString::fromLatin1(r.text));
    }
    rt.setSelStart(1);
    rt.setSelLength(3);
    EXPECT_EQ(rt.selText(), QStringLiteral("b\r\n"));
}

TEST_F(RichTextTest, ReplaceSelectionMakesEveryBreakKindALineBreak)
{
    rt.setText(QStringLiteral("ab\r\ncd"));
    rt.setSelection(1, 4); // "b\r\nc"
    rt.replaceSelection(QStringLiteral("X\rY\nZ\r\nW"));
    EXPECT_EQ(rt.text(), QStringLiteral("aX\r\nY\r\nZ\r\nWd"));
    EXPECT_EQ(rt.lineCount(), 4);
    EXPECT_EQ(rt.selStart(), 11); // caret after the inserted text, before "d"
    EXPECT_EQ(rt.selLength(), 0);

    // Removing a trailing break, as a received backspace does.
    rt.setText(QStringLiteral("abc\r\n"));
    rt.setSelection(rt.length() - 2, 2);
    rt.replaceSelection(QString());
    EXPECT_EQ(rt.text(), QStringLiteral("abc"));

    // Trimming the start: caret to 0, select a run, replace with nothing, caret to the end.
    rt.setText(QStringLiteral("12345\r\n67"));
    rt.setSelStart(0);
    rt.setSelLength(6); // cuts into the break: only its CR position is reachable
    rt.replaceSelection(QString());
    rt.setSelStart(rt.length());
    EXPECT_EQ(rt.text(), QStringLiteral("\r\n67"));
    EXPECT_EQ(rt.selStart(), 4);
}

TEST_F(RichTextTest, SelectionColourAppliesToSelectionAndInsertion)
{
    rt.appendText(QStringLiteral("abc"), kRed);
    rt.appendText(QStringLiteral("def\r\n"), kBlue);
    rt.appendText(QStringLiteral("g"), kGreen);
    EXPECT_EQ(rt.text(), QStringLiteral("abcdef\r\ng"));
    EXPECT_EQ(colourAt(0), kRed);
    EXPECT_EQ(colourAt(2), kRed);
    EXPECT_EQ(colourAt(3), kBlue);
    EXPECT_EQ(colourAt(8), kGreen);
    EXPECT_EQ(rt.selStart(), 8);

    // Recolouring a selection leaves its neighbours alone.
    rt.setSelection(1, 3);
    rt.setSelColor(kGreen);
    EXPECT_EQ(colourAt(0), kRed);
    EXPECT_EQ(colourAt(1), kGreen);
    EXPECT_EQ(colourAt(3), kGreen);
    EXPECT_EQ(colourAt(4), kBlue);

    // The insertion colour set at the caret is used by the next replacement, also when the
    // caret is put at the same place again in between.
    rt.setSelStart(rt.length());
    rt.setSelColor(kRed);
    rt.setSelStart(rt.length());
    EXPECT_EQ(rt.selColor(), kRed);
    rt.replaceSelection(QStringLiteral("h"));
    EXPECT_EQ(colourAt(9), kRed);

    // Moving the caret takes the colour of the character before it.
    rt.setSelStart(4);
    EXPECT_EQ(rt.selColor(), kGreen);
    rt.setSelStart(6);
    EXPECT_EQ(rt.selColor(), kBlue);
}

TEST_F(RichTextTest, SetTextUsesInsertionColourAndPutsCaretAtStart)
{
    rt.setSelColor(kBlue);
    rt.setText(QStringLiteral("one\rtwo\nthree"));
    EXPECT_EQ(rt.text(), QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_EQ(rt.selStart(), 0);
    EXPECT_EQ(colourAt(6), kBlue);
}

TEST_F(RichTextTest, TextKeepsEveryWindows1252Character)
{
    const QString s = QString(QChar(0xA0)) + QChar(0xD8) + QChar(0xBF) + u'\t' + u'x';
    rt.setText(s);
    EXPECT_EQ(rt.text(), s);
    EXPECT_EQ(rt.length(), 5);
}

TEST_F(RichTextTest, FindIgnoresCaseFromStart)
{
    rt.setText(QStringLiteral("CQ de ab1cd\r\nAB1CD k"));
    EXPECT_EQ(rt.find(QStringLiteral("ab1cd")), 6);
    EXPECT_EQ(rt.find(QStringLiteral("ab1cd"), 7), 13);
    EXPECT_EQ(rt.find(QStringLiteral("ab1cd"), 7, true), -1);
    EXPECT_EQ(rt.find(QStringLiteral("zz")), -1);
    EXPECT_EQ(rt.find(QStringLiteral("k"), 500), -1);
}

TEST_F(RichTextTest, CharFromPointRoundTrip)
{
    edit.resize(400, 200);
    edit.show();
    rt.setText(QStringLiteral("hello world\r\nsecond line here\r\n\r\nlast"));
    const QString all = rt.text();
    for (int i = 0; i < rt.length(); ++i) {
        if (all.at(i) == u'\r' || all.at(i) == u'\n')
            continue;
        QTextCursor c(edit.document());
        c.setPosition(rt.toDocument(i));
        const QRect left = edit.cursorRect(c);
        c.setPosition(rt.toDocument(i) + 1);
        const QRect right = edit.cursorRect(c);
        const QPoint centre((left.x() + right.x()) / 2, left.center().y());
        EXPECT_EQ(rt.charFromPoint(centre), i) << i;
    }
    // Right of a line's end: the line's break.
    QTextCursor c(edit.document());
    const QRect firstLine = edit.cursorRect(c);
    EXPECT_EQ(rt.charFromPoint(QPoint(390, firstLine.center().y())), 11);
    // Below the text: the last line.
    EXPECT_EQ(rt.lineFromChar(rt.charFromPoint(QPoint(5, 195))), 3);
}

TEST_F(RichTextTest, WrappedRowsStayOneLine)
{
    edit.resize(120, 200);
    edit.show();
    const QString longLine = QString(QStringLiteral("word ")).repeated(40);
    rt.setText(longLine + QStringLiteral("\r\nnext"));
    ASSERT_GT(edit.document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_EQ(rt.lineCount(), 2);
    EXPECT_EQ(rt.lineLength(0), 200);
    EXPECT_EQ(rt.lineLength(150), 200);
    EXPECT_EQ(rt.lineIndex(1), 202);

    // A character on the second screen row of the wrapped line is found there.
    QTextCursor c(edit.document());
    const QTextLine row = edit.document()->firstBlock().layout()->lineAt(1);
    const int index = row.textStart() + 1;
    c.setPosition(index);
    const QRect left = edit.cursorRect(c);
    c.setPosition(index + 1);
    const QRect right = edit.cursorRect(c);
    EXPECT_EQ(rt.charFromPoint(QPoint((left.x() + right.x()) / 2, left.center().y())), index);
}

TEST_F(RichTextTest, LookAndLock)
{
    rt.setBackColor(12632319);
    EXPECT_EQ(rt.backColor(), 12632319);
    QFont f(QStringLiteral("Courier New"), 14);
    rt.setFont(f);
    EXPECT_EQ(rt.font().pointSize(), 14);
    EXPECT_EQ(edit.document()->defaultFont().pointSize(), 14);
    rt.setLocked(true);
    EXPECT_TRUE(rt.locked());
    rt.appendText(QStringLiteral("still written"), kRed);
    EXPECT_EQ(rt.text(), QStringLiteral("still written"));
}

} // namespace
