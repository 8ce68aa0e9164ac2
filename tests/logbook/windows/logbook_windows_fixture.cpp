#include "logbook_windows_fixture.h"

#include "logbook/windows/logbook_windows.h"
#include "settings/inistuff.h"

#include <QLineEdit>
#include <QTest>

void LogbookWindowsFixture::SetUp()
{
    LogbookFixture::SetUp();
    INIPath = home->file("Sondrel.INI");
    ResetLogbookWindows();
    ResetLogTransfer();
}

void LogbookWindowsFixture::TearDown()
{
    ResetLogTransfer();
    LogbookFixture::TearDown();
}

MiniLog& LogbookWindowsFixture::miniLog()
{
    MiniLog& w = MiniLog::instance();
    w.show();
    return w;
}

void LogbookWindowsFixture::edit(int row, int column)
{
    MiniLog& w = miniLog();
    w.LogbookPage->setRowCol(row, column);
    w.LogbookPage_MouseDown(1);
    w.LogbookPage_Click();
}

void LogbookWindowsFixture::type(const QString& text, int key)
{
    QLineEdit* box = miniLog().Text1;
    box->setText(text);
    press(key);
}

void LogbookWindowsFixture::press(int key)
{
    QTest::keyClick(miniLog().Text1, static_cast<Qt::Key>(key));
}
