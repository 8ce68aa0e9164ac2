#include "core/declarations.h"


// ---- Start-up, shut-down and the main window ---------------------------------------------
QString ProgramVersion = QStringLiteral("1.24");
bool SpectrumHold = false;
std::int32_t MainWindowHandle = 0;
std::int32_t APIResult = 0;
std::int32_t SplitOffset = 0;
std::int32_t WordOverX = 0;
std::int32_t WordOverY = 0;
std::int32_t XYScopeColor = 0;
bool ProfilesAvailable = false;
QString PendingQSYFrequency = QStringLiteral("0");
std::int32_t MarkerWidth = 1;
std::int32_t SpectrumSensitivity = 0;
std::int32_t SmallSpectrumSensitivity = 0;
double FFTBinHz = 8000.0 / 2047.0;
std::int32_t SpectrumScale = 100;
double ScaleWidth = 10;
double HzPerTwip = 0;
std::int32_t FFTModeParam1 = 0;
std::int32_t FFTModeParam3 = 0;
QString SidebandOrientation = QStringLiteral("Normal");
bool CaptureFileOpen = false;
std::int32_t DisplayHeight = 0;
QString CDDrive;
QString LogbookAccessCode;

// ---- Messages and engines -------------------------------------------------------------------
std::uint32_t SoundCardMessage = 0;
std::uint32_t MMTTYMessage = 0;
bool PSKModeActive = false;
std::int32_t PSKMode = 0;
bool TxActive = false;
std::int32_t PSKDLLVersion = 0;
QString ModeName;
std::int32_t EngineFreqParam = 0;
std::int32_t SignalLevel = 0;
QString LastRxAudioFreq;
QString TxAudioFreqText;
std::int32_t Aux1RxFreq = 0;
std::int32_t Aux2RxFreq = 0;

// ---- RTTY engine link -----------------------------------------------------------------------
std::int32_t MMTTYhWnd = 0;
bool MMTTYRunning = false;
std::int32_t MMTTYFlags = 0;
std::int32_t MMTTYViewWord = 0;
bool MMTTYPolarityFlag = false;
bool MMTTYSquelchOn = false;
bool MMTTYBPFOn = false;
unsigned char* MMTTYView = nullptr;

// ---- Status lights --------------------------------------------------------------------------
std::int16_t OverloadCountdown = 0;
bool EnergySaverOn = false;

// ---- Logbook --------------------------------------------------------------------------------
std::int32_t LogbookHandle = 0;
std::int16_t LogbookStatus = 0;
QString QSOCounter;

// ---- Radio control --------------------------------------------------------------------------
QString RadioModel = QStringLiteral("No Radio");
QString RadioPortNumber;
double DialFrequency = 0;

// ---- Macro interpreter ----------------------------------------------------------------------
bool AbortMacro = false;
bool LogAfterTx = false;
bool RTTYStopPending = false;
std::int16_t LoopCountdown = 0;
std::int16_t LoopMacroIndex = 0;

// ---- Transmit road: typing, transmit start/stop/abort, switch-over ------------------------
std::int16_t TxCaseMode = 1;
std::int32_t TxTextColor = 0;
std::int32_t TxSentMark = 0;
std::int32_t TxCharPointer = 1;
bool RxFreeze = false;
QString PausedBackColor = QStringLiteral("16777215");
QString RxBackColorSaved, Aux1BackColorSaved, Aux2BackColorSaved;
bool LongSquelch = false;
bool NetOn = false;
QString PTTMode = QStringLiteral("Serial Port");
QString PTTKeyingLine = QStringLiteral("DTR");
std::int32_t PTTPortNum = 0;
bool PTTPortFailed = false;
bool ReceiveAfterTx = false;
QString MacroBuffer, ScratchText;
