#pragma once
// The main window. Its load brings the program up and its unload takes it down. It builds the
// controls that the other parts reach through state/main_window_controls.h, attaches their
// handlers, and installs the program's own links into their tables.
#include <QMainWindow>
#include <memory>

#include "state/main_window_controls.h"

class ComObject;

class Sondrel : public QMainWindow, public MainWindowControls {
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

    // The radio control component, hosted on the main window until the shut-down ends it.
    std::unique_ptr<ComObject> rigObject_;
    ComObject* RigControl = nullptr;    // the radio control component, when it could be loaded
    QString RigControlError;            // why it could not be loaded

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

    bool loaded_ = false;
    bool unloaded_ = false;
    bool startupEndedEarly_ = false;
    int exitCode_ = 0;
    bool starting_ = false;       // inside Form_Load
    bool closeRequested_ = false; // closed while starting: shut down when start-up ends
};
