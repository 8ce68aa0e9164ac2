#pragma once
// The text windows' model: a QTextEdit seen as a rich text box, where a line break is the two
// characters CR LF. Every position and length here counts a break as two characters; a position
// that falls between the CR and the LF is taken as the position of the CR.
#include <QFont>
#include <QPoint>
#include <QString>
#include <QTextCursor>
#include <cstdint>

class QTextEdit;

class RichText {
public:
    // The adapter does not own the edit; it must outlive every call. It turns the edit's undo
    // history off (the program appends and trims all the time) and takes pastes as plain text.
    explicit RichText(QTextEdit* edit);

    QTextEdit* edit() const { return edit_; }

    // Whole text with "\r\n" line breaks, and its length.
    QString text() const;
    int length() const;
    // Replaces everything; "\r\n", "\r" and "\n" each become one line break. Caret to the start.
    void setText(const QString& text);

    // Caret and selection. Setting the start puts the caret there and empties the selection;
    // setting the length extends from the start. Both are clamped to the text.
    int selStart() const;
    int selLength() const;
    void setSelStart(int start);
    void setSelLength(int length);
    void setSelection(int start, int length);
    QString selText() const;

    // Colour (Windows RGB) of the selection's first character, or the insertion colour when
    // nothing is selected. Setting it recolours the selection and sets the insertion colour.
    std::int32_t selColor() const;
    void setSelColor(std::int32_t rgbNumber);

    // Replaces the selection with text in the insertion colour; the caret ends after it.
    void replaceSelection(const QString& text);
    // Caret to the end, insertion colour set, text inserted there.
    void appendText(const QString& text, std::int32_t rgbNumber);

    // Lines are the text's lines between breaks (not the wrapped rows on screen).
    int lineCount() const;
    int lineFromChar(int charIndex) const;  // 0-based line holding the character
    int lineIndex(int line) const;          // first character of a line; -1 past the last line
    int lineLength(int charIndex) const;    // length of that line without its break

    // Index of the character under a point in viewport pixels (nearest one beside the text).
    int charFromPoint(const QPoint& viewportPixel) const;

    // 0-based position of `what` at or after `start`, or -1. Letter case ignored unless asked.
    int find(const QString& what, int start = 0, bool matchCase = false) const;

    // Window look.
    std::int32_t backColor() const;
    void setBackColor(std::int32_t rgbNumber);
    QFont font() const;
    void setFont(const QFont& font);
    // Read-only for the operator; the program still writes.
    bool locked() const;
    void setLocked(bool locked);

    // Conversions between positions here and positions in the edit's document.
    int toDocument(int position) const;
    int fromDocument(int documentPosition) const;

private:
    QTextCursor cursor() const;
    static QString normaliseBreaks(const QString& text);

    QTextEdit* edit_;
};
