#pragma once
// "Default audio frequency setup": the preset audio frequencies of the transmitter, the main
// receive channel and the two auxiliary channels, and whether the program starts on them.
// Nothing changes until OK.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class frmDefaultAudio : public QDialog {
    Q_OBJECT
public:
    explicit frmDefaultAudio(QWidget* parent = nullptr);

    QLineEdit* Text1 = nullptr; // transmit
    QLineEdit* Text2 = nullptr; // main receive
    QLineEdit* Text3 = nullptr; // Aux 1
    QLineEdit* Text4 = nullptr; // Aux 2
    QCheckBox* Check1 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click();
};

// The main window's "Preset Audio frequencies".
void mnuPresetAudio_Click();
