#pragma once
// What the two auxiliary channels' tuning windows share (`TuningWindowAux1`, `TuningWindowAux2`):
// the squelch of their PSK channel and click-to-tune from the channel window's frequency box.
#include "displays/windows/tuning_window_base.h"

struct AuxChannel;

class TuningWindowAux : public TuningWindowBase {
    Q_OBJECT
public:
    void Form_Unload() override;
    void doSquelchSetting(std::int16_t Y) override;
    void ScopePic_MouseDown(int button, int shift, double X, double Y) override;

protected:
    TuningWindowAux(int channel, const QString& caption);
    void loadSquelch() override;
    void loadScopes() override;

private:
    const AuxChannel& state() const;
};

// Shows a channel's tuning window (loading it first), or unloads it when loaded.
void ShowAuxTuningWindow(int channel);
void UnloadAuxTuningWindow(int channel);
