#pragma once
// Every modal box goes through here, so tests can answer it and check what it said.
#include <QFont>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

class QDialog;

namespace dlg {

// Message box styles and answers, numbered as the program has always numbered them.
enum Style : int {
    OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5,
    Critical = 16, Question = 32, Exclamation = 48, Information = 64,
    DefaultButton2 = 256, DefaultButton3 = 512,
};
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct FontChoice {
    QString name;
    double size = 9;
    bool bold = false;
    bool italic = false;
    std::int32_t color = 0; // Windows RGB number
};

struct FileRequest {
    QString title;
    QString filter;      // "ADIF files (*.adi);;All files (*)"
    QString initialDir;
    QString defaultName;
    bool askOverwrite = true; // saveFile: the dialog asks before an existing file is chosen (false: the caller asks its own question)
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // title empty: the application title.
    virtual int message(const QString& text, int style, const QString& title) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    virtual std::optional<std::int32_t> colour(std::int32_t initial) = 0;
    // textOf: whose text the font is for ("Previous QSOs"); the font box and the colour box that
    // follows it say so in their titles.
    virtual std::optional<FontChoice> font(const FontChoice& initial, const QString& textOf) = 0;
    // Empty when cancelled.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;

    static Dialogs& instance();
    // Installs a replacement (tests); nullptr puts the real boxes back. Caller keeps ownership.
    static void install(Dialogs* dialogs);
};

// The title used when a box names none ("Sondrel" in the program, "Varnel" in the component).
QString applicationTitle();
void setApplicationTitle(const QString& title);

// Shows a form modally (About, the settings dialogs): its exec() in the program; tests install
// a runner that answers it without blocking. Returns the dialog's result code.
int ShowModal(QDialog& dialog);
void setModalRunner(std::function<int(QDialog&)> runner); // empty: exec() again

// Shorthand for Dialogs::instance().message(...).
int MsgBox(const QString& text, int style = OKOnly, const QString& title = QString());

} // namespace dlg
