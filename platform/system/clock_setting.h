#pragma once
// Setting the computer's clock, behind one seam: the program sets the system clock (which needs
// the right to do so); tests install a stand-in that moves their own clock.
#include <QDateTime>
#include <QString>

class ClockSetting {
public:
    virtual ~ClockSetting() = default;
    // Sets the clock to `utc`; the empty text on success, else the system's reason.
    virtual QString setUtc(const QDateTime& utc) = 0;

    static ClockSetting& instance();
    // Installs a stand-in; nullptr puts the system clock back. The caller keeps ownership.
    static void install(ClockSetting* setting);
};
