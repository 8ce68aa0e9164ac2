#pragma once
// "Frequency Markers setup": the frequencies, common pen width and colours of the four audio
// frequency markers on the scale. Nothing is stored until OK.
#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmMarkers : public QDialog {
    Q_OBJECT
public:
    explicit frmMarkers(QWidget* parent = nullptr);

    std::array<QLineEdit*, 5> F{};       // [1..4] marker frequencies
    QLineEdit* Text1 = nullptr;          // pen width
    std::array<QLabel*, 4> Swatch{};     // Label5 .. Label8: marker 1 .. 4 colours
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click();
    // Label5_Click .. Label8_Click: the colour box for one swatch (0..3).
    void Label_Click(int index);
    void doColors(QLabel* swatch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The main window's "Audio frequency markers".
void mnuMark_Click();
