#include "displays/setup/frm_sensitivity.h"

#include "displays/drawing/display_math.h"
#include "displays/setup/dialog_place.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace {

QSlider* Slider(QWidget* parent, const char* name, int low, int high)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(low, high);
    s->setSingleStep(1);
    s->setPageStep(high / 10);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(high / 10);
    return s;
}

} // namespace

// ---- waterfall ----------------------------------------------------------------------------------

frmWaterfallSensitivity::frmWaterfallSensitivity(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWaterfallSensitivity"));
    setWindowTitle(QStringLiteral("Waterfall sensitivity"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Adjust the waterfall sensitivity."), this));
    LinSlider = Slider(this, "LinSlider", 0, 100);
    layout->addWidget(LinSlider);
    connect(LinSlider, &QSlider::valueChanged, this, [this] { LinSlider_Change(); });
    Form_Load();
}

frmWaterfallSensitivity::~frmWaterfallSensitivity()
{
    Form_Unload();
}

void frmWaterfallSensitivity::Form_Load()
{
    CentreOnScreen(*this);
    LinSlider->setValue(disp::RoundClamp(WaterfallSensitivity * 100, 0, 100));
    // A value the slider already shows raises no change: the variable follows the slider anyway.
    LinSlider_Change();
}

void frmWaterfallSensitivity::LinSlider_Change()
{
    WaterfallSensitivity = LinSlider->value() / 100.0;
}

void frmWaterfallSensitivity::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    WriteINI(QStringLiteral("Settings"), QStringLiteral("Waterfall Sensitivity"), vb::Str(WaterfallSensitivity));
}

void frmWaterfallSensitivity::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

// ---- spectrum -----------------------------------------------------------------------------------

frmSpectrumSensitivity::frmSpectrumSensitivity(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSpectrumSensitivity"));
    setWindowTitle(QStringLiteral("Spectrum sensitivity"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Adjust the the main tuning window spectrum sensitivity."), this));
    LinSlider = Slider(this, "LinSlider", 1, 50);
    layout->addWidget(LinSlider);
    layout->addWidget(new QLabel(QStringLiteral("Adjust the the small tuning window(s) spectrum sensitivity."), this));
    Slider1 = Slider(this, "Slider1", 1, 50);
    layout->addWidget(Slider1);
    connect(LinSlider, &QSlider::valueChanged, this, [this] { LinSlider_Change(); });
    connect(Slider1, &QSlider::valueChanged, this, [this] { Slider1_Change(); });
    Form_Load();
}

frmSpectrumSensitivity::~frmSpectrumSensitivity()
{
    Form_Unload();
}

void frmSpectrumSensitivity::Form_Load()
{
    CentreOnScreen(*this);
    LinSlider->setValue(SpectrumSensitivity);
    Slider1->setValue(SmallSpectrumSensitivity);
    LinSlider_Change();
    Slider1_Change();
}

void frmSpectrumSensitivity::LinSlider_Change()
{
    SpectrumSensitivity = LinSlider->value();
}

void frmSpectrumSensitivity::Slider1_Change()
{
    SmallSpectrumSensitivity = Slider1->value();
}

void frmSpectrumSensitivity::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    const QString settings = QStringLiteral("Settings");
    WriteINI(settings, QStringLiteral("Spectrum Sensitivity"), vb::Str(SpectrumSensitivity));
    WriteINI(settings, QStringLiteral("Small Spectrum Sensitivity"), vb::Str(SmallSpectrumSensitivity));
}

void frmSpectrumSensitivity::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

// ---- menus --------------------------------------------------------------------------------------

void mnuWaterfallSensitivity_Click()
{
    frmWaterfallSensitivity dialog(MainWindowWidget());
    AroundTopmost([&dialog] { dlg::ShowModal(dialog); });
}

void mnuSpectrumSensitivity_Click()
{
    frmSpectrumSensitivity dialog(MainWindowWidget());
    AroundTopmost([&dialog] { dlg::ShowModal(dialog); });
}
