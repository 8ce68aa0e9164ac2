#pragma once
// The logbook fixture with the logbook's own window hooks in force (the real Mini-Log and
// previous-QSO windows) and helpers that work the Mini-Log's grid and editor as the operator does.
#include "logbook_fixture.h"

#include "logbook/windows/frm_previous_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "logbook/windows/mini_log.h"

class LogbookWindowsFixture : public LogbookFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The Mini-Log, loaded and shown.
    MiniLog& miniLog();
    // Opens the editor on a cell (page row 1..20) as a left click does.
    void edit(int row, int column);
    // Replaces the editor's text and presses a key in it.
    void type(const QString& text, int key);
    void press(int key);
    QString cell(int row, int column) const { return MiniLogPage.cell(row, column); }
};
