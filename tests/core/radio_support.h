#pragma once
// The main window loaded with a fake radio control component that answers per member and
// records every call with its arguments, and the radio settings back at their defaults.
#include "support/main_window_fixture.h"

#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/links.h"

#include <QCoreApplication>
#include <QHash>

class RadioFixture : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        RadioParity = "N";
        RadioFlowControl = "0";
        RadioDataBits = "8";
        RadioStopBits = "1";
        RadioPortNumber = "0";
        RadioBaudRate = "9600";
        RadioPollInterval = 500;
        IcomAddress = "00";
        RadioDataFileName = "No Data File entered";
        PTTMode = "Serial Port";
        PTTKeyingLine = "DTR";
        PTTPortNum = 0;
        PresetRadioFrequency = {"", "14070.00", "14070.00", "14071.00", "14071.00"};
        PresetRadioMode = {"", "USB", "LSB", "USB", "LSB"};
        SplitOffset = 0;
        TxActive = false;
        LoggerhWnd = 0;
        LoggerPollCount = 0;
        LoggerWindowCaption.clear();
        DialFrequency = 0;
        DialKHz = DialHzPart = 0;
        PendingQSYFrequency = "0";
        for (auto& p : PreviousQSOs)
            p.clear();
        ASSERT_TRUE(main().Form_Load());
        QCoreApplication::sendPostedEvents();
        Links().rig = [this](const QString& member, QVariantList& args) {
            QStringList shown;
            for (const QVariant& a : args)
                shown << (a.typeId() == QMetaType::Bool ? (a.toBool() ? "True" : "False") : a.toString());
            rig << member + "(" + shown.join(",") + ")";
            return answers.value(member, QVariant(1));
        };
        answers["getCommPortState"] = false;
        calls.clear();
        boxes.clear();
    }

    QStringList rig;                  // "CommPort(3)", "PortOpen(True)"
    QHash<QString, QVariant> answers; // by member; 1 when not given
};
