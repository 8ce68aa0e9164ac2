#pragma once
// The state of the two auxiliary receive channels (engine channels 1 and 2) seen as one table,
// so their windows and tuning windows are written once, and the small rules every channel
// window shares: the squelch conversions and where the keyboard focus goes.
#include <QString>
#include <cstdint>

struct AuxChannel {
    int channel;               // 1 or 2
    QString section;           // "Aux 1"
    QString openKey;           // "Aux 1 Open" in [Settings]
    bool& open;                // Aux1Open
    bool& closing;             // Aux1Closing
    bool& reopen;              // Aux1Reopen
    bool& tuningOpen;          // TuningWindowAux1Open
    std::int32_t& rxFreq;      // Aux1RxFreq
    float& squelchLevel;       // Aux1SquelchLevel
    std::int32_t& afcLimit;    // Aux1AFCLimit
    std::int32_t& afcRange;    // Aux1AFCRange
    std::int32_t& textColor;   // Aux1TextColor
    std::int32_t& mouseOverColor;
    bool& mouseOverSuppressed;
    QString& presetAudioFreq;  // PresetAux1AudioFreq
    void (*retune)(std::int16_t position, bool send); // SetAux1RxFrequencyFromPixel
};

// channel 1 or 2 (any other number is taken as 2).
const AuxChannel& AuxChannelState(int channel);

// The PSK engine's squelch threshold for a squelch line at `level` (0 at the top of the level
// bar): 100 - level x 1.5625, rounded halves to even (52 gives 19, 24 gives 62, 64 gives 0).
std::int32_t PskSquelchThreshold(double level);
// The RTTY engine's squelch value for the main line: (100 - level x 1.5384) x 10.25, rounded.
std::int32_t RttySquelchValue(double level);

// The keyboard focus to the main window's transmit window.
void FocusMainTxWindow();

// Geometry of a window as stored: twips, written in Str form (" 1500").
QString TwipsText(int pixels);
// A stored twips value in pixels; a value out of range gives `fallback`.
int PixelsOf(const QString& twipsText, int fallback);
