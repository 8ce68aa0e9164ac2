#include "core/rtty/engine_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QProcess>

namespace {

constexpr int kKillWaitMs = 1000;
constexpr int kPassMs = 20;
int g_killed = 0;

QList<QPointer<QProcess>>& kept()
{
    static QList<QPointer<QProcess>> processes;
    return processes;
}

void forgetEnded()
{
    kept().removeIf([](const QPointer<QProcess>& p) { return !p || p->state() == QProcess::NotRunning; });
}

} // namespace

void KeepEngineProcess(QProcess* process)
{
    forgetEnded();
    if (process)
        kept().append(process);
}

bool EngineProcessRunning()
{
    forgetEnded();
    return !kept().isEmpty();
}

void EndEngineProcesses(int graceMs)
{
    QElapsedTimer waited;
    waited.start();
    while (EngineProcessRunning() && waited.elapsed() < graceMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kPassMs);
        for (const QPointer<QProcess>& p : kept())
            if (p)
                p->waitForFinished(kPassMs);
    }
    for (const QPointer<QProcess>& p : kept()) {
        if (!p || p->state() == QProcess::NotRunning)
            continue;
        p->kill();
        p->waitForFinished(kKillWaitMs);
        ++g_killed;
    }
    forgetEnded();
}

int KilledEngineProcesses()
{
    return g_killed;
}
