#pragma once
// The RTTY engine link: the engine program's start, RTTY selection with a profile, the
// engine's profile names, the RTTY toolbar and menus, the shift reset and the notch marker.
// Commands go to the engine as posts of the registered message "MMTTY" (wParam the code,
// lParam the value).
#include <QString>
#include <cstdint>
#include <functional>

struct MainWindowControls;

struct RttyLinkHooks {
    // Starts a program from a command line ("MMTTY.EXE -m -p"): true, or false with the error
    // number and description.
    std::function<bool(const QString& commandLine, int& errorNumber, QString& description)> StartProcess;
    // Unloads the window of auxiliary channel 1 or 2 (when it is open).
    std::function<void(int channel)> UnloadAuxWindow;
    // Shows the profile naming dialog for ProfileSlot, modally over the main window.
    std::function<void()> ShowAddProfile;
};
RttyLinkHooks& RttyLinks();
// Puts the real hooks back (tests).
void ResetRttyLinks();

// The real process start: "MMTTY.EXE" is our engine, sondrel-rtty beside the program. Waits
// (handling messages, at most waitMs) until the engine's window is there.
bool StartEngineProcess(const QString& commandLine, int& errorNumber, QString& description, int waitMs = 5000);
// Where the engine program is: beside the running program.
QString RttyEngineProgram();
// The program's end of the peer link (the RTTY engine and the Logger connect to it), listening
// from start-up to shut-down.
bool EnsurePeerServer();
// Stops listening (shut-down).
void ClosePeerServer();

// Posts one command to the engine (the result goes to APIResult).
void PostMMTTY(std::int32_t code, std::int32_t value);

void StartRTTYEngine(const QString& logText, const QString& displayName);
void mnuRTTY_Click(int index);
void ResetRTTYShift();
// RTTY notch at a scale position in twips: nothing while the PSK engine is active or outside
// 300..3500 Hz; otherwise the RTTY engine is told the notch frequency and the notch is turned on.
void SetNotchAt(float x);
// The notch marker: shown, and placed with its centre at a scale position in twips.
bool NotchVisible();
void SetNotchVisible(bool visible);
void PlaceNotch(double centreTwips);
void NotchPosition_MouseDown(int button, int shift, float x, float y);
void NotchPosition_Click();

// Profiles ("UserPara.INI" beside the program, sections "Define0".."Define10", key "Name").
void LoadRTTYProfiles();
// Shows a named profile in slot n: the Mode menu entry, the assign and delete captions and the
// toolbar's drop-down entry n + 1 (the profile naming dialog uses it too).
void ShowProfileName(int n, const QString& name);
void mnuAssignProfile_Click(int index);
void mnuDeleteProfile_Click(int index);
void mnuLoadProfile_Click();
void mnuSaveProfile_Click();

// The RTTY toolbar (buttons 1..17, separators included).
void BuildRttyToolbar(MainWindowControls& w);
void Toolbar_ButtonClick(int button);
void Toolbar_ButtonMenuClick(int entry); // 1..11
void SetToolbarButton(int button, bool pressed, const QString& caption);

// The RTTY menus.
void mnuRTTYCommands_Click();
void mnuRTTYNoSmoothing_Click();
void mnuRTTYLittleSmoothing_Click();
void mnuRTTYHeavySmoothing_Click();
void mnuRTTYScopeColor_Click();
void mnuRTTYToolbar_Click();
void mnuRTTYWatchdog_Click();
void mnuWatchdogDelay_Click();
void mnuRTTYWord_Click();

// Attaches the handlers above to the main window's menus, toolbar and notch marker.
void ConnectRttyLink(MainWindowControls& w);
