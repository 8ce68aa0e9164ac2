#pragma once
// "Radio PTT selection": how the transmitter is keyed (a dedicated serial port's line, a radio
// command, or a line of the radio control port), which port and which line.
#include <QDialog>
#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

class frmSerialPort : public QDialog {
    Q_OBJECT
public:
    explicit frmSerialPort(QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr; // " Serial Port "
    QGroupBox* Frame2 = nullptr; // " PTT Keying line "
    QGroupBox* Frame3 = nullptr; // " Keying options "
    std::array<QRadioButton*, 9> Option1{}; // "None", "Com 1" .. "Com 8"
    QRadioButton* Option2 = nullptr; // RTS
    QRadioButton* Option3 = nullptr; // DTR
    QRadioButton* Option4 = nullptr; // PTT by serial port
    QRadioButton* Option5 = nullptr; // RTS + DTR
    QRadioButton* Option6 = nullptr; // PTT by radio command
    QRadioButton* Option7 = nullptr; // PTT by shared radio port
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;

    // What OK would store.
    int pendingPort() const { return port_; }
    QString pendingLine() const { return line_; }
    QString pendingMode() const { return mode_; }

    void Form_Load();
    void Option1_Click(int index);
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Option7_Click();
    void OK_Click();
    void Cancel_Click();

private:
    void build();
    // Selects an option as setting its value would, running its click handler.
    void select(QRadioButton* option);
    void selectPort(int port);
    void framesEnabled(bool on);

    int port_ = 0;
    QString line_;
    QString mode_;
};
