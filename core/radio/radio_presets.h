#pragma once
// Where the dial frequency comes from without radio control: four fixed-radio presets (a
// frequency and a sideband each), or the radio's own reports.
#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Fixed Radio frequency setup": the four presets.
class frmRadioFreq : public QDialog {
    Q_OBJECT
public:
    explicit frmRadioFreq(QWidget* parent = nullptr);

    std::array<QLineEdit*, 5> Text{};   // [1..4] kHz
    std::array<QCheckBox*, 5> Check{};  // [1..4] checked: USB
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void Form_Load();
    // Stores the presets in order; an entry that is not a number stops there with its message.
    void OKButton_Click();
    void CancelButton_Click();

protected:
    // A comma typed into a preset box is entered as a point.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// "Preset Radio frequencies": the presets dialog, modal.
void mnusettings_Click();
// "Fixed Radio on ..." n (1..4): the dial frequency and sideband of preset n.
void mnuSimulatedRadio_Click(int n);
// "Display frequency from radio".
void mnuRadioAuto_Click();
