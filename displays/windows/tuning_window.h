#pragma once
// The main channel's tuning window "Main Tx/Rx Tuning window" (channel 0, also the RTTY
// engine's), shown while the main window's "Show Tuning Window" is checked. Its squelch line
// serves the PSK engine or, in RTTY, the RTTY engine; its phase scope also shows the RTTY XY
// scope.
#include "displays/windows/tuning_window_base.h"

class TuningWindow : public TuningWindowBase {
    Q_OBJECT
public:
    // The loaded window, loaded (not shown) on first use.
    static TuningWindow& instance();
    static TuningWindow* existing();

    void Form_Unload() override;
    void doSquelchSetting(std::int16_t Y) override;
    void ScopePic_MouseDown(int button, int shift, double X, double Y) override;

    TuningWindow();

protected:
    void loadSquelch() override;
    void loadScopes() override;
};

// The main window's "Show Tuning Window": unloads or shows the main tuning window.
void mnuTuningWindow_Click();
// The main tuning window's squelch line moved to a level: in PSK the whole squelch setting, in
// RTTY the line only. Nothing while the window is not loaded.
void SetTuningSquelchLine(double level);
