// Times the log exchange as the program runs it, through the Mini-Log's menu commands with the
// file dialog answered: exporting 10,000 QSOs as ADIF and as CSV, and importing those 10,000
// QSOs from the ADIF file into an empty logbook. Each yields once per record, as in the program.
#include "logbook/exchange/import_export.h"
#include "logbook/logbook_services.h"
#include "logbook/store/database.h"
#include "main_window/sondrel.h"
#include "platform/system/clock.h"
#include "platform/widgets/scripted_dialogs.h"
#include "state/declarations.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kOwnQsos = 10000;
constexpr int kQsos = kOwnQsos + kOwnQsos / 10; // and a tenth more of another operator
constexpr int kRuns = 3;

struct Timing {
    double wall;
    double cpu; // this process's processor time: what the figure would be on an idle machine
};

Timing timeIt(const std::function<void()>& f)
{
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    f();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
            double(std::clock() - c0) / CLOCKS_PER_SEC};
}

void report(const char* what, std::vector<Timing> t, double target)
{
    std::sort(t.begin(), t.end(), [](const Timing& a, const Timing& b) { return a.wall < b.wall; });
    const Timing& m = t[t.size() / 2];
    std::printf("%-48s median %6.3f s (cpu %6.3f s)  worst %6.3f s  (target < %g s) %s\n", what, m.wall, m.cpu,
                t.back().wall, target, m.wall < target ? "ok" : "MISSED");
}

bool fillLogbook()
{
    for (int i = 0; i < kQsos; ++i) {
        QSORecord r;
        r[fCallsign] = QStringLiteral("K%1AB%2").arg(i % 10).arg(QChar('A' + i % 26));
        r[fOperator] = i % 11 == 5 ? QStringLiteral("W9CLUB") : QStringLiteral("W1OP");
        r[fBand] = i % 3 ? QStringLiteral("20") : QStringLiteral("40");
        r[fMode] = QStringLiteral("BPSK");
        r[fRSTSent] = r[fRSTRcvd] = QStringLiteral("599");
        r[fName] = QStringLiteral("Name%1").arg(i % 97);
        r[fQTH] = QStringLiteral("QTH%1").arg(i % 89);
        r[fNotes] = QStringLiteral("notes of QSO %1").arg(i);
        r[fFrequency] = QStringLiteral("14.07015");
        const double day = 42000.0 + i * 1200.0 / 86400;
        r[fTimeOn] = QSOKeyText(day - 120.0 / 86400);
        if (LogbookPut(QSOKeyText(day), r, VmxAdd) != 0)
            return false;
    }
    return VmxFlush(LogbookHandle) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("SONDREL_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    dlg::ScriptedDialogs boxes;
    FixedClock clock(QDateTime(QDate(2024, 1, 1), QTime(12, 0), Qt::UTC));
    Clock::install(&clock);
    Sondrel::instance();
    DefaultCallsign = QStringLiteral("W1OP");
    MiniLogOpen = QStringLiteral("True");
    LogbookAccessCode = QStringLiteral("QH71MZTRA4B9KX20PE");

    OpenLogbook();
    if (LogbookStatus != 0 || !fillLogbook()) {
        std::fprintf(stderr, "could not build the logbook: %s\n", VmxReturnCode(LogbookStatus).c_str());
        return 1;
    }
    // The export walks the other operator's QSOs too.
    const int own = kOwnQsos;

    std::vector<Timing> adif, csv, import;
    for (int run = 0; run < kRuns; ++run) {
        boxes.answerSave(home.filePath(QStringLiteral("out%1").arg(run)));
        adif.push_back(timeIt(ExportADIF));
        boxes.answerSave(home.filePath(QStringLiteral("out%1").arg(run)));
        csv.push_back(timeIt(ExportCSV));
    }
    const QString file = home.filePath(QStringLiteral("out0.ADI"));
    for (int run = 0; run < kRuns; ++run) {
        // An empty logbook each time.
        CloseLogbook(LogbookHandle);
        VmxKill(QFile::encodeName(LogbookPath()).toStdString());
        OpenLogbook();
        boxes.answerOpen(file);
        import.push_back(timeIt(ImportADIF));
        if (ImportQSOCount != own || ImportBadCount != 0) {
            std::fprintf(stderr, "import read %d records, %d rejected (expected %d, 0)\n", ImportQSOCount,
                         ImportBadCount, own);
            return 1;
        }
    }
    std::printf("Logbook of %d QSOs, %d of them the operator's; %d runs each\n", kQsos, own, kRuns);
    report(QStringLiteral("ADIF export of %1 QSOs").arg(own).toLatin1().constData(), adif, 1.0);
    report(QStringLiteral("CSV export of %1 QSOs").arg(own).toLatin1().constData(), csv, 1.0);
    report(QStringLiteral("ADIF import of %1 QSOs into an empty logbook").arg(own).toLatin1().constData(), import,
           3.0);
    std::printf("ADIF file: %lld bytes\n", static_cast<long long>(QFile(file).size()));

    CloseLogbook(LogbookHandle);
    Sondrel::destroyInstance();
    Clock::install(nullptr);
    return 0;
}
