#pragma once
// The main window as every other part of the program sees it: its controls and its menu items
// by name, one set for the whole program (the window exists once). The main window itself
// (main_window/sondrel.h) builds them, brings the program up and takes it down; no part below
// it includes that header: each reaches the controls it reads or changes here.
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QSplitter;
class QTextEdit;
class QTimer;
class QToolBar;
class MenuItem;
class PictureBox;
class RichText;
class MacroButton;

struct MainWindowControls {
    QMainWindow* Window = nullptr;      // the window itself: owner of dialogs, focus, visibility

    // Menu items by name; indexed items as "mnuRTTY", index.
    MenuItem& mnu(const QString& name);
    MenuItem& mnu(const QString& name, int index);
    bool hasMenu(const QString& name) const { return menus_.contains(name); }

    // ---- display panel (spectrum or waterfall with its scale) and the text windows ----
    QWidget* UpperBackground = nullptr; // holds the display panel and the text windows
    QWidget* Label = nullptr;           // display panel (spectrum or waterfall with its scale)
    PictureBox* Spectrum = nullptr;
    PictureBox* Graticule = nullptr;
    QLabel* Label1000 = nullptr;        // the scale's kHz labels (children of Graticule)
    QLabel* Label2000 = nullptr;
    QLabel* Label3000 = nullptr;
    QLabel* Label4000 = nullptr;
    QSplitter* TextSplitter = nullptr;
    QTextEdit* RxWindow = nullptr;
    QTextEdit* TxWindow = nullptr;
    std::unique_ptr<RichText> Rx;       // rich-text access to RxWindow
    std::unique_ptr<RichText> Tx;       // rich-text access to TxWindow

    // ---- QSO panel ----
    QWidget* vsElastic3 = nullptr;
    QLineEdit* CallsignBox = nullptr;
    QLineEdit* NameBox = nullptr;
    QLineEdit* QTHBox = nullptr;
    QLineEdit* MyRSTBox = nullptr;
    QLineEdit* HisRSTBox = nullptr;
    QLineEdit* NotesBox = nullptr;
    QComboBox* BandBox = nullptr;
    QPushButton* LogButton = nullptr;
    QPushButton* ClearButton = nullptr;
    QPushButton* PageButton = nullptr;
    QPushButton* PreviousButton = nullptr;

    // ---- macro buttons ----
    std::array<QWidget*, 4> Background{}; // [1..3]: the macro button rows
    std::array<MacroButton*, 37> Command1{}; // [1..36]
    QTimer* Timer1 = nullptr;           // macro repeat, 1000 ms, off at start
    QString Tag;                        // the macro button to edit, handed to the macro editor

    // ---- status bar, readouts and the RTTY toolbar ----
    QLineEdit* RFFrequencyBox = nullptr;
    QLineEdit* AudioFreqBox = nullptr;  // receive audio frequency; a click moves the transmitter
    QLineEdit* IMDBox = nullptr;        // IMD readout (RTTY: the shift)
    QLabel* Label3 = nullptr;           // "Reset"
    QLabel* Label4 = nullptr;           // "Abort"
    QLineEdit* FreqHolder = nullptr;    // hidden; the Logger writes into it
    QLabel* TxRxBox = nullptr;          // "Receive" / "Transmit"
    QLabel* DuplexBox = nullptr;        // "Simplex" / "Split"
    QLabel* ModeLabel = nullptr;
    QLabel* AFCBox = nullptr;
    QLabel* NetBox = nullptr;
    QLabel* Image1 = nullptr;           // status light
    QLabel* Image2 = nullptr;           // transmit/receive light
    QPixmap* Red = nullptr;
    QPixmap* Green = nullptr;
    QPixmap* Orange = nullptr;
    QWidget* DummyStatusBar = nullptr;
    QToolBar* Toolbar = nullptr;        // RTTY toolbar

    // Run when the main window is resized; each part that lays itself out adds its step.
    std::function<void()> onResize;

protected:
    // The main window registers itself as it is made and goes with its destruction.
    explicit MainWindowControls(QMainWindow* window);
    ~MainWindowControls();
    MainWindowControls(const MainWindowControls&) = delete;
    MainWindowControls& operator=(const MainWindowControls&) = delete;
    // The window is going: from here on ExistingMainWindow() is null.
    void forgetWindow();

    QHash<QString, MenuItem*> menus_;
};

// The main window, made on first use.
MainWindowControls& MainWindow();
// The main window if it exists, else null.
MainWindowControls* ExistingMainWindow();
// The main window as the owner of a dialog or window; null while there is none.
QWidget* MainWindowWidget();
// How MainWindow() makes the window: installed by the main window's own room when the
// program starts.
void SetMainWindowMaker(MainWindowControls& (*make)());

// Makes the main window lay its panels out again.
void VerticalAdjustLayout();
