#include "display_fixture.h"

#include "displays/setup/display_menus.h"
#include "displays/spectrum/scale.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"

namespace {

using DisplayMenus = DisplayFixture;

TEST_F(DisplayMenus, DisplayWidthKeepsEveryChannelsFrequency)
{
    SetRxFrequencyFromPixel(3838, false);     // 1499.95 Hz
    SetAux1RxFrequencyFromPixel(3582, false); // 1399.9 Hz
    Aux2CursorX = 0;                          // never tuned: stays so
    main().AudioFreqBox->clear();
    boxes.answerInput(QStringLiteral("15"));
    main().mnu("mnuDisplayWidth").click();
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].title, "Display width.");
    EXPECT_TRUE(boxes.calls()[0].text.endsWith("The limits of this setting are from 5 to 15."));
    EXPECT_EQ(ScaleWidth, 15);
    EXPECT_EQ(ini("Settings", "Scale Width"), "15");
    EXPECT_EQ(pskCalls, QStringList({"fnSetRXFrequency 1500 0 0", "fnSetRXFrequency 1400 0 1"}));
    EXPECT_EQ(RxCursorX, 5757);
    // The scale is redrawn for the new width at once.
    EXPECT_EQ(main().AudioFreqBox->text(), "1500.0 Hz");
}

TEST_F(DisplayMenus, DisplayWidthOutsideItsLimits)
{
    struct Case { std::optional<QString> answer; bool wrong; double width; };
    const Case cases[] = {
        {QStringLiteral("5"), false, 5}, {QStringLiteral("4.9"), true, 5}, {QStringLiteral("15.1"), true, 5},
        {QStringLiteral("16"), true, 5}, {QStringLiteral("-7"), true, 5}, {std::nullopt, false, 5},
        {QStringLiteral(""), false, 5}, {QStringLiteral("abc"), false, 5}, {QStringLiteral("12.5"), false, 12.5},
    };
    for (const Case& c : cases) {
        boxes.clear();
        boxes.answerInput(c.answer);
        main().mnu("mnuDisplayWidth").click();
        const auto messages = boxes.messages();
        EXPECT_EQ(messages.size(), c.wrong ? 1 : 0) << c.answer.value_or("<cancel>").toStdString();
        if (c.wrong) {
            EXPECT_EQ(messages[0].text, "Please read the instructions carefully.");
            EXPECT_EQ(messages[0].title, "Wrong");
        }
        EXPECT_EQ(ScaleWidth, c.width);
    }
}

TEST_F(DisplayMenus, ChoicesAndSwitchesAreWrittenAtOnce)
{
    Sondrel& w = main();
    w.Spectrum->image().fill(Qt::white);
    w.mnu("mnuWaterfall").click();
    EXPECT_EQ(DisplayMode, "Waterfall");
    EXPECT_EQ(w.Spectrum->image().pixel(5, 5), kBlack); // cleared first
    EXPECT_TRUE(w.mnu("mnuWaterfall").checked());
    EXPECT_EQ(ini("Display", "Display"), "Waterfall");
    w.mnu("mnuSpectrum").click();
    EXPECT_FALSE(w.mnu("mnuWaterfall").checked());
    EXPECT_EQ(ini("Display", "Display"), "Spectrum");

    w.mnu("mnuDisplayPen2").click();
    EXPECT_EQ(SpectrumDrawWidth, 2);
    EXPECT_EQ(ini("Settings", "Display Width"), "Width 2");
    EXPECT_FALSE(w.mnu("mnuDisplayPen1").checked());

    w.mnu("mnuMarker3").click();
    EXPECT_TRUE(w.mnu("mnuMarker3").checked());
    EXPECT_EQ(ini("Markers", "Marker 3 Enabled"), "True");
    w.mnu("mnuMarker3").click();
    EXPECT_EQ(ini("Markers", "Marker 3 Enabled"), "False");

    DialKHz = 14070;
    DialHzPart = 150;
    w.mnu("mnuRadioAuto").setChecked(true);
    w.mnu("mnuAudioFreq").click();
    EXPECT_EQ(DialKHz, 0);
    EXPECT_EQ(DialHzPart, 0);
    EXPECT_FALSE(w.mnu("mnuRadioAuto").checked());
    EXPECT_EQ(w.Label1000->text(), "1000");
    EXPECT_EQ(ini("Form View", "Frequency Dial"), "Radio Disabled");

    w.mnu("mnuOnTop").click();
    EXPECT_EQ(ini("Form View", "On Top"), "On Top True");
    w.mnu("mnuOnTop").click();
    EXPECT_EQ(ini("Form View", "On Top"), "On Top False");

    w.mnu("mnuDisplay").setChecked(true);
    w.mnu("mnuDisplay").click();
    EXPECT_FALSE(w.mnu("mnuScope").enabled());
    EXPECT_EQ(ini("Form View", "Display"), "Display False");
}

} // namespace
