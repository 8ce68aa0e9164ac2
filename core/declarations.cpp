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


// ---- Logbook and QSO panel -------------------------------------------------------------------
QString DefaultCallsign;
QString LogMode;
QString CurrentBand;
QString HisRST;
QString MyRST;
QString OtherName;
QString QSOComment;
QString PreviousQSOCall;
std::array<QString, 6> PreviousQSOs;
std::int32_t QSOOffsetCounter = 0;
double UTCOffsetDays = 0;
QString MiniLogOpen = QStringLiteral("False");
QString PreviousPageOpen = QStringLiteral("False");
std::array<QString, 10> MiniLogColumnWidths = {
    QStringLiteral("0"), QStringLiteral("1400"), QStringLiteral("1000"), QStringLiteral("520"),
    QStringLiteral("520"), QStringLiteral("520"), QStringLiteral("520"), QStringLiteral("1000"),
    QStringLiteral("1800"), QStringLiteral("5000")};
std::array<QString, 10> PreviousQSOsColumnWidths = MiniLogColumnWidths;
