#include "displays/windows/tuning_window_base.h"

#include "displays/drawing/surfaces.h"
#include "displays/spectrum/aux_channels.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/owned_window.h"
#include "platform/widgets/picturebox.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <array>

namespace {

std::array<QPointer<TuningWindowBase>, 3> g_windows;

PictureBox* Picture(QWidget* parent, const char* name, int x, int y, int w, int h, const QColor& back)
{
    auto* p = new PictureBox(parent, QString::fromLatin1(name));
    p->setGeometry(x, y, w, h);
    p->setFixedSize(w, h);
    // The buffer has its size at once, also while the window is loaded but not shown.
    p->image() = QImage(w, h, QImage::Format_RGB32);
    p->setBackColor(back);
    return p;
}

} // namespace

void AdoptTuningWindow(int channel, TuningWindowBase* window)
{
    if (channel >= 0 && channel <= 2)
        g_windows[static_cast<size_t>(channel)] = window;
}

TuningWindowBase* TuningWindowBase::existing(int channel)
{
    if (channel < 0 || channel > 2)
        return nullptr;
    return g_windows[static_cast<size_t>(channel)].data();
}

TuningWindowBase::TuningWindowBase(int channel, const QString& caption, const QString& section, QWidget* owner)
    // A tool window, so that the window system keeps it with the main window that owns it.
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      channel_(channel), section_(section)
{
    setObjectName(QStringLiteral("TuningWindow%1").arg(channel));
    setWindowTitle(caption);
    constexpr int gap = 6;
    ScopePic = Picture(this, "ScopePic", gap, gap, kScopeWidth, kScopeHeight, Qt::black);
    const int vx = gap * 2 + kScopeWidth;
    VectorScope = Picture(this, "VectorScope", vx, gap, kVectorSize, kVectorSize, Qt::black);
    const int bx = vx + kVectorSize + gap;
    Receive = Picture(this, "Receive", bx, gap, kBarWidth, kBarHeight, Qt::black);
    RedFiller = Picture(this, "RedFiller", bx, gap, kBarWidth, kBarHeight, QColor(255, 0, 0));
    YellowFiller = Picture(this, "YellowFiller", bx, gap, kBarWidth, kBarHeight, QColor(255, 255, 0));
    RedFiller->hide();
    YellowFiller->hide();
    SqSetting = new QFrame(Receive);
    SqSetting->setObjectName(QStringLiteral("SqSetting"));
    SqSetting->setFrameShape(QFrame::NoFrame);
    SqSetting->setAutoFillBackground(true);
    QPalette pal = SqSetting->palette();
    pal.setColor(QPalette::Window, Qt::white);
    SqSetting->setPalette(pal);
    SqSetting->setGeometry(0, 0, 50, 1);
    const int ly = gap * 2 + kBarHeight;
    Label2 = new QLabel(QStringLiteral("IMD"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(gap, ly, 40, 18);
    IMD = new QLabel(this);
    IMD->setObjectName(QStringLiteral("IMD"));
    IMD->setGeometry(gap + 44, ly, 120, 18);
    setFixedSize(bx + kBarWidth + gap, ly + 18 + gap);

    ScopePic->onMouseDown = [this](int b, int s, double x, double y) { ScopePic_MouseDown(b, s, x, y); };
    Receive->onMouseDown = [this](int b, int s, double x, double y) { Receive_MouseDown(b, s, x, y); };
}

TuningWindowBase::~TuningWindowBase()
{
    // A window that goes without being unloaded (its owner went first) leaves nothing to draw into.
    if (!unloaded_)
        forgetSurfaces();
}

void TuningWindowBase::registerSurfaces()
{
    TuningSurfaces& s = TuningSurface(channel_);
    s.ScopePic = ScopePic;
    s.VectorScope = VectorScope;
    s.Receive = Receive;
    s.YellowFiller = YellowFiller;
    s.RedFiller = RedFiller;
    s.IMD = IMD;
}

void TuningWindowBase::forgetSurfaces()
{
    TuningSurfaces& s = TuningSurface(channel_);
    s.ScopePic = nullptr;
    s.VectorScope = nullptr;
    s.Receive = nullptr;
    s.YellowFiller = nullptr;
    s.RedFiller = nullptr;
    s.IMD = nullptr;
}

void TuningWindowBase::Form_Load()
{
    registerSurfaces();
    // 1..2. The zoomed spectrum's buffer is its own picture; the scope geometry comes from
    // the main tuning window's phase scope.
    ScopeHeight = static_cast<std::int16_t>(ScopePic->height());
    loadScopes();
    // 3.
    LoadWindowPosition();
    // 4. The fills have the bar's size from the start. 5..6.
    loadSquelch();
}

void TuningWindowBase::Form_Activate()
{
    FocusMainTxWindow();
}

void TuningWindowBase::Unload()
{
    if (unloaded_)
        return;
    Form_Unload();
    unloaded_ = true;
    forgetSurfaces();
    if (existing(channel_) == this)
        g_windows[static_cast<size_t>(channel_)] = nullptr;
    hide();
    deleteLater();
}

void TuningWindowBase::Receive_MouseDown(int, int, double, double Y)
{
    const auto y = vb::RoundHalfEven(Y / twips::kPerPixel);
    if (y < -32768 || y > 32767)
        return;
    doSquelchSetting(static_cast<std::int16_t>(y));
}

void TuningWindowBase::LoadWindowPosition()
{
    const int top = PixelsOf(ReadINI(section_, QStringLiteral("Tuning Window Top"), QStringLiteral("100")), 7);
    const int left = PixelsOf(ReadINI(section_, QStringLiteral("Tuning Window Left"), QStringLiteral("100")), 7);
    move(left, top);
    storedPlace_ = INIHasKey(section_, QStringLiteral("Tuning Window Top")) ||
                   INIHasKey(section_, QStringLiteral("Tuning Window Left"));
}

void TuningWindowBase::showOwned()
{
    ShowOwnedWindow(*this, MainWindowWidget(), storedPlace_);
}

void TuningWindowBase::placeSquelchLine(double Y)
{
    lineY_ = Y;
    const int y = static_cast<int>(vb::RoundHalfEven(qBound(-1.0, Y, 1000.0)));
    SqSetting->setGeometry(0, y, 50, 1);
}

void TuningWindowBase::writePosition()
{
    WriteINI(section_, QStringLiteral("Tuning Window Top"), TwipsText(y()));
    WriteINI(section_, QStringLiteral("Tuning Window Left"), TwipsText(x()));
}

void TuningWindowBase::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void TuningWindowBase::closeEvent(QCloseEvent* e)
{
    e->accept();
    Unload();
}
