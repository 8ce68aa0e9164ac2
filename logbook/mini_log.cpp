#include "logbook/mini_log.h"

#include "core/declarations.h"
#include "core/errors.h"
#include "core/sondrel.h"
#include "logbook/database.h"
#include "logbook/datetime_validity.h"
#include "logbook/logbook_grid_view.h"
#include "logbook/logbook_page.h"
#include "logbook/logbook_windows.h"
#include "platform/dialogs.h"
#include "platform/menuitem.h"
#include "platform/text1252.h"
#include "platform/units.h"
#include "settings/inistuff.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace {

QPointer<MiniLog> g_window;

const QString kSection = QStringLiteral("Mini-Log");

// The QSO field of each grid column 2..9.
constexpr QSOField kFields[LogbookGrid::kColumns] = {
    kQSOFieldCount, kQSOFieldCount, fCallsign, fBand, fMode, fRSTSent, fRSTRcvd, fName, fQTH, fNotes};

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

// ---- the one instance ----------------------------------------------------------------------

MiniLog& MiniLog::instance()
{
    if (g_window)
        return *g_window;
    auto* w = new MiniLog();
    g_window = w;
    w->Form_Load();
    return *w;
}

MiniLog* MiniLog::existing()
{
    return g_window.data();
}

MiniLog::MiniLog()
    : QMainWindow(Sondrel::existing(), Qt::Window)
{
    setObjectName(QStringLiteral("MiniLog"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    buildMenus();
}

MiniLog::~MiniLog()
{
    delete editorEvents_;
    editorEvents_ = nullptr;
    if (!unloaded_)
        MiniLogOpen = QStringLiteral("False"); // gone with its owner, never unloaded
}

MenuItem& MiniLog::mnu(const QString& name)
{
    MenuItem* m = menus_.value(name);
    Q_ASSERT_X(m, "MiniLog::mnu", qPrintable(name));
    return *m;
}

void MiniLog::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    LogbookPage = new LogbookGridView(MiniLogPage, central);
    Text1 = new QLineEdit(LogbookPage);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFrame(false);
    Text1->setContextMenuPolicy(Qt::NoContextMenu);
    Text1->setAcceptDrops(false);
    Text1->hide();
    setEditColors(editBack_, editFore_);
    Command1 = new QPushButton(QStringLiteral("Command1"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->resize(twips::toPixels(3735), twips::toPixels(975));
    Command1->hide();
    editorEvents_ = new EditorEvents(this, &maxLength_);

    connect(LogbookPage, &LogbookGridView::gridMouseDown, this, [this](int b) { LogbookPage_MouseDown(b); });
    connect(LogbookPage, &LogbookGridView::gridClick, this, [this] { LogbookPage_Click(); });
    connect(LogbookPage, &LogbookGridView::gridScroll, this, [this] { LogbookPage_Scroll(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    transferWatch_ = new QTimer(this);
    transferWatch_->setInterval(100);
    connect(transferWatch_, &QTimer::timeout, this, [this] { followTransfer(); });
}

void MiniLog::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> handler) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        menus_.insert(QString::fromLatin1(name), new MenuItem(a, std::move(handler)));
    };
    auto line = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QString::fromLatin1(name)); };
    auto menu = [this, bar](const char* caption) {
        QMenu* m = bar->addMenu(QString::fromLatin1(caption));
        connect(m, &QMenu::aboutToShow, this, [this] { followTransfer(); });
        return m;
    };
    QMenu* file = menu("&File");
    item(file, "mnuDeleteLogbook", "Delete complete Logbook", [this] { mnuDeleteLogbook_Click(); });
    item(file, "mnuDeleteCallsignQSOs", "Delete all QSOs for this callsign", [this] { mnuDeleteCallsignQSOs_Click(); });
    line(file, "mnuNothing10");
    item(file, "mnuExit", "Exit", [this] { mnuExit_Click(); });
    QMenu* tools = menu("&ToolBox");
    item(tools, "mnuFont", "Logbook Font", [this] { mnuFont_Click(); });
    item(tools, "mnuBackground", "Logbook background", [this] { mnuBackground_Click(); });
    line(tools, "mnuNothing0");
    item(tools, "mnuEditForeColor", "Edit forecolor", [this] { mnuEditForeColor_Click(); });
    item(tools, "mnuEditBackColor", "Edit backcolor", [this] { mnuEditBackColor_Click(); });
    line(tools, "mnuNothing1");
    item(tools, "mnuAppearance", "Reset columns to defaut", [this] { mnuAppearance_Click(); });
    QMenu* exports = menu("&Export");
    item(exports, "mnuExportADI", "ADI Format", [this] { mnuExportADI_Click(); });
    item(exports, "mnuExportCSV", "CSV Format", [this] { mnuExportCSV_Click(); });
    QMenu* imports = menu("&Import");
    item(imports, "mnuImportADI", "ADI Format", [this] { mnuImportADI_Click(); });
    QAction* del = bar->addAction(QStringLiteral("&Delete"));
    del->setObjectName(QStringLiteral("mnuDelete"));
    menus_.insert(QStringLiteral("mnuDelete"), new MenuItem(del, [this] { mnuDelete_Click(); }));
}

// ---- load and unload -------------------------------------------------------------------------

void MiniLog::Form_Load()
{
    MiniLogOpen = QStringLiteral("True");
    setWindowTitle(QStringLiteral("Logbook for ") + DefaultCallsign + QStringLiteral("."));
    mnu(QStringLiteral("mnuDelete")).setEnabled(false);
    MiniLogINISetup();
    LoadLogbookPage();
    loaded_ = true;
    Form_Resize();
}

void MiniLog::Form_Unload()
{
    if (SpectrumHold) {
        WriteINI(kSection, QStringLiteral("Page Loaded"), QStringLiteral("True"));
    } else {
        MiniLogOpen = QStringLiteral("False");
        WriteINI(kSection, QStringLiteral("Page Loaded"), QStringLiteral("False"));
    }
    geometryStore.save(*this, kSection);
    LogbookPage->setColumnTwips(0, 0);
    for (int c = 0; c < LogbookGrid::kColumns; ++c) {
        MiniLogColumnWidths[static_cast<size_t>(c)] = QString::number(LogbookPage->columnTwips(c));
        WriteINI(kSection, QStringLiteral("Column Width %1").arg(c), MiniLogColumnWidths[static_cast<size_t>(c)]);
    }
}

void MiniLog::Unload()
{
    if (unloaded_)
        return;
    // An export or import works on this window's grid and button: a close waits for its end.
    // At shut-down the settings are written at once and the window goes once the run has ended.
    if (transferBusy() && !SpectrumHold) {
        closePending_ = true;
        followTransfer();
        return;
    }
    unloaded_ = true;
    hideEditor();
    Form_Unload();
    if (g_window == this)
        g_window = nullptr;
    hide();
    if (transferBusy()) {
        closePending_ = true;
        followTransfer();
    } else {
        deleteLater();
    }
}

void MiniLog::closeEvent(QCloseEvent* e)
{
    if (transferBusy() && !SpectrumHold)
        e->ignore();
    else
        e->accept();
    Unload();
}

void MiniLog::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void MiniLog::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
    // A message box of the window's own is no change of window.
    if (e->type() == QEvent::ActivationChange && loaded_ && !isActiveWindow() && !QApplication::activeModalWidget())
        Form_Deactivate();
}

void MiniLog::Form_Resize()
{
    if (LogbookPage)
        logwin::PlaceGrid(*this, *LogbookPage, 700, 150);
}

void MiniLog::Form_Deactivate()
{
    LogbookPage->scrollToFirstRow();
    hideEditor();
    mnu(QStringLiteral("mnuDelete")).setEnabled(false);
}

void MiniLog::showPage()
{
    const QSignalBlocker quiet(LogbookPage);
    LogbookPage->showPage();
    if (Text1->isHidden())
        return;
    // Rows moved under an open editor (a QSO logged meanwhile): the editor goes with its QSO,
    // so the typing is never written into another QSO.
    for (int r = 1; r < LogbookGrid::kRows && !editKey_.isEmpty(); ++r) {
        if (MiniLogPage.cell(r, 0) == editKey_) {
            const int c = LogbookPage->Col();
            LogbookPage->setRowCol(r, c);
            Text1->setGeometry(LogbookPage->cellRect(r, c));
            return;
        }
    }
    hideEditor();
    mnu(QStringLiteral("mnuDelete")).setEnabled(false);
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
        doAddNewRecord();
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

// ---- export, import and their button ----------------------------------------------------------

bool MiniLog::transferBusy() const
{
    return transferring_ || (LogTransfer().Running && LogTransfer().Running());
}

void MiniLog::followTransfer()
{
    if (transferBusy()) {
        menuBar()->setEnabled(false);
        if (!transferWatch_->isActive())
            transferWatch_->start();
        return;
    }
    transferWatch_->stop();
    menuBar()->setEnabled(true);
    if (closePending_) {
        closePending_ = false;
        if (unloaded_)
            deleteLater();
        else
            Unload();
    }
}

void MiniLog::runTransfer(const std::function<void()>& operation)
{
    if (transferBusy())
        return;
    hideEditor();
    mnu(QStringLiteral("mnuDelete")).setEnabled(false);
    CancelRequested = false;
    transferring_ = true;
    menuBar()->setEnabled(false);
    if (operation)
        operation();
    transferring_ = false;
    followTransfer();
}

void MiniLog::Command1_Click()
{
    Command1->hide();
    CancelRequested = true;
}

void MiniLog::mnuExit_Click()
{
    Unload();
}

void MiniLog::mnuExportADI_Click()
{
    runTransfer(LogTransfer().ExportADIF);
}

void MiniLog::mnuExportCSV_Click()
{
    runTransfer(LogTransfer().ExportCSV);
}

void MiniLog::mnuImportADI_Click()
{
    runTransfer(LogTransfer().ImportADIF);
}
