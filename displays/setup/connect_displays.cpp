
#include "displays/setup/display_menus.h"
#include "displays/setup/frm_default_audio.h"
#include "displays/setup/frm_markers.h"
#include "displays/setup/frm_sensitivity.h"
#include "displays/spectrum/click_filter.h"
#include "displays/spectrum/readouts.h"
#include "displays/spectrum/scale.h"
#include "displays/spectrum/scale_clicks.h"
#include "displays/windows/aux_window.h"
#include "displays/windows/tuning_window.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "state/main_window_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTextEdit>

void ConnectDisplays(MainWindowControls& w)
{
    auto handle = [&w](const char* name, std::function<void()> fn) {
        w.mnu(QString::fromLatin1(name)).setHandler(std::move(fn));
    };
    handle("mnuDisplayWidth", mnuDisplayWidth_Click);
    handle("mnuDisplayPen1", mnuDisplayPen1_Click);
    handle("mnuDisplayPen2", mnuDisplayPen2_Click);
    handle("mnuSpectrum", mnuSpectrum_Click);
    handle("mnuWaterfall", mnuWaterfall_Click);
    for (int k = 1; k <= 4; ++k)
        w.mnu(QStringLiteral("mnuMarker%1").arg(k)).setHandler([k] { mnuMarker_Click(k); });
    handle("mnuAudioFreq", mnuAudioFreq_Click);
    handle("mnuWaterfallColors", mnuWaterfallColors_Click);
    handle("mnuOnTop", mnuOnTop_Click);
    handle("mnuDisplay", mnuDisplay_Click);

    // The channel windows, the tuning window and the settings dialogs.
    handle("mnuAux1", mnuAux1_Click);
    handle("mnuAux2", mnuAux2_Click);
    handle("mnuTuningWindow", mnuTuningWindow_Click);
    handle("mnuWaterfallSensitivity", mnuWaterfallSensitivity_Click);
    handle("mnuSensitivity", mnuWaterfallSensitivity_Click);
    handle("mnuSpectrumSensitivity", mnuSpectrumSensitivity_Click);
    handle("mnuPresetAudio", mnuPresetAudio_Click);
    handle("mnuMark", mnuMark_Click);

    // The display and its scale.
    w.Spectrum->onMouseDown = Spectrum_MouseDown;
    w.Spectrum->onResize = doAdjustScale;
    w.Graticule->onMouseDown = [](int button, int shift, double x, double) { Graticule_MouseDown(button, shift, x); };
    w.Graticule->onClick = Graticule_Click;
    w.Graticule->onResize = RedrawSpectrumScale;
    int k = 1;
    for (QLabel* label : {w.Label1000, w.Label2000, w.Label3000, w.Label4000}) {
        ClickFilter* f = ClickFilter::attach(label);
        f->onMouseDown = [k](int button, int, double) { ScaleLabel_MouseDown(k, button); };
        f->onClick = [k] { ScaleLabel_Click(k); };
        ++k;
    }
    ClickFilter::attach(w.Label3)->onClick = Label3_Click;

    // The readouts are never edited: the focus goes straight back to the transmit window.
    auto toTx = [&w] {
        if (w.TxWindow)
            w.TxWindow->setFocus();
    };
    ClickFilter* audio = ClickFilter::attach(w.AudioFreqBox);
    audio->onClick = AudioFreqBox_Click;
    audio->onFocus = toTx;
    ClickFilter* imd = ClickFilter::attach(w.IMDBox);
    imd->onClick = IMDBox_Click;
    imd->onFocus = toTx;

    // Layout: the window's size and the display panel's splitter.
    std::function<void()> previous = w.onResize;
    w.onResize = [previous] {
        if (previous)
            previous();
        DisplayForm_Resize();
    };
    QObject::connect(w.TextSplitter, &QSplitter::splitterMoved, w.Window, [](int, int index) {
        if (index == 1)
            Label_SplitterMoved();
    });
}
