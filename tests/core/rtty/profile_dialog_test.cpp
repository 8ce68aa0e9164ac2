// "Add/Modify Profile", opened from "Assign RTTY Menu item" through the program's own hook.
#include "support/receive_fixture.h"

#include "core/rtty/frmaddprofile.h"
#include "platform/widgets/menuitem.h"
#include "platform/vb/text1252.h"
#include "state/mmtty_block.h"

#include <QAction>
#include <QLineEdit>
#include <QToolBar>

namespace {

class ProfileDialog : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        MMTTYhWnd = engine.handle;
        for (auto& name : ProfileNames)
            name = QString(QChar(0)).leftJustified(32, u' ');
        dlg::setModalRunner([this](QDialog& d) {
            auto& dialog = dynamic_cast<frmAddProfile&>(d);
            shownName = dialog.Text1->text();
            if (typed) {
                dialog.Text1->setText(*typed);
                dialog.Command1_Click();
            } else {
                dialog.Command2_Click();
            }
            return d.result();
        });
    }
    void TearDown() override
    {
        dlg::setModalRunner({});
        ReceiveFixture::TearDown();
    }
    QList<std::pair<std::intptr_t, std::intptr_t>> posts()
    {
        deliver();
        QList<std::pair<std::intptr_t, std::intptr_t>> out;
        for (const auto& m : engine.got)
            if (m.msg == MMTTYMessage)
                out.append({m.w, m.l});
        engine.got.clear();
        return out;
    }
    QByteArray slot(int n) { return QByteArray(reinterpret_cast<const char*>(MMTTYView) + 12500 + 64 * n, 64); }
    QAction* dropDown(int entry) { return main().Toolbar->findChild<QAction*>(QStringLiteral("ButtonMenu%1").arg(entry)); }

    MessageSink engine;
    std::optional<QString> typed;
    QString shownName;
};

TEST_F(ProfileDialog, NamingASlot)
{
    struct Case {
        const char* name;
        int slot;
        QString typed;
        QByteArray stored; // the slot's first 32 bytes in the block
    };
    const Case cases[] = {
        {"ten characters", 3, "Contest 45", QByteArray("Contest 45\0", 11) + QByteArray(21, ' ')},
        {"thirty characters", 5, QString(30, u'x'), QByteArray(30, 'x') + QByteArray("\0 ", 2)},
        {"Windows-1252 letters", 6, QString::fromUtf8("Z\xc3\xbcrich \xe2\x82\xac"),
         QByteArray("Z\xfcrich \x80\0", 9) + QByteArray(23, ' ')},
        {"outside Windows-1252", 7, QString::fromUtf8("\xce\xa9 \xf0\x9f\x93\xbb"), QByteArray("? ?\0", 4) + QByteArray(28, ' ')},
        {"empty", 8, QString(), QByteArray("\0", 1) + QByteArray(31, ' ')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray after = slot(c.slot).mid(32);
        typed = c.typed;
        main().mnu("mnuAssignProfile", c.slot).click();
        EXPECT_EQ(ProfileSlot, c.slot);
        EXPECT_EQ(slot(c.slot).left(32), c.stored);
        EXPECT_EQ(slot(c.slot).mid(32), after); // the slot's other half is left alone
        EXPECT_EQ(ProfileNames[c.slot], cp1252::decode(c.stored));
        EXPECT_EQ(posts(), (QList<std::pair<std::intptr_t, std::intptr_t>>{{24, 65536 + c.slot}}));
        EXPECT_TRUE(main().mnu("mnuRTTY", c.slot).visible());
        EXPECT_EQ(main().mnu("mnuRTTY", c.slot).caption(), cp1252::decode(c.stored.left(c.stored.indexOf('\0'))));
        EXPECT_EQ(main().mnu("mnuAssignProfile", c.slot).caption(), main().mnu("mnuRTTY", c.slot).caption());
        EXPECT_EQ(main().mnu("mnuDeleteProfile", c.slot).caption(), main().mnu("mnuRTTY", c.slot).caption());
        ASSERT_NE(dropDown(c.slot + 1), nullptr);
        EXPECT_TRUE(dropDown(c.slot + 1)->isVisible());
        EXPECT_EQ(dropDown(c.slot + 1)->text(), main().mnu("mnuRTTY", c.slot).caption());
    }
    EXPECT_EQ(slot(3).left(32), QByteArray(reinterpret_cast<const char*>(MMTTYView) + 12692, 32));
}

TEST_F(ProfileDialog, TheBoxTakesThirtyCharactersAndShowsTheLoadedName)
{
    ProfileNames[4] = QString("Field Day") + QChar(0) + QString(22, u' ');
    typed.reset();
    main().mnu("mnuAssignProfile", 4).click();
    EXPECT_EQ(shownName, "Field Day");
    frmAddProfile dialog;
    dialog.Text1->setText(QString(31, u'y'));
    EXPECT_EQ(dialog.Text1->text().size(), 30);
}

TEST_F(ProfileDialog, CancelLeavesEverythingAsItWas)
{
    const QByteArray before = slot(2);
    const QString caption = main().mnu("mnuRTTY", 2).caption();
    const bool visible = main().mnu("mnuRTTY", 2).visible();
    typed.reset();
    main().mnu("mnuAssignProfile", 2).click();
    EXPECT_EQ(slot(2), before);
    EXPECT_EQ(main().mnu("mnuRTTY", 2).caption(), caption);
    EXPECT_EQ(main().mnu("mnuRTTY", 2).visible(), visible);
    EXPECT_TRUE(posts().isEmpty());
}

} // namespace
