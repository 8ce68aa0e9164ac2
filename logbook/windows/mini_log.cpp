// The Mini-Log window: its one instance, controls and menus, load and unload, and the guard that
// keeps a running export or import safe.
#include "logbook/windows/mini_log.h"

#include "logbook/exchange/import_export.h"
#include "logbook/store/database.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "logbook/windows/logbook_windows.h"
#include "platform/vb/units.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

namespace {

QPointer<MiniLog> g_window;

const QString kSection = QStringLiteral("Mini-Log");

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

// A tool window: the window system keeps it above the main window that owns it and takes it
// down with it (a plain window would be told no owner).
MiniLog::MiniLog()
    : QMainWindow(MainWindowWidget(), Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
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
    installEditorKeys();

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
    MiniLogColumnWidthsStored.fill(true);
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
    // The page reloaded for another call sign: the caption names it.
    if (!MiniLogPage.caption.isEmpty())
        setWindowTitle(MiniLogPage.caption);
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
    CancelLogTransfer();
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
