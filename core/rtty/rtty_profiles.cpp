// The RTTY engine's user profiles: their names from the engine's profile file, and the
// profile menus.
#include "core/rtty/rtty_link.h"

#include "displays/spectrum/scale.h"
#include "platform/system/inifile.h"
#include "platform/system/places.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QAction>
#include <QToolBar>

namespace {

constexpr int kNameWidth = 32;

// The name, a NUL, then blanks to 32 characters.
QString slotText(const QString& name)
{
    QString s = name.left(kNameWidth - 1) + QChar(0);
    return s.leftJustified(kNameWidth, u' ');
}

QAction* dropDownEntry(int entry)
{
    MainWindowControls* w = ExistingMainWindow();
    return w && w->Toolbar ? w->Toolbar->findChild<QAction*>(QStringLiteral("ButtonMenu%1").arg(entry)) : nullptr;
}

void setCaption(MainWindowControls& w, const char* item, int n, const QString& caption)
{
    w.mnu(QString::fromLatin1(item), n).setCaption(caption);
}

} // namespace

void ShowProfileName(int n, const QString& name)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || n < 0 || n > 10)
        return;
    MenuItem& mode = w->mnu(QStringLiteral("mnuRTTY"), n);
    mode.setVisible(true);
    mode.setCaption(name);
    setCaption(*w, "mnuAssignProfile", n, name);
    setCaption(*w, "mnuDeleteProfile", n, name);
    if (QAction* e = dropDownEntry(n + 1)) {
        e->setVisible(true);
        e->setText(name);
    }
}

void LoadRTTYProfiles()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    const QString path = places::programFile(QStringLiteral("UserPara.INI"));
    if (QAction* first = dropDownEntry(1))
        first->setText(QStringLiteral("RTTY 170Hz shift"));
    for (int n = 0; n <= 10; ++n) {
        QString name = ini::read(path, QStringLiteral("Define%1").arg(n), QStringLiteral("Name"), QString(), 3000);
        if (const qsizetype nul = name.indexOf(QChar(0)); nul >= 0)
            name.truncate(nul);
        name = vb::Trim(name);
        if (!name.isEmpty()) {
            ProfileNames[static_cast<size_t>(n)] = slotText(name);
            ShowProfileName(n, name);
            ProfilesAvailable = true;
            continue;
        }
        ProfileNames[static_cast<size_t>(n)] = slotText(QString());
        if (n == 0) {
            ProfilesAvailable = false;
            continue;
        }
        w->mnu(QStringLiteral("mnuRTTY"), n).setVisible(false);
        if (QAction* e = dropDownEntry(n + 1))
            e->setVisible(false);
        setCaption(*w, "mnuAssignProfile", n, QString());
        setCaption(*w, "mnuDeleteProfile", n, QString());
    }
}

void mnuAssignProfile_Click(int index)
{
    ProfileSlot = static_cast<std::int16_t>(index);
    AroundTopmost([] { RttyLinks().ShowAddProfile(); });
}

void mnuDeleteProfile_Click(int index)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || index < 0 || index > 10)
        return;
    if (index == 0) {
        dlg::MsgBox(QStringLiteral("Sorry, you can not delete Profile 0.  The first User defined Profile must be 0.  "
                                   "If you do not want to use any User Defined Profiles, please do the following :"
                                   "\r\n\r\n a) Stop Sondrel\r\n b) Rename or delete UserPara.ini\r\n c) Run Sondrel."),
                    dlg::OKOnly, QStringLiteral("Can't do this"));
        return;
    }
    ProfileNames[static_cast<size_t>(index)] = slotText(QString());
    setCaption(*w, "mnuAssignProfile", index, QString());
    setCaption(*w, "mnuDeleteProfile", index, QString());
    MenuItem& mode = w->mnu(QStringLiteral("mnuRTTY"), index);
    mode.setCaption(QString());
    mode.setVisible(false);
    if (QAction* e = dropDownEntry(index + 1)) {
        e->setVisible(false);
        e->setText(QString());
    }
    PostMMTTY(24, 131072 + index);
}

void mnuLoadProfile_Click()
{
    PostMMTTY(24, 196608);
}

void mnuSaveProfile_Click()
{
    PostMMTTY(24, 262144);
}
