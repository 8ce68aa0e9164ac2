// Attaches the RTTY link's handlers to the main window: the profile and RTTY menus, the RTTY
// toolbar and the notch marker over the scale.
#include "core/rtty/rtty_link.h"

#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "state/main_window_controls.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

constexpr int kNotchWidthPixels = 7;

int vbButton(Qt::MouseButton b)
{
    return b == Qt::LeftButton ? 1 : b == Qt::RightButton ? 2 : b == Qt::MiddleButton ? 4 : 0;
}

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

// The marker's press and click (a release over it).
class NotchMouse : public QObject {
public:
    explicit NotchMouse(QLabel* marker) : QObject(marker) { marker->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* m = static_cast<QMouseEvent*>(e);
        if (e->type() == QEvent::MouseButtonPress) {
            const QPointF p = m->position();
            NotchPosition_MouseDown(vbButton(m->button()), shiftState(m->modifiers()),
                                    static_cast<float>(twips::fromPixels(qRound(p.x()))),
                                    static_cast<float>(twips::fromPixels(qRound(p.y()))));
            return true;
        }
        if (static_cast<QWidget*>(watched)->rect().contains(m->position().toPoint()))
            NotchPosition_Click();
        return true;
    }
};

} // namespace

void ConnectRttyLink(MainWindowControls& w)
{
    // The design captions; the profile file may rename them.
    w.mnu(QStringLiteral("mnuRTTY"), 0).setCaption(QStringLiteral("RTTY 170Hz shift"));
    w.mnu(QStringLiteral("mnuRTTY"), 0).setVisible(true);
    for (int i = 0; i <= 10; ++i) {
        w.mnu(QStringLiteral("mnuRTTY"), i).setHandler([i] { mnuRTTY_Click(i); });
        MenuItem& assign = w.mnu(QStringLiteral("mnuAssignProfile"), i);
        assign.setCaption(QStringLiteral("Unassigned"));
        assign.setHandler([i] { mnuAssignProfile_Click(i); });
        MenuItem& remove = w.mnu(QStringLiteral("mnuDeleteProfile"), i);
        remove.setCaption(QStringLiteral("Unassigned"));
        remove.setHandler([i] { mnuDeleteProfile_Click(i); });
    }
    const struct {
        const char* name;
        void (*handler)();
    } handlers[] = {
        {"mnuLoadProfile", mnuLoadProfile_Click},
        {"mnuSaveProfile", mnuSaveProfile_Click},
        {"mnuRTTYCommands", mnuRTTYCommands_Click},
        {"mnuRTTYNoSmoothing", mnuRTTYNoSmoothing_Click},
        {"mnuRTTYLittleSmoothing", mnuRTTYLittleSmoothing_Click},
        {"mnuRTTYHeavySmoothing", mnuRTTYHeavySmoothing_Click},
        {"mnuRTTYScopeColor", mnuRTTYScopeColor_Click},
        {"mnuRTTYToolbar", mnuRTTYToolbar_Click},
        {"mnuRTTYWatchdog", mnuRTTYWatchdog_Click},
        {"mnuWatchdogDelay", mnuWatchdogDelay_Click},
        {"mnuRTTYWord", mnuRTTYWord_Click},
    };
    for (const auto& h : handlers)
        w.mnu(QString::fromLatin1(h.name)).setHandler(h.handler);

    BuildRttyToolbar(w);

    auto* notch = new QLabel(w.Graticule);
    notch->setObjectName(QStringLiteral("NotchPosition"));
    notch->setFixedWidth(kNotchWidthPixels);
    notch->setFixedHeight(w.Graticule->height());
    notch->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    notch->hide();
    new NotchMouse(notch);
}
