#include "engines/rtty/setup_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

namespace rtty {

SetupWindow::SetupWindow(const QString& title, QWidget* parent) : QDialog(parent), title_(title)
{
    setObjectName(QStringLiteral("SetupWindow"));
    auto* form = new QFormLayout;
    auto spin = [&](const char* name, int lo, int hi, const QString& special = QString()) {
        auto* s = new QSpinBox(this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(lo, hi);
        s->setSpecialValueText(special);
        return s;
    };
    device_ = spin("device", -1, 255, QStringLiteral("Default"));
    mark_ = spin("mark", 100, 3800);
    mark_->setSuffix(QStringLiteral(" Hz"));
    shift_ = spin("shift", static_cast<int>(kMinShiftHz), static_cast<int>(kMaxShiftHz));
    shift_->setSuffix(QStringLiteral(" Hz"));
    baud_ = new QDoubleSpinBox(this);
    baud_->setObjectName(QStringLiteral("baud"));
    baud_->setLocale(QLocale::c()); // "." as the point, whatever the desktop's language
    baud_->setRange(kMinBaud, kMaxBaud);
    baud_->setDecimals(2);
    baud_->setSuffix(QStringLiteral(" Bd"));
    stopBits_ = new QComboBox(this);
    stopBits_->setObjectName(QStringLiteral("stopBits"));
    stopBits_->addItems({QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});
    afc_ = new QCheckBox(QStringLiteral("AFC"), this);
    afc_->setObjectName(QStringLiteral("afc"));
    pttPort_ = spin("pttPort", 0, 255, QStringLiteral("As Sondrel sets it"));
    pttPort_->setPrefix(QStringLiteral("COM"));
    pttLine_ = new QComboBox(this);
    pttLine_->setObjectName(QStringLiteral("pttLine"));
    pttLine_->addItems({QStringLiteral("RTS"), QStringLiteral("DTR"), QStringLiteral("RTS and DTR")});
    uos_ = new QCheckBox(QStringLiteral("Unshift on space (receive)"), this);
    uos_->setObjectName(QStringLiteral("uos"));
    form->addRow(QStringLiteral("Sound device"), device_);
    form->addRow(QStringLiteral("Mark"), mark_);
    form->addRow(QStringLiteral("Shift"), shift_);
    form->addRow(QStringLiteral("Baud rate"), baud_);
    form->addRow(QStringLiteral("Stop bits"), stopBits_);
    form->addRow(QString(), afc_);
    form->addRow(QStringLiteral("PTT port"), pttPort_);
    form->addRow(QStringLiteral("PTT line"), pttLine_);
    form->addRow(QString(), uos_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        emit applied(settings());
        hide();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void SetupWindow::show(const EngineSetup& s, int profile)
{
    setWindowTitle(QStringLiteral("%1 Setup (profile %2)").arg(title_).arg(profile));
    device_->setValue(s.soundDevice);
    mark_->setValue(static_cast<int>(std::lround(s.markHz)));
    shift_->setValue(static_cast<int>(std::lround(std::abs(s.shiftHz))));
    baud_->setValue(s.baud);
    stopBits_->setCurrentIndex(s.stopBits == 1 ? 0 : s.stopBits == 2 ? 2 : 1);
    afc_->setChecked(s.afc);
    pttPort_->setValue(s.pttPort);
    pttLine_->setCurrentIndex(std::clamp(s.pttLine, 1, 3) - 1);
    uos_->setChecked(s.uos);
    QDialog::show();
    raise();
    activateWindow();
}

EngineSetup SetupWindow::settings() const
{
    EngineSetup s;
    s.soundDevice = device_->value();
    s.markHz = mark_->value();
    s.shiftHz = shift_->value();
    s.baud = baud_->value();
    s.stopBits = stopBits_->currentIndex() == 0 ? 1 : stopBits_->currentIndex() == 2 ? 2 : 1.5;
    s.afc = afc_->isChecked();
    s.pttPort = pttPort_->value();
    s.pttLine = pttLine_->currentIndex() + 1;
    s.uos = uos_->isChecked();
    return s;
}

} // namespace rtty
