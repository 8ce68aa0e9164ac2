#pragma once
// Program-wide state, shared by every part of the program (one user-interface thread).
// Each group is owned by the part named in its heading; others read it directly.
#include <QString>
#include <array>
#include <cstdint>



// ---- Start-up, shut-down and the main window ---------------------------------------------
extern QString ProgramVersion;            // "1.24"
extern bool SpectrumHold;                 // closing and hold flag; never reset once closing
extern std::int32_t MainWindowHandle;
extern std::int32_t APIResult;            // scratch result of engine, component and box calls
extern std::int32_t SplitOffset;          // Hz; 0 simplex
extern std::int32_t WordOverX, WordOverY; // word-capture mouse position
extern std::int32_t XYScopeColor;
extern bool ProfilesAvailable;
extern QString PendingQSYFrequency;       // "0": no click-to-QSY pending
extern std::int32_t MarkerWidth;
extern std::int32_t SpectrumSensitivity, SmallSpectrumSensitivity;
extern double FFTBinHz;                   // 8000 / 2047
extern std::int32_t SpectrumScale;        // spectrum divisor
extern double ScaleWidth;                 // twips per spectrum bin, 5..15
extern double HzPerTwip;                  // FFTBinHz / ScaleWidth
extern std::int32_t FFTModeParam1, FFTModeParam3;
extern QString SidebandOrientation;       // "Normal" or "Reverse"
extern bool CaptureFileOpen;
extern std::int32_t DisplayHeight;        // twips
extern QString CDDrive;
extern QString LogbookAccessCode;   // the logbook's fixed access string

// ---- Messages and engines -------------------------------------------------------------------
extern std::uint32_t SoundCardMessage;    // registered "SoundCard"
extern std::uint32_t MMTTYMessage;        // registered "MMTTY"
extern bool PSKModeActive;
extern std::int32_t PSKMode;              // 0 BPSK, 1 QPSK, 2 QPSK-I, 3 Tune, 4 RTTY
extern bool TxActive;
extern std::int32_t PSKDLLVersion;
extern QString ModeName;                  // [Mode] "Mode"
extern std::int32_t EngineFreqParam;      // main-channel receive frequency, Hz
extern std::int32_t SignalLevel;
extern QString LastRxAudioFreq;
extern QString TxAudioFreqText;
extern std::int32_t Aux1RxFreq, Aux2RxFreq;

// ---- RTTY engine link -----------------------------------------------------------------------
constexpr std::int32_t kMMTTYBlockSize = 21204;
extern std::int32_t MMTTYhWnd;
extern bool MMTTYRunning;
extern std::int32_t MMTTYFlags, MMTTYViewWord;
extern bool MMTTYPolarityFlag, MMTTYSquelchOn, MMTTYBPFOn;
extern unsigned char* MMTTYView;          // the shared block's view, null when not mapped

// ---- Status lights --------------------------------------------------------------------------
extern std::int16_t OverloadCountdown;
extern bool EnergySaverOn;

// ---- Logbook --------------------------------------------------------------------------------
extern std::int32_t LogbookHandle;
extern std::int16_t LogbookStatus;
extern QString QSOCounter;

// ---- Radio control --------------------------------------------------------------------------
extern QString RadioModel;                // "No Radio", "Kenwood - all", ...
extern QString RadioPortNumber;
extern double DialFrequency;              // kHz; 0 unknown

// ---- Macro interpreter ----------------------------------------------------------------------
extern bool AbortMacro;
extern bool LogAfterTx;
extern bool RTTYStopPending;
extern std::int16_t LoopCountdown, LoopMacroIndex;


// ---- Receive road: window procedure, modes, receive text, word capture, PTT options ---------
// Pending text gathered between two engine ticks (one character = one Windows-1252 byte).
extern QString RxCharBuffer, Aux1CharBuffer, Aux2CharBuffer, SentText;
extern std::int32_t LoggerhWnd;           // the Logger's window; 0 until it says hello
// RTTY engine state as last reported
extern std::int16_t RTTYMarkHz, RTTYSpaceHz, RTTYShiftHz;
extern std::int16_t NotchFreq;
extern float RTTYSquelchLevel;
extern std::int32_t XYScopeScale;         // 1100 receiving, 12000 transmitting
extern bool XYScopeOn;
extern bool MMTTYSwitch200Latch;          // "UOS On" shown
extern bool MMTTYSwitchSyncPending;       // first switch word after the RTTY engine started
extern std::int32_t RTTYMarkLast;
extern std::int32_t OverloadFlag;
extern std::int32_t TxCharPointer;        // 1-based; next transmitted character searched from here
// Modes
extern QString ModeText, LogMode;
extern std::int32_t AFCLimit, AFCRange;   // 100/45 with AFC on, 0/0 off
extern bool NetOn;
extern bool Aux1Reopen, Aux2Reopen;
// PTT keying
extern std::int32_t PTTPortNum;           // 0 none, 1..8
extern QString PTTKeyingLine;             // "RTS", "DTR", "RTS & DTR"
extern QString PTTMode;                   // "Serial Port", "By Command", "By Shared Port"
extern bool PTTPortFailed;
// Receive text
extern std::int16_t ScratchInteger;
extern int CaptureFileNumber;              // the open capture file (descriptor), -1 none
// Word capture
extern QString WordUnderMouse;
extern std::int16_t WordClickMode;        // 1 left, 2 right, 4 middle
extern bool MouseOverSuppressed;
extern std::int32_t MouseOverColor;
extern QString MyRST, OtherName, PreviousQSOCall;
// Engine tick
extern std::int16_t TickCycle;            // 1, 2, 1, 2 ...
extern bool SpectrumToggle;
extern std::int16_t LoggerPollCount;
extern bool RadioPortStateLast, RadioDebugStateLast;
// Read by the receive road; set by other parts (settings, displays, transmit, RTTY link).
extern bool Aux1Open, Aux2Open;
extern std::int32_t Aux1TextColor, Aux2TextColor;
extern std::int16_t Aux1CursorX, Aux2CursorX;     // twips on the scale
extern std::int32_t Aux1AFCRange, Aux2AFCRange;
extern float PSKSquelchLevel;
extern std::int16_t SquelchSpeed;                 // 0 fast, 1 slow
extern std::int16_t IMDClearCount, Aux1IMDClearCount, Aux2IMDClearCount;
extern QString RxTextColor, TxEchoColor, ControlCodeColor, TxBufferColor; // decimal RGB texts
extern bool RxFreeze;
extern std::int32_t ClockErrorPPM;
extern QString PresetAudioDefaultsOn;             // "True" / "False"
extern QString PresetRxAudioFreq;                 // Hz
extern bool WordBoundary, ShowCommands;
extern std::int16_t DefaultProfile;



// ---- Transmit road: typing, transmit start/stop/abort, switch-over ------------------------



// ---- Displays: tick drawing, scale, markers, readouts, palette -----------------------------



// ---- Logbook and QSO panel -------------------------------------------------------------------



// ---- Radio control settings ------------------------------------------------------------------

