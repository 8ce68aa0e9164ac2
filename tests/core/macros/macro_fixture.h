#pragma once
// The main window loaded with fake links and a fake PSK engine, the real macro buttons, repeat
// and interpreter, a stand-in RTTY engine window, and a record of what reached the engines.
#include "platform/widgets/menuitem.h"
#include "support/receive_fixture.h"

#include "core/macros/macro_buttons.h"
#include "core/macros/macro_hooks.h"
#include "core/macros/macro_interpreter.h"
#include "core/macros/macro_services.h"
#include "core/macros/macrosetup.h"
#include "core/receive/rx_links.h"
#include "core/transmit/txhooks.h"
#include "platform/system/clock.h"
#include "platform/vb/text1252.h"
#include "state/psk_api.h"

#include <QCoreApplication>
#include <QLineEdit>

class MacroFixture : public ReceiveFixture {
protected:
    void SetUp() override
    {
        ReceiveFixture::SetUp();
        load();
        // typed text is compared as it was sent: no line wrap (the loaded default wraps)
        main().mnu("mnuLinewrap").setChecked(false);
        for (std::size_t i = 0; i <= kMacroCount; ++i) {
            MacroTexts[i].clear();
            MacroCaptions[i].clear();
        }
        LoopCountdown = LoopMacroIndex = 0;
        LogAfterTx = RTTYStopPending = AbortMacro = ReceiveAfterTx = false;
        SplitOffset = 0;
        TxBackColor = 16777215;
        TxTextColor = 0;
        CWIDSpeed = 2;
        DefaultCallsign = QStringLiteral("W1AW");
        PSKModeActive = true;
        using i32 = std::int32_t;
        PskApi& p = Psk();
        p.fnSendTXCharacter = [this](i32 code, i32 control) {
            if (control == 0)
                typed += cp1252::charOf(static_cast<unsigned char>(code));
            else
                psk << QStringLiteral("control(%1,%2)").arg(code).arg(control);
            return i32{0};
        };
        p.fnSetCWIDSpeed = [this](i32 s) { psk << QStringLiteral("fnSetCWIDSpeed(%1)").arg(s); return i32{0}; };
        p.fnSetCWIDString = [this](const char* t) { psk << QStringLiteral("fnSetCWIDString(%1)").arg(t); return i32{0}; };
        p.fnClearTXBuffer = [this] { psk << QStringLiteral("fnClearTXBuffer()"); return i32{0}; };
        p.fnAbortTX = [this] { psk << QStringLiteral("fnAbortTX()"); return i32{0}; };
        p.fnStartTX = [this](i32 m) { psk << QStringLiteral("fnStartTX(%1)").arg(m); return i32{0}; };
        p.fnSetTXFrequency = [this](i32 f) { psk << QStringLiteral("fnSetTXFrequency(%1)").arg(f); return i32{0}; };
        RxLinks().BreakMacroLoop = [] { BreakMacroLoop(); };
        TxHooks().LogAndClear = [this] { hooks << QStringLiteral("LogAndClear"); };
        MacroHooks().Yield = [this] {
            ++yields;
            if (onYield)
                onYield();
        };
        MMTTYhWnd = static_cast<std::int32_t>(rtty.handle);
        MMTTYMessage = win::RegisterWindowMessage("MMTTY");
        Clock::install(&clock);
        psk.clear();
        hooks.clear();
    }

    void TearDown() override
    {
        MacroSetup::unload();
        Clock::install(nullptr);
        ResetMacroHooks();
        ResetTxHooks();
        ReceiveFixture::TearDown();
    }

    // Runs a macro text on a button and returns what was typed to the engine.
    QString run(const QString& text, int index = 1)
    {
        MacroTexts[static_cast<std::size_t>(index)] = text;
        typed.clear();
        ExpandAndSendMacro(index);
        return typed;
    }
    QList<QList<qint64>> rttyPosts()
    {
        QCoreApplication::sendPostedEvents(&rtty);
        QList<QList<qint64>> out;
        for (const MessageSink::Msg& m : rtty.got)
            out.append({qint64(m.w), qint64(m.l)});
        return out;
    }

    QString typed;
    int yields = 0;
    std::function<void()> onYield;
    MessageSink rtty;
    FixedClock clock;
};
