#include "platform/system/events.h"

#include <QApplication>
#include <QCoreApplication>

namespace events {
namespace {
bool g_closing = false;
}

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool ProgramClosing()
{
    return g_closing;
}

void SetProgramClosing(bool closing)
{
    g_closing = closing;
}

} // namespace events

BusyPointer::BusyPointer()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::restoreOverrideCursor();
}
