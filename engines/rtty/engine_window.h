#pragma once
// The RTTY engine's window: registered under the title the shared block gives ("MMTTY
// Engine"), it takes the program's commands (registered message "MMTTY") and posts the
// engine's notifications to the window that said hello.
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

#include "engines/rtty/engine.h"
#include "platform/processes/winmsg.h"

namespace rtty {

class EngineView;
class SetupWindow;

class EngineWindow : public QObject {
    Q_OBJECT
public:
    // block: the shared block (its title field names the window); profiles: the profile file.
    EngineWindow(unsigned char* block, const QString& profiles, QObject* parent = nullptr);
    ~EngineWindow() override;

    // Registers the window; 0 when no handle was free.
    win::WinHandle open();
    win::WinHandle handle() const { return handle_; }
    RttyEngine& engine() { return *engine_; }
    // The window the notifications go to (0 until the hello).
    win::WinHandle programWindow() const { return program_; }
    // Starts the sound on the set-up's device (again, when it was running); 0 or an error code.
    int startSound();
    // What the engine told the operator, oldest first.
    QStringList messages() const { return messages_; }
    // The engine's own window and its set-up window (null without widgets).
    EngineView* view() const { return view_.get(); }
    SetupWindow* setupWindow() const { return setup_.get(); }
    void showSetup();

signals:
    // The program said hello (command 0): someone listens now.
    void greeted();
    // The program said quit (command 2).
    void quitRequested();

private:
    std::optional<std::intptr_t> onMessage(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);

    unsigned char* block_;
    std::uint32_t message_;
    std::atomic<win::WinHandle> program_{0};
    win::WinHandle handle_ = 0;
    win::MessageHook hook_;
    void addMessage(const QString& text);
    void applySetup(const EngineSetup& s);

    std::unique_ptr<RttyEngine> engine_;
    std::unique_ptr<EngineView> view_;
    std::unique_ptr<SetupWindow> setup_;
    QStringList messages_;
    bool soundStarted_ = false;
};

// The title kept in the shared block's title field, or "MMTTY Engine" without a block.
QString EngineTitle(const unsigned char* block);

} // namespace rtty
