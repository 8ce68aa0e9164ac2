#include "core/transmit/txwindow.h"

#include "platform/vb/text1252.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace {

int keyCodeOf(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return 112 + (qtKey - Qt::Key_F1);
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same numbers
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

int asciiOf(int qtKey, int shift, const QString& text)
{
    const bool ctrl = shift & 2;
    const bool alt = shift & 4;
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return ctrl ? 10 : 13;
    case Qt::Key_Backspace: return ctrl ? 127 : 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return ctrl ? 0 : 9;
    case Qt::Key_Delete:
    case Qt::Key_Insert: return 0;
    default: break;
    }
    if (ctrl && !alt)
        return qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z ? qtKey - Qt::Key_A + 1 : 0;
    if (alt && !ctrl)
        return 0; // Alt with a key is a menu accelerator, not a character
    if (text.isEmpty() || text.front().unicode() < 32 || text.front().unicode() == 127)
        return 0;
    const int b = cp1252::byteOf(text.front());
    return b > 0 ? b : '?';
}

} // namespace

TxKey MapTxKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text)
{
    TxKey k;
    k.keyCode = keyCodeOf(qtKey);
    if (modifiers & Qt::ShiftModifier)
        k.shift |= 1;
    if (modifiers & Qt::ControlModifier)
        k.shift |= 2;
    if (modifiers & Qt::AltModifier)
        k.shift |= 4;
    k.ascii = asciiOf(qtKey, k.shift, text);
    return k;
}

TxTextEdit::TxTextEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
}

void TxTextEdit::keyPressEvent(QKeyEvent* e)
{
    if (!onKey) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    TxKey key = MapTxKey(e->key(), e->modifiers(), e->text());
    // Copy, cut and paste stay the control's own; a paste arrives through insertFromMimeData.
    if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Paste))
        key.ascii = 0;
    if (onKey(key))
        QTextEdit::keyPressEvent(e);
    else
        e->accept();
}

void TxTextEdit::inputMethodEvent(QInputMethodEvent* e)
{
    if (!onKey || e->commitString().isEmpty()) {
        QTextEdit::inputMethodEvent(e);
        return;
    }
    // Composed characters are typed one by one, like keys.
    const QString typed = e->commitString();
    QInputMethodEvent rest(e->preeditString(), e->attributes());
    QTextEdit::inputMethodEvent(&rest);
    for (const QChar c : typed) {
        TxKey key;
        key.ascii = asciiOf(0, 0, QString(c));
        if (key.ascii != 0)
            onKey(key);
    }
    e->accept();
}

void TxTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!onPaste) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    if (source && source->hasText())
        onPaste(source->text());
}

void TxTextEdit::mousePressEvent(QMouseEvent* e)
{
    if (onMouseDown)
        onMouseDown();
    QTextEdit::mousePressEvent(e);
}

void TxTextEdit::mouseReleaseEvent(QMouseEvent* e)
{
    QTextEdit::mouseReleaseEvent(e);
    if (onMouseUp)
        onMouseUp();
}
