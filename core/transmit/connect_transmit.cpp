// The transmit road's handlers on the main window: the transmit window's keys, pastes and
// mouse, its change, and the "Transmit"/"Receive" and "Abort" labels.

#include "core/transmit/switchover.h"
#include "core/transmit/transmit.h"
#include "core/transmit/txtyping.h"
#include "core/transmit/txwindow.h"
#include "displays/spectrum/click_filter.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

// Runs a handler when the left mouse button is released over a label.
class ReleaseFilter : public QObject {
public:
    ReleaseFilter(QObject* parent, std::function<void()> onClick) : QObject(parent), onClick_(std::move(onClick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            onClick_();
            return true;
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onClick_;
};

void onClick(QLabel* label, std::function<void()> handler)
{
    label->installEventFilter(new ReleaseFilter(label, std::move(handler)));
}

} // namespace

void ConnectTransmitRoad(MainWindowControls& w)
{
    // A fresh window: nothing typed, receive windows running.
    TxSentMark = 0;
    RxFreeze = false;
    ResetSwitchOver();

    if (auto* tx = qobject_cast<TxTextEdit*>(w.TxWindow)) {
        tx->onKey = [](const TxKey& key) { return TxWindowKey(key); };
        tx->onPaste = [](const QString& text) { TxWindowPaste(text); };
        tx->onMouseDown = [] { TxWindow_MouseDown(); };
        tx->onMouseUp = [] { TxWindow_MouseUp(); };
    }
    // A change of length runs the change handler (colour-only changes do not).
    QObject::connect(w.TxWindow, &QTextEdit::textChanged, w.TxWindow, [] {
        MainWindowControls* main = ExistingMainWindow();
        if (main && main->Tx && main->Tx->length() != TxSentMark)
            TxWindow_Change();
    });
    onClick(w.TxRxBox, [] { TxRxBox_Click(); });
    ClickFilter::attach(w.Label4)->onClick = Label4_Click;
}
