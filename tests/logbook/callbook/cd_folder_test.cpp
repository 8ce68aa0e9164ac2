// The callbook folder: found at start-up, then replaced by [CD Lookup] "CD Drive Letter".
#include "support/main_window_fixture.h"

#include "platform/system/inifile.h"

#include <QFile>

namespace {

using CallbookFolder = MainWindowFixture;

TEST_F(CallbookFolder, TheSettingOverridesTheFolderFound)
{
    const struct {
        const char* found;
        const char* setting; // null: no key
        const char* used;
    } cases[] = {
        {"/media/cdrom", nullptr, "/media/cdrom"},
        {"/media/cdrom", "None", "None"},
        {"/media/cdrom", "/srv/callbook", "/srv/callbook"},
        {"None", "/srv/callbook", "/srv/callbook"},
        {"None", nullptr, "None"},
    };
    for (const auto& t : cases) {
        QFile::remove(home->file("Sondrel.INI"));
        Links().FindCDDrive = [&t] { return QString::fromLatin1(t.found); };
        ini::write(home->file("Sondrel.INI"), "Settings", "AFC On/Off", "On");
        if (t.setting)
            ini::write(home->file("Sondrel.INI"), "CD Lookup", "CD Drive Letter", t.setting);
        ASSERT_TRUE(main().Form_Load());
        EXPECT_EQ(CDDrive, t.used) << t.found << " " << (t.setting ? t.setting : "-");
        main().Form_Unload();
        Sondrel::destroyInstance();
    }
}

} // namespace
