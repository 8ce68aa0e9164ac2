#include "receive_fixture.h"

#include "core/messages/hookmodule.h"
#include "core/receive/capturefile.h"
#include "core/receive/rx_links.h"
#include "platform/widgets/richtext.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QTextEdit>
#include <stdexcept>

MessageSink::MessageSink()
{
    handle = win::registerWindow(this);
}

MessageSink::~MessageSink()
{
    win::unregisterWindow(handle);
}

bool MessageSink::event(QEvent* e)
{
    if (e->type() == win::WindowMessageEvent::eventType()) {
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        got.append({m->message(), m->wParam(), m->lParam()});
        return true;
    }
    return QObject::event(e);
}

namespace {

void resetReceiveState()
{
    RxCharBuffer.clear();
    Aux1CharBuffer.clear();
    Aux2CharBuffer.clear();
    SentText.clear();
    LoggerhWnd = 0;
    RTTYMarkHz = RTTYSpaceHz = RTTYShiftHz = 0;
    NotchFreq = 0;
    RTTYSquelchLevel = 0;
    XYScopeScale = 1100;
    XYScopeOn = false;
    MMTTYSwitch200Latch = false;
    MMTTYSwitchSyncPending = false;
    MMTTYPolarityFlag = MMTTYSquelchOn = MMTTYBPFOn = true;
    MMTTYFlags = MMTTYViewWord = 0;
    MMTTYhWnd = 0;
    RTTYMarkLast = 0;
    OverloadFlag = 0;
    OverloadCountdown = 0;
    TxCharPointer = 1;
    TxActive = false;
    PSKMode = 0;
    ModeName.clear();
    ModeText.clear();
    LogMode.clear();
    AFCLimit = 100;
    AFCRange = 45;
    NetOn = true;
    Aux1Reopen = Aux2Reopen = false;
    PTTPortNum = 0;
    PTTKeyingLine = QStringLiteral("DTR");
    PTTMode = QStringLiteral("Serial Port");
    PTTPortFailed = false;
    WordUnderMouse.clear();
    WordClickMode = 0;
    MouseOverSuppressed = false;
    MouseOverColor = 32768;
    MyRST.clear();
    OtherName.clear();
    PreviousQSOCall.clear();
    TickCycle = 1;
    SpectrumToggle = false;
    LoggerPollCount = 0;
    Aux1Open = Aux2Open = false;
    Aux1TextColor = Aux2TextColor = 0;
    Aux1CursorX = Aux2CursorX = 0;
    PSKSquelchLevel = 52;
    SquelchSpeed = 1;
    IMDClearCount = Aux1IMDClearCount = Aux2IMDClearCount = 0;
    RxTextColor = QStringLiteral("0");
    TxEchoColor = QStringLiteral("255");
    ControlCodeColor = QStringLiteral("4194368");
    TxBufferColor = QStringLiteral("255");
    RxFreeze = false;
    ClockErrorPPM = 0;
    PresetAudioDefaultsOn = QStringLiteral("True");
    PresetRxAudioFreq = QStringLiteral("1500.00");
    LastRxAudioFreq.clear();
    WordBoundary = false;
    ShowCommands = true;
    DefaultProfile = 0;
    LogbookHandle = 0;
}

QString args(std::initializer_list<long long> values)
{
    QStringList parts;
    for (long long v : values)
        parts << QString::number(v);
    return QLatin1Char('(') + parts.join(u',') + QLatin1Char(')');
}

} // namespace

void ReceiveFixture::SetUp()
{
    MainWindowFixture::SetUp();
    resetReceiveState();
    using i32 = std::int32_t;
    PskApi& p = Psk();
    auto note = [this](const char* name, std::initializer_list<long long> a) {
        psk << QString::fromLatin1(name) + args(a);
    };
    p.fnStartSoundCard = [=, this](i32 h, i32 d, i32 c) { note("fnStartSoundCard", {h, d, c}); return startResult; };
    p.fnStopSoundCard = [=] { note("fnStopSoundCard", {}); return i32{0}; };
    p.fnSetFFTMode = [=](i32 a, i32 b, i32 c) { note("fnSetFFTMode", {a, b, c}); return i32{0}; };
    p.fnSetAFCLimit = [=](i32 a, i32 b) { note("fnSetAFCLimit", {a, b}); return i32{0}; };
    p.fnSetClockErrorAdjustment = [=](i32 a) { note("fnSetClockErrorAdjustment", {a}); return i32{0}; };
    p.fnSetRXFrequency = [=](i32 a, i32 b, i32 c) { note("fnSetRXFrequency", {a, b, c}); return i32{0}; };
    p.fnSetSquelchThreshold = [=](i32 a, i32 b, i32 c) { note("fnSetSquelchThreshold", {a, b, c}); return i32{0}; };
    p.fnGetDLLVersion = [=] { note("fnGetDLLVersion", {}); return i32{100}; };
    p.fnSetRXPSKMode = [=](i32 a, i32 b) { note("fnSetRXPSKMode", {a, b}); return i32{0}; };
    p.fnSetComPort = [=, this](i32 a, i32 b) { note("fnSetComPort", {a, b}); return comPortResult; };

    ReceiveLinks& l = RxLinks();
    l.SendToLogger = [this](const QString& t) { loggerTexts << t; };
    l.mnuRTTY_Click = [this](int i) { hooks << QStringLiteral("mnuRTTY_Click(%1)").arg(i); };
    l.BreakMacroLoop = [this] { hooks << QStringLiteral("BreakMacroLoop"); };
    l.NotchVisible = [this] { return notchShown; };
    l.SetNotchVisible = [this](bool on) { notchShown = on; hooks << QStringLiteral("notch %1").arg(on); };
    l.PlaceNotch = [this](double x) { hooks << QStringLiteral("notch at %1").arg(x); };
    l.SetToolbarButton = [this](int b, bool on, const QString& c) {
        hooks << QStringLiteral("button %1 %2 %3").arg(b).arg(on ? "down" : "up", c);
    };
    l.SetTuningSquelchLine = [this](double v) { hooks << QStringLiteral("squelch line %1").arg(v); };
    aux1Edit = std::make_unique<QTextEdit>();
    aux1 = std::make_unique<RichText>(aux1Edit.get());
    l.AuxText = [this](int ch) -> RichText* { return ch == 1 ? aux1.get() : nullptr; };
    l.EndProgram = [this] { hooks << QStringLiteral("EndProgram"); };
}

void ReceiveFixture::TearDown()
{
    CloseCaptureFile();
    MainWindowFixture::TearDown();
    ResetPsk();
    ResetRxLinks();
    aux1.reset();
    aux1Edit.reset();
    resetReceiveState();
}

void ReceiveFixture::load()
{
    // Every caller goes on to use what start-up made (the shared block, the engine): a start-up
    // that failed ends the test here, as a failure, instead of in a crash further on.
    if (!main().Form_Load()) {
        QStringList said;
        for (const auto& box : boxes.messages())
            said << box.text;
        ADD_FAILURE() << "start-up failed; its messages: " << said.join(" | ").toStdString();
        throw std::runtime_error("start-up failed");
    }
    deliver();
    calls.clear();
    psk.clear(); // what the settings load told the engine
}

void ReceiveFixture::deliver()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

std::intptr_t ReceiveFixture::send(std::uint32_t msg, std::intptr_t w, std::intptr_t l)
{
    const auto r = MainWindowProc(msg, w, l);
    return r ? *r : -999;
}

QString ReceiveFixture::rxText()
{
    return main().Rx->text();
}
