// Times the drawing of one engine tick at the widest scale (1025 pixels): spectrum and waterfall,
// each with the main tuning window's phase scope, zoomed spectrum and signal bar. Prints the CPU
// time per tick for the drawing alone and for the drawing with the pictures put on screen.
#include "displays/drawing/palette.h"
#include "displays/drawing/surfaces.h"
#include "displays/spectrum/display_drawing.h"
#include "displays/spectrum/scale.h"
#include "main_window/sondrel.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "state/declarations.h"
#include "state/psk_api.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// A noisy spectrum with a few PSK31 signals, different on every tick.
void fillSpectrum(std::int32_t* data, std::mt19937& rng)
{
    std::uniform_int_distribution<int> noise(0, 12);
    for (int i = 0; i < 1024; ++i)
        data[i] = noise(rng);
    for (int centre : {256, 300, 384, 420, 512, 700})
        for (int d = -4; d <= 4; ++d)
            data[centre + d] += 60 - 12 * std::abs(d);
}

std::unique_ptr<PictureBox> picture(int w, int h, QColor back)
{
    auto p = std::make_unique<PictureBox>();
    p->resize(w, h);
    p->image() = QImage(w, h, QImage::Format_RGB32);
    p->setBackColor(back);
    return p;
}

double timeTicks(Sondrel& w, const char* mode, bool toScreen, int ticks)
{
    DisplayMode = QString::fromLatin1(mode);
    // warm-up
    for (int i = 0; i < 50; ++i)
        DrawEngineData();
    const double start = cpuSeconds();
    for (int i = 0; i < ticks; ++i) {
        DrawEngineData();
        if (toScreen) {
            w.Spectrum->repaint();
            for (int ch = 0; ch <= 0; ++ch) {
                TuningSurfaces& s = TuningSurface(ch);
                s.ScopePic->repaint();
                s.VectorScope->repaint();
                s.Receive->repaint();
            }
        }
    }
    return (cpuSeconds() - start) / ticks * 1000;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("SONDREL_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);

    std::mt19937 rng(7);
    PskApi& e = Psk();
    e.fnGetFFTData = [&rng](std::int32_t* data, std::int32_t, std::int32_t) {
        fillSpectrum(data, rng);
        return std::int32_t{0};
    };
    e.fnGetVectorData = [&rng](std::int32_t* data, std::int32_t) {
        std::uniform_int_distribution<int> v(-3000, 3000);
        for (int i = 0; i < 16; ++i)
            data[i] = v(rng);
        return std::int32_t{0};
    };
    e.fnGetRXFrequency = [](std::int32_t) { return std::int32_t{1500}; };

    Sondrel& w = Sondrel::instance();
    w.resize(1040, 700);
    w.show();
    w.Spectrum->setFixedSize(1025, 150);
    QApplication::processEvents();
    PSKModeActive = true;
    FFTBinHz = 8000.0 / 2047.0;
    ScaleWidth = 15;
    ComputeHzPerTwip();
    SpectrumScale = 100;
    SpectrumSensitivity = SmallSpectrumSensitivity = 10;
    doAdjustScale();
    EngineFreqParam = 1500;
    SignalLevel = 60;

    // The main tuning window: zoomed spectrum, phase scope and signal bar.
    auto scope = picture(130, 60, Qt::black);
    auto vector = picture(64, 64, Qt::black);
    auto bar = picture(16, 70, Qt::black);
    auto yellow = picture(16, 70, QColor(255, 255, 0));
    auto red = picture(16, 70, QColor(255, 0, 0));
    TuningSurfaces& t = TuningSurface(0);
    t.ScopePic = scope.get();
    t.VectorScope = vector.get();
    t.Receive = bar.get();
    t.YellowFiller = yellow.get();
    t.RedFiller = red.get();
    for (PictureBox* p : {scope.get(), vector.get(), bar.get()})
        p->show();
    w.mnu(QStringLiteral("mnuTuningWindow")).setChecked(true);
    ScopeHeight = 60;
    ScopeCentreX = ScopeCentreY = 32;
    SetRxFrequencyFromPixel(static_cast<std::int16_t>(std::lround(1500 / HzPerTwip)), false);

    const int ticks = 2000;
    std::printf("One drawn tick at the widest scale (%d x %d pixels), with the tuning window's phase scope,\n"
                "zoomed spectrum and signal bar; CPU time per tick, mean of %d ticks:\n",
                w.Spectrum->image().width(), w.Spectrum->image().height(), ticks);
    for (const char* mode : {"Spectrum", "Waterfall"}) {
        const double draw = timeTicks(w, mode, false, ticks);
        const double shown = timeTicks(w, mode, true, ticks);
        std::printf("  %-9s  drawing %.3f ms   drawing and putting on screen %.3f ms\n", mode, draw, shown);
    }
    std::printf("Target: under 2 ms.\n");
    return 0;
}
