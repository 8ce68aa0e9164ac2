#pragma once
// The waterfall colour editor "Set Waterfall colors": red, green and blue of levels 1..12, a
// swatch per level that opens the colour box, OK to keep the edit and Default for the
// built-in palette; both store the palette and close.
#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class WaterfallColors : public QDialog {
    Q_OBJECT
public:
    explicit WaterfallColors(QWidget* parent = nullptr);

    // Row k (0..11) shows level k + 1.
    std::array<QLineEdit*, 12> Text1{}, Text2{}, Text3{}; // red, green, blue
    std::array<QLabel*, 12> Label1{};                      // swatches
    QLabel* Label2 = nullptr;                              // column headings
    QPushButton* OKButton = nullptr;
    QPushButton* Default = nullptr;

    void Form_Load();
    void ShowColorSwatches();
    void Label1_Click(int index);
    void OKButton_Click();
    void Default_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextChange(QLineEdit* box);
    bool loaded_ = false;
};
