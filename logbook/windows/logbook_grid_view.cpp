#include "logbook/windows/logbook_grid_view.h"

#include "logbook/store/logbook_page.h"
#include "platform/system/clock.h"
#include "platform/vb/units.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>

namespace {

int vbButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

QTableWidgetItem* itemOf(QTableWidget* table, int row, int column)
{
    QTableWidgetItem* item = table->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
    return item;
}

// The longest texts a column usually shows besides its header.
QStringList usualTexts(int column)
{
    switch (column) {
    case 1: {
        QStringList times;
        for (int m = 1; m <= 12; ++m)
            times << QStringLiteral("28 %1 26  23:58").arg(months::abbrev(m));
        return times;
    }
    case 2: return {QStringLiteral("DL1ABC/P"), QStringLiteral("WB2WWW")};
    case 3: return {QStringLiteral("160")};
    case 4: return {QStringLiteral("BPSK31"), QStringLiteral("QPSK31"), QStringLiteral("RTTY")};
    case 5:
    case 6: return {QStringLiteral("599")};
    default: return {};
    }
}

} // namespace

LogbookGridView::LogbookGridView(LogbookGrid& page, QWidget* parent)
    : QTableWidget(LogbookGrid::kRows - 1, LogbookGrid::kColumns, parent), page_(page)
{
    setObjectName(QStringLiteral("LogbookPage"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (!applyingWidths_ && column >= 0 && column < LogbookGrid::kColumns)
            page_.columnWidths[static_cast<size_t>(column)] = twips::fromPixels(size);
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit gridScroll(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit gridScroll(); });
    applyLook();
    showPage();
}

void LogbookGridView::showPage()
{
    QStringList header;
    for (int c = 0; c < LogbookGrid::kColumns; ++c)
        header << page_.cell(0, c);
    setHorizontalHeaderLabels(header);
    for (int r = 1; r < LogbookGrid::kRows; ++r)
        for (int c = 0; c < LogbookGrid::kColumns; ++c) {
            QTableWidgetItem* item = itemOf(this, r - 1, c);
            if (item->text() != page_.cell(r, c))
                item->setText(page_.cell(r, c));
        }
    for (int c = 0; c < LogbookGrid::kColumns; ++c)
        setColumnTwips(c, page_.columnWidths[static_cast<size_t>(c)]);
    setShowGrid(page_.gridLines != 0);
    widenDefaultColumns();
}

void LogbookGridView::widenDefaultColumns()
{
    // Measured once the grid is shown, in its font and style as shown.
    if (!isVisible())
        return;
    for (int c = 0; c < LogbookGrid::kColumns; ++c) {
        const auto i = static_cast<size_t>(c);
        if (page_.fitColumns[i] && page_.columnWidths[i] > 0)
            setColumnTwips(c, std::max(page_.columnWidths[i], usualTwips(c)));
        page_.fitColumns[i] = false;
    }
}

void LogbookGridView::showEvent(QShowEvent* e)
{
    QTableWidget::showEvent(e);
    widenDefaultColumns();
}

void LogbookGridView::changeEvent(QEvent* e)
{
    QTableWidget::changeEvent(e);
    // The header row is a row of the grid: it shows its captions in the grid's font.
    if (e->type() == QEvent::FontChange)
        horizontalHeader()->setFont(font());
}

void LogbookGridView::widenColumnsToText()
{
    for (int c = 1; c < LogbookGrid::kColumns; ++c) {
        if (isColumnHidden(c))
            continue;
        const int needed = std::max(usualTwips(c), twips::fromPixels(sizeHintForColumn(c) + 1));
        if (columnTwips(c) < needed)
            setColumnTwips(c, needed);
    }
}

int LogbookGridView::usualTwips(int column) const
{
    if (column < 1 || column >= LogbookGrid::kColumns)
        return 0;
    // Measured as the view measures a cell: the item's text in the grid's font with the style's
    // margins, and the grid line beside it.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    int pixels = horizontalHeader()->sectionSizeHint(column);
    for (const QString& text : usualTexts(column)) {
        option.text = text;
        pixels = std::max(pixels, style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width());
    }
    return twips::fromPixels(pixels + 1);
}

void LogbookGridView::setCell(int row, int column, const QString& text)
{
    if (row < 1 || row >= LogbookGrid::kRows || column < 0 || column >= LogbookGrid::kColumns)
        return;
    page_.cell(row, column) = text;
    itemOf(this, row - 1, column)->setText(text);
}

int LogbookGridView::Row() const
{
    return currentRow() + 1;
}

int LogbookGridView::Col() const
{
    return std::max(currentColumn(), 0);
}

void LogbookGridView::setRowCol(int row, int column)
{
    setCurrentCell(std::clamp(row, 1, LogbookGrid::kRows - 1) - 1, std::clamp(column, 0, LogbookGrid::kColumns - 1));
}

QRect LogbookGridView::cellRect(int row, int column) const
{
    const QRect r = visualRect(model()->index(row - 1, column));
    return r.translated(viewport()->pos());
}

int LogbookGridView::columnTwips(int column) const
{
    return page_.columnWidths[static_cast<size_t>(column)];
}

void LogbookGridView::setColumnTwips(int column, int twipsWidth)
{
    if (column < 0 || column >= LogbookGrid::kColumns)
        return;
    const int width = std::clamp(twipsWidth, 0, 1000000);
    page_.columnWidths[static_cast<size_t>(column)] = width;
    applyingWidths_ = true;
    const int pixels = twips::toPixels(width);
    setColumnHidden(column, pixels == 0);
    if (pixels > 0)
        setColumnWidth(column, pixels);
    applyingWidths_ = false;
}

void LogbookGridView::setBackColor(std::int32_t rgb)
{
    backColor_ = rgb;
    applyLook();
}

void LogbookGridView::setTextColor(std::int32_t rgb)
{
    textColor_ = rgb;
    applyLook();
}

void LogbookGridView::setGridLinesShown(bool shown)
{
    page_.gridLines = shown ? 1 : 0;
    setShowGrid(shown);
}

void LogbookGridView::setRowTwips(int twipsHeight)
{
    const int pixels = std::max(1, twips::toPixels(std::max(twipsHeight, 0)));
    verticalHeader()->setDefaultSectionSize(pixels);
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, pixels);
    horizontalHeader()->setFixedHeight(pixels);
}

int LogbookGridView::neededRowPixels() const
{
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this) + 1;
    return std::max(fontMetrics().height() + 2 * margin, horizontalHeader()->sizeHint().height());
}

int LogbookGridView::frameAndScrollBarPixels() const
{
    return 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, horizontalScrollBar());
}

void LogbookGridView::scrollToFirstRow()
{
    page_.topRow = 1;
    verticalScrollBar()->setValue(0);
}

void LogbookGridView::applyLook()
{
    QPalette p = palette();
    p.setColor(QPalette::Base, rgb::toColor(backColor_));
    p.setColor(QPalette::Text, rgb::toColor(textColor_));
    setPalette(p);
}

bool LogbookGridView::viewportEvent(QEvent* e)
{
    // The window handles presses and clicks on cells itself: a press records its button and a
    // left press makes the cell current; the release on the same cell is the click.
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QModelIndex index = indexAt(m->position().toPoint());
        GridMouseButton = static_cast<std::int16_t>(vbButton(m->button()));
        emit gridMouseDown(GridMouseButton);
        pressedCell_ = index.isValid() ? QPoint(index.column(), index.row()) : QPoint(-1, -1);
        if (index.isValid() && m->button() == Qt::LeftButton)
            setCurrentCell(index.row(), index.column());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QModelIndex index = indexAt(m->position().toPoint());
        const bool sameCell = index.isValid() && QPoint(index.column(), index.row()) == pressedCell_;
        pressedCell_ = QPoint(-1, -1);
        if (sameCell)
            emit gridClick();
        return true;
    }
    case QEvent::MouseMove:
        return true;
    default:
        return QTableWidget::viewportEvent(e);
    }
}
