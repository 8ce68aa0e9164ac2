#pragma once
// The transmit window's text control: it takes every key press, paste and drop itself and
// hands them to the typing handlers (core/transmit/txtyping.h), which insert the text.
#include "core/transmit/txtyping.h"

#include <QTextEdit>
#include <functional>

// Qt's key, modifiers and text as the program's key code, shift state and typed character.
// Ctrl+letter types 1..26 and Ctrl+Enter a line feed, whatever text the platform gives.
TxKey MapTxKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

class TxTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TxTextEdit(QWidget* parent = nullptr);

    // Set by the transmit road; without them the control behaves as a plain text edit.
    std::function<bool(const TxKey&)> onKey;        // true: the control handles the key too
    std::function<void(const QString&)> onPaste;
    std::function<void()> onMouseDown;
    std::function<void()> onMouseUp;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};
