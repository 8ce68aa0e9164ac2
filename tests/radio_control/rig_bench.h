#pragma once
// A component on a private state, called through its dispatch interface as the program
// calls it, with scripted message boxes and a simulated radio on port 3.
#include "platform/widgets/scripted_dialogs.h"
#include "radio_control/rig_control.h"
#include "radio_simulator.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

struct RigBench {
    static constexpr int kPort = 3;

    std::shared_ptr<varnel::Rig> state = std::make_shared<varnel::Rig>();
    std::unique_ptr<varnel::RigControl> component = std::make_unique<varnel::RigControl>(state);
    varnel::RigControl& control = *component;
    dlg::ScriptedDialogs boxes;
    std::unique_ptr<RadioSimulator> sim;

    varnel::Rig& rig() { return *state; }

    // The component ends, as when its host unloads it; only the simulator is left.
    void end()
    {
        state.reset();
        component.reset();
    }

    QVariant call(const char* member, QVariantList args = {})
    {
        QString error;
        const QVariant r = control.invoke(QString::fromLatin1(member), args, error);
        EXPECT_TRUE(error.isEmpty()) << member << ": " << error.toStdString();
        return r;
    }

    // A radio of this model on port 3, and the port opened the way the program sets it up.
    void connect(RadioSimulator::Model model, const char* radioType)
    {
        sim = std::make_unique<RadioSimulator>(model);
        ASSERT_TRUE(sim->isOpen());
        sim->assignToPort(kPort);
        ASSERT_EQ(call("SetRadioType", {QString::fromLatin1(radioType)}), QVariant(true));
        ASSERT_EQ(call("CommPort", {kPort}), QVariant(1));
        ASSERT_EQ(call("setIcomAddress", {QStringLiteral("58")}), QVariant(1));
        ASSERT_EQ(call("Handshaking", {0}), QVariant(1));
        ASSERT_EQ(call("Settings", {QStringLiteral("9600,N,8,1")}), QVariant(1));
        ASSERT_EQ(call("PortOpen", {true}), QVariant(1));
    }

    // One poll tick, the radio's answer to what it sent, and the answer's arrival.
    void cycle()
    {
        const qint64 before = rig().port().bytesWritten();
        rig().timerTick();
        const int sent = int(rig().port().bytesWritten() - before);
        const int answered = sim ? sim->pump(sent, 1000) : 0;
        if (answered > 0)
            settle(answered);
    }

    void cycles(int n)
    {
        for (int i = 0; i < n; ++i)
            cycle();
    }

    // Waits until `bytes` are waiting at the component's port.
    void settle(int bytes)
    {
        QElapsedTimer clock;
        clock.start();
        int waiting = 0;
        while (clock.elapsed() < 1000) {
            rig().port().inBufferCount(waiting);
            if (waiting >= bytes)
                return;
            QThread::msleep(1);
        }
        ADD_FAILURE() << "answer of " << bytes << " bytes did not arrive (" << waiting << ")";
    }
};
