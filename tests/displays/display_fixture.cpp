#include "display_fixture.h"

#include "displays/drawing/palette.h"
#include "displays/spectrum/display_hooks.h"
#include "displays/spectrum/scale.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

namespace {

void ResetDisplayState()
{
    MMTTYBlock = {};
    OverloadFlag = 0;
    TickCycle = 1;
    VectorData = Aux1VectorData = Aux2VectorData = {};
    VectorDrawIndex = Aux1VectorDrawIndex = Aux2VectorDrawIndex = 0;
    DisplayMode = QStringLiteral("Spectrum");
    SpectrumDrawWidth = 1;
    WaterfallSensitivity = 0.5;
    SignalLevel = Aux1SignalLevel = Aux2SignalLevel = 0;
    SquelchLevel = PSKSquelchLevel = RTTYSquelchLevel = Aux1SquelchLevel = Aux2SquelchLevel = 52;
    XYScopeOn = false;
    XYScopeScale = 1100;
    XYScopeXData = XYScopeYData = {};
    XYScopeCentreX = XYScopeCentreY = ScopeCentreX = ScopeCentreY = 30;
    ScopeHeight = 60;
    MiniSpectrumFirstBin = MiniSpectrumLastBin = 0;
    Aux1MiniSpectrumFirstBin = Aux1MiniSpectrumLastBin = Aux2MiniSpectrumFirstBin = Aux2MiniSpectrumLastBin = 0;
    Aux1Open = Aux2Open = TuningWindowAux1Open = TuningWindowAux2Open = false;
    RxCursorX = Aux1CursorX = Aux2CursorX = 0;
    RxCursorPixel = Aux1CursorPixel = Aux2CursorPixel = 0;
    AFCRange = Aux1AFCRange = Aux2AFCRange = 0;
    RTTYMarkHz = RTTYSpaceHz = RTTYShiftHz = RTTYShownShiftHz = 0;
    DialFrequency = 0;
    DialKHz = DialHzPart = 0;
    SidebandOrientation = QStringLiteral("Normal");
    PresetRxAudioFreq = PresetTxAudioFreq = QStringLiteral("1500.00");
    RxFreqLast = Aux1RxFreqLast = Aux2RxFreqLast = 0;
    RTTYMarkLast = RTTYSpaceLast = 0;
    IMDClearCount = Aux1IMDClearCount = Aux2IMDClearCount = 0;
    LastMouseButton = 0;
    LastMouseX = 0;
    FFTBinHz = 8000.0 / 2047.0;
    ScaleWidth = 10;
    ComputeHzPerTwip();
    SpectrumScale = 100;
    SpectrumSensitivity = SmallSpectrumSensitivity = 10;
    MarkerWidth = 1;
    TxActive = false;
    MMTTYhWnd = 0;
    MMTTYFlags = 0;
    MMTTYPolarityFlag = true;
    MMTTYView = nullptr;
    XYScopeColor = 16777215;
    LoadDefaultWaterfallColors();
    WaterfallPalette = DefaultWaterfallPalette;
}

} // namespace

void DisplayFixture::SetUp()
{
    MainWindowFixture::SetUp();
    ResetDisplayState();
    INIPath = home->file(QStringLiteral("Sondrel.INI"));
    ClearSurfaces();
    ResetDisplayHooks();
    PskApi& e = Psk();
    using i32 = std::int32_t;
    e.fnGetFFTData = [this](i32* data, i32 first, i32 last) {
        pskCalls << QStringLiteral("fnGetFFTData %1 %2").arg(first).arg(last);
        std::copy(fft.begin(), fft.end(), data);
        return overload;
    };
    e.fnGetVectorData = [this](i32* data, i32 channel) {
        pskCalls << QStringLiteral("fnGetVectorData %1").arg(channel);
        std::copy(vectors.begin(), vectors.end(), data);
        return i32{0};
    };
    e.fnGetSignalLevel = [this](i32 channel) {
        pskCalls << QStringLiteral("fnGetSignalLevel %1").arg(channel);
        return auxLevel;
    };
    e.fnGetRXFrequency = [this](i32 channel) {
        pskCalls << QStringLiteral("fnGetRXFrequency %1").arg(channel);
        return auxFrequency;
    };
    e.fnSetRXFrequency = [this](i32 hz, i32 afc, i32 channel) {
        pskCalls << QStringLiteral("fnSetRXFrequency %1 %2 %3").arg(hz).arg(afc).arg(channel);
        return i32{0};
    };
    e.fnSetTXFrequency = [this](i32 hz) {
        pskCalls << QStringLiteral("fnSetTXFrequency %1").arg(hz);
        return i32{0};
    };
    Sondrel& w = main();
    w.Spectrum->resize(1025, 100);
    w.Graticule->resize(1025, 36);
    doAdjustScale();
    w.Graticule->image() = QImage(1025, 36, QImage::Format_RGB32);
}

void DisplayFixture::TearDown()
{
    ClearSurfaces();
    pictures.clear();
    ResetPsk();
    ResetDisplayHooks();
    MainWindowFixture::TearDown();
}

TuningSurfaces& DisplayFixture::tuningWindow(int channel, int scopeWidth, int scopeHeight)
{
    auto picture = [this](int w, int h, QColor back = Qt::black) {
        pictures.push_back(std::make_unique<PictureBox>());
        PictureBox* p = pictures.back().get();
        p->resize(w, h);
        p->image() = QImage(w, h, QImage::Format_RGB32);
        p->setBackColor(back);
        return p;
    };
    TuningSurfaces& s = TuningSurface(channel);
    s.ScopePic = picture(scopeWidth, scopeHeight);
    s.VectorScope = picture(60, 60);
    s.Receive = picture(16, 70);
    s.YellowFiller = picture(16, 70, QColor(255, 255, 0));
    s.RedFiller = picture(16, 70, QColor(255, 0, 0));
    s.IMD = new QLabel(main().centralWidget());
    if (channel == 0)
        main().mnu("mnuTuningWindow").setChecked(true);
    else
        (channel == 1 ? TuningWindowAux1Open : TuningWindowAux2Open) = true;
    return s;
}
