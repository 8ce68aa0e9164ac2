// Fixed-radio presets, the frequency-source menu items and the split offset.
#include "radio_support.h"

#include "core/radio/frmsplitfreq.h"
#include "core/radio/radio_presets.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using Presets = RadioFixture;

const char* const kSources[] = {"mnuRadioAuto", "mnuAudioFreq", "mnuSimulatedRadio1", "mnuSimulatedRadio2",
                                "mnuSimulatedRadio3", "mnuSimulatedRadio4"};

QStringList checkedSources(Sondrel& w)
{
    QStringList on;
    for (const char* name : kSources)
        if (w.mnu(name).checked())
            on << name;
    return on;
}

TEST_F(Presets, ACommaTypedIsEnteredAsAPoint)
{
    frmRadioFreq d;
    d.Text[2]->clear();
    for (QChar c : QString("7035,5")) {
        QKeyEvent press(QEvent::KeyPress, c == ',' ? Qt::Key_Comma : Qt::Key_0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(d.Text[2], &press);
    }
    EXPECT_EQ(d.Text[2]->text(), "7035.5");
}

TEST_F(Presets, OkStoresInOrderAndStopsAtTheFirstBadEntry)
{
    frmRadioFreq d;
    EXPECT_EQ(d.windowTitle(), "Fixed Radio frequency setup");
    EXPECT_EQ(d.Text[3]->text(), "14071.00");
    EXPECT_TRUE(d.Check[3]->isChecked());
    EXPECT_FALSE(d.Check[4]->isChecked());
    d.Text[1]->setText("7035.5");
    d.Check[1]->setChecked(false);
    d.Text[2]->setText("3580");
    d.Text[3]->setText("21O70");
    d.Text[4]->setText("28120");
    d.OKButton->click();
    EXPECT_NE(d.result(), QDialog::Accepted);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].text, "Error in Fixed radio freq 3");
    EXPECT_EQ(boxes.messages()[0].title, "Wrong...");
    EXPECT_EQ(ini("Settings", "Preset Radio Frequency 1"), "7035.5");
    EXPECT_EQ(ini("Settings", "Preset Radio Mode 1"), "LSB");
    EXPECT_EQ(ini("Settings", "Preset Radio Frequency 2"), "3580");
    EXPECT_EQ(ini("Settings", "Preset Radio Frequency 3"), "<missing>");
    EXPECT_EQ(ini("Settings", "Preset Radio Frequency 4"), "<missing>");
    EXPECT_EQ(main().mnu("mnuSimulatedRadio1").caption(), "Fixed Radio on 7035.5 LSB");
    EXPECT_EQ(main().mnu("mnuSimulatedRadio3").caption(), "Fixed Radio on 14071.00 USB"); // as loaded
    EXPECT_EQ(PresetRadioFrequency[4], "14071.00");
}

TEST_F(Presets, EditingTheCheckedPresetMovesTheDialAtOnce)
{
    main().mnu("mnuSimulatedRadio2").click();
    EXPECT_EQ(DialKHz, 14070);
    frmRadioFreq d;
    d.Text[1]->setText("7000");  // not the checked one: only its item is renamed
    d.Text[2]->setText("10142.25");
    d.Check[2]->setChecked(true);
    d.OKButton->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(main().mnu("mnuSimulatedRadio1").caption(), "Fixed Radio on 7000 USB");
    EXPECT_EQ(main().mnu("mnuSimulatedRadio2").caption(), "Fixed Radio on 10142.25 USB");
    EXPECT_DOUBLE_EQ(DialFrequency, 10142.25);
    EXPECT_EQ(DialKHz, 10142);
    EXPECT_EQ(DialHzPart, 250);
    EXPECT_EQ(SidebandOrientation, "Normal");
    EXPECT_EQ(main().Label1000->text(), "10143");
}

TEST_F(Presets, EachSourceItemChecksItselfAndSetsTheDial)
{
    struct Case {
        int n;
        const char* freq;
        const char* mode;
        double dial;
        int kHz, hz;
        const char* sideband;
    };
    const Case cases[] = {
        {1, "14070.15", "USB", 14070.15, 14070, 150, "Normal"},
        {2, "7035.0625", "LSB", 7035.0625, 7035, 62, "Reverse"},  // 62.5 Hz: halves to even
        {3, "3580.25", "usb", 3580.25, 3580, 250, "Reverse"},  // only "USB" is the upper sideband
        {4, "oops", "USB", 0, 0, 0, "Normal"},
        {4, "1E12", "USB", 0, 0, 0, "Normal"},                    // no dial is that high
    };
    for (const Case& c : cases) {
        const auto i = static_cast<std::size_t>(c.n);
        PresetRadioFrequency[i] = c.freq;
        PresetRadioMode[i] = c.mode;
        main().mnu("mnuRadioAuto").setChecked(true);
        main().mnu(QString("mnuSimulatedRadio%1").arg(c.n)).click();
        EXPECT_EQ(checkedSources(main()), QStringList({QString("mnuSimulatedRadio%1").arg(c.n)}));
        EXPECT_DOUBLE_EQ(DialFrequency, c.dial) << c.freq;
        EXPECT_EQ(DialKHz, c.kHz) << c.freq;
        EXPECT_EQ(DialHzPart, c.hz) << c.freq;
        EXPECT_EQ(SidebandOrientation, c.sideband) << c.freq;
        EXPECT_EQ(ini("Form View", "Frequency Dial"), QString("Radio Simulated %1").arg(c.n));
    }
}

TEST_F(Presets, RadioAutoAsksTheLoggerForTheFrequency)
{
    main().FreqHolder->setText("FREQUENCY=14070USB");
    main().mnu("mnuSimulatedRadio3").click();
    main().mnu("mnuRadioAuto").click();
    EXPECT_EQ(checkedSources(main()), QStringList({"mnuRadioAuto"}));
    EXPECT_EQ(main().FreqHolder->text(), "");
    EXPECT_EQ(ini("Form View", "Frequency Dial"), "Radio Auto");
}

TEST_F(Presets, TheSplitDialogShowsAndSetsTheOffset)
{
    struct Load {
        std::int32_t offset;
        const char* option;
        bool textShown;
        const char* text;
    };
    for (const Load& l : {Load{0, "Option1", false, ""}, Load{600, "Option2", true, "600"},
                          Load{-1200, "Option3", true, "-1200"}}) {
        SplitOffset = l.offset;
        frmSplitFreq d;
        EXPECT_EQ(d.windowTitle(), "Simplex / Split");
        for (QRadioButton* o : {d.Option1, d.Option2, d.Option3})
            EXPECT_EQ(o->isChecked(), o->objectName() == l.option) << l.offset;
        EXPECT_EQ(!d.Text1->isHidden(), l.textShown);
        EXPECT_EQ(!d.Label1->isHidden(), l.textShown);
        EXPECT_EQ(d.Text1->text(), l.text);
    }

    struct Ok {
        int option;
        const char* typed;
        std::int32_t offset;
        const char* caption;
    };
    const Ok cases[] = {
        {3, "600", -600, "Split"},  {2, "-600", 600, "Split"}, {2, "0", 0, "Simplex"},
        {3, "-250.5", -250, "Split"}, {2, "abc", 0, "Simplex"}, {1, "900", 0, "Simplex"},
        {2, "1E12", 0, "Simplex"},  // beyond any radio: no split
    };
    for (const Ok& c : cases) {
        SplitOffset = 0;
        frmSplitFreq d;
        QRadioButton* o = c.option == 1 ? d.Option1 : c.option == 2 ? d.Option2 : d.Option3;
        o->click();
        EXPECT_EQ(!d.Text1->isHidden(), c.option != 1);
        d.Text1->setText(c.typed);
        d.ARButton1->click();
        EXPECT_EQ(SplitOffset, c.offset) << c.typed;
        EXPECT_EQ(main().DuplexBox->text(), c.caption) << c.typed;
    }
}

TEST_F(Presets, TheDuplexBoxOpensTheDialogExceptWhileTransmitting)
{
    int shown = 0;
    dlg::setModalRunner([&](QDialog& dialog) {
        ++shown;
        auto& d = dynamic_cast<frmSplitFreq&>(dialog);
        d.Option2->click();
        d.Text1->setText("1000");
        d.ARButton2->click(); // Cancel
        return d.result();
    });
    TxActive = true;
    DuplexBox_Click();
    EXPECT_EQ(shown, 0);
    TxActive = false;
    DuplexBox_Click();
    dlg::setModalRunner({});
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(SplitOffset, 0);
    EXPECT_EQ(main().DuplexBox->text(), "Simplex");
}

} // namespace
