#pragma once
// A main window (not loaded) with the transmit road wired, a fake PSK engine and fake hooks
// that record what they are asked, a fixed clock, and a stand-in RTTY engine window.
#include "support/main_window_fixture.h"

#include "core/receive/rx_links.h"
#include "core/transmit/switchover.h"
#include "core/transmit/transmit.h"
#include "core/transmit/txtyping.h"
#include "platform/system/clock.h"
#include "platform/system/events.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "platform/processes/winmsg.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTextEdit>
#include <vector>

// Records the window messages posted to it.
class MessageRecorder : public QObject {
public:
    QList<QList<qint64>> messages; // msg, wParam, lParam
    bool event(QEvent* e) override
    {
        if (e->type() == win::WindowMessageEvent::eventType()) {
            auto* m = static_cast<win::WindowMessageEvent*>(e);
            messages.append({qint64(m->message()), qint64(m->wParam()), qint64(m->lParam())});
            return true;
        }
        return QObject::event(e);
    }
};

class TxFixture : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        TxActive = false;
        PSKModeActive = true;
        PSKMode = 0;
        SplitOffset = 0;
        DialFrequency = 0;
        PTTMode = "Serial Port";
        PTTKeyingLine = "DTR";
        PTTPortNum = 0;
        PTTPortFailed = false;
        NetOn = false;
        LongSquelch = false;
        TxCaseMode = 1;
        TxTextColor = 0;
        TxCharPointer = 1;
        PausedBackColor = "16777215";
        RxBackColorSaved.clear();
        Aux1BackColorSaved.clear();
        Aux2BackColorSaved.clear();
        LoopCountdown = 0;
        LogAfterTx = false;
        RTTYStopPending = false;
        AbortMacro = false;
        ReceiveAfterTx = false;
        MacroBuffer.clear();
        ScratchText.clear();
        EngineFreqParam = 0;
        RxCharBuffer.clear();
        SentText.clear();
        MouseOverSuppressed = false;

        PskApi& p = Psk();
        p.fnSendTXCharacter = [this](std::int32_t code, std::int32_t control) {
            if (control == 0)
                sent.push_back(code);
            else
                calls << QString("fnSendTXCharacter %1 %2").arg(code).arg(control);
            return 0;
        };
        p.fnSetTXFrequency = [this](std::int32_t hz) { calls << QString("fnSetTXFrequency %1").arg(hz); return 0; };
        p.fnStartTX = [this](std::int32_t mode) { calls << QString("fnStartTX %1").arg(mode); return 0; };
        p.fnAbortTX = [this] { calls << "fnAbortTX"; return 0; };

        ResetRxLinks();
        ReceiveLinks& h = RxLinks();
        h.SendToLogger = [this](const QString& t) { calls << "Logger " + t; };
        h.LogAndClear = [this] { calls << "LogAndClear"; };
        h.Command1_Mouseup = [this](int i, int b, int s, int x, int y) {
            calls << QString("Command1_Mouseup %1 %2 %3 %4 %5").arg(i).arg(b).arg(s).arg(x).arg(y);
        };
        h.BreakMacroLoop = [this] { calls << "BreakMacroLoop"; };
        // Each pass of a wait moves the clock on by 100 ms.
        h.WaitYield = [this] {
            clock.advanceMs(100);
            if (onYield)
                onYield();
        };
        Clock::install(&clock);

        MMTTYhWnd = win::registerWindow(&rtty);
        MMTTYMessage = win::RegisterWindowMessage("MMTTY");
        w = &main();
        tx = w->Tx.get();
    }

    void TearDown() override
    {
        win::unregisterWindow(MMTTYhWnd);
        MMTTYhWnd = 0;
        Clock::install(nullptr);
        ResetPsk();
        ResetRxLinks();
        events::SetProgramClosing(false);
        MainWindowFixture::TearDown();
    }

    // Presses one key in the transmit window; true when the text control would handle it too.
    bool key(int keyCode, int shift = 0, int ascii = 0) { return TxWindowKey(TxKey{keyCode, shift, ascii}); }
    void type(const QString& text)
    {
        for (QChar c : text)
            key(c.isLetter() ? c.toUpper().unicode() : 0, 0, c.unicode());
    }
    // Puts text in the transmit window without counting what the paste rule sends.
    void preload(const QString& text)
    {
        tx->setText(text);
        sent.clear();
    }
    QList<QList<qint64>> rttyMessages()
    {
        QCoreApplication::sendPostedEvents(&rtty);
        return rtty.messages;
    }
    void check(const char* menu, bool on) { w->mnu(menu).setChecked(on); }

    Sondrel* w = nullptr;
    RichText* tx = nullptr;
    FixedClock clock;
    std::vector<int> sent; // characters handed to the engine (not control codes)
    MessageRecorder rtty;
    std::function<void()> onYield;
};
