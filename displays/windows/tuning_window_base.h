#pragma once
// What the three tuning windows share: a zoomed spectrum around the channel's frequency
// (`ScopePic`, whose picture is its own off-screen buffer), a phase scope (`VectorScope`), a
// signal-level bar (`Receive`) with its squelch line (`SqSetting`) and the two fills the bar is
// painted from, and the IMD readout. The engine tick draws into them through the surfaces
// registered at load; this class owns the window, its position and its clicks.
#include <QString>
#include <QWidget>
#include <cstdint>

class PictureBox;
class QFrame;
class QLabel;

class TuningWindowBase : public QWidget {
    Q_OBJECT
public:
    // Picture sizes in pixels (the level bar's Y runs 0..64 from the top; the zoomed spectrum
    // shows 65 bins, two pixels each).
    static constexpr int kScopeWidth = 130, kScopeHeight = 60;
    static constexpr int kVectorSize = 60;
    static constexpr int kBarWidth = 16, kBarHeight = 65;

    int channel() const { return channel_; }
    const QString& section() const { return section_; }

    PictureBox* ScopePic = nullptr;
    PictureBox* VectorScope = nullptr;
    PictureBox* Receive = nullptr;
    PictureBox* RedFiller = nullptr;    // never shown: the bar is painted from them
    PictureBox* YellowFiller = nullptr;
    QFrame* SqSetting = nullptr;        // the squelch line across the bar
    QLabel* IMD = nullptr;
    QLabel* Label2 = nullptr;

    // Loaded windows by channel (0 main, 1, 2), or null.
    static TuningWindowBase* existing(int channel);

    void Form_Load();
    void Form_Activate();
    virtual void Form_Unload() = 0;
    // Unloads the window as the program does: its unload handler, then the window goes.
    void Unload();

    // Sets the squelch line and the channel's squelch from a line position in the bar.
    virtual void doSquelchSetting(std::int16_t Y) = 0;
    // A click in the bar (Y in twips) sets the squelch there.
    void Receive_MouseDown(int button, int shift, double X, double Y);
    // A click in the zoomed spectrum (X in twips) retunes the channel.
    virtual void ScopePic_MouseDown(int button, int shift, double X, double Y) = 0;
    // Reads "Tuning Window Top" and "Tuning Window Left" of the window's section.
    void LoadWindowPosition();
    // Shows the window owned by the main window: at its stored place when that lies on a
    // screen, else beside or below the main window, wholly on its screen.
    void showOwned();

    // The squelch line's position in the bar, as last placed.
    double squelchLineY() const { return lineY_; }
    // Moves the line only.
    void placeSquelchLine(double Y);

protected:
    TuningWindowBase(int channel, const QString& caption, const QString& section, QWidget* owner);
    ~TuningWindowBase() override;
    // Step 5 and 6 of the load, which differ between the main and the auxiliary windows.
    virtual void loadSquelch() = 0;
    virtual void loadScopes() = 0;
    // Writes the position to the window's section.
    void writePosition();

    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void registerSurfaces();
    void forgetSurfaces();

    int channel_;
    QString section_;
    double lineY_ = 0;
    bool unloaded_ = false;
    bool storedPlace_ = false; // the section held the window's place when it loaded
};

// Creates a window of type W for channel `channel` when none is loaded, and loads it.
template <class W>
W& LoadTuningWindow(int channel);

// Implementation detail of LoadTuningWindow.
void AdoptTuningWindow(int channel, TuningWindowBase* window);

template <class W>
W& LoadTuningWindow(int channel)
{
    if (auto* w = dynamic_cast<W*>(TuningWindowBase::existing(channel)))
        return *w;
    auto* w = new W();
    AdoptTuningWindow(channel, w);
    w->Form_Load();
    return *w;
}
