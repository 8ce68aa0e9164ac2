#pragma once
// A main window over a real logbook with the program's own callbook links, and a callbook
// folder holding the sample licence data: the FCC files at its top (the QRZ disc) and in HAM0
// (the HamCall disc), the Canadian call sign list at its top (the RAC disc).
#include "logbook_fixture.h"

#include <QTemporaryDir>

class CallbookFixture : public LogbookFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Chooses the callbook type by its menu item and turns the automatic look-up on.
    void choose(const char* typeItem);
    // Types the call sign into the QSO panel's call sign box.
    void type(const QString& call);
    QString cd() const { return cd_.path(); }

private:
    QTemporaryDir cd_;
};
