#include "display_fixture.h"

#include "displays/spectrum/display_hooks.h"
#include "displays/spectrum/readouts.h"
#include "displays/spectrum/scale.h"
#include "displays/spectrum/scale_clicks.h"
#include "platform/processes/winmsg.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

namespace {

// A stand-in for the RTTY engine's window: records the commands posted to it.
class EngineWindow : public QObject {
public:
    EngineWindow() { handle = win::registerWindow(this); }
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        posts << QStringLiteral("%1 %2").arg(m->wParam()).arg(m->lParam());
        return true;
    }
    QStringList take()
    {
        QCoreApplication::processEvents();
        return std::exchange(posts, {});
    }
    win::WinHandle handle = 0;
    QStringList posts;
};

using Scale = DisplayFixture;

void setWidth(double w)
{
    ScaleWidth = w;
    ComputeHzPerTwip();
}

TEST_F(Scale, ClickToTuneAtTheThreeScaleWidths)
{
    AFCRange = 45;
    Aux1AFCRange = 0;
    Aux2AFCRange = 45;
    struct Case { double width; double x; int shift; const char* call; std::int16_t first, last; };
    // 1499.95 Hz in each width is sent as 1500 Hz; Alt tunes channel 1, Ctrl channel 2.
    const Case cases[] = {
        {10, 3838, 0, "fnSetRXFrequency 1500 45 0", 352, 416},
        {5, 1919, 0, "fnSetRXFrequency 1500 45 0", 352, 416},
        {15, 5757, 0, "fnSetRXFrequency 1500 45 0", 352, 416},
        {10, 3582, 4, "fnSetRXFrequency 1400 0 1", 326, 390},
        {15, 6141.4, 2, "fnSetRXFrequency 1600 45 2", 377, 441},
    };
    for (const Case& c : cases) {
        pskCalls.clear();
        setWidth(c.width);
        Spectrum_MouseDown(1, c.shift, c.x, 0);
        EXPECT_EQ(pskCalls, QStringList{c.call}) << c.width << " " << c.x;
        const std::int16_t first = c.shift == 0 ? MiniSpectrumFirstBin : c.shift == 4 ? Aux1MiniSpectrumFirstBin
                                                                                      : Aux2MiniSpectrumFirstBin;
        const std::int16_t last = c.shift == 0 ? MiniSpectrumLastBin : c.shift == 4 ? Aux1MiniSpectrumLastBin
                                                                                    : Aux2MiniSpectrumLastBin;
        EXPECT_EQ(first, c.first) << c.width;
        EXPECT_EQ(last, c.last) << c.width;
    }
    EXPECT_EQ(RxCursorX, 5757);
    EXPECT_EQ(RxCursorPixel, 384);
    // Other keys, other buttons: nothing tuned.
    pskCalls.clear();
    Spectrum_MouseDown(1, 1, 5000, 0);
    Spectrum_MouseDown(1, 6, 5000, 0);
    Spectrum_MouseDown(4, 0, 5000, 0);
    EXPECT_TRUE(pskCalls.isEmpty());
}

TEST_F(Scale, OnlyThePassbandCanBeTuned)
{
    ScaleWidth = FFTBinHz; // one hertz per twip
    ComputeHzPerTwip();
    for (std::int16_t p : {std::int16_t(299), std::int16_t(3501), std::int16_t(-5)}) {
        SetRxFrequencyFromPixel(p, true);
        SetAux1RxFrequencyFromPixel(p, true);
    }
    EXPECT_TRUE(pskCalls.isEmpty());
    EXPECT_EQ(RxCursorX, 0);
    SetRxFrequencyFromPixel(300, true);
    SetRxFrequencyFromPixel(3500, true);
    EXPECT_EQ(pskCalls, QStringList({"fnSetRXFrequency 300 0 0", "fnSetRXFrequency 3500 0 0"}));
}

TEST_F(Scale, RttyClickPostsMarkAndSpaceAroundTheClick)
{
    EngineWindow engine;
    MMTTYhWnd = engine.handle;
    MMTTYMessage = win::RegisterWindowMessage("MMTTY");
    PSKModeActive = false;
    RTTYShiftHz = 170;
    SetRxFrequencyFromPixel(3838, true); // 1499.95 Hz, cut to 1499
    EXPECT_EQ(engine.take(), QStringList({"9 1414", "10 1584"}));
    EXPECT_EQ(MiniSpectrumFirstBin, 320); // 64 bins either side
    EXPECT_EQ(MiniSpectrumLastBin, 448);
    EXPECT_TRUE(pskCalls.isEmpty());
}

TEST_F(Scale, ScaleLabelsFollowTheDialAtEveryWidth)
{
    Sondrel& w = main();
    for (double width : {5.0, 10.0, 15.0}) {
        setWidth(width);
        UpdateScaleLabels();
        // DialHzPart 0: the 1000 label stands at 1001 Hz, centred.
        const double p = 1001 / HzPerTwip;
        EXPECT_DOUBLE_EQ(ScaleLabelPosition(1), p) << width;
        EXPECT_EQ(w.Label1000->x(), static_cast<int>(std::nearbyint((p - 24 * 15) / 15))) << width;
        EXPECT_DOUBLE_EQ(ScaleLabelPosition(4), 4001 / HzPerTwip) << width;
        EXPECT_EQ(w.Label1000->text(), "1000");
        EXPECT_EQ(w.Label4000->text(), "4000");
    }
    DialKHz = 14070;
    UpdateScaleLabels();
    EXPECT_EQ(w.Label1000->text(), "14071");
    EXPECT_EQ(w.Label4000->text(), "14074");
    SidebandOrientation = "Reverse";
    DialHzPart = 250;
    UpdateScaleLabels();
    EXPECT_EQ(w.Label1000->text(), "14070");
    EXPECT_EQ(w.Label4000->text(), "14067");
    EXPECT_DOUBLE_EQ(ScaleLabelPosition(1), 251 / HzPerTwip); // c0 = 750
    SidebandOrientation = "Sideways";
    DialKHz = 7000;
    UpdateScaleLabels();
    EXPECT_EQ(w.Label1000->text(), "14070");
}

TEST_F(Scale, TicksMarkersAndTheirColours)
{
    Sondrel& w = main();
    setWidth(15);
    PictureBox* g = w.Graticule;
    UpdateScaleLabels();
    const QRgb black = kBlack;
    // f = 1 is a long tick (c = 0), f = 101 a short one: tick x = f / HzPerTwip / 15.
    EXPECT_EQ(pixel(g, 0, 7), black);
    EXPECT_EQ(pixel(g, 26, 7), 0xFFC0C0C0);
    EXPECT_EQ(pixel(g, 26, 11), black);
    EXPECT_EQ(pixel(g, 600, 14), black); // baseline
    // Channel markers: red main, blue channel 1 (open), nothing for a closed channel 2.
    RxCursorPixel = 400;
    Aux1CursorPixel = 300;
    Aux2CursorPixel = 200;
    Aux1Open = true;
    const int h = static_cast<int>(std::nearbyint(15.5 / HzPerTwip / 15));
    // Frequency marker 2 at 1100 Hz in its own colour and width.
    main().mnu("mnuMarker2").setChecked(true);
    MarkerFreq[2] = 1100;
    MarkerColor[2] = "8454143";
    MarkerWidth = 3;
    RedrawSpectrumScale();
    EXPECT_EQ(pixel(g, 400 + h, 2), kRed);
    EXPECT_EQ(pixel(g, 400 - h, 2), kRed);
    EXPECT_EQ(pixel(g, 300 + h, 2), 0xFF0000FF);
    EXPECT_EQ(pixel(g, 200 + h, 2), 0xFFC0C0C0);
    const int mx = static_cast<int>(std::nearbyint(1100 / HzPerTwip / 15));
    EXPECT_EQ(pixel(g, mx + 1, 15), QColor(255, 255, 128).rgb());
    EXPECT_EQ(pixel(g, mx, 5), 0xFFC0C0C0);
    // The ticks keep the pen colour saved before the markers.
    RedrawSpectrumScale();
    EXPECT_EQ(pixel(g, 0, 7), black);
}

TEST_F(Scale, RttyMarkersShowTheShift)
{
    PSKModeActive = false;
    TuningSurfaces& t = tuningWindow(0);
    RTTYMarkHz = 1415;
    RTTYSpaceHz = 0;
    RedrawSpectrumScale();
    EXPECT_EQ(main().IMDBox->text(), "");
    RTTYSpaceHz = 1585;
    RedrawSpectrumScale();
    EXPECT_EQ(main().IMDBox->text(), "170 Hz");
    EXPECT_EQ(t.IMD->text(), "170 Hz");
    EXPECT_EQ(RTTYShownShiftHz, 170);
    const int x = static_cast<int>(std::nearbyint(1415 / HzPerTwip / 15));
    EXPECT_EQ(pixel(main().Graticule, x, 3), kRed);
}

TEST_F(Scale, RightClickMovesTheRadioToTheClickedSignal)
{
    Sondrel& w = main();
    QStringList logger;
    DisplayHooks().SendToLogger = [&](const QString& t) { logger << t; };
    DialFrequency = 14070;
    const double x = 3838; // 1499.95 Hz: 0.05 Hz below the preset 1500
    Spectrum_MouseDown(2, 0, x, 0);
    EXPECT_TRUE(logger.isEmpty()); // "Display frequency from radio" unchecked
    w.mnu("mnuRadioAuto").setChecked(true);
    Spectrum_MouseDown(2, 0, 3838 + 2560, 0); // + 1000.4 Hz
    EXPECT_EQ(logger, QStringList{"Set Frequency=14071.00"});
    SidebandOrientation = "Reverse";
    w.mnu("mnuStandalone").setChecked(true);
    Links().rig = [&](const QString& member, QVariantList& args) {
        logger << member + " " + args.value(0).toString();
        args[0] = "0014069000"; // the component rewrites what it is handed
        return QVariant(0);
    };
    Spectrum_MouseDown(2, 0, 3838 + 2560, 0);
    EXPECT_EQ(logger.last(), "setRadioFrequency 14069.00");
    EXPECT_EQ(PendingQSYFrequency, "14069.00");
    logger.clear();
    DialFrequency = 1800;
    Spectrum_MouseDown(2, 0, x, 0);
    EXPECT_TRUE(logger.isEmpty());
}

TEST_F(Scale, NotchClicksOnTheScaleInRtty)
{
    EngineWindow engine;
    MMTTYhWnd = engine.handle;
    QStringList notch;
    DisplayHooks().SetNotchAt = [&](float x) { notch << QString::number(x); };
    UpdateScaleLabels();
    // PSK: nothing.
    Graticule_MouseDown(1, 0, 3000);
    Graticule_Click();
    EXPECT_TRUE(notch.isEmpty());
    PSKModeActive = false;
    Graticule_MouseDown(1, 0, 3000);
    Graticule_Click();
    EXPECT_EQ(notch, QStringList{"3000"});
    // A label passes its own frequency's position on the scale.
    ScaleLabel_MouseDown(2, 1);
    ScaleLabel_Click(2);
    EXPECT_FLOAT_EQ(notch.last().toFloat(), static_cast<float>(2001 / HzPerTwip));
    // Another button turns a notch that is on off.
    MMTTYFlags = 0x44;
    Graticule_MouseDown(2, 0, 3000);
    Graticule_Click();
    EXPECT_EQ(engine.take(), QStringList{"11 4"});
    EXPECT_EQ(notch.size(), 2);
}

TEST_F(Scale, ResetAndAbortLabels)
{
    AFCRange = 45;
    PresetRxAudioFreq = "1400.00";
    PresetTxAudioFreq = "1450.00";
    Label3_Click();
    EXPECT_EQ(pskCalls, QStringList({"fnSetRXFrequency 1400 45 0", "fnSetTXFrequency 1450"}));
    EXPECT_EQ(TxAudioFreqText, "1450.00");
    int resets = 0;
    DisplayHooks().ResetRTTYShift = [&] { ++resets; };
    PSKModeActive = false;
    Label3_Click();
    EXPECT_EQ(resets, 1);
}

TEST_F(Scale, TheBufferTakesTheDisplaysSize)
{
    main().Spectrum->resize(700, 180);
    doAdjustScale();
    EXPECT_EQ(main().Spectrum->image().size(), QSize(700, 180));
    EXPECT_EQ(SpectrumPixelHeight, 180);
}

} // namespace
