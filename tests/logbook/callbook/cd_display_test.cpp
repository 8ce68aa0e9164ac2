// The callbook window: its settings in [CD Lookup], its font and background menus, its closing.
#include "callbook_fixture.h"

#include "logbook/callbook/cd_lookup.h"
#include "logbook/callbook/frmcddisplay.h"
#include "platform/system/inifile.h"
#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QWindow>
#include <QTest>

namespace {

using CallbookWindow = CallbookFixture;

QColor base(const frmCDDisplay& w)
{
    return w.Text->palette().color(QPalette::Base);
}

TEST_F(CallbookWindow, OpensWithItsDefaultsAndStoresItsPlaceWhenTheCallIsDeleted)
{
    main().setGeometry(4, 28, 840, 390); // the main window at its usual place and size
    main().show();
    choose("mnuRAC");
    type("VE3XYZ");
    frmCDDisplay* w = frmCDDisplay::existing();
    ASSERT_NE(w, nullptr);
    // With no stored place: beside the main window, wholly on the screen, owned by the main window.
    EXPECT_EQ(w->size(), QSize(twips::toPixels(4750), twips::toPixels(2500)));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen, QRect(0, 0, 1024, 768));
    EXPECT_TRUE(screen.contains(w->frameGeometry())) << w->frameGeometry();
    EXPECT_FALSE(w->frameGeometry().intersects(main().frameGeometry())) << w->frameGeometry() << main().frameGeometry();
    ASSERT_NE(w->windowHandle(), nullptr);
    EXPECT_EQ(w->windowHandle()->transientParent(), main().windowHandle());
    EXPECT_EQ(w->windowType(), Qt::Tool); // X11 is told the owner of tool and dialog windows only
    EXPECT_EQ(base(*w), QColor(Qt::white));
    EXPECT_EQ(w->Text->palette().color(QPalette::Text), QColor(Qt::black));
    const QFont f = w->Text->font();
    EXPECT_EQ(f.family(), "Arial");
    EXPECT_EQ(f.pointSizeF(), 9);
    EXPECT_FALSE(f.bold());
    EXPECT_FALSE(f.italic());

    w->setGeometry(30, 40, 300, 200);
    type("VE");
    EXPECT_EQ(frmCDDisplay::existing(), nullptr);
    const struct { const char* key; int pixels; } stored[] = {{"Top", 40}, {"Left", 30}, {"Height", 200}, {"Width", 300}};
    for (const auto& s : stored)
        EXPECT_EQ(ini("CD Lookup", s.key), QString::number(s.pixels * 15)) << s.key;
    // The next opening comes back there.
    type("VE3XYZ");
    ASSERT_NE(frmCDDisplay::existing(), nullptr);
    EXPECT_EQ(frmCDDisplay::existing()->geometry(), QRect(30, 40, 300, 200));

    // A place off the screen (another monitor, say) is brought onto it.
    type("VE");
    ini::write(INIPath, "CD Lookup", "Left", "-20000");
    ini::write(INIPath, "CD Lookup", "Top", "40000");
    type("VE3XYZ");
    ASSERT_NE(frmCDDisplay::existing(), nullptr);
    EXPECT_TRUE(screen.contains(frmCDDisplay::existing()->frameGeometry())) << frmCDDisplay::existing()->frameGeometry();
}

TEST_F(CallbookWindow, TheBackgroundIsStoredUnderOneNameAndReadUnderAnother)
{
    frmCDDisplay& w = frmCDDisplay::instance();
    boxes.answerColour(std::nullopt);
    w.mnu("mnuBackground").click();
    EXPECT_EQ(ini("CD Lookup", "BackGround Color"), "<missing>");
    EXPECT_EQ(base(w), QColor(Qt::white));

    boxes.answerColour(rgb::make(1, 2, 3));
    w.mnu("mnuBackground").click();
    EXPECT_EQ(ini("CD Lookup", "BackGround Color"), "197121");
    EXPECT_EQ(base(w), QColor(1, 2, 3));
    w.mnu("mnuExit").click();
    EXPECT_EQ(frmCDDisplay::existing(), nullptr);
    EXPECT_EQ(base(frmCDDisplay::instance()), QColor(1, 2, 3));
}

TEST_F(CallbookWindow, TheFontIsStoredOnlyWhenConfirmed)
{
    frmCDDisplay& w = frmCDDisplay::instance();
    boxes.answerFont(std::nullopt);
    w.mnu("mnuFont").click();
    EXPECT_FALSE(ini::contains(INIPath, "CD Lookup", "Font"));

    boxes.answerFont(dlg::FontChoice{QStringLiteral("Courier New"), 12, true, true, 255});
    w.mnu("mnuFont").click();
    const struct { const char* key; const char* value; } stored[] = {
        {"Font", "Courier New"}, {"Font Size", "12"}, {"Font Bold", "True"}, {"Font Italic", "True"}, {"Text Color", "255"}};
    for (const auto& s : stored)
        EXPECT_EQ(ini("CD Lookup", s.key), s.value) << s.key;
    EXPECT_TRUE(w.Text->font().bold());
    EXPECT_EQ(w.Text->palette().color(QPalette::Text), QColor(Qt::red));
}

TEST_F(CallbookWindow, NoCaretStandsInTheResultText)
{
    frmCDDisplay& w = frmCDDisplay::instance();
    w.showOwned();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Text->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.Text->hasFocus());
    EXPECT_TRUE(w.vsElastic2->hasFocus());
}

TEST_F(CallbookWindow, AtShutDownTheWindowGoesAndKeepsItsPlace)
{
    frmCDDisplay::instance().setGeometry(45, 60, 300, 150);
    ResetLinks();
    Links().UnloadChildWindows();
    EXPECT_EQ(frmCDDisplay::existing(), nullptr);
    EXPECT_EQ(ini("CD Lookup", "Top"), "900");
    EXPECT_EQ(ini("CD Lookup", "Left"), "675");
    fakeLinks();
}

} // namespace
