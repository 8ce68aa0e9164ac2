#pragma once
// A main window over a real logbook in a private program folder, a clock fixed at
// 1 Jan 2024 12:00:00 UTC, and the logbook's window hooks recording their calls.
#include "logbook/logbook_services.h"
#include "logbook/store/database.h"
#include "platform/system/clock.h"
#include "support/main_window_fixture.h"

class LogbookFixture : public MainWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a QSO of `op` with `call` at day number `day` (its key " " + the day number).
    void putQso(const QString& call, double day, const QString& op = QStringLiteral("W1OP"),
                const QString& name = QString(), const QString& band = QStringLiteral("20"));
    // The stored QSO under `key`; fails the test when there is none.
    QSORecord stored(const QString& key);
    QStringList messageTexts() const;
    // Fills the QSO panel with a valid QSO.
    void fillPanel(const QString& call = QStringLiteral("DL1ABC"));

    FixedClock clock;
    QStringList hooks; // the window hooks called, in order
};

// 1 Jan 2024 12:00:00 UTC.
constexpr double kNoon2024 = 45292.5;
constexpr double kSecond = 1.0 / 86400;
