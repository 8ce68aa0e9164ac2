#include "displays/windows/aux_window.h"

#include "displays/drawing/display_math.h"
#include "displays/drawing/surfaces.h"
#include "displays/spectrum/aux_channels.h"
#include "displays/spectrum/display_hooks.h"
#include "displays/spectrum/scale.h"
#include "displays/windows/aux1.h"
#include "displays/windows/aux2.h"
#include "displays/windows/tuning_window_aux.h"
#include "platform/processes/winmsg.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/owned_window.h"
#include "platform/widgets/picturebox.h"
#include "platform/widgets/richtext.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"
#include "state/psk_api.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QTextEdit>
#include <algorithm>
#include <array>
#include <functional>

namespace {

std::array<QPointer<AuxWindow>, 3> g_windows;

constexpr int kStatusHeight = 24; // pixels
constexpr int kStatusGap = 2;     // between the status bar's boxes
constexpr int kStatusPadding = 14; // a box's frame and margins round its text

QString IniMessage(const QString& part, const QString& value)
{
    return QStringLiteral("Error reading '") + part + QStringLiteral("' part of the .INI file.  ") + value +
           QStringLiteral(" does not appear to be a valid entry");
}

std::int32_t ColourOf(const QString& text, std::int32_t fallback)
{
    const double v = vb::Val(text);
    return v >= 0 && v <= 0xFFFFFF ? static_cast<std::int32_t>(v) : fallback;
}

// Clicks on the status bar's boxes: a press is taken (the boxes are never edited), the release
// runs the box's click when it ends inside, then every release sends the focus back.
class StatusClicks : public QObject {
public:
    StatusClicks(QWidget* target, std::function<void()> click)
        : QObject(target), click_(std::move(click))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            return true;
        if (e->type() != QEvent::MouseButtonRelease)
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const auto* m = static_cast<QMouseEvent*>(e);
        if (click_ && m->button() == Qt::LeftButton && widget->rect().contains(m->position().toPoint()))
            click_();
        FocusMainTxWindow();
        return true;
    }

private:
    std::function<void()> click_;
};

// The text box's mouse, keys and focus, in the program's terms (twips within the box).
class TextEvents : public QObject {
public:
    TextEvents(AuxWindow* window)
        : QObject(window), window_(window)
    {
        window->AuxText->installEventFilter(this);
        window->AuxText->viewport()->installEventFilter(this);
        window->AuxText->viewport()->setMouseTracking(true);
        // The right button takes a name: no menu may take its press or the release that ends the
        // hold on received text.
        window->AuxText->setContextMenuPolicy(Qt::PreventContextMenu);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        QTextEdit* edit = window_->AuxText;
        if (watched == edit) {
            if (e->type() == QEvent::FocusIn)
                window_->AuxText_GotFocus();
            // Typed keys are discarded; the copy keys still work on a locked box.
            if (e->type() == QEvent::KeyPress) {
                auto* k = static_cast<QKeyEvent*>(e);
                return !k->text().isEmpty() && !(k->modifiers() & Qt::ControlModifier);
            }
            return false;
        }
        if (watched != edit->viewport())
            return false;
        const QPoint offset = edit->viewport()->pos();
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(e);
            const QPoint p = m->position().toPoint() + offset;
            const double X = twips::fromPixels(p.x());
            const double Y = twips::fromPixels(p.y());
            const int shift = vbShift(m->modifiers());
            if (e->type() == QEvent::MouseMove)
                window_->AuxText_MouseMove(vbButton(m->buttons()), shift, X, Y);
            else if (e->type() == QEvent::MouseButtonPress)
                window_->AuxText_MouseDown(vbButton(m->button()), shift, X, Y);
            else
                window_->AuxText_MouseUp(vbButton(m->button()), shift, X, Y);
            break;
        }
        case QEvent::Leave:
            window_->AuxText_MouseMove(0, 0, -1, -1);
            break;
        default:
            break;
        }
        return false;
    }

private:
    AuxWindow* window_;
};

} // namespace

AuxWindow* AuxWindow::existing(int channel)
{
    if (channel < 1 || channel > 2)
        return nullptr;
    return g_windows[static_cast<size_t>(channel)].data();
}

void AuxWindow::adopt(int channel, AuxWindow* window)
{
    if (channel >= 1 && channel <= 2)
        g_windows[static_cast<size_t>(channel)] = window;
}

// A tool window, so that the window system keeps it with the main window that owns it.
AuxWindow::AuxWindow(int channel, const QString& caption)
    : QMainWindow(MainWindowWidget(),
                  Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      channel_(channel)
{
    setObjectName(QStringLiteral("Aux%1").arg(channel));
    setWindowTitle(caption);
    buildControls();
    buildMenus();
    windowHandle_ = win::registerWindow(this, caption);
}

AuxWindow::~AuxWindow()
{
    // The text box's last events, while its children go, must not reach a window that is gone.
    delete textEvents_;
    win::unregisterWindow(windowHandle_);
    if (!unloaded_) {
        // Gone without being unloaded (its owner went first): nothing is drawn into it any more.
        state().open = false;
        AuxReadouts(channel_) = AuxReadoutBoxes();
    }
}

const AuxChannel& AuxWindow::state() const
{
    return AuxChannelState(channel_);
}

MenuItem& AuxWindow::mnu(const QString& name)
{
    MenuItem* m = menus_.value(name);
    Q_ASSERT_X(m, "AuxWindow::mnu", qPrintable(name));
    return *m;
}

void AuxWindow::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    AuxText = new QTextEdit(central);
    AuxText->setObjectName(QStringLiteral("AuxText"));
    rich_ = std::make_unique<RichText>(AuxText);
    rich_->setLocked(true);
    Statusbar = new QWidget(central);
    Statusbar->setObjectName(QStringLiteral("Statusbar"));
    // Each box is as wide as the longest text it shows needs in the window's font, side by side.
    int x = kStatusGap;
    auto place = [&x](QWidget* w, const char* name, int width, const QString& longest) {
        w->setObjectName(QString::fromLatin1(name));
        const int needed = w->fontMetrics().horizontalAdvance(longest) + kStatusPadding;
        w->setGeometry(x, 2, std::max(width, needed), kStatusHeight - 4);
        x += w->width() + kStatusGap;
    };
    auto box = [&](const char* name, int width, const QString& longest) {
        auto* b = new QLineEdit(Statusbar);
        b->setReadOnly(true);
        place(b, name, width, longest);
        return b;
    };
    auto label = [&](const char* name, const QString& caption, int width, const QString& longest) {
        auto* l = new QLabel(caption, Statusbar);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        place(l, name, width, longest);
        return l;
    };
    AuxStatusBarRFFreq = box("AuxStatusBarRFFreq", 90, QStringLiteral("28999.999 KHz"));
    AuxStatusBarAudioFreq = box("AuxStatusBarAudioFreq", 80, QStringLiteral("3500.0 Hz"));
    Label3 = label("Label3", QStringLiteral("Reset"), 40, QStringLiteral("Reset"));
    AuxStatusbarMode = box("AuxStatusbarMode", 70, QStringLiteral("QPSK - inv"));
    AuxStatusBarAFC = label("AuxStatusBarAFC", QStringLiteral("AFC On"), 56, QStringLiteral("AFC Off"));
    AuxStatusBarIMD = box("AuxStatusBarIMD", 70, QStringLiteral("-30dB"));
    statusWidth_ = x;

    new StatusClicks(Statusbar, {});
    new StatusClicks(AuxStatusBarAFC, [this] { AuxStatusBarAFC_Click(); });
    new StatusClicks(AuxStatusBarAudioFreq, [this] { AuxStatusBarAudioFreq_Click(); });
    new StatusClicks(AuxStatusBarIMD, {});
    new StatusClicks(AuxStatusbarMode, [this] { AuxStatusbarMode_Click(); });
    new StatusClicks(AuxStatusBarRFFreq, {});
    new StatusClicks(Label3, [this] { Label3_Click(); });
    textEvents_ = new TextEvents(this);

    AuxReadoutBoxes& r = AuxReadouts(channel_);
    r.AuxStatusBarAudioFreq = AuxStatusBarAudioFreq;
    r.AuxStatusBarRFFreq = AuxStatusBarRFFreq;
    r.AuxStatusBarIMD = AuxStatusBarIMD;
}

void AuxWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> handler) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        menus_.insert(QString::fromLatin1(name), new MenuItem(a, std::move(handler)));
    };
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    item(file, "mnuClose", "Close", [this] { mnuClose_Click(); });
    QMenu* tools = bar->addMenu(QStringLiteral("ToolBox"));
    item(tools, "mnuRxWindowFont", "Rx window font settings", [this] { mnuRxWindowFont_Click(); });
    item(tools, "mnuMouseOver", "Rx window mouseover highlight", [this] { mnuMouseOver_Click(); });
    item(tools, "mnuBackColorSetting", "Rx window Background settings", [this] { mnuBackColorSetting_Click(); });
    QMenu* view = bar->addMenu(QStringLiteral("View"));
    item(view, "mnuTuningWindow", "Show tuning window", [this] { mnuTuningWindow_Click(); });
    QMenu* mode = bar->addMenu(QStringLiteral("Mode"));
    item(mode, "mnuBPSK", "BPSK", [this] { mnuBPSK_Click(); });
    item(mode, "mnuQPSK", "QPSK", [this] { mnuQPSK_Click(); });
    item(mode, "mnuQPSKInv", "QPSK (inverted)", [this] { mnuQPSKInv_Click(); });
    item(mode, "mnuRTTY", "RTTY", {});
    item(mode, "mnuCW", "CW", {});
    QAction* clear = bar->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("mnuClear"));
    menus_.insert(QStringLiteral("mnuClear"), new MenuItem(clear, [this] { mnuClear_Click(); }));
}

// ---- load and unload -------------------------------------------------------------------------

void AuxWindow::Form_Load()
{
    const AuxChannel& s = state();
    s.closing = false;
    AuxStatusbarMode->setText(QStringLiteral("BPSK"));
    LoadAuxSettings();
    RedrawSpectrumScale();
    APIResult = Psk().fnSetSquelchThreshold(PskSquelchThreshold(s.squelchLevel), SquelchSpeed, channel_);
    APIResult = Psk().fnSetAFCLimit(s.afcLimit, channel_);
    WriteINI(QStringLiteral("Settings"), s.openKey, QStringLiteral("True"));
    s.open = true;
    loaded_ = true;
    FocusMainTxWindow();
}

void AuxWindow::LoadAuxSettings()
{
    const AuxChannel& s = state();
    auto read = [&s](const char* key, const char* def) {
        return ReadINI(s.section, QString::fromLatin1(key), QString::fromLatin1(def));
    };
    QRect g = geometry();
    g.moveTop(PixelsOf(read("Top", "100"), g.top()));
    s.mouseOverColor = ColourOf(read("Mouseover Color", "16711680"), s.mouseOverColor);
    g.moveLeft(PixelsOf(read("Left", "100"), g.left()));
    g.setWidth(qBound(1, PixelsOf(read("Width", "5000"), g.width()), 10000));
    g.setHeight(qBound(1, PixelsOf(read("Height", "2000"), g.height()), 10000));
    // At the first start (no width stored) the window is wide enough for its whole status line.
    if (!INIHasKey(s.section, QStringLiteral("Width")))
        g.setWidth(std::max(g.width(), statusWidth_));
    setGeometry(g);
    storedPlace_ = INIHasKey(s.section, QStringLiteral("Top")) || INIHasKey(s.section, QStringLiteral("Left"));
    QFont font = rich_->font();
    font.setFamily(read("Font", "Arial"));
    const double size = vb::Val(read("Font Size", "9"));
    if (size > 0 && size < 1000)
        font.setPointSizeF(size);
    font.setBold(read("Font Bold", "False").compare(QLatin1String("True"), Qt::CaseInsensitive) == 0);
    font.setItalic(read("Font Italic", "False").compare(QLatin1String("True"), Qt::CaseInsensitive) == 0);
    rich_->setFont(font);
    s.textColor = ColourOf(read("Text Color", "0"), s.textColor);
    rich_->setBackColor(ColourOf(read("Background Color", "16777215"), rich_->backColor()));
    ApplyModeSetting(read("Mode", "BPSK"));
    if (read("AFC On/Off", "On") == QLatin1String("Off")) {
        AuxStatusBarAFC->setText(QStringLiteral("AFC Off"));
        s.afcLimit = 0;
        s.afcRange = 0;
    } else {
        AuxStatusBarAFC->setText(QStringLiteral("AFC On"));
        s.afcLimit = 100;
        s.afcRange = 45;
    }
    ApplyTuningWindowSetting(read("Tuning Window", "Tuning Window False"));
}

void AuxWindow::ApplyModeSetting(const QString& value)
{
    if (value == QLatin1String("BPSK"))
        mnuBPSK_Click();
    else if (value == QLatin1String("QPSK"))
        mnuQPSK_Click();
    else if (value == QLatin1String("QPSK-I"))
        mnuQPSKInv_Click();
    else
        dlg::MsgBox(IniMessage(QStringLiteral("Mode"), value), dlg::OKOnly, QStringLiteral(".INI Error"));
}

void AuxWindow::ApplyTuningWindowSetting(const QString& value)
{
    MenuItem& m = mnu(QStringLiteral("mnuTuningWindow"));
    if (value == QLatin1String("Tuning Window False")) {
        m.setChecked(true);
        mnuTuningWindow_Click();
    } else if (value == QLatin1String("Tuning Window True")) {
        m.setChecked(false);
        mnuTuningWindow_Click();
    } else {
        dlg::MsgBox(IniMessage(QStringLiteral("Tuning Window"), value), dlg::OKOnly, QStringLiteral(".INI Error"));
    }
}

void AuxWindow::Form_QueryUnload()
{
    state().closing = true;
}

void AuxWindow::Form_Unload()
{
    const AuxChannel& s = state();
    s.open = false;
    const QRect g = geometry();
    WriteINI(s.section, QStringLiteral("Top"), TwipsText(g.top()));
    WriteINI(s.section, QStringLiteral("Left"), TwipsText(g.left()));
    WriteINI(s.section, QStringLiteral("Height"), TwipsText(g.height()));
    WriteINI(s.section, QStringLiteral("Width"), TwipsText(g.width()));
    if (!SpectrumHold) {
        WriteINI(QStringLiteral("Settings"), s.openKey, QStringLiteral("False"));
        s.reopen = false;
    }
    UnloadAuxTuningWindow(channel_);
    RedrawSpectrumScale();
}

void AuxWindow::showOwned()
{
    ShowOwnedWindow(*this, MainWindowWidget(), storedPlace_);
}

void AuxWindow::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Form_QueryUnload();
    Form_Unload();
    AuxReadouts(channel_) = AuxReadoutBoxes();
    if (existing(channel_) == this)
        g_windows[static_cast<size_t>(channel_)] = nullptr;
    hide();
    deleteLater();
}

void AuxWindow::closeEvent(QCloseEvent* e)
{
    e->accept();
    Unload();
}

void AuxWindow::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void AuxWindow::Form_Resize()
{
    if (!AuxText || !Statusbar)
        return;
    const int width = twips::fromPixels(this->width());
    const int height = twips::fromPixels(this->height());
    QRect r = AuxText->geometry();
    r.moveLeft(twips::toPixels(20));
    r.moveTop(0);
    if (width > 200)
        r.setWidth(twips::toPixels(width - 150));
    if (height > 1000)
        r.setHeight(twips::toPixels(height - 980));
    AuxText->setGeometry(r);
    const QWidget* central = centralWidget();
    Statusbar->setGeometry(0, qMax(r.bottom() + 1, central->height() - kStatusHeight), central->width(),
                           kStatusHeight);
    if (loaded_)
        FocusMainTxWindow();
}

// ---- the text box ----------------------------------------------------------------------------

void AuxWindow::AuxText_GotFocus()
{
    if (channel_ == 1) {
        FocusMainTxWindow();
        return;
    }
    if (MainWindowControls* w = ExistingMainWindow()) {
        if (w->Window->isVisible())
            w->Window->activateWindow();
        w->Window->setFocus();
    }
}

void AuxWindow::AuxText_MouseDown(int button, int, double, double)
{
    state().mouseOverSuppressed = true;
    WordClickMode = static_cast<std::int16_t>(button);
}

void AuxWindow::AuxText_MouseMove(int, int, double X, double Y)
{
    const AuxChannel& s = state();
    if (rich_->selLength() < 2 && !s.mouseOverSuppressed)
        DisplayHooks().TrackWordUnderMouse(*rich_, X, Y, s.mouseOverColor, s.textColor);
}

void AuxWindow::AuxText_MouseUp(int, int, double, double)
{
    state().mouseOverSuppressed = false;
    if (rich_->selLength() != 0) {
        if (QClipboard* clip = QGuiApplication::clipboard()) {
            clip->clear();
            clip->setText(rich_->selText());
        }
        rich_->setSelLength(1);
    }
    if (!WordUnderMouse.isEmpty())
        DisplayHooks().UseSelectedString();
}

// ---- status bar ------------------------------------------------------------------------------

void AuxWindow::SetAFC(bool on)
{
    const AuxChannel& s = state();
    AuxStatusBarAFC->setText(on ? QStringLiteral("AFC On") : QStringLiteral("AFC Off"));
    WriteINI(s.section, QStringLiteral("AFC On/Off"), on ? QStringLiteral("On") : QStringLiteral("Off"));
    s.afcLimit = on ? 100 : 0;
    s.afcRange = on ? 45 : 0;
    APIResult = Psk().fnSetAFCLimit(s.afcLimit, channel_);
    APIResult = Psk().fnSetRXFrequency(s.rxFreq, s.afcRange, channel_);
}

void AuxWindow::AuxStatusBarAFC_Click()
{
    SetAFC(AuxStatusBarAFC->text() != QLatin1String("AFC On"));
}

void AuxWindow::AuxStatusBarAudioFreq_Click()
{
    const std::int32_t hz = disp::RoundClamp(vb::Val(AuxStatusBarAudioFreq->text()), -2147483647, 2147483647);
    APIResult = Psk().fnSetTXFrequency(hz);
    TxAudioFreqText = QString::number(hz);
}

void AuxWindow::AuxStatusbarMode_Click()
{
    const QString mode = AuxStatusbarMode->text();
    if (mode == QLatin1String("BPSK"))
        mnuQPSK_Click();
    else if (mode == QLatin1String("QPSK"))
        mnuQPSKInv_Click();
    else if (mode == QLatin1String("QPSK - inv"))
        mnuBPSK_Click();
}

void AuxWindow::Label3_Click()
{
    const AuxChannel& s = state();
    if (HzPerTwip != 0)
        if (const auto position = disp::Round16(vb::Val(s.presetAudioFreq) / HzPerTwip))
            s.retune(*position, true);
    FocusMainTxWindow();
}

// ---- menus -----------------------------------------------------------------------------------

void AuxWindow::SetMode(int mode, const char* itemName, const QString& shown, const QString& stored)
{
    AuxStatusbarMode->setText(shown);
    for (const char* name : {"mnuBPSK", "mnuQPSK", "mnuQPSKInv", "mnuRTTY", "mnuCW"})
        mnu(QString::fromLatin1(name)).setChecked(qstrcmp(name, itemName) == 0);
    WriteINI(state().section, QStringLiteral("Mode"), stored);
    APIResult = Psk().fnSetRXPSKMode(mode, channel_);
    FocusMainTxWindow();
}

void AuxWindow::mnuBPSK_Click() { SetMode(0, "mnuBPSK", QStringLiteral("BPSK"), QStringLiteral("BPSK")); }
void AuxWindow::mnuQPSK_Click() { SetMode(1, "mnuQPSK", QStringLiteral("QPSK"), QStringLiteral("QPSK")); }
void AuxWindow::mnuQPSKInv_Click() { SetMode(2, "mnuQPSKInv", QStringLiteral("QPSK - inv"), QStringLiteral("QPSK-I")); }

void AuxWindow::mnuTuningWindow_Click()
{
    const AuxChannel& s = state();
    MenuItem& m = mnu(QStringLiteral("mnuTuningWindow"));
    if (m.checked()) {
        UnloadAuxTuningWindow(channel_);
        m.setChecked(false);
        WriteINI(s.section, QStringLiteral("Tuning Window"), QStringLiteral("Tuning Window False"));
    } else {
        MainWindowControls* w = ExistingMainWindow();
        const bool onTop = w && w->mnu(QStringLiteral("mnuOnTop")).checked();
        if (onTop)
            SetWindowTopmost(windowHandle_, kHwndNoTopmost);
        ShowAuxTuningWindow(channel_);
        if (onTop)
            SetWindowTopmost(windowHandle_, kHwndTopmost);
        m.setChecked(true);
        WriteINI(s.section, QStringLiteral("Tuning Window"), QStringLiteral("Tuning Window True"));
    }
    FocusMainTxWindow();
}

void AuxWindow::ChooseRxWindowFont()
{
    const AuxChannel& s = state();
    const QFont current = rich_->font();
    dlg::FontChoice start{current.family(), current.pointSizeF(), current.bold(), current.italic(), s.textColor};
    std::optional<dlg::FontChoice> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().font(start, windowTitle()); });
    if (!chosen)
        return;
    QFont font = rich_->font();
    font.setFamily(chosen->name);
    rich_->setFont(font);
    WriteINI(s.section, QStringLiteral("Font"), chosen->name);
    if (chosen->size > 0)
        font.setPointSizeF(chosen->size);
    rich_->setFont(font);
    WriteINI(s.section, QStringLiteral("Font Size"), vb::Text(chosen->size));
    font.setBold(chosen->bold);
    rich_->setFont(font);
    WriteINI(s.section, QStringLiteral("Font Bold"), chosen->bold ? QStringLiteral("True") : QStringLiteral("False"));
    font.setItalic(chosen->italic);
    rich_->setFont(font);
    WriteINI(s.section, QStringLiteral("Font Italic"),
             chosen->italic ? QStringLiteral("True") : QStringLiteral("False"));
    s.textColor = chosen->color;
    WriteINI(s.section, QStringLiteral("Text Color"), QString::number(chosen->color));
}

void AuxWindow::mnuRxWindowFont_Click()
{
    ChooseRxWindowFont();
    FocusMainTxWindow();
}

void AuxWindow::mnuMouseOver_Click()
{
    const AuxChannel& s = state();
    std::optional<std::int32_t> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().colour(s.mouseOverColor); });
    if (!chosen)
        return;
    s.mouseOverColor = *chosen;
    WriteINI(s.section, QStringLiteral("Mouseover Color"), QString::number(*chosen));
}

void AuxWindow::mnuBackColorSetting_Click()
{
    std::optional<std::int32_t> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().colour(rich_->backColor()); });
    if (chosen) {
        rich_->setBackColor(*chosen);
        WriteINI(state().section, QStringLiteral("BackGround Color"), QString::number(*chosen));
    }
    FocusMainTxWindow();
}

void AuxWindow::mnuClear_Click()
{
    rich_->setText(QString());
    FocusMainTxWindow();
}

void AuxWindow::mnuClose_Click()
{
    Unload();
}

// ---- what the rest of the program reaches ----------------------------------------------------

namespace {

template <class W>
void OpenAux(int channel)
{
    W& w = LoadAuxWindow<W>(channel);
    AroundTopmost([&w] { w.showOwned(); });
    FocusMainTxWindow();
}

} // namespace

void mnuAux1_Click()
{
    OpenAux<Aux1>(1);
}

void mnuAux2_Click()
{
    OpenAux<Aux2>(2);
}

void UnloadAuxWindow(int channel)
{
    if (AuxWindow* w = AuxWindow::existing(channel))
        w->Unload();
}

RichText* AuxTextOf(int channel)
{
    AuxWindow* w = AuxWindow::existing(channel);
    return w && AuxChannelState(channel).open ? &w->text() : nullptr;
}
