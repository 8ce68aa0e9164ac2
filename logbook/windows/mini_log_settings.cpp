// The Mini-Log's look and place, kept in section "Mini-Log": read at load, the "&ToolBox"
// commands that change and write it, and the reset of the column widths.
#include "logbook/windows/mini_log.h"

#include "displays/spectrum/aux_channels.h"
#include "displays/spectrum/scale.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "logbook/windows/logbook_window_settings.h"
#include "platform/widgets/dialogs.h"
#include "settings/inistuff.h"

namespace {

const QString kSection = QStringLiteral("Mini-Log");

QString read(const char* key, const char* def)
{
    return ReadINI(kSection, QString::fromLatin1(key), QString::fromLatin1(def));
}

// The colour dialog for one of the editor's colours; the chosen colour, or none when cancelled.
std::optional<std::int32_t> chooseColour(std::int32_t current)
{
    std::optional<std::int32_t> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().colour(current); });
    return chosen;
}

} // namespace

void MiniLogINISetup()
{
    MiniLog* w = MiniLog::existing();
    if (!w)
        return;
    w->geometryStore.load(*w, kSection);
    logwin::LoadGridLook(*w->LogbookPage, kSection);
    const std::int32_t back = logwin::Colour(read("Logbook Page Edit Background Color", "12648447"), 12648447);
    const std::int32_t fore = logwin::Colour(read("Logbook Page Edit ForeColor", "255"), 255);
    w->setEditColors(back, fore);
}

void MiniLog::mnuFont_Click()
{
    if (transferBusy())
        return;
    logwin::ChooseGridFont(*LogbookPage, kSection);
}

void MiniLog::mnuBackground_Click()
{
    if (transferBusy())
        return;
    logwin::ChooseGridBackground(*LogbookPage, kSection);
}

void MiniLog::mnuEditForeColor_Click()
{
    if (transferBusy())
        return;
    if (const auto c = chooseColour(editFore_)) {
        setEditColors(editBack_, *c);
        WriteINI(kSection, QStringLiteral("Logbook Page Edit ForeColor"), QString::number(*c));
    }
}

void MiniLog::mnuEditBackColor_Click()
{
    if (transferBusy())
        return;
    if (const auto c = chooseColour(editBack_)) {
        setEditColors(*c, editFore_);
        WriteINI(kSection, QStringLiteral("Logbook Page Edit Background Color"), QString::number(*c));
    }
}

void MiniLog::mnuAppearance_Click()
{
    if (transferBusy())
        return;
    MiniLogPage.resetColumnWidths();
    showPage();
    FocusMainTxWindow();
}
