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



// ---- Transmit road: typing, transmit start/stop/abort, switch-over ------------------------
extern std::int16_t TxCaseMode;           // 1 as typed, 2 ALL CAPS, 3 all lowercase
extern std::int32_t TxTextColor;          // unsent transmit text (Windows RGB)
extern std::int32_t TxSentMark;           // transmit window length after its last change
extern std::int32_t TxCharPointer;        // 1-based: where the next echoed character is looked for
extern bool RxFreeze;                     // receive windows frozen (Insert key)
extern QString PausedBackColor;           // back colour of frozen receive windows, decimal text
extern QString RxBackColorSaved, Aux1BackColorSaved, Aux2BackColorSaved;
extern bool LongSquelch;                  // no squelch-tail code before a PSK start
extern bool NetOn;                        // transmit frequency follows the receive frequency
extern QString PTTMode;                   // "Serial Port", "By Command", "By Shared Port"
extern QString PTTKeyingLine;             // "RTS", "DTR", "RTS & DTR"
extern std::int32_t PTTPortNum;           // dedicated PTT port, 0 none
extern bool PTTPortFailed;                // the engine could not open that port
extern bool ReceiveAfterTx;               // macro typing state that an abort clears
extern QString MacroBuffer, ScratchText;



// ---- Displays: tick drawing, scale, markers, readouts, palette -----------------------------



// ---- Logbook and QSO panel -------------------------------------------------------------------



// ---- Radio control settings ------------------------------------------------------------------

