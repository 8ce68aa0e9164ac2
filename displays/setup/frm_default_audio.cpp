#include "displays/setup/frm_default_audio.h"

#include "displays/setup/dialog_place.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmDefaultAudio::frmDefaultAudio(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDefaultAudio"));
    setWindowTitle(QStringLiteral("Default audio frequency setup"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    auto box = [&](const char* name, const char* caption) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromLatin1(name));
        grid->addWidget(b, row++, 1);
        return b;
    };
    Text1 = box("Text1", "Default Tx frequency");
    Text2 = box("Text2", "Default main Rx frequency");
    Text3 = box("Text3", "Default Aux 1 Rx frequency");
    Text4 = box("Text4", "Default Aux 2 Rx frequency");
    Check1 = new QCheckBox(QStringLiteral("Start using these default frequencies"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    grid->addWidget(Check1, row++, 0, 1, 2);
    auto* note = new QLabel(QStringLiteral("If this box is not checked, the program will start using the same Tx and "
                                           "Rx audio frequencies it was set to when it shut down."),
                            this);
    note->setWordWrap(true);
    grid->addWidget(note, row++, 0, 1, 2);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    grid->addWidget(OKButton, row, 0);
    grid->addWidget(CancelButton, row, 1);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    Form_Load();
}

void frmDefaultAudio::Form_Load()
{
    CentreOnScreen(*this);
    Text1->setText(PresetTxAudioFreq);
    Text2->setText(PresetRxAudioFreq);
    Text3->setText(PresetAux1AudioFreq);
    Text4->setText(PresetAux2AudioFreq);
    Check1->setChecked(PresetAudioDefaultsOn == QLatin1String("True"));
}

void frmDefaultAudio::OKButton_Click()
{
    struct Entry {
        QLineEdit* box;
        QString* value;
        const char* key;
    };
    const Entry entries[] = {
        {Text1, &PresetTxAudioFreq, "Preset Tx Audio Frequency"},
        {Text2, &PresetRxAudioFreq, "Preset Rx Audio Frequency"},
        {Text3, &PresetAux1AudioFreq, "Preset Audio Frequency : Aux 1"},
        {Text4, &PresetAux2AudioFreq, "Preset Audio Frequency : Aux 2"},
    };
    const QString settings = QStringLiteral("Settings");
    for (const Entry& e : entries) {
        const QString text = e.box->text();
        if (!vb::IsNumeric(text))
            continue; // left as it was, without a word
        const double hz = vb::Val(text);
        if (hz < 300 || hz > 3500) {
            dlg::MsgBox(QStringLiteral("You can't fool me.  ") + text +
                            QStringLiteral(" is not a valid frequency within the 300Hz to 3500Hz passband of your "
                                           "radio."),
                        dlg::OKOnly, QStringLiteral("Invalid frequency"));
            return;
        }
        *e.value = text;
        WriteINI(settings, QString::fromLatin1(e.key), text);
    }
    PresetAudioDefaultsOn = Check1->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    WriteINI(settings, QStringLiteral("Preset Audio Defaults"), PresetAudioDefaultsOn);
    accept();
}

void frmDefaultAudio::CancelButton_Click()
{
    reject();
}

void mnuPresetAudio_Click()
{
    frmDefaultAudio dialog(MainWindowWidget());
    AroundTopmost([&dialog] { dlg::ShowModal(dialog); });
}
