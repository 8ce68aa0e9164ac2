
#include "core/modes/modeselection.h"
#include "core/radio/ptt.h"
#include "core/receive/wordcapture.h"
#include "platform/widgets/menuitem.h"
#include "state/main_window_controls.h"

#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace {

// A label that acts on a click: its mouse-up handler first, then its click handler.
class LabelClicks : public QObject {
public:
    LabelClicks(QLabel* label, std::function<void()> click, std::function<void()> mouseUp = {})
        : QObject(label), click_(std::move(click)), mouseUp_(std::move(mouseUp))
    {
        label->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // A label takes the press so that the release comes back to it.
        if (e->type() == QEvent::MouseButtonPress)
            return true;
        if (e->type() != QEvent::MouseButtonRelease)
            return false;
        auto* label = static_cast<QLabel*>(watched);
        const auto* m = static_cast<QMouseEvent*>(e);
        if (mouseUp_)
            mouseUp_();
        if (m->button() == Qt::LeftButton && label->rect().contains(m->position().toPoint()))
            click_();
        return false;
    }

private:
    std::function<void()> click_;
    std::function<void()> mouseUp_;
};

} // namespace

void ConnectReceiveRoad(MainWindowControls& w)
{
    w.mnu(QStringLiteral("mnuBPSK")).setHandler(mnuBPSK_Click);
    w.mnu(QStringLiteral("mnuQPSK")).setHandler(mnuQPSK_Click);
    w.mnu(QStringLiteral("mnuQPSKInv")).setHandler(mnuQPSKInv_Click);
    w.mnu(QStringLiteral("mnuTune")).setHandler(mnuTune_Click);
    w.mnu(QStringLiteral("mnuPTTOptions")).setHandler(mnuPTTOptions_Click);
    new LabelClicks(w.ModeLabel, ModeBox_Click);
    new LabelClicks(w.AFCBox, AFCBox_Click, AFCBox_MouseUp);
    new LabelClicks(w.NetBox, NetBox_Click);
    ConnectRxWindowMouse();
}
