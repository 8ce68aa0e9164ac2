#pragma once
// "RigControl setup": the serial line, radio type, poll interval, CI-V address and data file of
// the radio control component. OK checks the entries in a fixed order, pushes them into the
// component, offers to reopen its port and stores the ten [Radio Control] keys.
#include <QDialog>
#include <array>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmRadioCommand : public QDialog {
    Q_OBJECT
public:
    explicit frmRadioCommand(QWidget* parent = nullptr);

    // One option array for every frame; the index says which choice it is.
    //  0..8 serial port "None", "Com 1".."Com 8"; 9..17 and 30 baud rate; 18..20 flow;
    //  21..23 data bits; 24..26 parity; 28, 29 stop bits (27 is not used).
    std::array<QRadioButton*, 31> Option1{};
    std::array<QGroupBox*, 6> Frames{}; // port, baud, flow, data bits, parity, stop bits
    QComboBox* Combo = nullptr;         // radio type
    QLineEdit* PollingIntervalBox = nullptr;
    QLineEdit* IcomAddressBox = nullptr;
    QLineEdit* RadioDataBox = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelBurron = nullptr;

    void Form_Load();
    void OKButton_Click();
    void CancelBurron_Click();
    // Every change to an entry enables OK.
    void Combo_Click();
    void Option1_Click(int index);

    // Pushes the entries into the component; false (APIResult 0) when one of its calls failed.
    bool doPortsettings();
    // Selects a changed radio type in the component, then copies the entries into the program's
    // settings and stores them; false when the component refused the radio type.
    bool doSaveSettings();

    // The working texts OK reads from the option buttons.
    QString workingPort() const { return port_; }
    QString workingBaud() const { return baud_; }
    QString workingFlow() const { return flow_; }
    QString workingDataBits() const { return dataBits_; }
    QString workingParity() const { return parity_; }
    QString workingStopBits() const { return stopBits_; }

private:
    void build();
    void readOptions();
    void enableOK();

    QString parity_, flow_, dataBits_, stopBits_, port_, baud_;
};
