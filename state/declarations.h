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
extern bool TransferFileOpen;              // the ADIF/CSV transfer file is open
extern int TransferFileNumber;             // its descriptor, -1 none
extern std::int32_t DisplayHeight;        // twips
extern QString CDDrive;
extern QString CDLookupBuffer;     // the callbook answer, always 501 characters
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
extern QString MMTTYBlockName;            // the shared block's full name, handed to the engine
extern bool ToolbarOn;                    // [RTTY] "Toolbar"
extern std::int16_t WatchdogTime;         // seconds; [RTTY] "Watchdog Time"
extern std::int16_t ProfileSlot;          // the slot the profile naming dialog names
// The block's profile names as the program knows them: 32 characters each, the name, a NUL
// and blanks (slots 0..15; the menus offer 0..10).
extern std::array<QString, 16> ProfileNames;

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
extern std::int32_t TxBackColor;          // transmit window's own back colour, shown again when a repeat stops
extern std::int32_t CWIDSpeed;            // CW identification speed: 1 = 37, 2 = 19, 3 = 12, 4 = 9 WPM
// The settings file's sections of the two macro sets: the one used while the PSK engine or the
// RTTY engine is active.
inline const QString kPskMacroSection = QStringLiteral("Macro");
inline const QString kRttyMacroSection = QStringLiteral("RTTY Macro");


// ---- Receive road: window procedure, modes, receive text, word capture, PTT options ---------
// Pending text gathered between two engine ticks (one character = one Windows-1252 byte).
extern QString RxCharBuffer, Aux1CharBuffer, Aux2CharBuffer, SentText;
extern std::int32_t LoggerhWnd;           // the Logger's window; 0 until it says hello
// RTTY engine state as last reported
extern std::int16_t RTTYMarkHz, RTTYSpaceHz, RTTYShiftHz;
extern std::int16_t NotchFreq;
extern bool MMTTYSwitch200Latch;          // "UOS On" shown
extern bool MMTTYSwitchSyncPending;       // first switch word after the RTTY engine started
extern std::int32_t TxCharPointer;        // 1-based; next transmitted character searched from here
// Modes
extern QString ModeText;
extern std::int32_t AFCLimit;             // 100 with AFC on, 0 off
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
// Engine tick
extern bool SpectrumToggle;
extern std::int16_t LoggerPollCount;
extern bool RadioPortStateLast, RadioDebugStateLast;
// Read by the receive road; set by other parts (settings, displays, transmit, RTTY link).
extern std::int32_t Aux1TextColor, Aux2TextColor;
extern std::int16_t SquelchSpeed;                 // 0 fast, 1 slow
extern QString RxTextColor, TxEchoColor, ControlCodeColor, TxBufferColor; // decimal RGB texts
extern bool RxFreeze;
extern std::int32_t ClockErrorPPM;
extern QString PresetAudioDefaultsOn;             // "True" / "False"
extern bool WordBoundary, ShowCommands;
extern std::int16_t DefaultProfile;



// ---- Transmit road: typing, transmit start/stop/abort, switch-over ------------------------
extern std::int16_t TxCaseMode;           // 1 as typed, 2 ALL CAPS, 3 all lowercase
extern std::int32_t TxTextColor;          // unsent transmit text (Windows RGB)
extern std::int32_t TxSentMark;           // transmit window length after its last change
extern QString PausedBackColor;           // back colour of frozen receive windows, decimal text
extern QString RxBackColorSaved, Aux1BackColorSaved, Aux2BackColorSaved;
extern bool LongSquelch;                  // no squelch-tail code before a PSK start
extern bool ReceiveAfterTx;               // macro typing state that an abort clears
extern QString MacroBuffer, ScratchText;



// ---- Displays: tick drawing, scale, markers, readouts, palette -----------------------------
// The part of the RTTY engine's block that both engines' displays draw from: the spectrum (the
// PSK engine's spectrum is fetched into the same field) and the XY scope samples.
struct MMTTYBlockMirror {
    std::array<std::int32_t, 2048> Spectrum{}; // block offset 0x9C; the first 1024 bins are used
    std::array<std::int32_t, 512> XYScopeX{};  // 0x20A0
    std::array<std::int32_t, 512> XYScopeY{};  // 0x28A0
};
extern MMTTYBlockMirror MMTTYBlock;
extern std::int32_t OverloadFlag;          // non-zero while the input overloads
extern std::int16_t TickCycle;             // 1, 2, 1, 2 ... (counted by the tick)
extern std::array<std::int32_t, 16> VectorData, Aux1VectorData, Aux2VectorData; // 8 (x, y) pairs
extern std::int16_t VectorDrawIndex, Aux1VectorDrawIndex, Aux2VectorDrawIndex;  // 0, 2 .. 14
extern QString DisplayMode;                // "Spectrum" or "Waterfall"
extern std::int16_t SpectrumPixelHeight;   // height of the display buffer in pixels
extern std::int32_t SpectrumDrawWidth;     // pen width of the display buffer, 1 or 2
extern double WaterfallSensitivity;
extern std::int32_t Aux1SignalLevel, Aux2SignalLevel; // 0..100
extern float SquelchLevel, PSKSquelchLevel, RTTYSquelchLevel, Aux1SquelchLevel, Aux2SquelchLevel;
extern bool XYScopeOn;
extern std::int32_t XYScopeScale;          // 1100 receiving, 12000 transmitting
extern std::array<std::int32_t, 1024> XYScopeXData, XYScopeYData;
extern std::int16_t XYScopeCentreX, XYScopeCentreY; // pixels, set when the main tuning window loads
extern std::int16_t ScopeCentreX, ScopeCentreY;     // phase scope centre, pixels
extern std::int16_t ScopeHeight;                    // mini spectrum height, pixels
extern std::int16_t MiniSpectrumFirstBin, MiniSpectrumLastBin;
extern std::int16_t Aux1MiniSpectrumFirstBin, Aux1MiniSpectrumLastBin;
extern std::int16_t Aux2MiniSpectrumFirstBin, Aux2MiniSpectrumLastBin;
extern std::int16_t MiniSpectrumX, Aux1MiniSpectrumX, Aux2MiniSpectrumX;
extern std::int16_t FrameLineLeft, FrameLineRight; // main tuning window's frame lines, pixels
extern bool Aux1Open, Aux2Open;                     // auxiliary channel windows loaded
extern bool TuningWindowAux1Open, TuningWindowAux2Open;
// scale and click-to-tune
extern std::int16_t RxCursorX, Aux1CursorX, Aux2CursorX;             // twips on the scale
extern std::int16_t RxCursorPixel, Aux1CursorPixel, Aux2CursorPixel; // the same in pixels
extern std::int32_t AFCRange, Aux1AFCRange, Aux2AFCRange;            // 45 AFC on, 0 off
extern std::int16_t RTTYShownShiftHz;      // space minus mark as last drawn on the scale
extern std::int32_t DialKHz, DialHzPart;
extern QString PresetRxAudioFreq, PresetTxAudioFreq; // Hz texts
extern std::array<std::int16_t, 5> MarkerFreq;       // [1..4], Hz
extern std::array<QString, 5> MarkerColor;           // [1..4], decimal RGB texts
extern std::int16_t LastMouseButton;
extern float LastMouseX;                             // twips on the scale
// readouts
extern std::int32_t RxFreqLast, Aux1RxFreqLast, Aux2RxFreqLast;
extern std::int32_t RTTYMarkLast, RTTYSpaceLast;
extern std::int16_t IMDClearCount, Aux1IMDClearCount, Aux2IMDClearCount; // 0 idle; ticks since shown
// auxiliary channel windows and their settings
extern bool Aux1Closing, Aux2Closing;                  // the window is about to close
extern std::int32_t Aux1AFCLimit, Aux2AFCLimit;        // 100 AFC on, 0 off
extern std::int32_t Aux1MouseOverColor, Aux2MouseOverColor;
extern bool Aux1MouseOverSuppressed, Aux2MouseOverSuppressed; // a mouse button is held in the text
extern QString PresetAux1AudioFreq, PresetAux2AudioFreq;      // Hz texts



// ---- Logbook and QSO panel -------------------------------------------------------------------
extern QString DefaultCallsign;           // own call sign, the operator of every logged QSO
extern QString LogMode;                   // mode text stored with a QSO; set by the mode switch
extern QString CurrentBand;               // QSO panel values, also set by the Logger
extern QString HisRST, MyRST;             // report sent, report received
extern QString OtherName;
extern QString QSOComment;
extern QString PreviousQSOCall;           // call sign whose earlier QSOs are shown
extern std::array<QString, 6> PreviousQSOs; // [1..5]: count, last date, time, band, mode
extern std::int32_t QSOOffsetCounter;     // subtracted from QSOCounter for display and macros
extern double UTCOffsetDays;              // days to add to local time to get UTC
extern QString MiniLogOpen;               // "True" while the Mini-Log window is loaded
extern QString PreviousPageOpen;          // "True" while the previous-QSO window is loaded
// The logbook windows' grids: column widths in twips of "Reset columns to default": the key
// column hidden, date/time, call, band, mode, both reports, name, QTH, notes; and the same as
// the texts the settings hold.
constexpr int kLogColumns = 10;
inline constexpr std::array<int, kLogColumns> kDefaultColumnTwips{0, 1400, 1000, 520, 520, 520, 520, 1000, 1800, 5000};
std::array<QString, kLogColumns> DefaultColumnWidthTexts();
extern std::array<QString, 10> MiniLogColumnWidths;      // twips, as text
extern std::array<QString, 10> PreviousQSOsColumnWidths; // twips, as text
// Whether the settings file held each of those widths: one it did not hold is the default width,
// widened in the window to the column's usual text (true until the settings are loaded).
extern std::array<bool, 10> MiniLogColumnWidthsStored;
extern std::array<bool, 10> PreviousQSOsColumnWidthsStored;



// ---- Radio control settings ------------------------------------------------------------------
// Serial line of the radio control port, as the component takes them ([Radio Control]).
extern QString RadioParity;               // "N", "O", "E"
extern QString RadioFlowControl;          // "0" none, "1" XON/XOFF, "2" RTS
extern QString RadioDataBits, RadioStopBits, RadioBaudRate;
extern std::int16_t RadioPollInterval;    // ms; 0 no polling
extern QString IcomAddress;               // CI-V address, hexadecimal digits
extern QString RadioDataFileName;         // the file through which the "Kachina 505" is run
// Fixed-radio presets [1..4] and the Logger's window title.
extern std::array<QString, 5> PresetRadioFrequency; // kHz text
extern std::array<QString, 5> PresetRadioMode;      // "USB" / "LSB"
extern QString LoggerWindowCaption;




// ---- Settings loader and main-window menu commands ---------------------------------------
extern std::array<QString, 5> PresetRadioFrequency, PresetRadioMode; // [1..4]: "14070.00", "USB"
// radio control settings as stored ([Radio Control])
extern QString RadioParity, RadioFlowControl, RadioDataBits, RadioStopBits, RadioBaudRate;
extern QString IcomAddress, RadioDataFileName;
extern std::int16_t RadioPollInterval;    // milliseconds
