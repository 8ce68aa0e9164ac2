#include "logbook/qso/qso_panel.h"

#include "displays/spectrum/scale.h"
#include "logbook/qso/qso_logging.h"
#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/logbook_windows.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

bool isChecked(const char* menu)
{
    return MainWindow().mnu(QString::fromLatin1(menu)).checked();
}

// Shows a window of the logbook owned by the main window; an "Always on top" main window leaves
// the top-most band while the window is shown.
void showWindow(const std::function<void()>& show)
{
    const bool onTop = isChecked("mnuOnTop");
    if (onTop)
        SetWindowTopmost(false);
    show();
    if (onTop)
        SetWindowTopmost(true);
    MainWindow().TxWindow->setFocus();
}

QString upperCased(const QString& text)
{
    QString s = text;
    for (QChar& c : s)
        c = c.toUpper();
    return s;
}

// The panel's tab order: the call-sign box first, or last once the notes box has had the focus.
void setTabOrder(MainWindowControls& w, bool callsignFirst)
{
    QList<QWidget*> order{w.NameBox, w.QTHBox, w.MyRSTBox, w.HisRSTBox, w.NotesBox, w.BandBox};
    if (callsignFirst)
        order.prepend(w.CallsignBox);
    else
        order.append(w.CallsignBox);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

// Typed letters in the call-sign box become capitals; focus moves of the panel.
class PanelEvents : public QObject {
public:
    explicit PanelEvents(MainWindowControls& w) : QObject(w.Window), w_(w) {}

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        // While the main window is being destroyed its controls are going away one by one.
        if (ExistingMainWindow() != &w_)
            return false;
        if (watched == w_.CallsignBox && e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            const QString upper = upperCased(k->text());
            if (upper != k->text()) {
                QKeyEvent typed(k->type(), k->key(), k->modifiers(), k->nativeScanCode(),
                                k->nativeVirtualKey(), k->nativeModifiers(), upper, k->isAutoRepeat(),
                                k->count());
                QCoreApplication::sendEvent(w_.CallsignBox, &typed);
                return true;
            }
        } else if (e->type() == QEvent::FocusIn) {
            if (watched == w_.CallsignBox)
                setTabOrder(w_, true);
            else if (watched == w_.NotesBox)
                setTabOrder(w_, false);
            else if (watched == w_.RFFrequencyBox)
                w_.TxWindow->setFocus();
        }
        return QObject::eventFilter(watched, e);
    }

private:
    MainWindowControls& w_;
};

} // namespace

void CallsignBox_Change()
{
    MainWindowControls& w = MainWindow();
    const QString call = w.CallsignBox->text();
    if (call.size() < 3) {
        LogbookWindows().UnloadCDDisplay();
        return;
    }
    PreviousQSOCall = call;
    LogbookSearch();
    if (PreviousPageOpen == QLatin1String("True"))
        PreviousQSOPage();
    if (isChecked("mnuAutoCDLookup"))
        LogbookWindows().DoCDLookup();
    // A hidden panel (the Logger fills the box) must not take the keys typed for the transmitter.
    if (w.CallsignBox->isVisible())
        w.CallsignBox->setFocus();
}

void ClearButton_Click()
{
    MainWindowControls& w = MainWindow();
    for (QLineEdit* box : {w.CallsignBox, w.NameBox, w.QTHBox, w.MyRSTBox, w.HisRSTBox, w.NotesBox})
        box->clear();
    // A start time stamped by a macro for a QSO that was not logged must not pass to the next.
    NewQSO[fTimeOn].clear();
    if (PreviousPageOpen == QLatin1String("True"))
        ClearPreviousQSOPage();
    w.TxWindow->setFocus();
}

void LogButton_Click()
{
    LogAndClear();
    MainWindow().TxWindow->setFocus();
}

void PageButton_Click()
{
    showWindow(LogbookWindows().ShowMiniLog);
}

void PreviousButton_Click()
{
    showWindow(LogbookWindows().ShowPreviousPage);
}

void BandBox_Click()
{
    MainWindowControls& w = MainWindow();
    w.TxWindow->setFocus();
    CurrentBand = w.BandBox->currentText();
}

void ConnectQsoPanel(MainWindowControls& w)
{
    auto* events = new PanelEvents(w);
    for (QWidget* box : {static_cast<QWidget*>(w.CallsignBox), static_cast<QWidget*>(w.NotesBox),
                         static_cast<QWidget*>(w.RFFrequencyBox)})
        box->installEventFilter(events);
    setTabOrder(w, true);
    // The band list holds the amateur bands only: a band typed into the box and entered stays
    // in the box without joining the list.
    w.BandBox->setInsertPolicy(QComboBox::NoInsert);

    QObject::connect(w.CallsignBox, &QLineEdit::textChanged, w.Window, [] { CallsignBox_Change(); });
    QObject::connect(w.NameBox, &QLineEdit::textChanged, w.Window, [](const QString& t) { OtherName = t; });
    QObject::connect(w.MyRSTBox, &QLineEdit::textChanged, w.Window, [](const QString& t) { MyRST = t; });
    QObject::connect(w.HisRSTBox, &QLineEdit::textChanged, w.Window, [](const QString& t) { HisRST = t; });
    QObject::connect(w.NotesBox, &QLineEdit::textChanged, w.Window, [](const QString& t) { QSOComment = t; });
    QObject::connect(w.BandBox, &QComboBox::editTextChanged, w.Window, [](const QString& t) { CurrentBand = t; });
    QObject::connect(w.BandBox, &QComboBox::activated, w.Window, [] { BandBox_Click(); });
    QObject::connect(w.LogButton, &QPushButton::clicked, w.Window, [] { LogButton_Click(); });
    QObject::connect(w.ClearButton, &QPushButton::clicked, w.Window, [] { ClearButton_Click(); });
    QObject::connect(w.PageButton, &QPushButton::clicked, w.Window, [] { PageButton_Click(); });
    QObject::connect(w.PreviousButton, &QPushButton::clicked, w.Window, [] { PreviousButton_Click(); });
}
