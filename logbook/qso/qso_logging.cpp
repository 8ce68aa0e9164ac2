#include "logbook/qso/qso_logging.h"

#include "logbook/qso/qso_panel.h"
#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <optional>

namespace {

void refuse(const char* text)
{
    dlg::MsgBox(QString::fromLatin1(text), dlg::Exclamation | dlg::OKOnly, QStringLiteral("\u00bfQue Pasa?"));
}

// A report box: an empty or non-numeric report becomes "599"; the report must be 111..599.
bool reportIsValid(QLineEdit* box)
{
    if (vb::Val(box->text()) == 0)
        box->setText(QStringLiteral("599"));
    const double n = vb::Val(box->text());
    if (n < 111 || n > 599) {
        refuse("Invalid Report.  Valid reports are between 111 and 599.");
        return false;
    }
    return true;
}

// The logbook handle whose search error has been shown; a logbook that cannot be read is
// reported once, not at every key typed into the call-sign box.
std::optional<std::int32_t> g_searchErrorShownFor;

} // namespace

void LogAndClear()
{
    MainWindowControls& w = MainWindow();

    const QString call = w.CallsignBox->text();
    if (call.size() < 4 || call.size() > 15 || vb::Trim(call).isEmpty()) {
        refuse("Invalid callsign.  Valid callsigns are between 4 and 15 characters in length.  "
               "No two letter callsigns are allowed.");
        return;
    }
    NewQSO[fCallsign] = vb::Trim(call);

    const QString band = w.BandBox->currentText();
    if (band.size() < 1 || band.size() > 3) {
        refuse("Invalid Band.  Valid Amateur Bands are between 2 and 160 Meters.");
        return;
    }
    NewQSO[fBand] = vb::Trim(band);

    if (!reportIsValid(w.MyRSTBox))
        return;
    NewQSO[fRSTRcvd] = vb::Trim(w.MyRSTBox->text());
    if (!reportIsValid(w.HisRSTBox))
        return;
    NewQSO[fRSTSent] = vb::Trim(w.HisRSTBox->text());

    if (DefaultCallsign.size() < 3 || DefaultCallsign.size() > 15) {
        refuse("Invalid User.  Click SETTINGS | DEFAULT CALLSIGN and enter your current callsign.");
        return;
    }
    NewQSO[fOperator] = DefaultCallsign;

    doGMTCalculations();
    QSOKey = CurrentQSOKey();
    // Without a start time stamped by a macro, the QSO starts when it is logged.
    const bool stampedHere = NewQSO[fTimeOn].isEmpty();
    if (stampedHere)
        NewQSO[fTimeOn] = QSOKey;

    NewQSO[fName] = vb::Trim(w.NameBox->text());
    NewQSO[fQTH] = vb::Trim(w.QTHBox->text());
    NewQSO[fNotes] = vb::Trim(w.NotesBox->text());

    if (LogMode.isEmpty()) {
        // The time stamped above belongs to this attempt only; the next one stamps its own.
        if (stampedHere)
            NewQSO[fTimeOn].clear();
        refuse("Current Mode appears invalid.");
        return;
    }
    NewQSO[fMode] = LogMode;

    // Without a radio frequency the QSO has none, rather than the frequency of an earlier one.
    const double kHz = vb::Val(w.RFFrequencyBox->text());
    NewQSO[fFrequency] = kHz > 1800 ? vb::Text(kHz / 1000) : QString();

    LogbookStatus = LogbookPut(QSOKey, NewQSO, VmxAdd);
    if (LogbookStatus != VmxOk) {
        ShowLogbookError();
    } else {
        LogbookStatus = VmxFlush(LogbookHandle);
        QSOCounter = vb::Text(vb::Val(QSOCounter) + 1);
        ShowQSOCounter();
        const QSORecord stored = NewQSO;
        ClearButton_Click();
        if (MiniLogOpen == QLatin1String("True")) {
            InsertLogbookRow();
            CurrentQSO = stored;
            FillLogbookRow(1, QSOKey);
        }
    }
    NewQSO[fTimeOn].clear();
}

void LogbookSearch()
{
    MainWindowControls& w = MainWindow();
    const QString call = w.CallsignBox->text();
    QString indexKey, key;
    LogbookStatus = LogbookGet(1, VmxGetFirstEqual, call, CurrentQSO, indexKey, key);
    if (LogbookStatus == VmxOk) {
        g_searchErrorShownFor.reset();
        int count = 1;
        while ((LogbookStatus = LogbookGet(1, VmxGetNextEqual, call, CurrentQSO, indexKey, key)) == VmxOk)
            ++count;
        PreviousQSOs[1] = QString::number(count);
        // The newest QSO with the station is the one read last.
        w.NameBox->setText(CurrentQSO[fName]);
        w.QTHBox->setText(CurrentQSO[fQTH]);
        w.NotesBox->setText(CurrentQSO[fNotes]);
        PreviousQSOs[4] = CurrentQSO[fBand];
        PreviousQSOs[5] = CurrentQSO[fMode];
        PreviousQSOs[2] = QSOKeyDate(key);
        PreviousQSOs[3] = QSOKeyTime(key);
        return;
    }
    PreviousQSOs[1] = QStringLiteral("0");
    w.NameBox->clear();
    w.QTHBox->clear();
    w.NotesBox->clear();
    for (int i = 2; i <= 5; ++i)
        PreviousQSOs[static_cast<size_t>(i)].clear();
    if (LogbookStatus > VmxNotFound) {
        if (g_searchErrorShownFor != LogbookHandle) {
            g_searchErrorShownFor = LogbookHandle;
            ShowLogbookError();
        }
    } else {
        g_searchErrorShownFor.reset();
    }
}
