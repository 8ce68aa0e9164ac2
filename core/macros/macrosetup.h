#pragma once
// The macro editor: one button's text, caption and two looks, with a preview button; saves into
// the active macro set and updates the main window's button at once. Modeless, owned by the
// main window, one at a time.
#include <QDialog>

class MacroButton;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QGroupBox;

// "F1".."F12" for buttons 1..12, "ALT F1".. for 13..24, "CTRL F1".. for 25..36.
QString MacroKeyName(int n);

class MacroSetup : public QDialog {
    Q_OBJECT
public:
    ~MacroSetup() override;
    // The open editor, or null.
    static MacroSetup* loaded();
    // Loads the editor for the button named by the main window's Tag and shows it modeless.
    static MacroSetup& load();
    // Closes the open editor, dropping an edit in progress.
    static void unload();

    // Copies element `source` of the twelve look arrays to element `destination`, then gives
    // `button` the destination's looks and the caption box's text.
    void LoadUnloadButton(MacroButton* button, int destination, int source);

    int button() const { return n_; }

    // Controls, named as the form names them.
    QPlainTextEdit* MacroText = nullptr;
    QLineEdit* CaptionText = nullptr;
    MacroButton* Hbutton1 = nullptr;  // preview
    QPushButton* BackColorButton = nullptr;
    QPushButton* Hbutton2 = nullptr;  // "Forecolor" (font and text colour)
    QPushButton* Hbutton3 = nullptr;  // "Mouseover Backcolor"
    QPushButton* Hbutton4 = nullptr;  // "Mouseover Forecolor"
    QPushButton* ARButton1 = nullptr; // "Reset Backcolors"
    QPushButton* Hbutton7 = nullptr;  // "Reset/Cancel all settings"
    QPushButton* Hbutton5 = nullptr;  // "OK"
    QPushButton* Hbutton6 = nullptr;  // "Cancel"
    QGroupBox* Frame1 = nullptr;

    // The buttons' handlers.
    void BackColorButton_Click();
    void Hbutton2_Click();
    void Hbutton3_Click();
    void Hbutton4_Click();
    void ARButton1_Click();
    void Hbutton7_Click();
    void Hbutton5_Click(); // save
    void Hbutton6_Click(); // cancel

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override; // Escape: as Cancel
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    explicit MacroSetup(QWidget* owner);
    void Form_Load();
    void build();
    void showPreview();
    QString textAsTyped() const;

    int n_ = 1;
};
