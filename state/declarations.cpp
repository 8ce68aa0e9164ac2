#include "state/declarations.h"



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
bool TransferFileOpen = false;
int TransferFileNumber = -1;
std::int32_t DisplayHeight = 0;
QString CDDrive;
QString CDLookupBuffer(501, QLatin1Char(' '));
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
QString MMTTYBlockName;
bool ToolbarOn = false;
std::int16_t WatchdogTime = 0;
std::int16_t ProfileSlot = 0;
std::array<QString, 16> ProfileNames;

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
std::int32_t TxBackColor = 16777215;
std::int32_t CWIDSpeed = 1;


// ---- Logbook and QSO panel -------------------------------------------------------------------
std::array<QString, kLogColumns> DefaultColumnWidthTexts()
{
    std::array<QString, kLogColumns> texts;
    for (size_t c = 0; c < texts.size(); ++c)
        texts[c] = QString::number(kDefaultColumnTwips[c]);
    return texts;
}

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
std::array<QString, 10> MiniLogColumnWidths = DefaultColumnWidthTexts();
std::array<QString, 10> PreviousQSOsColumnWidths = DefaultColumnWidthTexts();
std::array<bool, 10> MiniLogColumnWidthsStored{true, true, true, true, true, true, true, true, true, true};
std::array<bool, 10> PreviousQSOsColumnWidthsStored = MiniLogColumnWidthsStored;
// ---- Displays: tick drawing, scale, markers, readouts, palette -----------------------------
MMTTYBlockMirror MMTTYBlock;
std::int32_t OverloadFlag = 0;
std::int16_t TickCycle = 1;
std::array<std::int32_t, 16> VectorData{};
std::array<std::int32_t, 16> Aux1VectorData{};
std::array<std::int32_t, 16> Aux2VectorData{};
std::int16_t VectorDrawIndex = 0;
std::int16_t Aux1VectorDrawIndex = 0;
std::int16_t Aux2VectorDrawIndex = 0;
QString DisplayMode = QStringLiteral("Spectrum");
std::int16_t SpectrumPixelHeight = 0;
std::int32_t SpectrumDrawWidth = 1;
double WaterfallSensitivity = 0.5;
std::int32_t Aux1SignalLevel = 0;
std::int32_t Aux2SignalLevel = 0;
float SquelchLevel = 52;
float PSKSquelchLevel = 52;
float RTTYSquelchLevel = 52;
float Aux1SquelchLevel = 52;
float Aux2SquelchLevel = 52;
bool XYScopeOn = false;
std::int32_t XYScopeScale = 1100;
std::array<std::int32_t, 1024> XYScopeXData{};
std::array<std::int32_t, 1024> XYScopeYData{};
std::int16_t XYScopeCentreX = 0;
std::int16_t XYScopeCentreY = 0;
std::int16_t ScopeCentreX = 0;
std::int16_t ScopeCentreY = 0;
std::int16_t ScopeHeight = 0;
std::int16_t MiniSpectrumFirstBin = 0;
std::int16_t MiniSpectrumLastBin = 0;
std::int16_t Aux1MiniSpectrumFirstBin = 0;
std::int16_t Aux1MiniSpectrumLastBin = 0;
std::int16_t Aux2MiniSpectrumFirstBin = 0;
std::int16_t Aux2MiniSpectrumLastBin = 0;
std::int16_t MiniSpectrumX = 1;
std::int16_t Aux1MiniSpectrumX = 1;
std::int16_t Aux2MiniSpectrumX = 1;
std::int16_t FrameLineLeft = 57;
std::int16_t FrameLineRight = 73;
bool Aux1Open = false;
bool Aux2Open = false;
bool TuningWindowAux1Open = false;
bool TuningWindowAux2Open = false;
std::int16_t RxCursorX = 0;
std::int16_t Aux1CursorX = 0;
std::int16_t Aux2CursorX = 0;
std::int16_t RxCursorPixel = 0;
std::int16_t Aux1CursorPixel = 0;
std::int16_t Aux2CursorPixel = 0;
std::int16_t RTTYShownShiftHz = 0;
std::int32_t DialKHz = 0;
std::int32_t DialHzPart = 0;
QString PresetRxAudioFreq = QStringLiteral("1500.00");
QString PresetTxAudioFreq = QStringLiteral("1500.00");
std::array<std::int16_t, 5> MarkerFreq{0, 1050, 1100, 1150, 1200};
std::array<QString, 5> MarkerColor{QString(), QStringLiteral("8454016"), QStringLiteral("8454143"),
                                   QStringLiteral("255"), QStringLiteral("16711680")};
std::int16_t LastMouseButton = 0;
float LastMouseX = 0;
std::int32_t RxFreqLast = 0;
std::int32_t Aux1RxFreqLast = 0;
std::int32_t Aux2RxFreqLast = 0;
std::int32_t RTTYMarkLast = 0;
std::int32_t RTTYSpaceLast = 0;
std::int16_t IMDClearCount = 0;
std::int16_t Aux1IMDClearCount = 0;
std::int16_t Aux2IMDClearCount = 0;
bool Aux1Closing = false;
bool Aux2Closing = false;
std::int32_t Aux1AFCLimit = 100;
std::int32_t Aux2AFCLimit = 100;
std::int32_t Aux1MouseOverColor = 16711680;
std::int32_t Aux2MouseOverColor = 16711680;
bool Aux1MouseOverSuppressed = false;
bool Aux2MouseOverSuppressed = false;
QString PresetAux1AudioFreq = QStringLiteral("1400.00");
QString PresetAux2AudioFreq = QStringLiteral("1600.00");
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
bool MMTTYSwitch200Latch = false;
bool MMTTYSwitchSyncPending = false;
std::int32_t TxCharPointer = 1;
QString ModeText;
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
bool SpectrumToggle = false;
std::int16_t LoggerPollCount = 0;
bool RadioPortStateLast = false;
bool RadioDebugStateLast = false;
std::int32_t Aux1TextColor = 0;
std::int32_t Aux2TextColor = 0;
std::int32_t Aux1AFCRange = 45;
std::int32_t Aux2AFCRange = 45;
std::int16_t SquelchSpeed = 1;
QString RxTextColor = QStringLiteral("0");
QString TxEchoColor = QStringLiteral("255");
QString ControlCodeColor = QStringLiteral("4194368");
QString TxBufferColor = QStringLiteral("255");
bool RxFreeze = false;
std::int32_t ClockErrorPPM = 0;
QString PresetAudioDefaultsOn = QStringLiteral("True");
bool WordBoundary = false;
bool ShowCommands = true;
std::int16_t DefaultProfile = 0;

// ---- Transmit road: typing, transmit start/stop/abort, switch-over ------------------------
std::int16_t TxCaseMode = 1;
std::int32_t TxTextColor = 0;
std::int32_t TxSentMark = 0;
QString PausedBackColor = QStringLiteral("16777215");
QString RxBackColorSaved, Aux1BackColorSaved, Aux2BackColorSaved;
bool LongSquelch = false;
bool ReceiveAfterTx = false;
QString MacroBuffer, ScratchText;

// ---- Settings loader and main-window menu commands ---------------------------------------

// ---- Radio control settings ------------------------------------------------------------------
QString RadioParity = QStringLiteral("N");
QString RadioFlowControl = QStringLiteral("0");
QString RadioDataBits = QStringLiteral("8");
QString RadioStopBits = QStringLiteral("1");
QString RadioBaudRate = QStringLiteral("9600");
std::int16_t RadioPollInterval = 500;
QString IcomAddress = QStringLiteral("00");
QString RadioDataFileName = QStringLiteral("No Data File entered");
std::array<QString, 5> PresetRadioFrequency{QString(), QStringLiteral("14070.00"), QStringLiteral("14070.00"),
                                            QStringLiteral("14071.00"), QStringLiteral("14071.00")};
std::array<QString, 5> PresetRadioMode{QString(), QStringLiteral("USB"), QStringLiteral("LSB"),
                                       QStringLiteral("USB"), QStringLiteral("LSB")};
QString LoggerWindowCaption;
