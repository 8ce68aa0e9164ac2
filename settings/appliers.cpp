#include "settings/appliers.h"

#include "core/declarations.h"
#include "core/sondrel.h"
#include "platform/dialogs.h"
#include "platform/menuitem.h"
#include "settings/inistuff.h"

#include <QLabel>

namespace {

// Runs a menu item's handler, as a click does.
void click(Sondrel& w, const char* item)
{
    w.mnu(QString::fromLatin1(item)).click();
}

// Sets the item's mark to `before`, then runs its handler, which inverts it.
void restore(Sondrel& w, const char* item, bool before)
{
    w.mnu(QString::fromLatin1(item)).setChecked(before);
    click(w, item);
}

} // namespace

void ShowINIValueError(const QString& part, const QString& value)
{
    dlg::MsgBox(QStringLiteral("Error reading '") + part + QStringLiteral("' part of the .INI file.  ") + value
                    + QStringLiteral(" does not appear to be a valid entry"),
                dlg::OKOnly, QStringLiteral(".INI Error"));
}

void ApplySettingsPhrase(const QString& value)
{
    Sondrel* w = Sondrel::existing();
    if (!w)
        return;
    struct Phrase {
        const char* text;
        const char* item;
        int before; // -1: the handler is only called; 0/1: the mark is set first
    };
    static const Phrase phrases[] = {
        {"No Smoothing", "mnuFastDisplay", -1},       {"Medium Smoothing", "mnuMediumDisplay", -1},
        {"Heavy Smoothing", "mnuSlowDisplay", -1},    {"37 WPM", "mnu37WPM", -1},
        {"19 WPM", "mnu19WPM", -1},                   {"12 WPM", "mnu12WPM", -1},
        {"9 WPM", "mnu9WPM", -1},                     {"LineWrap True", "mnuLinewrap", 0},
        {"LineWrap False", "mnuLinewrap", 1},         {"Slashed Zero False", "mnuZero", 1},
        {"Slashed Zero True", "mnuZero", 0},          {"Width 1", "mnuDisplayPen1", -1},
        {"Width 2", "mnuDisplayPen2", -1},            {"Long Squelch True", "mnuLongSquelch", 0},
        {"Long Squelch False", "mnuLongSquelch", 1},
    };
    if (value == QLatin1String("Net On")) {
        w->NetBox->setText(QStringLiteral("Net On"));
        NetOn = true;
        return;
    }
    if (value == QLatin1String("Net Off")) {
        w->NetBox->setText(QStringLiteral("Net Off"));
        WriteINI(QStringLiteral("Settings"), QStringLiteral("Net"), QStringLiteral("Net Off"));
        NetOn = false;
        return;
    }
    for (const Phrase& p : phrases) {
        if (value != QLatin1String(p.text))
            continue;
        if (p.before < 0)
            click(*w, p.item);
        else
            restore(*w, p.item, p.before != 0);
        return;
    }
    ShowINIValueError(QStringLiteral("Settings"), value);
}
