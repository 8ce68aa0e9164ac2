#include "platform/widgets/dialogs.h"

#include "platform/vb/units.h"
#include "platform/widgets/screen_fit.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <atomic>

namespace dlg {
namespace {

QString g_title = QStringLiteral("Sondrel");

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

class RealDialogs : public Dialogs {
public:
    int message(const QString& text, int style, const QString& title) override
    {
        QMessageBox box(parentWindow());
        box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
        box.setText(text);
        switch (style & 0x70) {
        case Critical: box.setIcon(QMessageBox::Critical); break;
        case Question: box.setIcon(QMessageBox::Question); break;
        case Exclamation: box.setIcon(QMessageBox::Warning); break;
        case Information: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        struct B { QMessageBox::StandardButton button; int answer; };
        QList<B> buttons;
        switch (style & 0x7) {
        case OKCancel: buttons = {{QMessageBox::Ok, OK}, {QMessageBox::Cancel, Cancel}}; break;
        case AbortRetryIgnore:
            buttons = {{QMessageBox::Abort, Abort}, {QMessageBox::Retry, Retry}, {QMessageBox::Ignore, Ignore}};
            break;
        case YesNoCancel:
            buttons = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}, {QMessageBox::Cancel, Cancel}};
            break;
        case YesNo: buttons = {{QMessageBox::Yes, Yes}, {QMessageBox::No, No}}; break;
        case RetryCancel: buttons = {{QMessageBox::Retry, Retry}, {QMessageBox::Cancel, Cancel}}; break;
        default: buttons = {{QMessageBox::Ok, OK}}; break;
        }
        for (const B& b : buttons)
            box.addButton(b.button);
        const int def = (style & DefaultButton3) ? 2 : (style & DefaultButton2) ? 1 : 0;
        if (def < buttons.size())
            box.setDefaultButton(buttons[def].button);
        const int pressed = box.exec();
        for (const B& b : buttons)
            if (b.button == pressed)
                return b.answer;
        // Closed with the window's close box: the cancelling answer, or the only one.
        for (const B& b : buttons)
            if (b.answer == Cancel || b.answer == No)
                return b.answer;
        return buttons.front().answer;
    }

    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override
    {
        QInputDialog box(parentWindow());
        box.setWindowTitle(title.isEmpty() ? applicationTitle() : title);
        box.setInputMode(QInputDialog::TextInput);
        box.setLabelText(prompt);
        box.setTextValue(defaultText);
        // A long prompt wraps, so the box and its buttons stay on the screen.
        for (QLabel* label : box.findChildren<QLabel*>())
            label->setWordWrap(true);
        CentreOnScreen(box);
        if (box.exec() != QDialog::Accepted)
            return std::nullopt;
        return box.textValue();
    }

    std::optional<std::int32_t> colour(std::int32_t initial) override
    {
        return colourTitled(initial, QString());
    }

    // An empty title: the toolkit's own.
    std::optional<std::int32_t> colourTitled(std::int32_t initial, const QString& title)
    {
        const QColor c = QColorDialog::getColor(rgb::toColor(initial), parentWindow(), title);
        if (!c.isValid())
            return std::nullopt;
        return rgb::fromColor(c);
    }

    std::optional<FontChoice> font(const FontChoice& initial, const QString& textOf) override
    {
        QFont f(initial.name);
        f.setPointSizeF(initial.size > 0 ? initial.size : 9);
        f.setBold(initial.bold);
        f.setItalic(initial.italic);
        bool ok = false;
        const QFont chosen = textOf.isEmpty() ? QFontDialog::getFont(&ok, f, parentWindow())
                                              : QFontDialog::getFont(&ok, f, parentWindow(), textOf + QStringLiteral(" font"));
        if (!ok)
            return std::nullopt;
        FontChoice out = initial;
        out.name = chosen.family();
        out.size = chosen.pointSizeF();
        out.bold = chosen.bold();
        out.italic = chosen.italic();
        // The font box has no colour of its own here; a colour box follows it and says what it sets.
        const QString what = textOf.isEmpty() ? QStringLiteral("Text color") : textOf + QStringLiteral(" text color");
        if (auto c = colourTitled(initial.color, what))
            out.color = *c;
        return out;
    }

    QString openFile(const FileRequest& r) override
    {
        return QFileDialog::getOpenFileName(parentWindow(), r.title, r.initialDir, r.filter);
    }

    QString saveFile(const FileRequest& r) override
    {
        QString start = r.initialDir;
        if (!r.defaultName.isEmpty())
            start = start.isEmpty() ? r.defaultName : start + u'/' + r.defaultName;
        return QFileDialog::getSaveFileName(parentWindow(), r.title, start, r.filter, nullptr,
                                            r.askOverwrite ? QFileDialog::Options()
                                                           : QFileDialog::DontConfirmOverwrite);
    }
};

std::atomic<Dialogs*> g_installed{nullptr};

} // namespace

Dialogs& Dialogs::instance()
{
    static RealDialogs real;
    Dialogs* d = g_installed.load();
    return d ? *d : real;
}

void Dialogs::install(Dialogs* dialogs)
{
    g_installed.store(dialogs);
}

QString applicationTitle()
{
    return g_title;
}

void setApplicationTitle(const QString& title)
{
    g_title = title;
}

namespace {
std::function<int(QDialog&)> g_modalRunner;
}

int ShowModal(QDialog& dialog)
{
    if (g_modalRunner)
        return g_modalRunner(dialog);
    // A dialog never opens larger than its screen or with its buttons off it.
    PlaceOnScreen(dialog);
    return dialog.exec();
}

void setModalRunner(std::function<int(QDialog&)> runner)
{
    g_modalRunner = std::move(runner);
}

int MsgBox(const QString& text, int style, const QString& title)
{
    return Dialogs::instance().message(text, style, title);
}

} // namespace dlg
