#include "display_fixture.h"

#include "displays/spectrum/display_drawing.h"
#include "displays/spectrum/display_hooks.h"
#include "displays/spectrum/readouts.h"
#include "displays/spectrum/scale.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"

#include <QLabel>
#include <QLineEdit>

namespace {

using Readouts = DisplayFixture;

QRgb textColour(QLineEdit* box)
{
    return box->palette().color(QPalette::Text).rgb();
}

TEST_F(Readouts, AudioAndRadioFrequencies)
{
    Sondrel& w = main();
    struct Case { double dial; const char* sideband; bool audioOnly; const char* rf; };
    const Case cases[] = {
        {14070, "Normal", false, "14071.500 KHz"},
        {14070, "Reverse", false, "14068.500 KHz"},
        {0, "Normal", false, ""},
        {14070, "Normal", true, ""},
    };
    for (const Case& c : cases) {
        DialFrequency = c.dial;
        SidebandOrientation = c.sideband;
        w.mnu("mnuAudioFreq").setChecked(c.audioOnly);
        SetRxFrequencyFromPixel(3838, false); // 1499.95 Hz
        EXPECT_EQ(w.AudioFreqBox->text(), "1500.0 Hz");
        EXPECT_EQ(w.RFFrequencyBox->text(), c.rf) << c.dial << c.sideband << c.audioOnly;
    }
    // RTTY: the mark (normal polarity) or the space, and the radio frequency from the box.
    PSKModeActive = false;
    w.mnu("mnuAudioFreq").setChecked(false);
    SidebandOrientation = "Normal";
    RTTYMarkHz = 2125;
    RTTYSpaceHz = 2295;
    ShowFrequencyReadouts();
    EXPECT_EQ(w.AudioFreqBox->text(), "2125.0 Hz");
    EXPECT_EQ(w.RFFrequencyBox->text(), "14072.125 KHz");
    MMTTYPolarityFlag = false;
    ShowFrequencyReadouts();
    EXPECT_EQ(w.AudioFreqBox->text(), "2295.0 Hz");
}

TEST_F(Readouts, TheMainChannelFollowsTheEngine)
{
    PSKModeActive = true;
    EngineFreqParam = 1500;
    TrackRxFrequency();
    EXPECT_EQ(RxCursorX, 3838);
    EXPECT_EQ(RxFreqLast, 1500);
    EXPECT_EQ(main().AudioFreqBox->text(), "1500.0 Hz");
    main().AudioFreqBox->clear();
    TrackRxFrequency(); // no change: no redraw
    EXPECT_EQ(main().AudioFreqBox->text(), "");
    EngineFreqParam = 4000; // outside the passband: kept as last, moves nothing
    TrackRxFrequency();
    EXPECT_EQ(RxFreqLast, 4000);
    EXPECT_EQ(RxCursorX, 3838);
    PSKModeActive = false;
    RTTYMarkHz = 1415;
    RTTYSpaceHz = 1585;
    TrackRxFrequency();
    EXPECT_EQ(RxCursorX, 3838);
    EXPECT_TRUE(pskCalls.isEmpty());
}

TEST_F(Readouts, AnAuxiliaryChannelFollowsTheEngine)
{
    QLineEdit audio;
    AuxReadouts(1).AuxStatusBarAudioFreq = &audio;
    Aux1Open = true;
    auxFrequency = 1400;
    // The tracker writes " 1400.0 Hz "; the scale redraw that follows writes the cursor's frequency.
    TrackAux1RxFrequency();
    EXPECT_EQ(Aux1RxFreq, 1400);
    EXPECT_EQ(Aux1CursorX, 3582);
    EXPECT_EQ(audio.text(), "1399.9 Hz");
    Aux1Open = false;
    auxFrequency = 1500;
    TrackAux1RxFrequency();
    EXPECT_EQ(audio.text(), " 1500.0 Hz ");
    EXPECT_EQ(pskCalls, QStringList({"fnGetRXFrequency 1", "fnGetRXFrequency 1"}));
}

TEST_F(Readouts, IMDColoursAndTexts)
{
    Sondrel& w = main();
    TuningSurfaces& t = tuningWindow(0);
    struct Case { std::int32_t value; const char* text; QRgb colour; };
    const Case cases[] = {{-26, "-26dB", 0xFF008000}, {-25, "-25dB", kRed}, {0, "0dB", kRed}, {-40, "-40dB", 0xFF008000}};
    for (const Case& c : cases) {
        ShowIMD(c.value, 0);
        EXPECT_EQ(w.IMDBox->text(), c.text);
        EXPECT_EQ(textColour(w.IMDBox), c.colour) << c.value;
        EXPECT_EQ(t.IMD->text(), c.text);
        EXPECT_EQ(t.IMD->palette().color(QPalette::WindowText).rgb(), c.colour);
    }
    EXPECT_EQ(IMDClearCount, 1);
    // A closed auxiliary window, or a channel that does not exist, changes nothing.
    ShowIMD(-30, 1);
    ShowIMD(-30, 3);
    ShowIMD(-30, -1);
    EXPECT_EQ(Aux1IMDClearCount, 0);
    QLineEdit auxBox;
    AuxReadouts(2).AuxStatusBarIMD = &auxBox;
    Aux2Open = true;
    ShowIMD(-30, 2);
    EXPECT_EQ(auxBox.text(), "-30dB");
    EXPECT_EQ(Aux2IMDClearCount, 1);
}

TEST_F(Readouts, IMDIsBlankedTenTicksAfterItsLastValue)
{
    QLineEdit auxBox;
    AuxReadouts(2).AuxStatusBarIMD = &auxBox;
    Aux2Open = true;
    ShowIMD(-30, 0);
    ShowIMD(-31, 2);
    // What the tick does with the counters.
    auto tick = [] {
        for (std::int16_t* c : {&IMDClearCount, &Aux1IMDClearCount, &Aux2IMDClearCount})
            if (*c > 0 && ++*c > 10)
                ClearIMD();
    };
    for (int t = 1; t <= 9; ++t)
        tick();
    EXPECT_EQ(main().IMDBox->text(), "-30dB");
    tick();
    EXPECT_EQ(main().IMDBox->text(), "");
    EXPECT_EQ(auxBox.text(), "");
    EXPECT_EQ(IMDClearCount, 0);
    EXPECT_EQ(Aux2IMDClearCount, 0);
    // The per-channel form blanks that channel only.
    ShowIMD(-30, 0);
    ShowIMD(-31, 2);
    ClearIMD(2);
    EXPECT_EQ(main().IMDBox->text(), "-30dB");
    EXPECT_EQ(auxBox.text(), "");
}

TEST_F(Readouts, ClickingTheBoxes)
{
    main().AudioFreqBox->setText("1400.0 Hz");
    AudioFreqBox_Click();
    EXPECT_EQ(pskCalls, QStringList{"fnSetTXFrequency 1400"});
    EXPECT_EQ(TxAudioFreqText, "1400");
    int resets = 0;
    DisplayHooks().ResetRTTYShift = [&] { ++resets; };
    IMDBox_Click();
    EXPECT_EQ(resets, 0);
    PSKModeActive = false;
    IMDBox_Click();
    EXPECT_EQ(resets, 1);
}

TEST_F(Readouts, TheTickFollowsTheFrequenciesAfterDrawing)
{
    Aux2Open = true;
    auxFrequency = 1600;
    EngineFreqParam = 1500;
    DrawEngineData();
    EXPECT_EQ(RxCursorX, 3838);
    EXPECT_EQ(Aux2RxFreq, 1600);
    EXPECT_TRUE(pskCalls.contains("fnGetRXFrequency 2"));
    EXPECT_FALSE(pskCalls.contains("fnGetRXFrequency 1"));
}

} // namespace
