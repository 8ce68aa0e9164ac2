// Loader groups for the windows and the layout: the main window's place and size, the text
// windows' fonts and colours, PTT, the layout switches, the mode, the display kind, the
// callbook type and the logbook windows.
#include "main_window/settings_loader/settings_loader.h"

#include "logbook/windows/logbook_windows.h"
#include "main_window/settings_loader/settings_hooks.h"
#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "settings/appliers.h"
#include "settings/ini_values.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QSplitter>
#include <QTextEdit>
#include <algorithm>

namespace loader {

namespace {

constexpr double kLargestFontSize = 2048;

QString read(const char* section, const char* key, const char* def)
{
    return Read(section, QString::fromLatin1(key), QString::fromLatin1(def));
}

// One of the main window's place and size in twips, applied at once. The place is that of the
// window's inside, as the shut-down stores it, so a window comes back where it was.
enum class Edge { Top, Left, Width, Height };
void place(MainWindowControls& w, Edge edge, int twipsValue)
{
    const int px = twips::toPixels(twipsValue);
    QRect g = w.Window->geometry();
    switch (edge) {
    case Edge::Top: g.moveTop(px); break;
    case Edge::Left: g.moveLeft(px); break;
    case Edge::Width: g.setWidth(std::max(px, 1)); break;
    case Edge::Height: g.setHeight(std::max(px, 1)); break;
    }
    w.Window->setGeometry(g);
}

void setFamily(RichText& text, const QString& name)
{
    QFont f = text.font();
    f.setFamily(name);
    text.setFont(f);
}

// A size no font can have leaves the size as it was.
void setSize(RichText& text, const QString& size)
{
    const double points = inival::Single(size);
    if (!(points > 0 && points <= kLargestFontSize))
        return;
    QFont f = text.font();
    f.setPointSizeF(points);
    text.setFont(f);
}

void setBold(RichText& text, bool bold)
{
    QFont f = text.font();
    f.setBold(bold);
    text.setFont(f);
}

void setItalic(RichText& text, bool italic)
{
    QFont f = text.font();
    f.setItalic(italic);
    text.setFont(f);
}

} // namespace

void Windows()
{
    MainWindowControls& w = MainWindow();
    const char* form = "Sondrel Form";
    const QSize screen = SettingsHooks().ScreenTwips();
    place(w, Edge::Top, std::max<int>(inival::Int16(read(form, "Top", "100")), 0));
    place(w, Edge::Left, std::max<int>(inival::Int16(read(form, "Left", "100")), 0));
    place(w, Edge::Width, std::min<int>(inival::Int16(read(form, "Width", "7000")), screen.width()));
    place(w, Edge::Height, std::min<int>(inival::Int16(read(form, "Height", "5000")), screen.height()));
    const int splitter = twips::toPixels(inival::Int32(read(form, "Splitter Pos", "600")));
    if (splitter > 0 && w.TextSplitter) {
        QList<int> sizes = w.TextSplitter->sizes();
        const int index = w.TextSplitter->indexOf(w.RxWindow);
        if (index >= 0 && index < sizes.size()) {
            sizes[index] = splitter;
            w.TextSplitter->setSizes(sizes);
        }
    }

    const char* tx = "TxWindow";
    setFamily(*w.Tx, read(tx, "Font", "Arial"));
    TxBufferColor = read(tx, "TxWindow Buffer Color", "255");
    setSize(*w.Tx, read(tx, "Font Size", "9"));
    setBold(*w.Tx, inival::Truth(read(tx, "Font Bold", "False")));
    setItalic(*w.Tx, inival::Truth(read(tx, "Font Italic", "False")));
    TxTextColor = inival::Int32(read(tx, "Text Color", "0"));
    TxBackColor = inival::WholeInt32(read(tx, "Background Color", "16777215"));
    w.Tx->setBackColor(TxBackColor);

    const char* rx = "RxWindow";
    setFamily(*w.Rx, read(rx, "Font", "Arial"));
    setSize(*w.Rx, read(rx, "Font Size", "9"));
    MouseOverColor = inival::Int32(read(rx, "Mouseover Color", "32768"));
    setBold(*w.Rx, inival::Truth(read(rx, "Font Bold", "False")));
    setItalic(*w.Rx, inival::Truth(read(rx, "Font Italic", "False")));
    RxTextColor = read(rx, "Text Color", "0");
    TxEchoColor = read(rx, "Text Color TX", "255");
    ControlCodeColor = read(rx, "Text Color CC", "4194368");
    w.Rx->setBackColor(inival::WholeInt32(read(rx, "Background Color", "16777215")));
    PausedBackColor = read(rx, "Paused Background Color", "16777215");

    PTTPortNum = inival::Int32(read("PTT", "PTT Port Num", "0"));
    PTTKeyingLine = read("PTT", "PTT Keying Line", "DTR");
    PTTMode = read("PTT", "PTT Mode", "Serial Port");
}

void Layout()
{
    MainWindowControls& w = MainWindow();
    const char* view = "Form View";
    ApplyFormViewSetting(read(view, "On Top", "On Top False"));
    ApplyFormViewSetting(read(view, "Display", "Display True"));
    ApplyFormViewSetting(read(view, "StatusBar", "StatusBar True"));
    // A stored text that is no truth value at all leaves the look-up off.
    bool autoLookup = false;
    try {
        autoLookup = inival::Truth(read(view, "Auto CD Lookup", "False"));
    } catch (const inival::TypeMismatch&) {
    }
    RestoreSwitch("mnuAutoCDLookup", autoLookup);
    ApplyFormViewSetting(read(view, "Frequency Dial", "Radio Disabled"));
    ApplyFormViewSetting(read(view, "Macro Buttons", "36Macros"));

    ModeName = read("Mode", "Mode", "BPSK");
    ApplyDisplayMode(read("Display", "Display", "Spectrum"));
    ApplyTuningWindow(read("Main Tuning Window", "Tuning Window", "Tuning Window False"));

    const QString cdType = read("CD Lookup", "CD Type", "None");
    int k = 0;
    for (const char* word : {"None", "QRZ", "RAC", "Hamcall"}) {
        static const char* const kItems[] = {"mnuCDNone", "mnuQRZ", "mnuRAC", "mnuHamCall"};
        if (cdType == QLatin1String(word))
            w.mnu(QString::fromLatin1(kItems[k])).click();
        ++k;
    }
    CDDrive = Read("CD Lookup", QStringLiteral("CD Drive Letter"), CDDrive);

    const bool standalone = w.mnu(QStringLiteral("mnuStandalone")).checked();
    if (read("Previous QSOs", "Page Loaded", "False") == QLatin1String("True") && standalone)
        LogbookWindows().ShowPreviousPage();
    MiniLogOpen = read("Mini-Log", "Page Loaded", "False");
    ApplyMiniLogVisible(read("Mini-Log", "Visible", "False"));
    SetMiniLogBackColor(read("Mini-Log", "Background Color", "15400958"));
    SetMiniLogForeColor(read("Mini-Log", "Font Color", "16711680"));
    RestoreSwitch("mnuLogFontBold", read("Mini-Log", "Font Bold", "False") == QLatin1String("True"));
}

} // namespace loader
