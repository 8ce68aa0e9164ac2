// The looks of the receive and transmit windows and of the QSO panel, from the ToolBox menu.
#include "main_window/menus/text_commands.h"

#include "core/receive/rx_links.h"
#include "core/receive/rxtext.h"
#include "displays/spectrum/scale.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "settings/appliers.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QLineEdit>
#include <functional>
#include <optional>

namespace {

const QString kRx = QStringLiteral("RxWindow");
const QString kTx = QStringLiteral("TxWindow");
const QString kMiniLog = QStringLiteral("Mini-Log");

// The colour box, opened on `start`: the colour it holds when it closes, which after Cancel is
// still the colour it started with.
std::int32_t colourBox(std::int32_t start)
{
    std::optional<std::int32_t> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().colour(start); });
    return chosen.value_or(start);
}

// One colour command: the colour to start from, what the chosen colour changes, and its key.
void colourCommand(const std::function<std::int32_t()>& current, const std::function<void(std::int32_t)>& apply,
                   const QString& section, const char* key)
{
    const std::int32_t colour = colourBox(current());
    apply(colour);
    WriteINI(section, QString::fromLatin1(key), QString::number(colour));
}

MainWindowControls& main()
{
    return MainWindow();
}

std::int32_t panelColour(QPalette::ColorRole role)
{
    QLineEdit* box = main().CallsignBox;
    return box ? rgb::fromColor(box->palette().color(role)) : 0;
}

// The font box for one text window, started from its font and `colour`; on OK the window's font
// and the colour are stored key by key in the window's section.
void fontCommand(RichText& text, const QString& section, const QString& textOf, std::int32_t colour,
                 const std::function<void(std::int32_t)>& storeColour)
{
    const QFont current = text.font();
    const dlg::FontChoice start{current.family(), current.pointSizeF(), current.bold(), current.italic(), colour};
    std::optional<dlg::FontChoice> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().font(start, textOf); });
    if (!chosen)
        return;
    QFont font = text.font();
    font.setFamily(chosen->name);
    text.setFont(font);
    WriteINI(section, QStringLiteral("Font"), chosen->name);
    if (chosen->size > 0)
        font.setPointSizeF(chosen->size);
    text.setFont(font);
    WriteINI(section, QStringLiteral("Font Size"), vb::Text(chosen->size));
    font.setBold(chosen->bold);
    text.setFont(font);
    WriteINI(section, QStringLiteral("Font Bold"), chosen->bold ? QStringLiteral("True") : QStringLiteral("False"));
    font.setItalic(chosen->italic);
    text.setFont(font);
    WriteINI(section, QStringLiteral("Font Italic"), chosen->italic ? QStringLiteral("True") : QStringLiteral("False"));
    storeColour(chosen->color);
    WriteINI(section, QStringLiteral("Text Color"), QString::number(chosen->color));
}

} // namespace

void mnuRxWinTxtext_Click()
{
    colourCommand([] { return ColourFromText(TxEchoColor); }, [](std::int32_t c) { TxEchoColor = QString::number(c); },
                  kRx, "Text Color TX");
}

void mnuShowControlCodes_Click()
{
    colourCommand([] { return ColourFromText(ControlCodeColor); },
                  [](std::int32_t c) { ControlCodeColor = QString::number(c); }, kRx, "Text Color CC");
}

void mnuRxWndBack_Click()
{
    // While the receive windows are frozen they show the paused colour; the normal colour is
    // the one they go back to, so that is the one changed.
    colourCommand(
        [] { return RxFreeze && !RxBackColorSaved.isEmpty() ? ColourFromText(RxBackColorSaved) : main().Rx->backColor(); },
        [](std::int32_t c) {
            if (RxFreeze)
                RxBackColorSaved = QString::number(c);
            else
                main().Rx->setBackColor(c);
        },
        kRx, "BackGround Color");
}

void mnuRxwinPausedBack_Click()
{
    colourCommand([] { return ColourFromText(PausedBackColor); },
                  [](std::int32_t c) {
                      PausedBackColor = QString::number(c);
                      if (!RxFreeze)
                          return;
                      main().Rx->setBackColor(c);
                      for (int channel : {1, 2})
                          if (RichText* aux = RxLinks().AuxText(channel))
                              aux->setBackColor(c);
                  },
                  kRx, "Paused BackGround Color");
}

void mnuMouseOver_Click()
{
    colourCommand([] { return MouseOverColor; }, [](std::int32_t c) { MouseOverColor = c; }, kRx, "Mouseover Color");
}

void mnuTxWndBack_Click()
{
    colourCommand([] { return main().Tx->backColor(); },
                  [](std::int32_t c) {
                      main().Tx->setBackColor(c);
                      TxBackColor = c;
                  },
                  kTx, "BackGround Color");
}

void mnuBufferColor_Click()
{
    colourCommand([] { return ColourFromText(TxBufferColor); },
                  [](std::int32_t c) { TxBufferColor = QString::number(c); }, kTx, "TxWindow Buffer Color");
}

void mnuLogFontColor_Click()
{
    colourCommand([] { return panelColour(QPalette::Text); },
                  [](std::int32_t c) { SetMiniLogForeColor(QString::number(c)); }, kMiniLog, "Font Color");
}

void mnuLogBackGround_Click()
{
    colourCommand([] { return panelColour(QPalette::Base); },
                  [](std::int32_t c) { SetMiniLogBackColor(QString::number(c)); }, kMiniLog, "BackGround Color");
}

void mnuLogFontBold_Click()
{
    MenuItem& m = main().mnu(QStringLiteral("mnuLogFontBold"));
    m.setChecked(!m.checked());
    const QString value = m.checked() ? QStringLiteral("True") : QStringLiteral("False");
    SetMiniLogFontBold(value);
    WriteINI(kMiniLog, QStringLiteral("Font Bold"), value);
}

void mnuRxWndFont_Click()
{
    fontCommand(*main().Rx, kRx, QStringLiteral("Receive window"), ColourFromText(RxTextColor), [](std::int32_t c) { RxTextColor = QString::number(c); });
}

void mnuTxWndFont_Click()
{
    fontCommand(*main().Tx, kTx, QStringLiteral("Transmit window"), main().Tx->selColor(), [](std::int32_t c) { TxTextColor = c; });
}

void ConnectTextCommands(MainWindowControls& w)
{
    const struct {
        const char* name;
        void (*handler)();
    } handlers[] = {
        {"mnuRxWinTxtext", mnuRxWinTxtext_Click},
        {"mnuShowControlCodes", mnuShowControlCodes_Click},
        {"mnuRxWndBack", mnuRxWndBack_Click},
        {"mnuRxwinPausedBack", mnuRxwinPausedBack_Click},
        {"mnuMouseOver", mnuMouseOver_Click},
        {"mnuTxWndBack", mnuTxWndBack_Click},
        {"mnuBufferColor", mnuBufferColor_Click},
        {"mnuLogFontColor", mnuLogFontColor_Click},
        {"mnuLogBackGround", mnuLogBackGround_Click},
        {"mnuLogFontBold", mnuLogFontBold_Click},
        {"mnuRxWndFont", mnuRxWndFont_Click},
        {"mnuTxWndFont", mnuTxWndFont_Click},
        {"mnuinput", mnuinput_Click},
        {"mnuOutput", mnuOutput_Click},
        {"mnuOutputClose", mnuOutputClose_Click},
    };
    for (const auto& h : handlers)
        w.mnu(QString::fromLatin1(h.name)).setHandler(h.handler);
}
