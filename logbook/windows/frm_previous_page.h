#pragma once
// The previous-QSO window: up to 20 logged QSOs with the call sign being entered, of every
// operator, refilled as the call sign changes. Its look, rows per page and column widths are
// kept in section "Previous QSOs". One instance, loaded on first use, gone when unloaded.
#include <QHash>
#include <QMainWindow>
#include <cstdint>

#include "logbook/windows/logbook_window_settings.h"

class LogbookGridView;
class MenuItem;

class frmPreviousPage : public QMainWindow {
    Q_OBJECT
public:
    static frmPreviousPage& instance();
    static frmPreviousPage* existing();
    ~frmPreviousPage() override;

    MenuItem& mnu(const QString& name);

    LogbookGridView* LogbookPage = nullptr;

    // PreviousQSOsPage changed: the grid and the caption show it.
    void showPage();
    void doPreviousPageINISetup();
    void SetupNumRows(std::int16_t rows);
    std::int16_t rowsPerPage() const { return rows_; }
    // The grid's size in twips as the last layout made it.
    QSize gridTwips() const { return grid_; }
    // Whether its settings held a place for the window.
    bool hasStoredPlace() const { return geometry_.stored(); }
    void Unload();

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void mnuExit_Click();
    void mnuFont_Click();
    void mnuBackground_Click();
    void mnuAppearance_Click();
    void mnuGridLines_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    frmPreviousPage();
    void buildMenus();
    int rowsAndHeader() const;
    int reservedTwips() const;
    // The window as high as the header and its rows per page need in the grid's font.
    void fitHeightToRows();

    // What the window's height and width have that its grid does not, in twips.
    static constexpr int kLessHeight = 680, kLessWidth = 130;

    QHash<QString, MenuItem*> menus_;
    logwin::StoredGeometry geometry_;
    std::int16_t rows_ = 10;
    QSize grid_;
    bool loaded_ = false;
    bool unloaded_ = false;
};
