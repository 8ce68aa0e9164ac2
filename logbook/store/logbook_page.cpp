#include "logbook/store/logbook_page.h"

#include "logbook/store/database.h"
#include "logbook/store/window_links.h"
#include "platform/system/clock.h"
#include "platform/vb/vbnum.h"
#include "state/declarations.h"

#include <algorithm>

LogbookGrid MiniLogPage;
LogbookGrid PreviousQSOsPage;

namespace {

constexpr const char* kHeaders[LogbookGrid::kColumns] = {
    "", "Date/Time UTC", "Callsign", "Band", "Mode", "Sent", "Recv", "Name", "QTH", "Notes"};

// The QSO fields shown in columns 2..9.
constexpr QSOField kColumnFields[LogbookGrid::kColumns - 2] = {
    fCallsign, fBand, fMode, fRSTSent, fRSTRcvd, fName, fQTH, fNotes};

void clearQsoRows(LogbookGrid& grid)
{
    for (int r = 1; r < LogbookGrid::kRows; ++r)
        grid.clearRow(r);
}

} // namespace

LogbookGrid::LogbookGrid()
{
    setHeader();
}

void LogbookGrid::setHeader()
{
    for (int c = 0; c < kColumns; ++c)
        cell(0, c) = QString::fromLatin1(kHeaders[c]);
}

void LogbookGrid::clearRow(int row)
{
    for (QString& s : cells[static_cast<size_t>(row)])
        s.clear();
}

void LogbookGrid::fillRow(int row, const QString& key, const QSORecord& qso)
{
    cell(row, 0) = key;
    cell(row, 1) = GridDateTimeText(key);
    for (int c = 2; c < kColumns; ++c)
        cell(row, c) = qso[kColumnFields[c - 2]];
}

void LogbookGrid::setColumnWidths(const std::array<QString, kColumns>& texts, const std::array<bool, kColumns>& stored)
{
    for (size_t c = 0; c < texts.size(); ++c) {
        columnWidths[c] = StoredColumnTwips(texts[c], static_cast<int>(c));
        fitColumns[c] = !stored[c] || !vb::IsNumeric(texts[c]);
    }
}

void LogbookGrid::resetColumnWidths()
{
    columnWidths = kDefaultColumnTwips;
    fitColumns.fill(true);
}

int StoredColumnTwips(const QString& text, int column)
{
    if (vb::Val(text) == 0 && !vb::IsNumeric(text))
        return kDefaultColumnTwips[static_cast<size_t>(std::clamp(column, 0, LogbookGrid::kColumns - 1))];
    const double w = vb::RoundHalfEven(vb::Val(text));
    return static_cast<int>(std::clamp(w, 0.0, 1.0e6));
}

QString GridDateTimeText(const QString& key)
{
    const QDateTime t = QSOKeyDateTime(key);
    if (!t.isValid())
        return QString();
    const QDate d = t.date();
    return QStringLiteral("%1 %2 %3  %4:%5")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(months::abbrev(d.month()))
        .arg(d.year() % 100, 2, 10, QLatin1Char('0'))
        .arg(t.time().hour(), 2, 10, QLatin1Char('0'))
        .arg(t.time().minute(), 2, 10, QLatin1Char('0'));
}

void LoadLogbookPage()
{
    LogbookGrid& page = MiniLogPage;
    page.fixedGridLines = 2;
    page.gridLines = 0;
    page.caption = QStringLiteral("Logbook for ") + DefaultCallsign + QStringLiteral(".");
    page.setHeader();
    page.setColumnWidths(MiniLogColumnWidths, MiniLogColumnWidthsStored);

    // The operator's QSOs come newest first from the operator index: equal operator keys are in
    // key order, so walking them backwards from the end gives the same rows as walking every QSO
    // newest first, without reading the QSOs of other operators (a club logbook, or an operator
    // whose last QSOs are years old, would otherwise be read through to its first record).
    constexpr std::int16_t kOperatorIndex = 2;
    LogbookStatus = VmxEOF(LogbookHandle, kOperatorIndex);
    if (LogbookStatus != VmxOk) {
        ShowLogbookError();
    } else {
        auto readPrevious = [] {
            LogbookStatus = LogbookGet(kOperatorIndex, VmxGetPreviousEqual, DefaultCallsign, CurrentQSO);
        };
        readPrevious();
        int rows = 0;
        while (rows < 20) {
            if (LogbookStatus == VmxOk) {
                if (CurrentQSO[fOperator] == DefaultCallsign) {
                    ++rows;
                    page.fillRow(rows, LogbookKeyOut, CurrentQSO);
                }
                readPrevious();
            } else {
                ++rows;
                page.clearRow(rows);
            }
        }
    }

    if (VmxInfo(LogbookHandle, LogbookInfo) == VmxOk)
        QSOCounter = QString::number(LogbookInfo.RecordCount + 1);
    ShowQSOCounter();
    LogbookWindows().MiniLogPageChanged();
}

void InsertLogbookRow()
{
    for (int r = LogbookGrid::kRows - 1; r >= 1; --r)
        MiniLogPage.cells[static_cast<size_t>(r)] = MiniLogPage.cells[static_cast<size_t>(r - 1)];
    LogbookWindows().MiniLogPageChanged();
}

void FillLogbookRow(std::int16_t row, const QString& key)
{
    if (row < 1 || row >= LogbookGrid::kRows)
        return;
    MiniLogPage.fillRow(row, key, CurrentQSO);
    LogbookWindows().MiniLogPageChanged();
}

void PreviousQSOPage()
{
    LogbookGrid& page = PreviousQSOsPage;
    clearQsoRows(page);
    LogbookStatus = LogbookGet(1, VmxGetFirstEqual, PreviousQSOCall, CurrentQSO);
    page.caption = QStringLiteral("Previous QSOs with ");
    if (LogbookStatus == VmxOk)
        page.caption += PreviousQSOCall;
    int rows = 0;
    while (LogbookStatus == VmxOk && rows < 20) {
        ++rows;
        page.fillRow(rows, LogbookKeyOut, CurrentQSO);
        LogbookStatus = LogbookGet(1, VmxGetNextEqual, PreviousQSOCall, CurrentQSO);
    }
    page.topRow = 1;
    LogbookWindows().PreviousPageChanged();
}

void ClearPreviousQSOPage()
{
    clearQsoRows(PreviousQSOsPage);
    LogbookWindows().PreviousPageChanged();
}
