// GoogleTest main for every test program: one QApplication for the whole run (offscreen in CI)
// and a private program folder, so no test reads or writes the operator's own files.
#include <gtest/gtest.h>
#include <QApplication>
#include "support/temp_home.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    TempHome home;
    return RUN_ALL_TESTS();
}
