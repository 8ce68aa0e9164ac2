#pragma once
// The main window loaded with fake links, a fake PSK engine that records its calls, and fakes
// for the parts the receive road calls outside itself. The receive road's shared state starts
// from its defaults in every test.
#include "main_window_fixture.h"

#include "platform/widgets/richtext.h"
#include "platform/processes/winmsg.h"

#include <QEvent>
#include <QList>
#include <QTextEdit>
#include <memory>


// A window that keeps every message posted to it (a stand-in for the RTTY engine's window).
class MessageSink : public QObject {
public:
    struct Msg {
        std::uint32_t msg;
        std::intptr_t w, l;
    };
    MessageSink();
    ~MessageSink() override;
    win::WinHandle handle = 0;
    QList<Msg> got;

protected:
    bool event(QEvent* e) override;
};

class ReceiveFixture : public MainWindowFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Form_Load with the fake links (no engine starts: SetModeFromINI is faked).
    void load();
    // Delivers everything posted so far.
    static void deliver();
    // One message through the window procedure, as the hook would hand it on.
    static std::intptr_t send(std::uint32_t msg, std::intptr_t w, std::intptr_t l);
    // The receive window's text.
    QString rxText();

    QStringList psk;             // engine calls, "fnSetRXFrequency(1500,45,0)"
    std::int32_t startResult = 0;
    std::int32_t comPortResult = 1;
    QStringList hooks;           // calls out of the receive road, "mnuRTTY_Click(2)"
    QStringList loggerTexts;
    bool notchShown = false;
    std::unique_ptr<QTextEdit> aux1Edit;
    std::unique_ptr<RichText> aux1;
};
