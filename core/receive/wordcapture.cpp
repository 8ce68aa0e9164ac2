#include "core/receive/wordcapture.h"

#include "core/receive/rx_links.h"
#include "platform/vb/text1252.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTextEdit>

namespace {

constexpr QChar kSlashedZero(216);

// The highlighted word, shared by every receive window: where it is and the colour it had.
struct Highlight {
    QPointer<QTextEdit> window;  // the window holding the highlight
    int start = 0;               // 1-based, 0 when none
    int end = 0;
    std::int32_t savedColour = 0;
    QPointer<QTextEdit> captured; // the receive window that holds the pointer
};

Highlight& highlight()
{
    static Highlight h;
    return h;
}

bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == '/'
           || c == kSlashedZero;
}

void recolour(QTextEdit* edit, int start, int end, std::int32_t colour)
{
    RichText window(edit);
    window.setSelection(start - 1, end - start + 1);
    window.setSelColor(colour);
    window.setSelLength(0);
}

bool mouseOverOn()
{
    MainWindowControls* w = ExistingMainWindow();
    return w && w->mnu(QStringLiteral("mnuRxwindowMouseover")).checked();
}

// Only a three-digit number from 101 to 599 is a signal report.
bool isReport(const QString& word)
{
    if (word.size() != 3)
        return false;
    for (const QChar c : word)
        if (!c.isDigit() || c.unicode() > '9')
            return false;
    const int value = word.toInt();
    return value > 100 && value < 600;
}

} // namespace

void ResetWordHighlight()
{
    Highlight& h = highlight();
    if (h.start > 0 && h.window)
        recolour(h.window, h.start, h.end, h.savedColour);
    WordUnderMouse.clear();
    h.start = h.end = 0;
    h.window = nullptr;
}

QString RichWordOver(RichText& window, double X, double Y, std::int32_t overColour, std::int32_t)
{
    Highlight& h = highlight();
    QTextEdit* edit = window.edit();
    const int x = static_cast<int>(X) / twips::kPerPixel;
    const int y = static_cast<int>(Y) / twips::kPerPixel;
    const double width = twips::fromPixels(edit->width());
    const double height = twips::fromPixels(edit->height());
    if (X < 0 || Y < 0 || X > width - kRightMarginTwips || Y > height) {
        if (h.captured == edit)
            h.captured = nullptr;
        ResetWordHighlight();
        return QString();
    }
    if (h.captured != edit)
        h.captured = edit;

    const QPoint inViewport = QPoint(x, y) - edit->viewport()->pos();
    const int p = window.charFromPoint(inViewport);
    if (p < 1)
        return QString();
    const QString text = window.text();
    // 1-based positions: the scan starts at the character just before the one under the pointer.
    int first = p;
    int last = p;
    if (p > text.size() || !isWordChar(text.at(p - 1))) {
        ResetWordHighlight();
        return QString();
    }
    while (first > 1 && isWordChar(text.at(first - 2)))
        --first;
    while (last < text.size() && isWordChar(text.at(last)))
        ++last;
    if (last <= p) {
        ResetWordHighlight();
        return QString();
    }
    QString word = text.mid(first - 1, last - first + 1);
    if (mouseOverOn() && (last != h.end || h.window != edit) && h.captured == edit) {
        if (h.start > 0 && h.window)
            recolour(h.window, h.start, h.end, h.savedColour);
        window.setSelection(first - 1, 1);
        h.savedColour = window.selColor();
        recolour(edit, first, last, overColour);
        h.window = edit;
        h.start = first;
        h.end = last;
    }
    word.replace(kSlashedZero, u'0');
    return word;
}

void TrackWordUnderMouse(RichText& window, double X, double Y, std::int32_t overColour, std::int32_t textColour)
{
    const QString word = RichWordOver(window, X, Y, overColour, textColour);
    if (word != WordUnderMouse)
        WordUnderMouse = word;
}

void UseSelectedString()
{
    if (WordUnderMouse.isEmpty())
        return;
    MainWindowControls* w = ExistingMainWindow();
    MenuItem* miniLog = w ? &w->mnu(QStringLiteral("mnuMiniLog")) : nullptr;
    const bool ownBoxes = miniLog && miniLog->enabled() && miniLog->checked();
    const QString word = WordUnderMouse;
    if (isReport(word)) {
        MyRST = word;
        if (ownBoxes)
            w->MyRSTBox->setText(word);
        else
            RxLinks().SendToLogger(QStringLiteral("MyRST=") + word);
    } else if (WordClickMode == 2) {
        QString name = vb::Trim(word).toLower();
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        OtherName = name;
        if (ownBoxes)
            w->NameBox->setText(name);
        else
            RxLinks().SendToLogger(QStringLiteral("COMMENTS=") + name);
    } else if (word.size() >= 3) {
        const QString call = word.toUpper();
        PreviousQSOCall = call;
        if (ownBoxes)
            w->CallsignBox->setText(call);
        else
            RxLinks().SendToLogger(QStringLiteral("CALLSIGN=") + call);
    }
    WordUnderMouse.clear();
}

void RxWindow_MouseMove(int, int, double X, double Y)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w || w->Rx->selLength() >= 2)
        return;
    if (!MouseOverSuppressed)
        TrackWordUnderMouse(*w->Rx, X, Y, MouseOverColor, w->Rx->selColor());
    if (w->RxWindow->viewport()->cursor().shape() != Qt::ArrowCursor)
        w->RxWindow->viewport()->setCursor(Qt::ArrowCursor);
}

void RxWindow_MouseDown(int button, int, double, double)
{
    MouseOverSuppressed = true;
    WordClickMode = static_cast<std::int16_t>(button);
    RxLinks().BreakMacroLoop();
}

void RxWindow_MouseUp(int, int, double, double)
{
    MouseOverSuppressed = false;
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    RichText& rx = *w->Rx;
    if (rx.selLength() != 0) {
        if (QClipboard* clip = QGuiApplication::clipboard()) {
            clip->clear();
            clip->setText(rx.selText());
        }
        rx.setSelLength(1);
    }
    if (!WordUnderMouse.isEmpty())
        UseSelectedString();
    w->TxWindow->setFocus();
}

void RxWindow_GotFocus()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->TxWindow->setFocus();
}

namespace {

class RxWindowEvents : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        MainWindowControls* w = ExistingMainWindow();
        if (!w)
            return false;
        if (watched == w->RxWindow && e->type() == QEvent::FocusIn) {
            RxWindow_GotFocus();
            return false;
        }
        if (watched != w->RxWindow->viewport())
            return false;
        const QPoint offset = w->RxWindow->viewport()->pos();
        switch (e->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto* m = static_cast<QMouseEvent*>(e);
            const QPoint p = m->position().toPoint() + offset;
            const double X = twips::fromPixels(p.x());
            const double Y = twips::fromPixels(p.y());
            const int shift = vbShift(m->modifiers());
            if (e->type() == QEvent::MouseMove)
                RxWindow_MouseMove(vbButton(m->buttons()), shift, X, Y);
            else if (e->type() == QEvent::MouseButtonPress)
                RxWindow_MouseDown(vbButton(m->button()), shift, X, Y);
            else
                RxWindow_MouseUp(vbButton(m->button()), shift, X, Y);
            break;
        }
        case QEvent::Leave:
            // Leaving the window is a move outside it.
            RxWindow_MouseMove(0, 0, -1, -1);
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void ConnectRxWindowMouse()
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    auto* filter = new RxWindowEvents(w->RxWindow);
    w->RxWindow->viewport()->setMouseTracking(true);
    // The right button takes a name: no menu may take its press or the release that ends the
    // hold on received text.
    w->RxWindow->setContextMenuPolicy(Qt::PreventContextMenu);
    w->RxWindow->viewport()->installEventFilter(filter);
    w->RxWindow->installEventFilter(filter);
}
