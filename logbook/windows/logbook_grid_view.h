#pragma once
// The grid control of the two logbook windows: a table that shows one LogbookGrid (row 0 of the
// page is the table's own header, so page row r is table row r - 1), with column widths kept in
// twips, the look the windows store (font, text and background colours, grid lines) and the
// button of the last mouse press on a cell.
#include <QTableWidget>
#include <array>
#include <cstdint>

struct LogbookGrid;

class LogbookGridView : public QTableWidget {
    Q_OBJECT
public:
    LogbookGridView(LogbookGrid& page, QWidget* parent);

    LogbookGrid& page() { return page_; }
    // Shows the page: the header row, every cell, the column widths and the grid lines. A column
    // at its default width is first widened to its usual text (fitColumns of the page).
    void showPage();
    // One cell of the page, in the page and on screen (row 1..20).
    void setCell(int row, int column, const QString& text);

    // The current cell in page rows (1..20) and columns (0..9).
    int Row() const;
    int Col() const;
    void setRowCol(int row, int column);
    // The cell's place in the control's coordinates.
    QRect cellRect(int row, int column) const;

    // The width in twips a column needs in the grid's font for its header and its longest usual
    // text (a date and time, a call sign, a mode); 0 for the key column.
    int usualTwips(int column) const;
    // Column widths in twips; a width the operator drags is taken into the page.
    int columnTwips(int column) const;
    void setColumnTwips(int column, int twipsWidth);
    // Every shown column at least as wide as its header, its cells and its usual text need in the
    // grid's font (after the operator chose another font); none is made narrower.
    void widenColumnsToText();

    // The stored look.
    std::int32_t backColor() const { return backColor_; }
    void setBackColor(std::int32_t rgb);
    std::int32_t textColor() const { return textColor_; }
    void setTextColor(std::int32_t rgb);
    void setGridLinesShown(bool shown);
    // Every row, the header included, this many twips high.
    void setRowTwips(int twipsHeight);
    // The height in pixels a row and the header need to show their text whole in the grid's font.
    int neededRowPixels() const;
    // What the grid's frame and its horizontal scroll bar take of its height, in pixels.
    int frameAndScrollBarPixels() const;
    void scrollToFirstRow();

    // The button of the last press on a cell (1 left, 2 right, 4 middle), 0 before any.
    std::int16_t GridMouseButton = 0;

signals:
    // A press on a cell (any button) and the click that ends it.
    void gridMouseDown(int button);
    void gridClick();
    // The grid scrolled (either scroll bar).
    void gridScroll();

protected:
    bool viewportEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void applyLook();
    // The columns of the page's fitColumns at least as wide as their usual text, once shown.
    void widenDefaultColumns();

    LogbookGrid& page_;
    std::int32_t backColor_ = 16777215;
    std::int32_t textColor_ = 0;
    bool applyingWidths_ = false;
    QPoint pressedCell_{-1, -1};
};
