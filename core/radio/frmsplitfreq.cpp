#include "core/radio/frmsplitfreq.h"

#include "displays/spectrum/scale.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The offset typed, in whole hertz; an offset no radio could make counts as none.
std::int32_t typedOffset(const QString& text)
{
    const double hz = vb::RoundHalfEven(vb::Val(text));
    return std::fabs(hz) <= 2147483647.0 ? static_cast<std::int32_t>(std::fabs(hz)) : 0;
}

} // namespace

frmSplitFreq::frmSplitFreq(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSplitFreq"));
    setWindowTitle(QStringLiteral("Simplex / Split"));
    auto* column = new QVBoxLayout(this);
    auto radio = [this, column](const char* caption, const char* name) {
        auto* b = new QRadioButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        column->addWidget(b);
        return b;
    };
    // "&&": the ampersand is shown, not taken as a shortcut mark.
    Option1 = radio("Simplex (Tx && Rx on the same frequency)", "Option1");
    Option2 = radio("QSX Up (Tx frequency higher than Rx)", "Option2");
    Option3 = radio("QSX Down (Tx frequency lower the Rx)", "Option3");
    auto* row = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Split Frequency (Hz) : "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    row->addWidget(Label1);
    row->addWidget(Text1);
    column->addLayout(row);
    auto* buttons = new QHBoxLayout;
    ARButton1 = new QPushButton(QStringLiteral("OK"), this);
    ARButton1->setObjectName(QStringLiteral("ARButton1"));
    ARButton2 = new QPushButton(QStringLiteral("Cancel"), this);
    ARButton2->setObjectName(QStringLiteral("ARButton2"));
    buttons->addStretch(1);
    buttons->addWidget(ARButton1);
    buttons->addWidget(ARButton2);
    column->addLayout(buttons);
    connect(Option1, &QRadioButton::clicked, this, &frmSplitFreq::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &frmSplitFreq::Option2_Click);
    connect(Option3, &QRadioButton::clicked, this, &frmSplitFreq::Option3_Click);
    connect(ARButton1, &QPushButton::clicked, this, &frmSplitFreq::ARButton1_Click);
    connect(ARButton2, &QPushButton::clicked, this, &frmSplitFreq::ARButton2_Click);
    Form_Load();
}

void frmSplitFreq::showOffset(bool shown)
{
    Label1->setVisible(shown);
    Text1->setVisible(shown);
}

void frmSplitFreq::Form_Load()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    if (SplitOffset != 0) {
        (SplitOffset > 0 ? Option2 : Option3)->setChecked(true);
        showOffset(true);
        Text1->setText(QString::number(SplitOffset));
    } else {
        Option1->setChecked(true);
        showOffset(false);
    }
}

void frmSplitFreq::Option1_Click()
{
    showOffset(false);
}

void frmSplitFreq::Option2_Click()
{
    showOffset(true);
}

void frmSplitFreq::Option3_Click()
{
    showOffset(true);
}

void frmSplitFreq::ARButton1_Click()
{
    if (Option1->isChecked())
        SplitOffset = 0;
    else if (Option2->isChecked())
        SplitOffset = typedOffset(Text1->text());
    else if (Option3->isChecked())
        SplitOffset = -typedOffset(Text1->text());
    if (MainWindowControls* w = ExistingMainWindow())
        w->DuplexBox->setText(SplitOffset == 0 ? QStringLiteral("Simplex") : QStringLiteral("Split"));
    accept();
}

void frmSplitFreq::ARButton2_Click()
{
    reject();
}

void DuplexBox_Click()
{
    if (TxActive)
        return;
    AroundTopmost([] {
        frmSplitFreq dialog(MainWindowWidget());
        dlg::ShowModal(dialog);
    });
}
