#include "displays/setup/display_menus.h"

#include "displays/drawing/display_math.h"
#include "displays/setup/waterfall_colors.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QTextEdit>

namespace {

MenuItem& item(const char* name)
{
    return MainWindow().mnu(QString::fromLatin1(name));
}

const QString kPrompt = QStringLiteral(
    "Depending on your operating preference, and screen resolution, you may want to set the Spectrum "
    "display (or waterfall) to be wider or narrower on the screen.  Increasing this X scale value will "
    "make the display wider, decreasing X scale will make the display narrower.\r\n\r\n"
    "The display itself will show a 4KHz audio bandwidth.  Adjusting this setting will make the 4KHz "
    "wider or narrower on your screen.\r\n\r\n"
    "The limits of this setting are from 5 to 15.");

void Toggle(const char* name, const QString& section, const QString& key, const QString& off, const QString& on)
{
    MenuItem& m = item(name);
    m.setChecked(!m.checked());
    WriteINI(section, key, m.checked() ? on : off);
}

void ClearDisplay()
{
    if (MainWindowControls* w = ExistingMainWindow())
        if (w->Spectrum)
            w->Spectrum->Cls();
}

} // namespace

void mnuDisplayWidth_Click()
{
    std::optional<QString> answer;
    AroundTopmost([&] {
        answer = dlg::Dialogs::instance().input(kPrompt, QStringLiteral("Display width."), vb::Text(ScaleWidth));
    });
    const double width = answer ? vb::Val(*answer) : 0;
    if (width == 0)
        return;
    if (!(width >= 5 && width <= 15)) {
        AroundTopmost([] { dlg::MsgBox(QStringLiteral("Please read the instructions carefully."), dlg::OKOnly,
                                       QStringLiteral("Wrong")); });
        return;
    }
    // Every channel keeps its frequency on the new scale.
    const double main = RxCursorX * HzPerTwip;
    const double aux1 = Aux1CursorX * HzPerTwip;
    const double aux2 = Aux2CursorX * HzPerTwip;
    WriteINI(QStringLiteral("Settings"), QStringLiteral("Scale Width"), vb::Text(width));
    ScaleWidth = width;
    ComputeHzPerTwip();
    auto position = [](double hz) { return disp::Round16(hz / HzPerTwip).value_or(0); };
    SetRxFrequencyFromPixel(position(main), true);
    SetAux1RxFrequencyFromPixel(position(aux1), true);
    SetAux2RxFrequencyFromPixel(position(aux2), true);
    ClearDisplay();
    // The engine reports no change of frequency, so the scale is redrawn here for the new width.
    RedrawSpectrumScale();
}

void mnuDisplayPen1_Click()
{
    SpectrumDrawWidth = 1;
    item("mnuDisplayPen1").setChecked(true);
    item("mnuDisplayPen2").setChecked(false);
    WriteINI(QStringLiteral("Settings"), QStringLiteral("Display Width"), QStringLiteral("Width 1"));
}

void mnuDisplayPen2_Click()
{
    SpectrumDrawWidth = 2;
    item("mnuDisplayPen2").setChecked(true);
    item("mnuDisplayPen1").setChecked(false);
    WriteINI(QStringLiteral("Settings"), QStringLiteral("Display Width"), QStringLiteral("Width 2"));
}

void mnuSpectrum_Click()
{
    DisplayMode = QStringLiteral("Spectrum");
    item("mnuSpectrum").setChecked(true);
    item("mnuWaterfall").setChecked(false);
    WriteINI(QStringLiteral("Display"), QStringLiteral("Display"), DisplayMode);
}

void mnuWaterfall_Click()
{
    ClearDisplay();
    DisplayMode = QStringLiteral("Waterfall");
    item("mnuWaterfall").setChecked(true);
    item("mnuSpectrum").setChecked(false);
    WriteINI(QStringLiteral("Display"), QStringLiteral("Display"), DisplayMode);
}

void mnuMarker_Click(int k)
{
    if (k < 1 || k > 4)
        return;
    const QByteArray name = "mnuMarker" + QByteArray::number(k);
    Toggle(name.constData(), QStringLiteral("Markers"), QStringLiteral("Marker %1 Enabled").arg(k),
           QStringLiteral("False"), QStringLiteral("True"));
    RedrawSpectrumScale();
}

void mnuAudioFreq_Click()
{
    for (const char* sister : {"mnuRadioAuto", "mnuSimulatedRadio1", "mnuSimulatedRadio2", "mnuSimulatedRadio3",
                               "mnuSimulatedRadio4"})
        item(sister).setChecked(false);
    item("mnuAudioFreq").setChecked(true);
    DialKHz = 0;
    DialHzPart = 0;
    WriteINI(QStringLiteral("Form View"), QStringLiteral("Frequency Dial"), QStringLiteral("Radio Disabled"));
    UpdateScaleLabels();
}

void mnuWaterfallColors_Click()
{
    WaterfallColors editor(MainWindow().Window);
    AroundTopmost([&] { dlg::ShowModal(editor); });
}

void mnuOnTop_Click()
{
    Toggle("mnuOnTop", QStringLiteral("Form View"), QStringLiteral("On Top"), QStringLiteral("On Top False"),
           QStringLiteral("On Top True"));
    SetWindowTopmost(MainWindowHandle, item("mnuOnTop").checked() ? kHwndTopmost : kHwndNoTopmost);
}

void mnuDisplay_Click()
{
    MainWindowControls& w = MainWindow();
    MenuItem& m = item("mnuDisplay");
    m.setChecked(!m.checked());
    item("mnuScope").setEnabled(m.checked());
    if (w.Label) {
        w.Label->setVisible(m.checked());
        if (m.checked() && DisplayHeight > 0)
            w.Label->resize(w.Label->width(), twips::toPixels(DisplayHeight));
    }
    WriteINI(QStringLiteral("Form View"), QStringLiteral("Display"),
             m.checked() ? QStringLiteral("Display True") : QStringLiteral("Display False"));
    VerticalAdjustLayout();
}

void DisplayForm_Resize()
{
    doAdjustScale();
    RedrawSpectrumScale();
}

void Label_SplitterMoved()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || !w->Label)
        return;
    DisplayHeight = twips::fromPixels(w->Label->height());
    VerticalAdjustLayout();
    doAdjustScale();
}
