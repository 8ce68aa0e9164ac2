#pragma once
// A stand-in for the modal boxes: answers from a script, and a record of every box asked for.
#include "platform/widgets/dialogs.h"

#include <QList>
#include <variant>

namespace dlg {

struct BoxCall {
    enum Kind { Message, Input, Colour, Font, Open, Save } kind;
    QString text;   // message text, input prompt, file title
    QString title;  // as passed (empty = application title); a font box: whose text it is for
    int style = 0;  // message style
};

class ScriptedDialogs : public Dialogs {
public:
    // Installs itself for as long as it lives.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers, taken in order by the boxes of their kind. With none left, a message box answers
    // its first button (OK/Yes/Abort/Retry), and every other box is cancelled.
    void answerMessage(int answer) { messages_.append(answer); }
    void answerInput(std::optional<QString> text) { inputs_.append(text); }
    void answerColour(std::optional<std::int32_t> c) { colours_.append(c); }
    void answerFont(std::optional<FontChoice> f) { fonts_.append(f); }
    void answerOpen(const QString& path) { opens_.append(path); }
    void answerSave(const QString& path) { saves_.append(path); }

    const QList<BoxCall>& calls() const { return calls_; }
    QList<BoxCall> messages() const;
    void clear() { calls_.clear(); }

    int message(const QString& text, int style, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<std::int32_t> colour(std::int32_t initial) override;
    std::optional<FontChoice> font(const FontChoice& initial, const QString& textOf) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;

private:
    QList<BoxCall> calls_;
    QList<int> messages_;
    QList<std::optional<QString>> inputs_;
    QList<std::optional<std::int32_t>> colours_;
    QList<std::optional<FontChoice>> fonts_;
    QStringList opens_, saves_;
};

} // namespace dlg
