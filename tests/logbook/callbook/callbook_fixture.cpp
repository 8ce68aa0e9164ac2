#include "callbook_fixture.h"

#include "logbook/callbook/callbook_libraries.h"
#include "logbook/callbook/cd_lookup.h"
#include "logbook/windows/logbook_windows.h"
#include "main_window/sondrel.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace {

void copyInto(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QString& name : source.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(name), QDir(to).filePath(name))) << name.toStdString();
}

} // namespace

void CallbookFixture::SetUp()
{
    LogbookFixture::SetUp();
    ResetLogbookWindows(); // the program's own callbook window and look-ups
    INIPath = home->file(QStringLiteral("Sondrel.INI"));
    ASSERT_TRUE(cd_.isValid());
    const QString samples = QStringLiteral(CALLBOOK_SAMPLES);
    copyInto(samples + "/fcc", cd());
    copyInto(samples + "/fcc", cd() + "/HAM0");
    copyInto(samples + "/rac", cd());
    CDDrive = cd();
    CDLookupBuffer = QString(501, QLatin1Char(' '));
}

void CallbookFixture::TearDown()
{
    UnloadCDDisplay();
    callbook::setSearchFolders({});
    callbook::setResolver({});
    LogbookFixture::TearDown();
    CDDrive.clear();
}

void CallbookFixture::choose(const char* typeItem)
{
    Sondrel& w = main();
    w.mnu(QString::fromLatin1(typeItem)).click();
    if (!w.mnu(QStringLiteral("mnuAutoCDLookup")).checked())
        w.mnu(QStringLiteral("mnuAutoCDLookup")).click();
}

void CallbookFixture::type(const QString& call)
{
    main().CallsignBox->setText(call);
}
