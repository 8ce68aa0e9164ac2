#include "child_windows_fixture.h"

#include "displays/setup/frm_default_audio.h"
#include "displays/setup/frm_markers.h"
#include "displays/setup/frm_sensitivity.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <functional>

namespace {

class SettingsDialogs : public ChildWindowsFixture {
protected:
    void TearDown() override
    {
        dlg::setModalRunner({});
        ChildWindowsFixture::TearDown();
    }
    // Runs the menu item with `act` doing what the operator does in its dialog.
    template <class D>
    void run(const char* item, std::function<void(D&)> act)
    {
        bool shown = false;
        dlg::setModalRunner([&](QDialog& d) {
            auto* dialog = dynamic_cast<D*>(&d);
            EXPECT_NE(dialog, nullptr);
            if (dialog)
                act(*dialog);
            shown = true;
            return d.result();
        });
        main().mnu(item).click();
        EXPECT_TRUE(shown) << item;
    }
};

TEST_F(SettingsDialogs, MarkerFrequenciesAreCheckedInOrder)
{
    struct Case { const char* f2; const char* width; const char* message; const char* storedF2; const char* storedWidth; };
    const Case cases[] = {
        {"3500", "5", nullptr, "3500", "5"},
        {"300", "1", nullptr, "300", "1"},
        {"299", "3", "Error in Frequency Marker 2.  Entries must be between 300 and 3500 Hz, and must be numeric.",
         "<missing>", "<missing>"},
        {"3501", "3", "Error in Frequency Marker 2.  Entries must be between 300 and 3500 Hz, and must be numeric.",
         "<missing>", "<missing>"},
        {"12a", "3", "Error in Frequency Marker 2.  Entries must be between 300 and 3500 Hz, and must be numeric.",
         "<missing>", "<missing>"},
        {"1500", "0", "Error in Marker Wdith.  Entries must be between 1 and 5, and must be numeric.", "1500",
         "<missing>"},
        {"1500", "6", "Error in Marker Wdith.  Entries must be between 1 and 5, and must be numeric.", "1500",
         "<missing>"},
    };
    for (const Case& c : cases) {
        home = std::make_unique<TempHome>();
        INIPath = home->file("Sondrel.INI");
        boxes.clear();
        bool closed = false;
        run<frmMarkers>("mnuMark", [&](frmMarkers& d) {
            EXPECT_EQ(d.windowTitle(), "Frequency Markers setup");
            EXPECT_EQ(d.F[1]->text(), QString::number(MarkerFreq[1]));
            d.F[2]->setText(c.f2);
            d.Text1->setText(c.width);
            d.OKButton_Click();
            closed = d.result() == QDialog::Accepted;
        });
        const auto messages = boxes.messages();
        EXPECT_EQ(closed, c.message == nullptr) << c.f2 << " " << c.width;
        ASSERT_EQ(messages.size(), c.message ? 1 : 0) << c.f2;
        if (c.message) {
            EXPECT_EQ(messages[0].text, c.message);
            EXPECT_EQ(messages[0].title, "Invalid entry");
        }
        EXPECT_EQ(ini("Markers", "Marker 2 Freq"), c.storedF2) << c.f2;
        EXPECT_EQ(ini("Markers", "Marker Width"), c.storedWidth) << c.width;
    }
    // A refused width leaves the frequencies before it stored, and the menu captions follow them.
    EXPECT_EQ(MarkerFreq[2], 1500);
    EXPECT_EQ(MarkerWidth, 1);
    EXPECT_EQ(main().mnu("mnuMarker2").caption(), "1500 Hz");
}

TEST_F(SettingsDialogs, MarkerColoursAreStoredOnlyByOk)
{
    boxes.answerColour(255);
    run<frmMarkers>("mnuMark", [](frmMarkers& d) {
        d.Label_Click(3);
        d.CancelButton_Click();
    });
    EXPECT_EQ(ini("Markers", "Marker 4 Color"), "<missing>");
    EXPECT_EQ(MarkerColor[4], "16711680");
    boxes.answerColour(255);
    run<frmMarkers>("mnuMark", [](frmMarkers& d) {
        d.Label_Click(3);
        d.Label_Click(0); // cancelled: stays
        d.OKButton_Click();
    });
    EXPECT_EQ(ini("Markers", "Marker 4 Color"), "255");
    EXPECT_EQ(ini("Markers", "Marker 1 Color"), "8454016");
    EXPECT_EQ(MarkerColor[4], "255");
}

TEST_F(SettingsDialogs, WaterfallSensitivityFollowsTheSliderAndIsWrittenOnClose)
{
    const struct { int slider; double value; const char* stored; } cases[] = {
        {50, 0.5, " .5"}, {100, 1, " 1"}, {0, 0, " 0"}, {37, 0.37, " .37"},
    };
    for (const auto& c : cases) {
        WaterfallSensitivity = 0.5;
        for (const char* item : {"mnuWaterfallSensitivity", "mnuSensitivity"}) {
            const QString before = ini("Settings", "Waterfall Sensitivity");
            run<frmWaterfallSensitivity>(item, [&](frmWaterfallSensitivity& d) {
                EXPECT_EQ(d.LinSlider->value(), 50);
                d.LinSlider->setValue(c.slider);
                EXPECT_EQ(WaterfallSensitivity, c.value);
                EXPECT_EQ(ini("Settings", "Waterfall Sensitivity"), before); // not yet
                d.reject();
            });
            EXPECT_EQ(stored("Settings", "Waterfall Sensitivity"), c.stored);
            WaterfallSensitivity = 0.5;
        }
    }
}

TEST_F(SettingsDialogs, SpectrumSensitivitiesAreLive)
{
    SpectrumSensitivity = 10;
    SmallSpectrumSensitivity = 20;
    run<frmSpectrumSensitivity>("mnuSpectrumSensitivity", [](frmSpectrumSensitivity& d) {
        EXPECT_EQ(d.LinSlider->value(), 10);
        EXPECT_EQ(d.Slider1->value(), 20);
        d.LinSlider->setValue(50);
        d.Slider1->setValue(1);
        EXPECT_EQ(SpectrumSensitivity, 50);
        EXPECT_EQ(SmallSpectrumSensitivity, 1);
        // Nothing is written while the dialog is open.
    });
    EXPECT_EQ(stored("Settings", "Spectrum Sensitivity"), " 50");
    EXPECT_EQ(stored("Settings", "Small Spectrum Sensitivity"), " 1");
}

TEST_F(SettingsDialogs, PresetAudioSkipsTextAndRefusesOutsideThePassband)
{
    run<frmDefaultAudio>("mnuPresetAudio", [](frmDefaultAudio& d) {
        EXPECT_EQ(d.Text3->text(), "1400.00");
        EXPECT_TRUE(d.Check1->isChecked());
        d.Text1->setText("abc");
        d.Text2->setText("1200");
        d.Text3->setText("250");
        d.Text4->setText("1700");
        d.Check1->setChecked(false);
        d.OKButton_Click();
        EXPECT_NE(d.result(), QDialog::Accepted);
    });
    auto messages = boxes.messages();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, "You can't fool me.  250 is not a valid frequency within the 300Hz to 3500Hz "
                                "passband of your radio.");
    EXPECT_EQ(messages[0].title, "Invalid frequency");
    EXPECT_EQ(PresetTxAudioFreq, "1500.00");
    EXPECT_EQ(PresetRxAudioFreq, "1200");
    EXPECT_EQ(ini("Settings", "Preset Rx Audio Frequency"), "1200");
    EXPECT_EQ(ini("Settings", "Preset Tx Audio Frequency"), "<missing>");
    EXPECT_EQ(PresetAux2AudioFreq, "1600.00");
    EXPECT_EQ(PresetAudioDefaultsOn, "True");

    boxes.clear();
    run<frmDefaultAudio>("mnuPresetAudio", [](frmDefaultAudio& d) {
        d.Text1->setText("1000.50");
        d.Text3->setText("3500");
        d.Text4->setText("300");
        d.Check1->setChecked(false);
        d.OKButton_Click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(boxes.messages().isEmpty());
    EXPECT_EQ(ini("Settings", "Preset Tx Audio Frequency"), "1000.50");
    EXPECT_EQ(ini("Settings", "Preset Audio Frequency : Aux 1"), "3500");
    EXPECT_EQ(ini("Settings", "Preset Audio Frequency : Aux 2"), "300");
    EXPECT_EQ(ini("Settings", "Preset Audio Defaults"), "False");
    EXPECT_EQ(PresetAux1AudioFreq, "3500");
    EXPECT_EQ(PresetAudioDefaultsOn, "False");
}

} // namespace
