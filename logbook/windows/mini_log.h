#pragma once
// The Mini-Log window: the newest QSOs of the own call sign in a grid whose cells the operator
// corrects in place (a click opens the editor over the cell; Enter or an arrow key writes it
// back to the logbook at once), with the deletions, the grid's looks and the ADIF/CSV exchange
// in its menus. One instance, loaded on first use, gone when unloaded.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

#include "logbook/windows/logbook_window_settings.h"

class LogbookGridView;
class MenuItem;
class QLineEdit;
class QPushButton;
class QTimer;

class MiniLog : public QMainWindow {
    Q_OBJECT
public:
    // The loaded window, loaded (not shown) on first use.
    static MiniLog& instance();
    static MiniLog* existing();
    ~MiniLog() override;

    MenuItem& mnu(const QString& name);

    // ---- controls ----
    LogbookGridView* LogbookPage = nullptr; // the page: page row r is the table's row r - 1
    QLineEdit* Text1 = nullptr;             // the in-place editor
    QPushButton* Command1 = nullptr;        // progress and cancel of an export or import
    // Set by a click on Command1; the running export reads it between records.
    bool CancelRequested = false;

    // ---- operations ----
    void GridEdit();
    void doUpdate();
    void doLookupRcd();
    void doAddNewRecord();
    void doUpdateRcd();
    void doDatetimeValidity();
    // The editor's maximum length for a column (typing only; 0 for the key column).
    static int EditorMaxLength(int column);
    // MiniLogPage changed: the grid shows it; an open editor stays with its QSO.
    void showPage();
    // Unloads the window as the program does: the settings are written, then the window goes
    // (once a running export or import has ended).
    void Unload();

    // ---- events ----
    void Form_Load();
    void Form_Resize();
    void Form_Deactivate();
    void Form_Unload();
    void LogbookPage_MouseDown(int button);
    void LogbookPage_Click();
    void LogbookPage_Scroll();
    // A key pressed in the editor (VB key code); true when it is swallowed.
    bool Text1_KeyDown(int keyCode);
    // A typed text in the editor: what enters the box (upper case in columns 2 and 4).
    QString Text1_KeyPress(const QString& typed) const;
    void Command1_Click();
    void mnuExit_Click();
    void mnuExportADI_Click();
    void mnuExportCSV_Click();
    void mnuImportADI_Click();
    void mnuDelete_Click();
    void mnuDeleteCallsignQSOs_Click();
    void mnuDeleteLogbook_Click();
    void mnuFont_Click();
    void mnuBackground_Click();
    void mnuEditForeColor_Click();
    void mnuEditBackColor_Click();
    void mnuAppearance_Click();

    // The editor's colours (Windows RGB numbers).
    std::int32_t editBackColor() const { return editBack_; }
    std::int32_t editForeColor() const { return editFore_; }
    void setEditColors(std::int32_t back, std::int32_t fore);

    logwin::StoredGeometry geometryStore;
    bool hasStoredPlace() const { return geometryStore.stored(); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    MiniLog();
    void buildControls();
    void buildMenus();
    void installEditorKeys();
    void hideEditor();
    void commit();
    void move(int row, int column);
    void runTransfer(const std::function<void()>& operation);
    bool transferBusy() const;
    void followTransfer();

    QHash<QString, MenuItem*> menus_;
    std::int32_t windowHandle_ = 0;
    std::int32_t editBack_ = 12648447;
    std::int32_t editFore_ = 255;
    int maxLength_ = 0;       // the editor's typing limit, as last set
    QString editKey_;         // the QSO key of the row the editor is open on
    bool loaded_ = false;
    bool unloaded_ = false;
    bool transferring_ = false;
    bool closePending_ = false;
    QTimer* transferWatch_ = nullptr;
    QObject* editorEvents_ = nullptr;
};

// Reads section "Mini-Log" into the loaded window: geometry, grid look, editor colours.
void MiniLogINISetup();
