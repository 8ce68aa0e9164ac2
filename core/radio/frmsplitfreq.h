#pragma once
// "Simplex / Split": the offset of the transmit frequency from the receive frequency, for this
// run only. Opened by a click on the main window's DuplexBox.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmSplitFreq : public QDialog {
    Q_OBJECT
public:
    explicit frmSplitFreq(QWidget* parent = nullptr);

    QRadioButton* Option1 = nullptr; // simplex
    QRadioButton* Option2 = nullptr; // QSX up
    QRadioButton* Option3 = nullptr; // QSX down
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;      // Hz
    QPushButton* ARButton1 = nullptr; // OK
    QPushButton* ARButton2 = nullptr; // Cancel

    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void ARButton1_Click();
    void ARButton2_Click();

private:
    void showOffset(bool shown);
};

// Opens the split dialog, except while transmitting.
void DuplexBox_Click();
