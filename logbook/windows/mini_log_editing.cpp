// The Mini-Log's in-place editor: opening it over a cell, its keys and typing rules, and the
// write-back of an edited cell into the stored QSO, re-keying a QSO whose date or time changed.
#include "logbook/windows/mini_log.h"

#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/datetime_validity.h"
#include "logbook/windows/logbook_grid_view.h"
#include "platform/system/clock.h"
#include "platform/vb/text1252.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

namespace {

// The QSO field of each grid column 2..9.
constexpr QSOField kFields[LogbookGrid::kColumns] = {
    kQSOFieldCount, kQSOFieldCount, fCallsign, fBand, fMode, fRSTSent, fRSTRcvd, fName, fQTH, fNotes};

// The start of a QSO moved from `oldKey` to `newKey` moves by as much, so the QSO keeps its
// length and its start stays on the day the operator put it on. A QSO without a start keeps none,
// and a start that spells no date is left as it is. The shift goes in whole seconds, so the start
// reads as the same text logging gives that second.
QString movedTimeOn(const QString& timeOn, const QString& oldKey, const QString& newKey)
{
    const QDateTime start = QSOKeyDateTime(timeOn);
    if (timeOn.isEmpty() || !start.isValid())
        return timeOn;
    const qint64 shift = std::llround((vb::Val(newKey) - vb::Val(oldKey)) * 86400.0);
    return QSOKeyText(oledate::fromDateTime(start.addSecs(shift)));
}

enum VbKey { kEnter = 13, kEscape = 27, kLeft = 37, kUp = 38, kRight = 39, kDown = 40 };

int vbKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnter;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Left: return kLeft;
    case Qt::Key_Up: return kUp;
    case Qt::Key_Right: return kRight;
    case Qt::Key_Down: return kDown;
    default: return 0;
    }
}

// The editor's keys: the window's key handlers first, then typing with its upper-casing and its
// length limit. The limit holds for typing and pasting only: a longer text that the program puts
// into the box (an imported note) stays whole.
class EditorEvents : public QObject {
public:
    EditorEvents(MiniLog* window, int* maxLength) : QObject(window), w_(window), maxLength_(maxLength)
    {
        w_->Text1->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (const int code = vbKeyCode(k->key()); code && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            if (w_->Text1_KeyDown(code))
                return true;
        if (k->matches(QKeySequence::Paste)) {
            if (const QClipboard* clip = QGuiApplication::clipboard())
                insert(clip->text().split(QLatin1Char('\n')).value(0).remove(QLatin1Char('\r')));
            return true;
        }
        const QString text = k->text();
        if (text.isEmpty() || !text.at(0).isPrint() || (k->modifiers() & Qt::ControlModifier))
            return false;
        insert(w_->Text1_KeyPress(text));
        return true;
    }

private:
    void insert(QString typed)
    {
        QLineEdit* box = w_->Text1;
        if (*maxLength_ > 0) {
            const qsizetype room = *maxLength_ - (box->text().size() - box->selectedText().size());
            typed.truncate(std::max<qsizetype>(room, 0));
        }
        if (!typed.isEmpty())
            box->insert(typed);
    }

    MiniLog* w_;
    int* maxLength_;
};

} // namespace

void MiniLog::installEditorKeys()
{
    editorEvents_ = new EditorEvents(this, &maxLength_);
}

// ---- the grid and its editor -----------------------------------------------------------------

void MiniLog::hideEditor()
{
    Text1->hide();
    editKey_.clear();
}

void MiniLog::setEditColors(std::int32_t back, std::int32_t fore)
{
    editBack_ = back;
    editFore_ = fore;
    QPalette p = Text1->palette();
    p.setColor(QPalette::Base, rgb::toColor(back));
    p.setColor(QPalette::Text, rgb::toColor(fore));
    Text1->setPalette(p);
}

int MiniLog::EditorMaxLength(int column)
{
    static constexpr int kLengths[LogbookGrid::kColumns] = {0, 20, 15, 5, 4, 10, 10, 50, 50, 100};
    return column >= 0 && column < LogbookGrid::kColumns ? kLengths[column] : 0;
}

void MiniLog::LogbookPage_MouseDown(int button)
{
    LogbookPage->GridMouseButton = static_cast<std::int16_t>(button);
}

void MiniLog::LogbookPage_Click()
{
    if (LogbookPage->GridMouseButton != 1 || transferBusy())
        return;
    hideEditor();
    mnu(QStringLiteral("mnuDelete")).setEnabled(false);
    GridEdit();
}

void MiniLog::LogbookPage_Scroll()
{
    hideEditor();
    mnu(QStringLiteral("mnuDelete")).setEnabled(false);
}

void MiniLog::GridEdit()
{
    if (transferBusy())
        return;
    const int row = LogbookPage->Row();
    const int col = LogbookPage->Col();
    if (row < 1)
        return;
    QFont font = Text1->font();
    font.setFamily(LogbookPage->font().family());
    font.setPointSizeF(LogbookPage->font().pointSizeF());
    Text1->setFont(font);
    Text1->setText(MiniLogPage.cell(row, col));
    Text1->setCursorPosition(0);
    Text1->setGeometry(LogbookPage->cellRect(row, col));
    Text1->show();
    Text1->raise();
    Text1->setFocus();
    editKey_ = MiniLogPage.cell(row, 0);
    if (col >= 1) {
        maxLength_ = EditorMaxLength(col);
        if (col == 1)
            mnu(QStringLiteral("mnuDelete")).setEnabled(true);
    }
}

QString MiniLog::Text1_KeyPress(const QString& typed) const
{
    const int col = LogbookPage->Col();
    return col == 2 || col == 4 ? typed.toUpper() : typed;
}

bool MiniLog::Text1_KeyDown(int keyCode)
{
    const int row = LogbookPage->Row();
    const int col = LogbookPage->Col();
    const int caret = Text1->cursorPosition();
    switch (keyCode) {
    case kEnter:
        commit();
        hideEditor();
        mnu(QStringLiteral("mnuDelete")).setEnabled(false);
        return true;
    case kRight:
        if (caret != Text1->text().size() || col >= LogbookGrid::kColumns - 1)
            return false;
        commit();
        move(row, col + 1);
        return true;
    case kLeft:
        if (caret != 0 || col <= 1)
            return false;
        commit();
        move(row, col - 1);
        return true;
    case kUp:
        if (row > 1) {
            commit();
            move(row - 1, col);
        }
        return true; // never passed to the grid
    case kDown:
        if (row < LogbookGrid::kRows - 1) {
            commit();
            move(row + 1, col);
        }
        return true;
    case kEscape:
        hideEditor();
        LogbookPage->setFocus();
        return true;
    default:
        return false;
    }
}

void MiniLog::commit()
{
    if (Text1->text() != MiniLogPage.cell(LogbookPage->Row(), LogbookPage->Col()))
        doUpdate();
}

void MiniLog::move(int row, int column)
{
    LogbookPage->setRowCol(row, column);
    LogbookPage_Click();
}

// ---- write-back ------------------------------------------------------------------------------

void MiniLog::doLookupRcd()
{
    LogbookStatus = LogbookGet(0, VmxGetEqual, MiniLogPage.cell(LogbookPage->Row(), 0), CurrentQSO);
    if (LogbookStatus != VmxOk)
        ShowLogbookError();
}

void MiniLog::doAddNewRecord()
{
    LogbookStatus = LogbookPut(ScratchText, CurrentQSO, VmxAdd);
}

void MiniLog::doUpdateRcd()
{
    LogbookStatus = LogbookPut(LogbookKeyOut, CurrentQSO, VmxReplace);
    if (LogbookStatus != VmxOk) {
        ShowLogbookError();
        return;
    }
    LogbookStatus = VmxFlush(LogbookHandle);
    if (LogbookStatus != VmxOk)
        ShowLogbookError(); // the change may not be on disk: the operator is told
}

void MiniLog::doDatetimeValidity()
{
    const DatetimeCheck check = CheckDatetime(Text1->text());
    if (check.key.isEmpty()) {
        dlg::MsgBox(check.text, dlg::OKOnly, check.title);
        return;
    }
    ScratchText = check.key;
}

void MiniLog::doUpdate()
{
    if (transferBusy())
        return;
    const int row = LogbookPage->Row();
    const int col = LogbookPage->Col();
    if (col == 1) {
        ScratchText.clear();
        doDatetimeValidity();
        if (ScratchText.isEmpty())
            return;
        doLookupRcd();
        if (LogbookStatus != VmxOk)
            return;
        const QString oldKey = MiniLogPage.cell(row, 0);
        const QString timeOn = CurrentQSO[fTimeOn];
        CurrentQSO[fTimeOn] = movedTimeOn(timeOn, oldKey, ScratchText);
        doAddNewRecord();
        if (LogbookStatus != VmxOk)
            CurrentQSO[fTimeOn] = timeOn; // still the QSO as it is stored
        if (LogbookStatus == VmxOk) {
            // Added under the new key first, so the QSO is never missing; a QSO that could not
            // leave its old key stands twice, and the operator must hear of it.
            LogbookStatus = LogbookDelete(oldKey);
            if (LogbookStatus != VmxOk)
                ShowLogbookError();
            LoadLogbookPage();
        } else if (LogbookStatus == VmxDuplicateKey) {
            dlg::MsgBox(QStringLiteral("There is a QSO logged at this exact Date/Time.  Try adding a second to the "
                                       "time and try again"),
                        dlg::OKOnly, QStringLiteral("Duplicate Date/Time"));
        } else {
            ShowLogbookError();
        }
        return;
    }
    if (col < 2 || col >= LogbookGrid::kColumns)
        return;
    doLookupRcd();
    if (LogbookStatus != VmxOk)
        return;
    const QSOField field = kFields[col];
    QString value = vb::Trim(Text1->text());
    if (col <= 6)
        value = value.toUpper();
    CurrentQSO[field] = value;
    const QString key = LogbookKeyOut;
    doUpdateRcd();
    if (LogbookStatus != VmxOk) {
        // The cell shows what the logbook holds after the failure.
        QSORecord held;
        QString indexKey, primaryKey;
        if (LogbookGet(0, VmxGetEqual, key, held, indexKey, primaryKey) == VmxOk)
            LogbookPage->setCell(row, col, held[field]);
        return;
    }
    LogbookPage->setCell(row, col, CurrentQSO[field]);
}

