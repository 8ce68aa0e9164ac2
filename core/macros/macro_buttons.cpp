#include "core/macros/macro_buttons.h"

#include "core/macros/macro_interpreter.h"
#include "core/macros/macro_services.h"
#include "core/macros/macrobutton.h"
#include "core/macros/macrosetup.h"
#include "core/modes/modeselection.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QTextEdit>
#include <QTimer>

namespace {

constexpr int kRowTwips = 275;

void showRows(int rows, const char* item, const char* stored)
{
    MainWindowControls& w = MainWindow();
    for (const char* name : {"mnuNoMacros", "mnu12Macros", "mnu24Macros", "mnu36Macros"})
        w.mnu(QString::fromLatin1(name)).setChecked(qstrcmp(name, item) == 0);
    for (int r = 1; r <= 3; ++r) {
        QWidget* row = w.Background[static_cast<std::size_t>(r)];
        const bool shown = r <= rows;
        row->setFixedHeight(shown ? twips::toPixels(kRowTwips) : 1);
        row->setVisible(shown);
    }
    VerticalAdjustLayout();
    WriteINI(QStringLiteral("Form View"), QStringLiteral("Macro Buttons"), QString::fromLatin1(stored));
}

} // namespace

void Command1_MouseDown(int index, int, int, int, int)
{
    if (MacroButton* b = MainWindow().Command1[static_cast<std::size_t>(index)])
        b->setPressedForeColor(MacroMouseOverForeColor[static_cast<std::size_t>(index)]);
    BreakMacroLoop();
}

void Command1_Mouseup(int index, int button, int, int, int)
{
    MainWindowControls& w = MainWindow();
    if (button != 2) {
        w.TxWindow->setFocus();
        MacroSetup::unload();
        ExpandAndSendMacro(index);
        return;
    }
    MacroSetup::unload();
    w.Tag = vb::Str(index);
    AroundTopmost([] { MacroSetup::load(); });
}

void Timer1_Timer()
{
    if (LoopCountdown > 0) {
        --LoopCountdown;
        return;
    }
    if (MainWindowControls* w = ExistingMainWindow())
        w->Timer1->stop();
    if (LoopMacroIndex > 0)
        Command1_Mouseup(LoopMacroIndex, 0, 0, 0, 0);
}

void BreakMacroLoop()
{
    LoopCountdown = 0;
    LoopMacroIndex = 0;
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    w->Timer1->stop();
    w->Tx->setBackColor(TxBackColor);
}

void mnuNoMacros_Click() { showRows(0, "mnuNoMacros", "NoMacros"); }
void mnu12Macros_Click() { showRows(1, "mnu12Macros", "12Macros"); }
void mnu24Macros_Click() { showRows(2, "mnu24Macros", "24Macros"); }
void mnu36Macros_Click() { showRows(3, "mnu36Macros", "36Macros"); }

void ConnectMacroButtons(MainWindowControls& w)
{
    LoopCountdown = 0;
    LoopMacroIndex = 0;
    for (int i = 1; i <= kMacroCount; ++i) {
        MacroButton* b = w.Command1[static_cast<std::size_t>(i)];
        b->onMouseDown = [](int index, int button, int shift) { Command1_MouseDown(index, button, shift, 0, 0); };
        b->onMouseUp = [](int index, int button, int shift) { Command1_Mouseup(index, button, shift, 0, 0); };
    }
    QObject::connect(w.Timer1, &QTimer::timeout, w.Window, [] { Timer1_Timer(); });
    w.mnu(QStringLiteral("mnuNoMacros")).setHandler(mnuNoMacros_Click);
    w.mnu(QStringLiteral("mnu12Macros")).setHandler(mnu12Macros_Click);
    w.mnu(QStringLiteral("mnu24Macros")).setHandler(mnu24Macros_Click);
    w.mnu(QStringLiteral("mnu36Macros")).setHandler(mnu36Macros_Click);
}
