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

// ---- Receive road: window procedure, modes, receive text, word capture, PTT options ---------
QString RxCharBuffer;
QString Aux1CharBuffer;
QString Aux2CharBuffer;
QString SentText;
std::int32_t LoggerhWnd = 0;
std::int16_t RTTYMarkHz = 0;
std::int16_t RTTYSpaceHz = 0;
std::int16_t RTTYShiftHz = 0;
std::int16_t NotchFreq = 0;
float RTTYSquelchLevel = 0;
std::int32_t XYScopeScale = 1100;
bool XYScopeOn = false;
bool MMTTYSwitch200Latch = false;
bool MMTTYSwitchSyncPending = false;
std::int32_t RTTYMarkLast = 0;
std::int32_t OverloadFlag = 0;
std::int32_t TxCharPointer = 1;
QString ModeText;
QString LogMode;
std::int32_t AFCLimit = 100;
std::int32_t AFCRange = 45;
bool NetOn = true;
bool Aux1Reopen = false;
bool Aux2Reopen = false;
std::int32_t PTTPortNum = 0;
QString PTTKeyingLine = QStringLiteral("DTR");
QString PTTMode = QStringLiteral("Serial Port");
bool PTTPortFailed = false;
std::int16_t ScratchInteger = 0;
int CaptureFileNumber = -1;
QString WordUnderMouse;
std::int16_t WordClickMode = 0;
bool MouseOverSuppressed = false;
std::int32_t MouseOverColor = 32768;
QString MyRST;
QString OtherName;
QString PreviousQSOCall;
std::int16_t TickCycle = 1;
bool SpectrumToggle = false;
std::int16_t LoggerPollCount = 0;
bool RadioPortStateLast = false;
bool RadioDebugStateLast = false;
bool Aux1Open = false;
bool Aux2Open = false;
std::int32_t Aux1TextColor = 0;
std::int32_t Aux2TextColor = 0;
std::int16_t Aux1CursorX = 0;
std::int16_t Aux2CursorX = 0;
std::int32_t Aux1AFCRange = 45;
std::int32_t Aux2AFCRange = 45;
float PSKSquelchLevel = 52;
std::int16_t SquelchSpeed = 1;
std::int16_t IMDClearCount = 0;
std::int16_t Aux1IMDClearCount = 0;
std::int16_t Aux2IMDClearCount = 0;
QString RxTextColor = QStringLiteral("0");
QString TxEchoColor = QStringLiteral("255");
QString ControlCodeColor = QStringLiteral("4194368");
QString TxBufferColor = QStringLiteral("255");
bool RxFreeze = false;
std::int32_t ClockErrorPPM = 0;
QString PresetAudioDefaultsOn = QStringLiteral("True");
QString PresetRxAudioFreq = QStringLiteral("1500.00");
bool WordBoundary = false;
bool ShowCommands = true;
std::int16_t DefaultProfile = 0;
