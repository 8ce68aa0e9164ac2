#include "platform/widgets/richtext.h"

#include "platform/vb/units.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>

namespace {
constexpr QChar kParagraph = QChar::ParagraphSeparator;
}

RichText::RichText(QTextEdit* edit) : edit_(edit)
{
    // The program appends and trims these windows all the time; an undo history would only grow
    // and could undo the program's own insertions. Pasted text arrives without formatting.
    edit_->setUndoRedoEnabled(false);
    edit_->setAcceptRichText(false);
}

QTextCursor RichText::cursor() const
{
    return edit_->textCursor();
}

QString RichText::normaliseBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// ---- positions ----

int RichText::fromDocument(int documentPosition) const
{
    const QTextDocument* doc = edit_->document();
    const int docLength = doc->characterCount() - 1;
    const int p = std::clamp(documentPosition, 0, docLength);
    return p + doc->findBlock(p).blockNumber();
}

int RichText::toDocument(int position) const
{
    const QTextDocument* doc = edit_->document();
    const int v = std::clamp(position, 0, length());
    // Last line whose first character is at or before v.
    int lo = 0;
    int hi = doc->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= v)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(lo);
    const int offset = v - (block.position() + lo);
    return block.position() + std::min(offset, block.length() - 1);
}

// ---- text ----

QString RichText::text() const
{
    QString raw = edit_->document()->toRawText();
    raw.replace(kParagraph, QStringLiteral("\r\n"));
    return raw;
}

int RichText::length() const
{
    const QTextDocument* doc = edit_->document();
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

void RichText::setText(const QString& text)
{
    QTextCursor c(edit_->document());
    const QTextCharFormat format = edit_->currentCharFormat();
    c.select(QTextCursor::Document);
    c.insertText(normaliseBreaks(text), format);
    c.setPosition(0);
    edit_->setTextCursor(c);
}

// ---- selection ----

int RichText::selStart() const
{
    return fromDocument(cursor().selectionStart());
}

int RichText::selLength() const
{
    const QTextCursor c = cursor();
    return fromDocument(c.selectionEnd()) - fromDocument(c.selectionStart());
}

void RichText::setSelStart(int start)
{
    setSelection(start, 0);
}

void RichText::setSelLength(int length)
{
    setSelection(selStart(), length);
}

void RichText::setSelection(int start, int length)
{
    const int total = this->length();
    start = std::clamp(start, 0, total);
    length = std::clamp(length, 0, total - start);
    const int anchor = toDocument(start);
    const int position = toDocument(start + length);
    QTextCursor c = cursor();
    // Re-selecting the same range keeps the insertion colour, as the rich text box did.
    if (c.anchor() == anchor && c.position() == position)
        return;
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    edit_->setTextCursor(c);
}

QString RichText::selText() const
{
    QString s = cursor().selectedText();
    s.replace(kParagraph, QStringLiteral("\r\n"));
    return s;
}

std::int32_t RichText::selColor() const
{
    QTextCharFormat format;
    const QTextCursor c = cursor();
    if (c.hasSelection()) {
        QTextCursor first(edit_->document());
        first.setPosition(c.selectionStart() + 1);
        format = first.charFormat();
    } else {
        format = edit_->currentCharFormat();
    }
    if (format.foreground().style() == Qt::NoBrush)
        return rgb::fromColor(edit_->palette().color(QPalette::Text));
    return rgb::fromColor(format.foreground().color());
}

void RichText::setSelColor(std::int32_t rgbNumber)
{
    QTextCharFormat format;
    format.setForeground(rgb::toColor(rgbNumber));
    edit_->mergeCurrentCharFormat(format);
}

void RichText::replaceSelection(const QString& text)
{
    QTextCursor c = cursor();
    const QTextCharFormat format = edit_->currentCharFormat();
    if (text.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(normaliseBreaks(text), format);
    edit_->setTextCursor(c);
}

void RichText::appendText(const QString& text, std::int32_t rgbNumber)
{
    setSelStart(length());
    setSelColor(rgbNumber);
    replaceSelection(text);
}

// ---- lines ----

int RichText::lineCount() const
{
    return edit_->document()->blockCount();
}

int RichText::lineFromChar(int charIndex) const
{
    return edit_->document()->findBlock(toDocument(charIndex)).blockNumber();
}

int RichText::lineIndex(int line) const
{
    if (line < 0)
        line = cursor().blockNumber();
    const QTextBlock block = edit_->document()->findBlockByNumber(line);
    if (!block.isValid())
        return -1;
    return block.position() + line;
}

int RichText::lineLength(int charIndex) const
{
    return edit_->document()->findBlock(toDocument(charIndex)).length() - 1;
}

int RichText::charFromPoint(const QPoint& viewportPixel) const
{
    const QTextCursor near = edit_->cursorForPosition(viewportPixel);
    const QTextBlock block = near.block();
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return fromDocument(near.position());
    // Document coordinates, then relative to the block's layout, where its rows are placed.
    const QPointF docPoint(viewportPixel.x() + edit_->horizontalScrollBar()->value(),
                           viewportPixel.y() + edit_->verticalScrollBar()->value());
    const QPointF inBlock = docPoint - layout->position();
    // The row of the block under the point, or the nearest one.
    int row = layout->lineCount() - 1;
    for (int i = 0; i < layout->lineCount(); ++i) {
        if (inBlock.y() < layout->lineAt(i).rect().bottom()) {
            row = i;
            break;
        }
    }
    const QTextLine line = layout->lineAt(row);
    const int inBlockPos = line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
    return fromDocument(block.position() + inBlockPos);
}

int RichText::find(const QString& what, int start, bool matchCase) const
{
    if (what.isEmpty())
        return -1;
    const QString all = text();
    start = std::clamp(start, 0, static_cast<int>(all.size()));
    return static_cast<int>(
        all.indexOf(what, start, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive));
}

// ---- look ----

std::int32_t RichText::backColor() const
{
    return rgb::fromColor(edit_->palette().color(QPalette::Base));
}

void RichText::setBackColor(std::int32_t rgbNumber)
{
    QPalette p = edit_->palette();
    p.setColor(QPalette::Base, rgb::toColor(rgbNumber));
    edit_->setPalette(p);
}

QFont RichText::font() const
{
    return edit_->font();
}

void RichText::setFont(const QFont& font)
{
    edit_->setFont(font);
    edit_->document()->setDefaultFont(font);
}

bool RichText::locked() const
{
    return edit_->isReadOnly();
}

void RichText::setLocked(bool locked)
{
    edit_->setReadOnly(locked);
}
