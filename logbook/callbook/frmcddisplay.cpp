#include "logbook/callbook/frmcddisplay.h"

#include "displays/spectrum/aux_channels.h"
#include "displays/spectrum/scale.h"
#include "logbook/windows/logbook_window_settings.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/owned_window.h"
#include "settings/inistuff.h"
#include "state/main_window_controls.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

frmCDDisplay* g_window = nullptr;
const QString kSection = QStringLiteral("CD Lookup");

QString read(const char* key, const char* def)
{
    return ReadINI(kSection, QString::fromLatin1(key), QString::fromLatin1(def));
}

void write(const char* key, const QString& value)
{
    WriteINI(kSection, QString::fromLatin1(key), value);
}

QString truth(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

QString twipsText(int pixels)
{
    return QString::number(twips::fromPixels(pixels));
}

std::int32_t colourOf(const QString& text, std::int32_t fallback)
{
    const double v = vb::Val(text);
    return v >= 0 && v <= 16777215 ? std::int32_t(v) : fallback;
}

} // namespace

frmCDDisplay::frmCDDisplay(QWidget* owner)
    : QMainWindow(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmCDDisplay"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> handler) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        menus_.insert(QString::fromLatin1(name), new MenuItem(a, std::move(handler)));
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    item(file, "mnuExit", "Exit", [this] { mnuExit_Click(); });
    QMenu* tools = bar->addMenu(QStringLiteral("&Toolbox"));
    item(tools, "mnuFont", "Font settings", [this] { mnuFont_Click(); });
    item(tools, "mnuBackground", "Background settings", [this] { mnuBackground_Click(); });

    // The outer panel keeps the inner one sized to the window; the inner one holds the text and,
    // under it, its caption.
    vsElastic1 = new QWidget(this);
    vsElastic1->setObjectName(QStringLiteral("vsElastic1"));
    auto* outer = new QVBoxLayout(vsElastic1);
    outer->setContentsMargins(0, 0, 0, 0);
    vsElastic2 = new QWidget(vsElastic1);
    vsElastic2->setObjectName(QStringLiteral("vsElastic2"));
    vsElastic2->setFocusPolicy(Qt::StrongFocus);
    outer->addWidget(vsElastic2);
    auto* inner = new QVBoxLayout(vsElastic2);
    inner->setContentsMargins(2, 2, 2, 2);
    Text = new QPlainTextEdit(vsElastic2);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setReadOnly(true);
    Text->installEventFilter(this);
    inner->addWidget(Text, 1);
    panelCaption_ = new QLabel(vsElastic2);
    panelCaption_->setObjectName(QStringLiteral("vsElastic2Caption"));
    panelCaption_->setVisible(false);
    inner->addWidget(panelCaption_);
    setCentralWidget(vsElastic1);
}

frmCDDisplay::~frmCDDisplay()
{
    if (g_window == this)
        g_window = nullptr;
}

frmCDDisplay* frmCDDisplay::existing()
{
    return g_window;
}

frmCDDisplay& frmCDDisplay::instance()
{
    if (!g_window) {
        g_window = new frmCDDisplay(MainWindowWidget());
        g_window->doINIStuff();
    }
    return *g_window;
}

void frmCDDisplay::showOwned()
{
    ShowOwnedWindow(*this, MainWindowWidget(), storedPlace_);
}

void frmCDDisplay::setText(const QString& text)
{
    // The box shows line breaks; the text keeps its CR LF pairs.
    Text->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString frmCDDisplay::text() const
{
    return Text->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void frmCDDisplay::setPanelCaption(const QString& caption)
{
    panelCaption_->setText(caption);
    panelCaption_->setVisible(!caption.isEmpty());
}

QString frmCDDisplay::panelCaption() const
{
    return panelCaption_->text();
}

MenuItem& frmCDDisplay::mnu(const QString& name)
{
    return *menus_.value(name);
}

void frmCDDisplay::doINIStuff()
{
    storedPlace_ = logwin::StoredPlace(kSection);
    QRect g = geometry();
    g.moveTop(PixelsOf(read("Top", "200"), g.top()));
    g.moveLeft(PixelsOf(read("Left", "200"), g.left()));
    g.setWidth(qBound(1, PixelsOf(read("Width", "4750"), g.width()), 10000));
    g.setHeight(qBound(1, PixelsOf(read("Height", "2500"), g.height()), 10000));
    setGeometry(g);
    backColor_ = colourOf(read("Background Color", "16777215"), backColor_);
    QFont font = Text->font();
    font.setFamily(read("Font", "Arial"));
    const double size = vb::Val(read("Font Size", "9"));
    if (size > 0 && size < 1000)
        font.setPointSizeF(size);
    font.setBold(read("Font Bold", "False") == QLatin1String("True"));
    font.setItalic(read("Font Italic", "False") == QLatin1String("True"));
    Text->setFont(font);
    textColor_ = colourOf(read("Text Color", "0"), textColor_);
    applyColours();
}

void frmCDDisplay::applyColours()
{
    QPalette p = Text->palette();
    p.setColor(QPalette::Base, rgb::toColor(backColor_));
    p.setColor(QPalette::Text, rgb::toColor(textColor_));
    Text->setPalette(p);
}

void frmCDDisplay::Form_Unload()
{
    const QRect g = geometry();
    write("Top", twipsText(g.top()));
    write("Left", twipsText(g.left()));
    write("Height", twipsText(g.height()));
    write("Width", twipsText(g.width()));
}

void frmCDDisplay::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Form_Unload();
    if (g_window == this)
        g_window = nullptr;
    hide();
    deleteLater();
}

void frmCDDisplay::closeEvent(QCloseEvent* e)
{
    Unload();
    e->accept();
}

void frmCDDisplay::mnuExit_Click()
{
    Unload();
}

void frmCDDisplay::mnuFont_Click()
{
    const QFont current = Text->font();
    const dlg::FontChoice start{current.family(), current.pointSizeF(), current.bold(), current.italic(),
                                textColor_};
    std::optional<dlg::FontChoice> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().font(start, QStringLiteral("Callbook result")); });
    if (!chosen)
        return;
    QFont font = Text->font();
    font.setFamily(chosen->name);
    Text->setFont(font);
    write("Font", chosen->name);
    if (chosen->size > 0 && chosen->size < 1000)
        font.setPointSizeF(chosen->size);
    Text->setFont(font);
    write("Font Size", vb::Text(chosen->size));
    font.setBold(chosen->bold);
    Text->setFont(font);
    write("Font Bold", truth(chosen->bold));
    font.setItalic(chosen->italic);
    Text->setFont(font);
    write("Font Italic", truth(chosen->italic));
    textColor_ = chosen->color;
    applyColours();
    write("Text Color", QString::number(chosen->color));
}

void frmCDDisplay::mnuBackground_Click()
{
    std::optional<std::int32_t> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().colour(backColor_); });
    if (chosen) {
        backColor_ = *chosen;
        applyColours();
        WriteINI(kSection, QStringLiteral("BackGround Color"), QString::number(*chosen));
    }
    FocusMainTxWindow();
}

void frmCDDisplay::Text_GotFocus()
{
    vsElastic2->setFocus(Qt::OtherFocusReason);
}

bool frmCDDisplay::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == Text && e->type() == QEvent::FocusIn)
        Text_GotFocus();
    return QMainWindow::eventFilter(watched, e);
}
