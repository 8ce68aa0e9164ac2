#pragma once
// The engine's own window: what the engine has to tell the operator (a profile value it did
// not use, a sound device it cannot open), newest last, and a button for its set-up window.
#include <QWidget>

class QPlainTextEdit;

namespace rtty {

class EngineView : public QWidget {
    Q_OBJECT
public:
    explicit EngineView(const QString& title, QWidget* parent = nullptr);
    void addMessage(const QString& text);
    QString messages() const;

signals:
    void setupRequested();

private:
    QPlainTextEdit* log_;
};

} // namespace rtty
