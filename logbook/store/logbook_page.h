#pragma once
// The two logbook pages the windows show: the Mini-Log page (the operator's newest 20 QSOs)
// and the previous-QSO page (up to 20 QSOs with one call sign, of every operator). Each is a
// grid of 21 rows (row 0 the header) by 10 columns of text; the logbook operations fill the
// grids here and tell the window through its hook (logbook/windows/logbook_windows.h).
#include <QString>
#include <array>
#include <cstdint>

#include "state/declarations.h"

struct QSORecord;

struct LogbookGrid {
    static constexpr int kRows = 21;    // row 0 is the header row, rows 1..20 hold QSOs
    static constexpr int kColumns = 10; // key, date/time, call, band, mode, sent, recv, name, QTH, notes

    LogbookGrid();

    std::array<std::array<QString, kColumns>, kRows> cells;
    std::array<int, kColumns> columnWidths{}; // twips
    // Columns at their default width, which the window widens to the column's usual text in the
    // grid's font when it shows the page.
    std::array<bool, kColumns> fitColumns{};
    int fixedGridLines = 2;                   // header row: inset
    int gridLines = 0;                        // between QSO cells: none
    int topRow = 1;                           // the row scrolled to the top
    QString caption;                          // the window's caption

    QString& cell(int row, int column) { return cells[static_cast<size_t>(row)][static_cast<size_t>(column)]; }
    const QString& cell(int row, int column) const
    {
        return cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
    }
    // Row 0: "", "Date/Time UTC", "Callsign", "Band", "Mode", "Sent", "Recv", "Name", "QTH", "Notes".
    void setHeader();
    void clearRow(int row);
    // One QSO: its key, the key's date and time "dd mmm yy  hh:mm", and eight of its fields.
    void fillRow(int row, const QString& key, const QSORecord& qso);
    // The widths as the settings hold them; a width not stored, or no number, is the default.
    void setColumnWidths(const std::array<QString, kColumns>& texts, const std::array<bool, kColumns>& stored);
    // "Reset columns to default": every column at its default width.
    void resetColumnWidths();
};

// The default column widths (kDefaultColumnTwips, DefaultColumnWidthTexts) are program-wide
// state: state/declarations.h.
static_assert(LogbookGrid::kColumns == kLogColumns);
// A stored column width in twips, never negative; one that is no number takes the default.
int StoredColumnTwips(const QString& text, int column);

extern LogbookGrid MiniLogPage;      // the Mini-Log window's grid `LogbookPage`
extern LogbookGrid PreviousQSOsPage; // the previous-QSO window's grid

// "dd mmm yy  hh:mm" of a key (empty when the key spells no date).
QString GridDateTimeText(const QString& key);

// Loads the Mini-Log page: caption ("Logbook for " and the call sign), header and column widths, then the newest 20 QSOs of DefaultCallsign,
// newest first, the rows after the last one empty; then the QSO counter from the record count.
void LoadLogbookPage();
// Moves every row of the Mini-Log page one down; row 20 drops off, row 1 holds the header.
void InsertLogbookRow();
// Fills Mini-Log row `row` (1..20) from CurrentQSO and `key`.
void FillLogbookRow(std::int16_t row, const QString& key);

// Fills the previous-QSO page with up to 20 QSOs with PreviousQSOCall, in call-sign index order;
// the caption names the call sign when it has any QSO.
void PreviousQSOPage();
// Empties rows 1..20 of the previous-QSO page (header and caption stay).
void ClearPreviousQSOPage();
