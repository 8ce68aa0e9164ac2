#pragma once
// The two live sensitivity dialogs: "Waterfall sensitivity" (frmWaterfallSensitivity) and
// "Spectrum sensitivity" (frmSpectrumSensitivity). The sliders change the gains at once; the
// settings file is written once, when the dialog closes.
#include <QDialog>

class QSlider;

class frmWaterfallSensitivity : public QDialog {
    Q_OBJECT
public:
    explicit frmWaterfallSensitivity(QWidget* parent = nullptr);
    ~frmWaterfallSensitivity() override;

    QSlider* LinSlider = nullptr; // 0..100: the sensitivity in hundredths

    void Form_Load();
    void LinSlider_Change();
    // Writes "Waterfall Sensitivity"; runs once however the dialog closes.
    void Form_Unload();
    void done(int result) override;

private:
    bool unloaded_ = false;
};

class frmSpectrumSensitivity : public QDialog {
    Q_OBJECT
public:
    explicit frmSpectrumSensitivity(QWidget* parent = nullptr);
    ~frmSpectrumSensitivity() override;

    QSlider* LinSlider = nullptr; // 1..50: the main display
    QSlider* Slider1 = nullptr;   // 1..50: the tuning windows' spectra

    void Form_Load();
    void LinSlider_Change();
    void Slider1_Change();
    void Form_Unload();
    void done(int result) override;

private:
    bool unloaded_ = false;
};

// The main window's "Waterfall sensitivity" (both items) and "Spectrum sensitivity".
void mnuWaterfallSensitivity_Click();
void mnuSpectrumSensitivity_Click();
