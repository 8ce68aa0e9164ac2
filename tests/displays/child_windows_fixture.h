#pragma once
// The display fixture with the channel windows' state at its start-up values and a PSK engine
// that also records the squelch, AFC and mode calls.
#include "display_fixture.h"

#include "platform/processes/winmsg.h"

#include <QEvent>
#include <QObject>

class ChildWindowsFixture : public DisplayFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    // The engine calls made since the last look, then forgets them.
    QStringList takeCalls();
    // A value exactly as written in the file (reading drops the blanks round it).
    QString stored(const QString& section, const QString& key) const;
};

// Records the window messages posted to it (a stand-in for the RTTY engine's window).
class PostedMessages : public QObject {
public:
    QList<QList<qint64>> messages; // msg, wParam, lParam
    bool event(QEvent* e) override;
};
