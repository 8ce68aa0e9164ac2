#include "core/radio/radio_presets.h"

#include "core/logger_link/logger_link.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The six items that say where the dial frequency comes from; one is checked.
const char* const kSources[] = {"mnuRadioAuto", "mnuAudioFreq", "mnuSimulatedRadio1", "mnuSimulatedRadio2",
                                "mnuSimulatedRadio3", "mnuSimulatedRadio4"};

void checkOnly(MainWindowControls& w, const QString& chosen)
{
    for (const char* name : kSources) {
        const QString n = QString::fromLatin1(name);
        w.mnu(n).setChecked(n == chosen);
    }
}

QString presetItem(int n)
{
    return QStringLiteral("mnuSimulatedRadio%1").arg(n);
}

} // namespace

frmRadioFreq::frmRadioFreq(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRadioFreq"));
    setWindowTitle(QStringLiteral("Fixed Radio frequency setup"));
    auto* column = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int n = 1; n <= 4; ++n) {
        auto i = static_cast<std::size_t>(n);
        Text[i] = new QLineEdit(this);
        Text[i]->setObjectName(QStringLiteral("Text%1").arg(n));
        Text[i]->installEventFilter(this);
        Check[i] = new QCheckBox(QStringLiteral("USB"), this);
        Check[i]->setObjectName(QStringLiteral("Check%1").arg(n));
        grid->addWidget(new QLabel(QStringLiteral("Fixed radio freq %1").arg(n), this), n - 1, 0);
        grid->addWidget(Text[i], n - 1, 1);
        grid->addWidget(Check[i], n - 1, 2);
    }
    column->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    column->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &frmRadioFreq::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmRadioFreq::CancelButton_Click);
    Form_Load();
}

void frmRadioFreq::Form_Load()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    for (std::size_t n = 1; n <= 4; ++n) {
        Text[n]->setText(PresetRadioFrequency[n]);
        Check[n]->setChecked(PresetRadioMode[n] == QLatin1String("USB"));
    }
}

bool frmRadioFreq::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QLatin1String(",")) {
            if (auto* box = qobject_cast<QLineEdit*>(watched)) {
                box->insert(QStringLiteral("."));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmRadioFreq::OKButton_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    const QString settings = QStringLiteral("Settings");
    for (int n = 1; n <= 4; ++n) {
        const auto i = static_cast<std::size_t>(n);
        const QString text = Text[i]->text();
        if (!vb::IsNumeric(text)) {
            dlg::MsgBox(QStringLiteral("Error in Fixed radio freq %1").arg(n), dlg::OKOnly, QStringLiteral("Wrong..."));
            return;
        }
        PresetRadioFrequency[i] = text;
        PresetRadioMode[i] = Check[i]->isChecked() ? QStringLiteral("USB") : QStringLiteral("LSB");
        WriteINI(settings, QStringLiteral("Preset Radio Frequency %1").arg(n), PresetRadioFrequency[i]);
        WriteINI(settings, QStringLiteral("Preset Radio Mode %1").arg(n), PresetRadioMode[i]);
        if (w)
            w->mnu(presetItem(n)).setCaption(QStringLiteral("Fixed Radio on ") + PresetRadioFrequency[i]
                                             + u' ' + PresetRadioMode[i]);
    }
    if (w)
        for (int n = 1; n <= 4; ++n)
            if (w->mnu(presetItem(n)).checked()) {
                mnuSimulatedRadio_Click(n);
                break;
            }
    accept();
}

void frmRadioFreq::CancelButton_Click()
{
    reject();
}

void mnusettings_Click()
{
    frmRadioFreq dialog(MainWindowWidget());
    dlg::ShowModal(dialog);
}

void mnuSimulatedRadio_Click(int n)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || n < 1 || n > 4)
        return;
    const auto i = static_cast<std::size_t>(n);
    checkOnly(*w, presetItem(n));
    // A stored preset too large to be a frequency gives no dial frequency.
    if (!SetDialFrequency(vb::Val(PresetRadioFrequency[i])))
        SetDialFrequency(0);
    SidebandOrientation = PresetRadioMode[i] == QLatin1String("USB") ? QStringLiteral("Normal")
                                                                     : QStringLiteral("Reverse");
    UpdateScaleLabels();
    WriteINI(QStringLiteral("Form View"), QStringLiteral("Frequency Dial"), QStringLiteral("Radio Simulated %1").arg(n));
}

void mnuRadioAuto_Click()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    checkOnly(*w, QStringLiteral("mnuRadioAuto"));
    w->FreqHolder->setText(QString());
    SendToLogger(QStringLiteral("Reset"));
    WriteINI(QStringLiteral("Form View"), QStringLiteral("Frequency Dial"), QStringLiteral("Radio Auto"));
}
