#pragma once
// "Radio debug monitor": every command sent, every reply taken, the data-file accesses and
// the forced resets, one coloured line each, under the last frequency and mode.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>
#include <cstdint>

class QLabel;
class QPlainTextEdit;

namespace varnel {

class DebugWindow : public QWidget {
    Q_OBJECT
public:
    // Line colours, Windows RGB numbers.
    static constexpr std::int32_t kRxColour = 0;          // black
    static constexpr std::int32_t kTxColour = 0xFF0000;   // blue
    static constexpr std::int32_t kMessageColour = 255;   // red

    enum Direction { RX, TX };

    explicit DebugWindow(QWidget* parent = nullptr);

    // A line of bytes: each byte as two upper-case hex digits and a blank when `hex`, else
    // the bytes as Windows-1252 text.
    void writeLine(const QByteArray& bytes, bool hex, Direction direction);
    void writeMessage(const QString& text);
    void setFrequencyLabel(const QString& text); // "FREQ : " and the text
    void setModeLabel(const QString& text);      // "MODE : " and the text

    struct Line {
        QString text;
        std::int32_t colour;
    };
    QList<Line> lines() const;
    QString frequencyLabel() const;
    QString modeLabel() const;

    static QString hexForm(const QByteArray& bytes);

signals:
    // The window is going away (closed by the operator or by the component).
    void unloading();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void append(const QString& text, std::int32_t colour);

    QLabel* freq_;
    QLabel* mode_;
    QPlainTextEdit* text_;
};

} // namespace varnel
