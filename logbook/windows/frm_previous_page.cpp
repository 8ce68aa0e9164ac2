#include "logbook/windows/frm_previous_page.h"

#include "displays/spectrum/aux_channels.h"
#include "logbook/store/logbook_page.h"
#include "logbook/windows/logbook_grid_view.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/menuitem.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>

namespace {

QPointer<frmPreviousPage> g_window;

const QString kSection = QStringLiteral("Previous QSOs");

QString read(const char* key, const char* def)
{
    return ReadINI(kSection, QString::fromLatin1(key), QString::fromLatin1(def));
}

std::int16_t whole16(const QString& text, std::int16_t fallback)
{
    const double v = vb::RoundHalfEven(logwin::Number(text, fallback));
    return v >= -32768 && v <= 32767 ? static_cast<std::int16_t>(v) : fallback;
}

} // namespace

frmPreviousPage& frmPreviousPage::instance()
{
    if (g_window)
        return *g_window;
    auto* w = new frmPreviousPage();
    g_window = w;
    w->Form_Load();
    return *w;
}

frmPreviousPage* frmPreviousPage::existing()
{
    return g_window.data();
}

frmPreviousPage::frmPreviousPage()
    : QMainWindow(MainWindowWidget(), Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPreviousPage"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    LogbookPage = new LogbookGridView(PreviousQSOsPage, central);
    // The fixed look: grey header, dark grey selection with red text, silver grid lines.
    LogbookPage->setStyleSheet(QStringLiteral(
        "QTableWidget { gridline-color: #c0c0c0; selection-background-color: #404040; selection-color: #ff0000; }"
        "QHeaderView::section { background-color: #e0e0e0; }"));
    buildMenus();
}

frmPreviousPage::~frmPreviousPage()
{
    if (!unloaded_)
        PreviousPageOpen = QStringLiteral("False"); // gone with its owner, never unloaded
}

MenuItem& frmPreviousPage::mnu(const QString& name)
{
    MenuItem* m = menus_.value(name);
    Q_ASSERT_X(m, "frmPreviousPage::mnu", qPrintable(name));
    return *m;
}

void frmPreviousPage::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const char* name, const QString& caption, std::function<void()> handler) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        menus_.insert(QString::fromLatin1(name), new MenuItem(a, std::move(handler)));
    };
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    item(file, "mnuExit", QStringLiteral("Exit"), [this] { mnuExit_Click(); });
    QMenu* tools = bar->addMenu(QStringLiteral("Toolbox"));
    item(tools, "mnuFont", QStringLiteral("Previous QSOs font"), [this] { mnuFont_Click(); });
    item(tools, "mnuBackground", QStringLiteral("Previous QSOs background"), [this] { mnuBackground_Click(); });
    tools->addSeparator()->setObjectName(QStringLiteral("mnuNothing0"));
    item(tools, "mnuAppearance", QStringLiteral("Reset columns to default width"), [this] { mnuAppearance_Click(); });
    tools->addSeparator()->setObjectName(QStringLiteral("mnuNothing"));
    QMenu* rows = tools->addMenu(QStringLiteral("Rows per Page"));
    rows->menuAction()->setObjectName(QStringLiteral("mnuNumRows"));
    for (std::int16_t n = 5; n <= 9; ++n)
        item(rows, qPrintable(QStringLiteral("mnu%1rows").arg(n)), QStringLiteral(" %1 Rows per Page").arg(n),
             [this, n] { SetupNumRows(n); });
    item(rows, "mnu10rows", QStringLiteral("10 Rows per page"), [this] { SetupNumRows(10); });
    item(tools, "mnuGridLines", QStringLiteral("Show grid lines"), [this] { mnuGridLines_Click(); });
}

void frmPreviousPage::Form_Load()
{
    PreviousPageOpen = QStringLiteral("True");
    setWindowTitle(QStringLiteral("Previous QSOs with ") + PreviousQSOCall);
    doPreviousPageINISetup();
    PreviousQSOsPage.fixedGridLines = 2;
    PreviousQSOsPage.setHeader();
    PreviousQSOsPage.setColumnWidths(PreviousQSOsColumnWidths, PreviousQSOsColumnWidthsStored);
    loaded_ = true;
    PreviousQSOPage();
    Form_Resize();
}

void frmPreviousPage::doPreviousPageINISetup()
{
    geometry_.load(*this, kSection);
    logwin::LoadGridLook(*LogbookPage, kSection);
    SetupNumRows(whole16(read("Logbook Page Rows per Page", "10"), 10));
    // With no stored height (the first start) the window is as high as its rows per page need.
    if (!INIHasKey(kSection, QStringLiteral("Height")))
        fitHeightToRows();
    const std::int16_t grid = whole16(read("Logbook Page Show Grid", "1"), 1);
    LogbookPage->setGridLinesShown(grid != 0);
    PreviousQSOsPage.gridLines = grid;
    mnu(QStringLiteral("mnuGridLines")).setChecked(grid != 0);
}

void frmPreviousPage::showPage()
{
    LogbookPage->showPage();
    if (PreviousQSOsPage.topRow == 1)
        LogbookPage->scrollToFirstRow();
    if (loaded_)
        setWindowTitle(PreviousQSOsPage.caption);
}

void frmPreviousPage::SetupNumRows(std::int16_t rows)
{
    rows_ = rows;
    Form_Resize();
    for (int n = 5; n <= 10; ++n)
        mnu(QStringLiteral("mnu%1rows").arg(n)).setChecked(n == rows);
}

// The rows of the page and its header share the grid's height less what its frame and horizontal
// scroll bar take (220 twips, more where this style's take more), but none is lower than the
// grid's font needs: a window too small for its rows per page scrolls them.
void frmPreviousPage::Form_Resize()
{
    if (!LogbookPage)
        return;
    grid_ = logwin::PlaceGrid(*this, *LogbookPage, kLessHeight, kLessWidth);
    const double shared = (grid_.height() - reservedTwips()) / static_cast<double>(rowsAndHeader());
    const int needed = twips::fromPixels(LogbookPage->neededRowPixels());
    LogbookPage->setRowTwips(std::max(static_cast<int>(vb::RoundHalfEven(shared)), needed));
}

int frmPreviousPage::rowsAndHeader() const
{
    // A rows-per-page value below 1 would divide by zero or less: one row per page then.
    return std::max(rows_ + 1, 2);
}

int frmPreviousPage::reservedTwips() const
{
    return std::max(220, twips::fromPixels(LogbookPage->frameAndScrollBarPixels()));
}

void frmPreviousPage::fitHeightToRows()
{
    const int grid = twips::fromPixels(LogbookPage->neededRowPixels()) * rowsAndHeader() + reservedTwips();
    constexpr int kEdges = 2 * 10;
    const int byOuter = (grid + kEdges + kLessHeight + twips::kPerPixel - 1) / twips::kPerPixel;
    const int byRoom = (grid + kEdges + twips::kPerPixel - 1) / twips::kPerPixel + menuBar()->sizeHint().height();
    resize(width(), std::max(byOuter, byRoom));
}

void frmPreviousPage::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    Form_Resize();
}

void frmPreviousPage::Form_Unload()
{
    if (!SpectrumHold) {
        PreviousPageOpen = QStringLiteral("False");
        WriteINI(kSection, QStringLiteral("Page Loaded"), QStringLiteral("False"));
    } else {
        WriteINI(kSection, QStringLiteral("Page Loaded"), QStringLiteral("True"));
    }
    geometry_.save(*this, kSection);
    WriteINI(kSection, QStringLiteral("Logbook Page Rows per Page"), QString::number(rows_));
    WriteINI(kSection, QStringLiteral("Logbook Page Show Grid"), QString::number(PreviousQSOsPage.gridLines));
    LogbookPage->setColumnTwips(0, 0);
    for (int c = 0; c < LogbookGrid::kColumns; ++c) {
        PreviousQSOsColumnWidths[static_cast<size_t>(c)] = QString::number(LogbookPage->columnTwips(c));
        WriteINI(kSection, QStringLiteral("Column Width %1").arg(c), PreviousQSOsColumnWidths[static_cast<size_t>(c)]);
    }
    PreviousQSOsColumnWidthsStored.fill(true);
}

void frmPreviousPage::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Form_Unload();
    if (g_window == this)
        g_window = nullptr;
    hide();
    deleteLater();
}

void frmPreviousPage::closeEvent(QCloseEvent* e)
{
    e->accept();
    Unload();
}

void frmPreviousPage::mnuExit_Click()
{
    Unload();
}

void frmPreviousPage::mnuFont_Click()
{
    if (logwin::ChooseGridFont(*LogbookPage, kSection))
        Form_Resize(); // another font needs other row heights
}

void frmPreviousPage::mnuBackground_Click()
{
    logwin::ChooseGridBackground(*LogbookPage, kSection);
}

void frmPreviousPage::mnuAppearance_Click()
{
    PreviousQSOsPage.resetColumnWidths();
    LogbookPage->showPage();
    FocusMainTxWindow();
}

void frmPreviousPage::mnuGridLines_Click()
{
    MenuItem& m = mnu(QStringLiteral("mnuGridLines"));
    m.setChecked(!m.checked());
    LogbookPage->setGridLinesShown(m.checked());
    WriteINI(kSection, QStringLiteral("Logbook Page Show Grid"), m.checked() ? QStringLiteral("1") : QStringLiteral("0"));
}
