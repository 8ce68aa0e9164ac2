#include "display_fixture.h"

#include "displays/drawing/palette.h"
#include "displays/spectrum/display_drawing.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "state/mmtty_block.h"

#include <QColor>
#include <cstring>
#include <vector>

namespace {

using Drawing = DisplayFixture;

QRgb levelColour(int level)
{
    return WaterfallLevelColors()[static_cast<size_t>(level)];
}

TEST_F(Drawing, SpectrumIsOnePolylineFromTheBottomLeftCorner)
{
    ScaleWidth = 15;
    fft[99] = 50; // x 100, 50 pixels high
    SpectrumSensitivity = 10;
    DrawEngineData();
    PictureBox* s = main().Spectrum;
    EXPECT_EQ(pskCalls.first(), "fnGetFFTData 0 1023");
    EXPECT_EQ(pixel(s, 100, 50), kGreen);
    EXPECT_EQ(pixel(s, 100, 30), kBlack);  // above the peak
    EXPECT_EQ(pixel(s, 500, 99), kBlack);  // a value of 0 lies on the bottom edge, outside
    EXPECT_EQ(pixel(s, 0, 50), kBlack);

    // Gain in tenths, not while transmitting; overload turns the line red when warned of.
    SpectrumSensitivity = 5;
    DrawEngineData();
    EXPECT_EQ(pixel(s, 100, 75), kGreen);
    EXPECT_EQ(pixel(s, 100, 50), kBlack);
    TxActive = true;
    overload = 1;
    DrawEngineData();
    EXPECT_EQ(pixel(s, 100, 50), kGreen);
    main().mnu("mnuOverload").setChecked(true);
    DrawEngineData();
    EXPECT_EQ(pixel(s, 100, 50), kRed);
    EXPECT_EQ(OverloadFlag, 1);
}

TEST_F(Drawing, WaterfallScrollsOneRowAndDrawsTheNewestOnTop)
{
    DisplayMode = "Waterfall";
    ScaleWidth = 15;
    for (int i = 0; i < 1024; ++i)
        fft[static_cast<size_t>(i)] = i % 26; // levels 0..12
    DrawEngineData();
    PictureBox* s = main().Spectrum;
    const QImage first = s->image().copy();
    for (int i = 0; i < 1024; ++i)
        fft[static_cast<size_t>(i)] = 25 - i % 26;
    DrawEngineData();
    const QImage& now = s->image();
    for (int x = 0; x < 1025; ++x)
        ASSERT_EQ(now.pixel(x, 1), first.pixel(x, 0)) << x;
    for (int x = 1; x <= 1024; ++x)
        ASSERT_EQ(now.pixel(x, 0), levelColour(static_cast<int>((25 - (x - 1) % 26) * 0.5))) << x;
    EXPECT_EQ(now.pixel(0, 0), kBlack); // column 0 is never drawn
    EXPECT_EQ(now.pixel(0, 2), kBlack);
}

TEST_F(Drawing, WaterfallSharedPixelsTakeTheLaterBin)
{
    DisplayMode = "Waterfall";
    ScaleWidth = 10;
    fft[1] = 24; // bins 1 and 2 share pixel 2
    fft[2] = 4;
    DrawEngineData();
    EXPECT_EQ(pixel(main().Spectrum, 2, 0), levelColour(2));
    EXPECT_EQ(pixel(main().Spectrum, 683, 0), levelColour(0));
    EXPECT_EQ(pixel(main().Spectrum, 684, 0), kBlack); // beyond the last bin
}

TEST_F(Drawing, OverloadPaintsTheQuietPartsOfTheRowRed)
{
    DisplayMode = "Waterfall";
    ScaleWidth = 15;
    fft[0] = 0;
    fft[1] = 3;  // level 1
    fft[2] = 4;  // level 2
    fft[3] = 25; // level 12
    overload = 1;
    DrawEngineData();
    PictureBox* s = main().Spectrum;
    EXPECT_EQ(pixel(s, 1, 0), levelColour(0)); // not warned of: palette colours
    main().mnu("mnuOverload").setChecked(true);
    DrawEngineData();
    EXPECT_EQ(pixel(s, 1, 0), kRed);
    EXPECT_EQ(pixel(s, 2, 0), kRed);
    EXPECT_EQ(pixel(s, 3, 0), levelColour(2));
    EXPECT_EQ(pixel(s, 4, 0), levelColour(12));
    overload = 0;
    DrawEngineData();
    EXPECT_EQ(pixel(s, 1, 0), levelColour(0));
}

TEST_F(Drawing, RttyDrawsFromTheEngineBlock)
{
    std::vector<unsigned char> block(mmtty::kBlockSize);
    MMTTYView = block.data();
    PSKModeActive = false;
    DisplayMode = "Waterfall";
    ScaleWidth = 15;
    const std::int32_t bins[] = {0, 100, -300, 160}; // values 0, 10, 0, 25.6
    std::memcpy(block.data() + 0x9C, bins, sizeof bins);
    const std::int32_t x = 2200, y = 4400;
    std::memcpy(block.data() + 0x20A0, &x, 4);
    std::memcpy(block.data() + 0x28A0, &y, 4);
    TuningSurfaces& t = tuningWindow(0);
    XYScopeOn = true;
    XYScopeCentreX = XYScopeCentreY = 10;
    DrawEngineData();
    EXPECT_TRUE(pskCalls.filter("fnGet").filter("FFT").isEmpty());
    PictureBox* s = main().Spectrum;
    EXPECT_EQ(pixel(s, 1, 0), levelColour(0));
    EXPECT_EQ(pixel(s, 2, 0), levelColour(5));
    EXPECT_EQ(pixel(s, 3, 0), levelColour(0));
    EXPECT_EQ(pixel(s, 4, 0), levelColour(12));
    EXPECT_EQ(MMTTYBlock.XYScopeX[0], 2200);
    // XY dot at sample / 1100 + centre
    EXPECT_EQ(pixel(t.VectorScope, 12, 14), 0xFFFFFFFF);
    // A pair with a zero coordinate is not plotted; the scope is cleared every tick.
    std::memset(block.data() + 0x28A0, 0, 4);
    DrawEngineData();
    EXPECT_EQ(pixel(t.VectorScope, 12, 14), kBlack);
    MMTTYView = nullptr;
}

TEST_F(Drawing, XYSlotsFollowTheTickCycle)
{
    PSKModeActive = false;
    tuningWindow(0);
    XYScopeOn = true;
    MMTTYBlock.XYScopeX[3] = 7;
    MMTTYBlock.XYScopeY[3] = 8;
    std::vector<unsigned char> block(mmtty::kBlockSize);
    std::memcpy(block.data() + 0x20A0 + 12, &MMTTYBlock.XYScopeX[3], 4);
    std::memcpy(block.data() + 0x28A0 + 12, &MMTTYBlock.XYScopeY[3], 4);
    MMTTYView = block.data();
    TickCycle = 2;
    DrawEngineData();
    EXPECT_EQ(XYScopeXData[6], 7);
    EXPECT_EQ(XYScopeYData[6], 8);
    EXPECT_EQ(XYScopeXData[3], 0);
    MMTTYView = nullptr;
}

TEST_F(Drawing, ZeroDivisorsAndMissingPartsSkipOnlyTheirStep)
{
    tuningWindow(0);
    TuningWindowAux1Open = true; // its window has not given its pictures
    Aux1Open = true;
    SpectrumScale = 0;
    XYScopeScale = 0;
    ScaleWidth = 0;
    HzPerTwip = 0;
    EngineFreqParam = 1500;
    Psk().fnGetSignalLevel = nullptr;
    Psk().fnGetRXFrequency = nullptr;
    fft[5] = 1000000000;
    SignalLevel = 2000000000;
    vectors.fill(2000000000);
    EXPECT_NO_THROW(DrawEngineData());
    DisplayMode = "Waterfall";
    EXPECT_NO_THROW(DrawEngineData());
    PSKModeActive = false;
    XYScopeOn = true;
    XYScopeXData.fill(5);
    XYScopeYData.fill(5);
    EXPECT_NO_THROW(DrawEngineData());
    main().Spectrum->image() = QImage(1, 1, QImage::Format_RGB32);
    EXPECT_NO_THROW(DrawEngineData());
}

TEST_F(Drawing, VectorDataIsFetchedForTheShownChannels)
{
    DrawEngineData();
    EXPECT_EQ(pskCalls, QStringList{"fnGetFFTData 0 1023"});
    pskCalls.clear();
    main().mnu("mnuTuningWindow").setChecked(true);
    Aux2Open = true;
    DrawEngineData();
    EXPECT_EQ(pskCalls.mid(0, 3), QStringList({"fnGetVectorData 0", "fnGetVectorData 2", "fnGetFFTData 0 1023"}));
}

TEST_F(Drawing, PhaseScopeDrawsEightSegmentsScaledByTheLevel)
{
    TuningSurfaces& t = tuningWindow(0);
    ScopeCentreX = ScopeCentreY = 30;
    SignalLevel = 50;
    vectors = {2000, 0, 0, 2000, -2000, 0, 0, -2000, 2000, 0, 0, 2000, -2000, 0, 0, -2000};
    t.vectorPen = 65535; // yellow
    DrawEngineData();
    EXPECT_EQ(VectorDrawIndex, 16);
    PictureBox* v = t.VectorScope;
    const QRgb yellow = 0xFFFFFF00;
    EXPECT_EQ(pixel(v, 50, 30), yellow); // 2000 x 50 / 5000 = 20 pixels right
    EXPECT_EQ(pixel(v, 30, 10), yellow); // and up
    EXPECT_EQ(pixel(v, 10, 30), yellow);
    EXPECT_EQ(pixel(v, 30, 50), yellow);
    EXPECT_EQ(pixel(v, 51, 30), kBlack);
    // The bar step leaves its colour for the next tick's scope: level 50 is above threshold 20.
    EXPECT_EQ(t.vectorPen, 65535);
    SignalLevel = 19;
    DrawEngineData();
    EXPECT_EQ(t.vectorPen, 255);
}

TEST_F(Drawing, ZoomedSpectraFramesAndBins)
{
    TuningSurfaces& aux = tuningWindow(1);
    // The auxiliary frames stand at the PSK places even before the main window was shown.
    DrawEngineData();
    const QRgb blue = 0xFF0000FF;
    EXPECT_EQ(pixel(aux.ScopePic, 57, 0), blue);
    EXPECT_EQ(pixel(aux.ScopePic, 73, 59), blue);
    EXPECT_EQ(pixel(aux.ScopePic, 0, 0), kBlack);

    TuningSurfaces& m = tuningWindow(0);
    MiniSpectrumFirstBin = 10;
    MiniSpectrumLastBin = 12;
    SpectrumPixelHeight = 100;
    SmallSpectrumSensitivity = 5;
    fft[10] = 20; // 20 x 5 / 10 = 10 pixels at x 1
    fft[12] = 40; // 20 pixels at x 5
    DrawEngineData();
    EXPECT_EQ(pixel(m.ScopePic, 57, 0), kRed);
    EXPECT_EQ(pixel(m.ScopePic, 1, 50), kGreen);
    EXPECT_EQ(pixel(m.ScopePic, 1, 49), kBlack);
    EXPECT_EQ(pixel(m.ScopePic, 5, 40), kGreen);
    EXPECT_EQ(pixel(m.ScopePic, 3, 59), kBlack); // bin 11 is 0: nothing inside the picture
    EXPECT_EQ(MiniSpectrumX, 7);
    // While transmitting the small spectra take no gain.
    main().TxRxBox->setText("Transmit");
    DrawEngineData();
    EXPECT_EQ(pixel(m.ScopePic, 1, 40), kGreen);

    // RTTY: frames round the shift, one pixel per bin.
    PSKModeActive = false;
    RTTYShownShiftHz = 170;
    DrawEngineData();
    EXPECT_EQ(pixel(m.ScopePic, 87, 10), kRed);
    EXPECT_EQ(pixel(m.ScopePic, 43, 10), kRed);
    EXPECT_EQ(MiniSpectrumX, 4);
}

TEST_F(Drawing, SignalBarsAgainstTheSquelchThreshold)
{
    TuningSurfaces& m = tuningWindow(0);
    TuningSurfaces& a = tuningWindow(2);
    // Main: threshold 100 - 52 x 1.53846 = 20.0; channel 2: 100 - 52 x 1.5625 = 18.75.
    struct Case { std::int32_t main, aux; QRgb mainColour, auxColour; };
    const QRgb yellow = 0xFFFFFF00;
    const Case cases[] = {{21, 19, yellow, yellow}, {20, 18, kRed, kRed}, {1, 100, kRed, yellow}};
    for (const Case& c : cases) {
        SignalLevel = c.main;
        auxLevel = c.aux;
        DrawEngineData();
        EXPECT_EQ(Aux2SignalLevel, c.aux);
        EXPECT_EQ(pixel(m.Receive, 5, 69), c.mainColour) << c.main;
        EXPECT_EQ(pixel(a.Receive, 5, 69), c.auxColour) << c.aux;
        const int top = static_cast<int>(std::nearbyint(70 - c.aux * 0.65));
        EXPECT_EQ(pixel(a.Receive, 5, top - 1), kBlack) << c.aux;
    }
    EXPECT_TRUE(pskCalls.contains("fnGetSignalLevel 2"));
    EXPECT_FALSE(pskCalls.contains("fnGetSignalLevel 1"));
}

} // namespace
