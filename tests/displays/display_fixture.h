#pragma once
// A fresh main window with its display sized 1025 x 100 pixels, the display state at its
// start-up values, and a PSK engine that hands out chosen spectrum and scope data and records
// the calls it gets.
#include "support/main_window_fixture.h"

#include "displays/drawing/surfaces.h"
#include "state/psk_api.h"

#include <QImage>
#include <array>
#include <memory>
#include <vector>

class DisplayFixture : public MainWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Gives the main tuning window (channel 0) or an auxiliary one its pictures.
    TuningSurfaces& tuningWindow(int channel, int scopeWidth = 130, int scopeHeight = 60);
    QRgb pixel(PictureBox* p, int x, int y) const { return p->image().pixel(x, y); }

    std::array<std::int32_t, 1024> fft{};
    std::array<std::int32_t, 16> vectors{};
    std::int32_t overload = 0;
    std::int32_t auxLevel = 0;
    std::int32_t auxFrequency = 0;
    QStringList pskCalls;
    std::vector<std::unique_ptr<PictureBox>> pictures;
};

inline constexpr QRgb kGreen = 0xFF00FF00;
inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kBlack = 0xFF000000;
