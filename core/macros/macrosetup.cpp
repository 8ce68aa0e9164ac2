#include "core/macros/macrosetup.h"

#include "core/macros/macro_services.h"
#include "core/macros/macro_store.h"
#include "core/macros/macrobutton.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr std::int32_t kDefaultBack = 14671839; // light grey
const char* const kDefaultFont = "MS Sans Serif";
constexpr int kDefaultSize = 8;

MacroSetup* g_open = nullptr;

ButtonLook normalLook(std::size_t i)
{
    return {MacroBackColor[i], MacroForeColor[i], MacroFontName[i], static_cast<int>(MacroFontSize[i]),
            MacroFontBold[i], MacroFontItalic[i]};
}

ButtonLook overLook(std::size_t i)
{
    return {MacroMouseOverBackColor[i], MacroMouseOverForeColor[i], MacroMouseOverFontName[i],
            static_cast<int>(MacroMouseOverFontSize[i]), MacroMouseOverFontBold[i], MacroMouseOverFontItalic[i]};
}

// A font choice from the dialog into one look of element 0; the size to whole points.
void takeFont(const dlg::FontChoice& f, QString& name, std::int32_t& size, bool& bold, bool& italic,
              std::int32_t& colour)
{
    name = f.name;
    size = vb::CInt(f.size);
    bold = f.bold;
    italic = f.italic;
    colour = f.color;
}

} // namespace

QString MacroKeyName(int n)
{
    if (n >= 25)
        return QStringLiteral("CTRL F") + QString::number(n - 24);
    if (n < 13)
        return QStringLiteral("F") + QString::number(n);
    return QStringLiteral("ALT F") + QString::number(n - 12);
}

MacroSetup* MacroSetup::loaded()
{
    return g_open;
}

MacroSetup& MacroSetup::load()
{
    if (!g_open) {
        g_open = new MacroSetup(MainWindow().Window);
        g_open->Form_Load();
    }
    g_open->QDialog::show();
    g_open->raise();
    return *g_open;
}

void MacroSetup::unload()
{
    MacroSetup* w = g_open;
    if (!w)
        return;
    g_open = nullptr;
    w->hide();
    w->deleteLater(); // it may be unloading from inside one of its own handlers
}

MacroSetup::MacroSetup(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("MacroSetup"));
    setModal(false);
    build();
}

MacroSetup::~MacroSetup()
{
    if (g_open == this)
        g_open = nullptr; // gone with the main window
}

void MacroSetup::build()
{
    auto* column = new QVBoxLayout(this);
    MacroText = new QPlainTextEdit(this);
    MacroText->setObjectName(QStringLiteral("MacroText"));
    MacroText->installEventFilter(this);
    column->addWidget(MacroText, 1);

    auto* captionRow = new QHBoxLayout;
    auto* label2 = new QLabel(QStringLiteral("Button Caption"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    CaptionText = new QLineEdit(this);
    CaptionText->setObjectName(QStringLiteral("CaptionText"));
    Hbutton1 = new MacroButton(0, this);
    Hbutton1->setObjectName(QStringLiteral("Hbutton1"));
    Hbutton1->setMinimumWidth(90);
    captionRow->addWidget(label2);
    captionRow->addWidget(CaptionText, 1);
    captionRow->addWidget(Hbutton1);
    column->addLayout(captionRow);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    Frame1 = new QGroupBox(QStringLiteral(" Setup Macro button appearance "), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(Frame1);
    BackColorButton = button("BackColorButton", "Backcolor");
    Hbutton2 = button("Hbutton2", "Forecolor");
    Hbutton3 = button("Hbutton3", "Mouseover Backcolor");
    Hbutton4 = button("Hbutton4", "Mouseover Forecolor");
    ARButton1 = button("ARButton1", "Reset Backcolors");
    Hbutton7 = button("Hbutton7", "Reset/Cancel all settings");
    grid->addWidget(BackColorButton, 0, 0);
    grid->addWidget(Hbutton2, 0, 1);
    grid->addWidget(Hbutton3, 1, 0);
    grid->addWidget(Hbutton4, 1, 1);
    grid->addWidget(ARButton1, 2, 0);
    grid->addWidget(Hbutton7, 2, 1);
    column->addWidget(Frame1);

    auto* okRow = new QHBoxLayout;
    Hbutton5 = button("Hbutton5", "OK");
    Hbutton6 = button("Hbutton6", "Cancel");
    okRow->addStretch(1);
    okRow->addWidget(Hbutton5);
    okRow->addWidget(Hbutton6);
    column->addLayout(okRow);

    connect(CaptionText, &QLineEdit::textChanged, this, [this](const QString& t) {
        QString shown = t;
        Hbutton1->setText(shown.replace(u'&', QStringLiteral("&&")));
    });
    connect(BackColorButton, &QPushButton::clicked, this, [this] { BackColorButton_Click(); });
    connect(Hbutton2, &QPushButton::clicked, this, [this] { Hbutton2_Click(); });
    connect(Hbutton3, &QPushButton::clicked, this, [this] { Hbutton3_Click(); });
    connect(Hbutton4, &QPushButton::clicked, this, [this] { Hbutton4_Click(); });
    connect(ARButton1, &QPushButton::clicked, this, [this] { ARButton1_Click(); });
    connect(Hbutton7, &QPushButton::clicked, this, [this] { Hbutton7_Click(); });
    connect(Hbutton5, &QPushButton::clicked, this, [this] { Hbutton5_Click(); });
    connect(Hbutton6, &QPushButton::clicked, this, [this] { Hbutton6_Click(); });
    resize(520, 360);
}

void MacroSetup::Form_Load()
{
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    int n = 1;
    try {
        n = vb::CInt(vb::Val(MainWindow().Tag));
    } catch (const vb::OverflowError&) {
    }
    n_ = n >= 1 && n <= kMacroCount ? n : 1;
    setWindowTitle(QStringLiteral("Macro Setup for ") + MacroKeyName(n_));
    QString text = MacroTexts[static_cast<std::size_t>(n_)];
    MacroText->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'));
    CaptionText->setText(MacroCaptions[static_cast<std::size_t>(n_)]);
    LoadUnloadButton(Hbutton1, 0, n_);
}

void MacroSetup::LoadUnloadButton(MacroButton* button, int destination, int source)
{
    const auto d = static_cast<std::size_t>(destination);
    const auto s = static_cast<std::size_t>(source);
    MacroBackColor[d] = MacroBackColor[s];
    MacroMouseOverBackColor[d] = MacroMouseOverBackColor[s];
    MacroForeColor[d] = MacroForeColor[s];
    MacroMouseOverForeColor[d] = MacroMouseOverForeColor[s];
    MacroFontName[d] = MacroFontName[s];
    MacroMouseOverFontName[d] = MacroMouseOverFontName[s];
    MacroFontSize[d] = MacroFontSize[s];
    MacroMouseOverFontSize[d] = MacroMouseOverFontSize[s];
    MacroFontBold[d] = MacroFontBold[s];
    MacroMouseOverFontBold[d] = MacroMouseOverFontBold[s];
    MacroFontItalic[d] = MacroFontItalic[s];
    MacroMouseOverFontItalic[d] = MacroMouseOverFontItalic[s];
    if (!button)
        return;
    QString caption = CaptionText->text();
    button->setText(caption.replace(u'&', QStringLiteral("&&")));
    button->setLooks(normalLook(d), overLook(d));
}

void MacroSetup::showPreview()
{
    Hbutton1->setLooks(normalLook(0), overLook(0));
}

QString MacroSetup::textAsTyped() const
{
    QString text = MacroText->toPlainText();
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

void MacroSetup::BackColorButton_Click()
{
    if (const auto c = dlg::Dialogs::instance().colour(MacroBackColor[0])) {
        MacroBackColor[0] = *c;
        showPreview();
    }
}

void MacroSetup::Hbutton2_Click()
{
    const dlg::FontChoice preset{MacroFontName[0], double(MacroFontSize[0]), MacroFontBold[0], MacroFontItalic[0],
                                 MacroForeColor[0]};
    if (const auto f = dlg::Dialogs::instance().font(preset, QStringLiteral("Macro button"))) {
        takeFont(*f, MacroFontName[0], MacroFontSize[0], MacroFontBold[0], MacroFontItalic[0], MacroForeColor[0]);
        showPreview();
    }
}

void MacroSetup::Hbutton3_Click()
{
    if (const auto c = dlg::Dialogs::instance().colour(MacroMouseOverBackColor[0])) {
        MacroMouseOverBackColor[0] = *c;
        showPreview();
    }
}

void MacroSetup::Hbutton4_Click()
{
    const dlg::FontChoice preset{MacroMouseOverFontName[0], double(MacroMouseOverFontSize[0]),
                                 MacroMouseOverFontBold[0], MacroMouseOverFontItalic[0], MacroMouseOverForeColor[0]};
    if (const auto f = dlg::Dialogs::instance().font(preset, QStringLiteral("Macro button mouse-over"))) {
        takeFont(*f, MacroMouseOverFontName[0], MacroMouseOverFontSize[0], MacroMouseOverFontBold[0],
                 MacroMouseOverFontItalic[0], MacroMouseOverForeColor[0]);
        showPreview();
    }
}

void MacroSetup::ARButton1_Click()
{
    MacroBackColor[0] = kDefaultBack;
    MacroMouseOverBackColor[0] = kDefaultBack;
    showPreview();
}

void MacroSetup::Hbutton7_Click()
{
    MacroText->clear();
    CaptionText->clear();
    MacroForeColor[0] = 0;
    MacroMouseOverForeColor[0] = 0;
    ARButton1_Click();
    MacroFontName[0] = MacroMouseOverFontName[0] = QString::fromLatin1(kDefaultFont);
    MacroFontSize[0] = MacroMouseOverFontSize[0] = kDefaultSize;
    MacroFontBold[0] = MacroMouseOverFontBold[0] = false;
    MacroFontItalic[0] = MacroMouseOverFontItalic[0] = false;
    showPreview();
}

void MacroSetup::Hbutton5_Click()
{
    const QString typed = textAsTyped();
    const QString encoded = MacroTextToStore(typed);
    if (encoded.size() > kMacroTextLimit) {
        ShowMacroTooLong(static_cast<int>(encoded.size()));
        return;
    }
    CaptionText->setText(MacroCaptionRule(CaptionText->text()));
    const auto n = static_cast<std::size_t>(n_);
    MacroCaptions[n] = CaptionText->text();
    MacroTexts[n] = typed;
    LoadUnloadButton(MainWindow().Command1[n], n_, 0);
    WriteMacroButton(ActiveMacroSection(), n_, encoded);
    unload();
}

void MacroSetup::Hbutton6_Click()
{
    unload();
}

void MacroSetup::reject()
{
    Hbutton6_Click();
}

void MacroSetup::closeEvent(QCloseEvent* e)
{
    QDialog::closeEvent(e);
    if (g_open == this)
        unload();
}

bool MacroSetup::eventFilter(QObject* watched, QEvent* e)
{
    // "~" stands for a line break in the store; it cannot be typed into a macro.
    if (watched == MacroText && e->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(e)->text() == QLatin1String("~"))
        return true;
    return QDialog::eventFilter(watched, e);
}
