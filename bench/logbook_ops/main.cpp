// Times the logbook's operations as the program runs them, over a logbook of 100,000 QSOs in a
// temporary program folder: the previous-QSO search as a call sign is typed, loading the
// Mini-Log page, and logging one QSO from the QSO panel.
#include "logbook/logbook_services.h"
#include "logbook/store/database.h"
#include "main_window/sondrel.h"
#include "platform/system/clock.h"
#include "platform/widgets/scripted_dialogs.h"
#include "state/declarations.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kQsos = 100000;
constexpr int kTargetQsos = 50;
constexpr double kFirstDay = 42000.0;
constexpr double kStep = 1200.0 / 86400; // one QSO every 20 minutes

double timeIt(const char* what, int n, double targetMs, const std::function<void()>& f)
{
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("%-62s median %8.3f ms  p90 %8.3f ms  worst %8.3f ms", what, median, ms[ms.size() * 9 / 10],
                ms.back());
    if (targetMs > 0)
        std::printf("  (target < %g ms) %s", targetMs, median < targetMs ? "ok" : "MISSED");
    std::printf("\n");
    return median;
}

QString callOf(int i, std::mt19937& rng)
{
    if (i % (kQsos / kTargetQsos) == 0)
        return QStringLiteral("DL1TGT");
    const int n = std::uniform_int_distribution<int>(0, 19999)(rng);
    return QString(QChar("KWNG"[n % 4])) + QChar('0' + n % 10) + QChar('A' + n / 10 % 26)
        + QChar('A' + n / 260 % 26) + QChar('A' + n / 6760 % 26);
}

QString operatorOf(int i)
{
    if (i % 10 == 3)
        return QStringLiteral("W9CLUB");
    if (i >= 5000 && i < 5020)
        return QStringLiteral("W0OLD"); // an operator whose QSOs are all years old
    return QStringLiteral("W1OP");
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

    LogbookAccessCode = QStringLiteral("QH71MZTRA4B9KX20PE");
    OpenLogbook();
    if (LogbookStatus != 0) {
        std::fprintf(stderr, "open: %s\n", VmxReturnCode(LogbookStatus).c_str());
        return 1;
    }
    std::mt19937 rng(7);
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kQsos; ++i) {
        QSORecord r;
        r[fCallsign] = callOf(i, rng);
        r[fOperator] = operatorOf(i);
        r[fBand] = i % 3 ? QStringLiteral("20") : QStringLiteral("40");
        r[fMode] = i % 5 ? QStringLiteral("BPSK") : QStringLiteral("RTTY");
        r[fRSTSent] = r[fRSTRcvd] = QStringLiteral("599");
        r[fName] = QStringLiteral("Name%1").arg(i % 97);
        r[fQTH] = QStringLiteral("QTH%1").arg(i % 89);
        r[fFrequency] = QStringLiteral("14.07015");
        r[fTimeOn] = QSOKeyText(kFirstDay + i * kStep);
        if (LogbookPut(r[fTimeOn], r, VmxAdd) != 0)
            return 1;
    }
    VmxFlush(LogbookHandle);
    CloseLogbook(LogbookHandle);
    OpenLogbook(); // as at the next start
    std::printf("Logbook of %d QSOs built in %.1f s; QSOCounter %s\n", kQsos,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
                QSOCounter.toLatin1().constData());

    Sondrel& w = Sondrel::instance();
    w.BandBox->setEditText(QStringLiteral("20"));

    timeIt("LogbookSearch, a call sign with 50 earlier QSOs", 200, 5, [&] {
        {
            const QSignalBlocker quiet(w.CallsignBox);
            w.CallsignBox->setText(QStringLiteral("DL1TGT"));
        }
        LogbookSearch();
    });
    if (PreviousQSOs[1] != QString::number(kTargetQsos))
        std::printf("  (found %s QSOs, expected %d)\n", PreviousQSOs[1].toLatin1().constData(), kTargetQsos);
    timeIt("Typing the call sign's sixth character (search and panel)", 200, 5, [&] {
        w.CallsignBox->setText(QStringLiteral("DL1TG"));
        w.CallsignBox->setText(QStringLiteral("DL1TGT"));
    });

    for (const char* op : {"W1OP", "W9CLUB", "W0OLD"}) {
        DefaultCallsign = QString::fromLatin1(op);
        const QString what = QStringLiteral("LoadLogbookPage, operator %1").arg(DefaultCallsign);
        timeIt(what.toLatin1().constData(), 100, 20, [] { LoadLogbookPage(); });
    }
    // For comparison: the same page by reading every QSO newest first and skipping other
    // operators, which reads nearly the whole logbook for an operator whose QSOs are old.
    DefaultCallsign = QStringLiteral("W0OLD");
    timeIt("  same page read from all QSOs newest first (comparison)", 5, 0, [] {
        int rows = 0;
        std::int16_t s = VmxEOF(LogbookHandle, 0);
        while (s == 0 && rows < 20) {
            s = LogbookGet(0, VmxGetPrevious, QString(), CurrentQSO);
            if (s == 0 && CurrentQSO[fOperator] == DefaultCallsign)
                ++rows;
        }
    });

    DefaultCallsign = QStringLiteral("W1OP");
    LogMode = QStringLiteral("BPSK");
    MiniLogOpen = QStringLiteral("True");
    clock.setUtc(QDateTime(QDate(2024, 6, 1), QTime(12, 0), Qt::UTC));
    int n = 0;
    timeIt("LogAndClear, one QSO from the panel (put, flush, clear)", 50, 10, [&] {
        clock.advanceMs(1000);
        w.CallsignBox->setText(QStringLiteral("K%1NEW").arg(n++));
        w.RFFrequencyBox->setText(QStringLiteral("14070.15"));
        LogAndClear();
    });
    timeIt("  put and flush alone", 50, 10, [&] {
        clock.advanceMs(1000);
        NewQSO[fCallsign] = QStringLiteral("K%1NEW").arg(n++);
        LogbookPut(CurrentQSOKey(), NewQSO, VmxAdd);
        VmxFlush(LogbookHandle);
    });
    if (!boxes.calls().isEmpty())
        std::printf("  (%lld message boxes, the first: %s)\n", static_cast<long long>(boxes.calls().size()),
                    boxes.calls().front().text.toLatin1().constData());

    CloseLogbook(LogbookHandle);
    Sondrel::destroyInstance();
    Clock::install(nullptr);
    return 0;
}
