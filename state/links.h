#pragma once
// The program's links to what lies outside the main window: the PSK engine, the logbook and the
// radio control component. Each is a replaceable function so tests can put fakes in their place
// and watch the order of the calls; the program's own are installed by the main window's room.
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>

struct ProgramLinks {
    // logbook
    std::function<QString()> FindCDDrive;
    std::function<void()> OpenLogbook;
    std::function<void()> LoadBands;
    std::function<std::int16_t(std::int32_t handle)> VmxClose;
    // PSK engine
    std::function<std::int32_t()> fnStopSoundCard;
    // radio control component: a late-bound call by member name; arguments by reference
    std::function<QVariant(const QString& member, QVariantList& args)> rig;
    // steps that other parts of the program own
    std::function<void()> LoadDefaultPalette;
    std::function<void()> LoadRTTYProfiles;
    std::function<void()> SetupRadioPort;
    std::function<void()> SetModeFromINI;
    std::function<void()> CloseCaptureFile;
    std::function<void()> UnloadChildWindows; // tuning window, Aux 2, Aux 1, Mini-Log, previous QSOs, callbook window, clock
};

// The links in force; starts with the program's own.
ProgramLinks& Links();
// Puts the program's own links back (tests).
void ResetLinks();
// Installs the program's own links (the main window's room, when the program starts).
void InstallProgramLinks(ProgramLinks (*make)());

// Calls a member of the radio control component, passing arguments by reference.
QVariant RigCall(const QString& member, QVariantList& args);
QVariant RigCall(const QString& member, const QVariant& arg);
QVariant RigCall(const QString& member);
