#pragma once
// What the two auxiliary receive channel windows share (`Aux1` "Aux Rx Channel 1", `Aux2`
// "Aux Rx Channel 2"): the channel's received text, its PSK mode, AFC, preset retune, readouts,
// its tuning window, and the text's font and colours, all kept in the channel's INI section.
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>

class MenuItem;
class QLabel;
class QLineEdit;
class QTextEdit;
class RichText;
struct AuxChannel;

class AuxWindow : public QMainWindow {
    Q_OBJECT
public:
    ~AuxWindow() override;

    // Loaded windows by channel (1, 2), or null.
    static AuxWindow* existing(int channel);

    int channel() const { return channel_; }
    MenuItem& mnu(const QString& name);
    // The received text as a rich text box.
    RichText& text() { return *rich_; }

    // ---- controls ----
    QTextEdit* AuxText = nullptr;
    QWidget* Statusbar = nullptr;
    QLineEdit* AuxStatusBarIMD = nullptr;
    QLineEdit* AuxStatusBarRFFreq = nullptr;
    QLineEdit* AuxStatusBarAudioFreq = nullptr;
    QLineEdit* AuxStatusbarMode = nullptr;
    QLabel* Label3 = nullptr; // "Reset"
    QLabel* AuxStatusBarAFC = nullptr;

    // ---- events ----
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void Form_Resize();
    // Unloads the window as the program does: query-unload, unload, then the window goes.
    void Unload();
    // Shows it owned by the main window: where it was stored when that lies on a screen, else
    // beside or below the main window.
    void showOwned();

    void AuxText_GotFocus();
    void AuxText_MouseDown(int button, int shift, double X, double Y);
    void AuxText_MouseMove(int button, int shift, double X, double Y);
    void AuxText_MouseUp(int button, int shift, double X, double Y);
    void AuxStatusBarAFC_Click();
    void AuxStatusBarAudioFreq_Click();
    void AuxStatusbarMode_Click();
    void Label3_Click();
    void mnuBPSK_Click();
    void mnuQPSK_Click();
    void mnuQPSKInv_Click();
    void mnuTuningWindow_Click();
    void mnuRxWindowFont_Click();
    void mnuMouseOver_Click();
    void mnuBackColorSetting_Click();
    void mnuClear_Click();
    void mnuClose_Click();

protected:
    AuxWindow(int channel, const QString& caption);
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    const AuxChannel& state() const;
    void buildMenus();
    void buildControls();
    void LoadAuxSettings();
    void ApplyModeSetting(const QString& value);
    void ApplyTuningWindowSetting(const QString& value);
    void ChooseRxWindowFont();
    void SetMode(int mode, const char* item, const QString& shown, const QString& stored);
    void SetAFC(bool on);

    int channel_;
    std::int32_t windowHandle_ = 0;
    std::unique_ptr<RichText> rich_;
    QObject* textEvents_ = nullptr; // goes first when the window is destroyed
    QHash<QString, MenuItem*> menus_;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool storedPlace_ = false; // the section held the window's place when it loaded
    int statusWidth_ = 0;      // pixels the status line's boxes take side by side

    template <class W>
    friend W& LoadAuxWindow(int channel);
    static void adopt(int channel, AuxWindow* window);
};

// Creates a window of type W for `channel` when none is loaded, and loads it.
template <class W>
W& LoadAuxWindow(int channel)
{
    if (auto* w = dynamic_cast<W*>(AuxWindow::existing(channel)))
        return *w;
    auto* w = new W();
    AuxWindow::adopt(channel, w);
    w->Form_Load();
    return *w;
}

// The main window's "Aux 1" / "Aux 2": the channel's window, loaded and shown.
void mnuAux1_Click();
void mnuAux2_Click();
// Unloads a channel's window when it is loaded (the switch to RTTY, shut-down).
void UnloadAuxWindow(int channel);
// The text box of an open channel window, else null.
RichText* AuxTextOf(int channel);
