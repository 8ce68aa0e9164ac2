#pragma once
// The main window. Its load brings the program up and its unload takes it down; every other
// part reaches its controls through its one instance.
#include <QMainWindow>
#include <QHash>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTextEdit;
class QTimer;
class QToolBar;
class QAction;
class QMenu;
class MenuItem;
class PictureBox;
class RichText;
class MacroButton;
class ComObject;

class Sondrel : public QMainWindow {
    Q_OBJECT
public:
    // The one main window, created on first use.
    static Sondrel& instance();
    // The main window if it exists, else null.
    static Sondrel* existing();
    // Destroys the main window (tests start each case with a fresh one).
    static void destroyInstance();

    ~Sondrel() override;

    // Start-up; false when it ended early (second instance, shared block failure), in which case
    // the window is unloaded and nothing was started, or when the window was closed while it ran
    // (it is then unloaded by the normal shut-down once start-up is done).
    bool Form_Load();
    void Form_QueryUnload();
    void Form_Terminate();
    // Shut-down; runs once.
    void Form_Unload();
    void Form_Resize();
    bool loaded() const { return loaded_; }
    bool unloaded() const { return unloaded_; }
    // The process's exit status when start-up ended early: 0 for a second instance, 1 when the
    // program folder cannot be written.
    int startupExitCode() const { return exitCode_; }

    // Menu items by name; indexed items as "mnuRTTY", index.
    MenuItem& mnu(const QString& name);
    MenuItem& mnu(const QString& name, int index);
    bool hasMenu(const QString& name) const { return menus_.contains(name); }

    // ---- controls ----
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
    std::unique_ptr<ComObject> rigObject_;

    QWidget* vsElastic3 = nullptr;      // QSO panel
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

    std::array<QWidget*, 4> Background{}; // [1..3]: the macro button rows
    std::array<MacroButton*, 37> Command1{}; // [1..36]

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
    QTimer* Timer1 = nullptr;           // macro repeat, 1000 ms, off at start
    ComObject* RigControl = nullptr;    // the radio control component, when it could be loaded
    QString RigControlError;            // why it could not be loaded
    QString Tag;                        // the macro button to edit, handed to the macro editor

    // Hooks for the parts of the program that build on the main window (drawing, engines, ...).
    std::function<void()> onResize;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;

private:
    Sondrel();
    void buildControls();
    void buildMenus();
    void buildQsoPanel(QWidget* parent);
    void buildMacroRows(QWidget* parent);
    void buildStatusBar();

    QHash<QString, MenuItem*> menus_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool startupEndedEarly_ = false;
    int exitCode_ = 0;
    bool starting_ = false;       // inside Form_Load
    bool closeRequested_ = false; // closed while starting: shut down when start-up ends
};
