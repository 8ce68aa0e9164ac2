#include "radio_control/debug_window.h"

#include "platform/vb/text1252.h"
#include "platform/vb/units.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>

namespace varnel {

DebugWindow::DebugWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Radio debug monitor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto px = [](int tw) { return twips::toPixels(tw); };
    setFixedSize(px(4470), px(2655));

    freq_ = new QLabel(QStringLiteral("FREQ :"), this);
    freq_->setGeometry(px(240), px(90), px(1695), px(255));
    mode_ = new QLabel(QStringLiteral("MODE : "), this);
    mode_->setGeometry(px(2640), px(90), px(1695), px(255));
    text_ = new QPlainTextEdit(this);
    text_->setGeometry(px(0), px(360), px(4455), px(2295));
    text_->setReadOnly(true);
    text_->setUndoRedoEnabled(false);
    text_->viewport()->installEventFilter(this);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + s.width() / 2 - width() / 2, s.y() + s.height() / 2 - height() / 2);
    }
}

QString DebugWindow::hexForm(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size() * 3);
    static const char digits[] = "0123456789ABCDEF";
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += QChar(digits[b >> 4]);
        out += QChar(digits[b & 0xF]);
        out += u' ';
    }
    return out;
}

void DebugWindow::writeLine(const QByteArray& bytes, bool hex, Direction direction)
{
    append(hex ? hexForm(bytes) : cp1252::decode(bytes), direction == RX ? kRxColour : kTxColour);
}

void DebugWindow::writeMessage(const QString& text)
{
    append(text, kMessageColour);
}

void DebugWindow::append(const QString& text, std::int32_t colour)
{
    QTextCursor cursor(text_->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(rgb::toColor(colour));
    cursor.insertText(text, format);
    cursor.insertBlock(QTextBlockFormat(), format);
    text_->ensureCursorVisible();
}

QList<DebugWindow::Line> DebugWindow::lines() const
{
    QList<Line> out;
    for (QTextBlock b = text_->document()->begin(); b.isValid(); b = b.next()) {
        if (!b.next().isValid() && b.text().isEmpty())
            break; // the empty block after the last line break
        std::int32_t colour = kRxColour;
        const auto it = b.begin();
        if (!it.atEnd())
            colour = rgb::fromColor(it.fragment().charFormat().foreground().color());
        out.append({b.text(), colour});
    }
    return out;
}

void DebugWindow::setFrequencyLabel(const QString& text)
{
    freq_->setText(QStringLiteral("FREQ : ") + text);
}

void DebugWindow::setModeLabel(const QString& text)
{
    mode_->setText(QStringLiteral("MODE : ") + text);
}

QString DebugWindow::frequencyLabel() const
{
    return freq_->text();
}

QString DebugWindow::modeLabel() const
{
    return mode_->text();
}

void DebugWindow::closeEvent(QCloseEvent* event)
{
    emit unloading();
    event->accept();
}

bool DebugWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Releasing the mouse over a selection copies it as plain text.
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        QString selected = text_->textCursor().selectedText();
        if (!selected.isEmpty())
            QApplication::clipboard()->setText(selected.replace(QChar::ParagraphSeparator, u'\n'));
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace varnel
