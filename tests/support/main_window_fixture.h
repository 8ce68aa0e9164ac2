#pragma once
// A fresh main window for each test, in a private program folder, with fake links to the engine,
// the logbook and the radio component that record the order of the calls.
#include "main_window/sondrel.h"
#include "platform/widgets/scripted_dialogs.h"
#include "state/declarations.h"
#include "state/links.h"
#include "support/qt_print.h"
#include "support/temp_home.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Runs the event loop until done() holds or ms milliseconds have passed; says whether it holds.
bool waitFor(const std::function<bool()>& done, int ms);

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces every link with a recording fake.
    void fakeLinks();
    QString iniText() const;
    QString ini(const QString& section, const QString& key) const;
    Sondrel& main() { return Sondrel::instance(); }

    std::unique_ptr<TempHome> home;
    dlg::ScriptedDialogs boxes;
    QStringList calls;
    QList<QVariantList> rigArgs;
    int frequencyResult = 0; // the fake component's setRadioFrequency: 0 sent, else refused
};
