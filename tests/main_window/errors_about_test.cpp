#include "support/main_window_fixture.h"

#include "core/receive/errors.h"
#include "main_window/frmabout.h"
#include "main_window/frmsplash.h"
#include "state/mmtty_block.h"

#include <QAction>
#include <QCoreApplication>
#include "platform/widgets/menuitem.h"
#include <QKeyEvent>
#include <QLabel>
#include <cstring>

namespace {

TEST(DLLErrors, KnownCodesHaveTheirTextsAndTitles)
{
    dlg::ScriptedDialogs boxes;
    const struct { int code; const char* text; const char* title; } cases[] = {
        {10, "Memory allocation Error.", "DLL Error  10"},
        {21, "Bad device ID or Soundcard not present.", "DLL Error  21"},
        {26, "Function is not suported.", "DLL Error  26"},
        {32, "Registry error.", "DLL Error  32"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        ShowDLLError(c.code);
        ASSERT_EQ(boxes.messages().size(), 1);
        EXPECT_EQ(boxes.messages()[0].text, c.text);
        EXPECT_EQ(boxes.messages()[0].title, c.title);
        EXPECT_EQ(boxes.messages()[0].style, dlg::OKOnly);
    }
}

TEST(DLLErrors, UnknownCodesGetTheLostText)
{
    dlg::ScriptedDialogs boxes;
    const QString lost = QString::fromUtf8("\u00bf\u00bfQue pasa?  I'm lost, how did I get here?  Unknown error.");
    for (const auto& [code, title] : {std::pair{9, "DLL Error  9"}, std::pair{33, "DLL Error  33"},
                                      std::pair{-5, "DLL Error -5"}}) {
        boxes.clear();
        ShowDLLError(code);
        EXPECT_EQ(boxes.messages()[0].text, lost);
        EXPECT_EQ(boxes.messages()[0].title, title);
    }
}

using Lights = MainWindowFixture;

TEST_F(Lights, OverloadIsACountdownAndRestsByTheEnergySaver)
{
    Sondrel& w = main();
    ShowOverloadLight();
    EXPECT_EQ(OverloadCountdown, 10);
    EXPECT_EQ(w.Image1->pixmap().cacheKey(), w.Red->cacheKey());
    EnergySaverOn = true;
    SetLights();
    EXPECT_EQ(w.Image1->pixmap().cacheKey(), w.Orange->cacheKey());
    EnergySaverOn = false;
    SetLights();
    EXPECT_EQ(w.Image1->pixmap().cacheKey(), w.Green->cacheKey());
}

TEST(AboutWindow, ShowsVersionsOrNotLoaded)
{
    dlg::setApplicationTitle("Sondrel");
    std::vector<unsigned char> block(mmtty::kBlockSize, 0);
    MMTTYView = block.data();
    PSKDLLVersion = 0;
    {
        frmAbout about;
        about.Form_Load();
        EXPECT_EQ(about.windowTitle(), " About Sondrel");
        EXPECT_EQ(about.lblVersion->text(), "Sondrel Version : 1.24");
        EXPECT_EQ(about.lblDLLVersion->text(), "Ferrow DLL Version : Not Loaded.");
        EXPECT_EQ(about.lblMMTTYVersion->text(), "Tevlin RTTY Engine Version : Not Loaded.");
        EXPECT_EQ(about.lblTitle->text(), "Sondrel");
    }
    PSKDLLVersion = 114;
    std::memcpy(block.data() + mmtty::kVersion, "Ver1.68A", 8);
    {
        frmAbout about;
        about.Form_Load();
        EXPECT_EQ(about.lblDLLVersion->text(), "Ferrow DLL Version : 1.14");
        EXPECT_EQ(about.lblMMTTYVersion->text(), "Tevlin RTTY Engine Version : 1.68A");
    }
    // a shorter version text: NUL, then blanks to the end of the field
    std::memcpy(block.data() + mmtty::kVersion, "Ver1.7\0 ", 8);
    {
        frmAbout about;
        about.Form_Load();
        EXPECT_EQ(about.lblMMTTYVersion->text(), "Tevlin RTTY Engine Version : 1.7");
    }
    PSKDLLVersion = 0;
    MMTTYView = nullptr;
}

TEST(SplashWindow, NamesTheProductAndVersionAndClosesOnAKey)
{
    frmSplash splash;
    splash.Form_Load();
    EXPECT_EQ(splash.lblProductName->text(), "Sondrel");
    EXPECT_EQ(splash.lblVersion->text(), "Version 1.24.0");
    EXPECT_EQ(splash.windowTitle(), "  VIZ.  Loading .....");
    splash.show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&splash, &key);
    EXPECT_FALSE(splash.isVisible());
}

} // namespace

namespace {

using HelpMenu = MainWindowFixture;

TEST_F(HelpMenu, AboutOpensModallyAndExitRunsTheShutDown)
{
    QString shown;
    dlg::setModalRunner([&](QDialog& d) {
        shown = d.objectName() + "|" + d.windowTitle();
        return 0;
    });
    ASSERT_TRUE(main().Form_Load());
    main().mnu("mnuAbout").action()->trigger();
    EXPECT_EQ(shown, "frmAbout| About Sondrel");
    dlg::setModalRunner(nullptr);
    main().show();
    main().mnu("mnuExit").action()->trigger();
    EXPECT_TRUE(main().unloaded());
    EXPECT_TRUE(calls.contains("VmxClose"));
}

} // namespace
