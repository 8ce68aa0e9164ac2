#pragma once
// RigControl: the component object the program creates by its ProgID "Varnel.RigControl"
// and calls late-bound, by member name or dispatch identifier, with variant arguments that
// are passed by reference. Every instance drives the one shared Rig.
#include "radio_control/rig.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

namespace varnel {

class RigControl : public QObject {
    Q_OBJECT
public:
    static constexpr int kDispatchBase = 0x60030000;
    // What setRadioFrequency gives for a frequency it refused (0: the command is on its way).
    static constexpr int kFrequencyRefused = 1;

    // On the component's shared state.
    explicit RigControl(QObject* parent = nullptr);
    // On a state of the caller's (tests).
    explicit RigControl(std::shared_ptr<Rig> rig, QObject* parent = nullptr);

    // Calls a member by name (letter case ignored, as late binding does). The arguments are
    // converted to the member's parameter types; a member may rewrite them. On failure the
    // result is invalid and `error` holds "Error # n description".
    Q_INVOKABLE QVariant invoke(const QString& member, QVariantList& args, QString& error);
    // The member's dispatch identifier, or -1 when there is no such member.
    Q_INVOKABLE int dispatchId(const QString& member) const;
    Q_INVOKABLE QVariant invokeId(int dispatchId, QVariantList& args, QString& error);

    // The members one by one, for callers that bind to them by name through the meta-object
    // system; they take and give variants as `invoke` does.
    Q_INVOKABLE QVariant inputTestString(const QVariant& inString);
    Q_INVOKABLE QVariant setPTTByCommandOff();
    Q_INVOKABLE QVariant setPTTByCommandOn();
    Q_INVOKABLE QVariant setDirectRadioCommand(const QVariant& inString);
    Q_INVOKABLE QVariant setDirectRadioCommandHEX(const QVariant& inString);
    Q_INVOKABLE QVariant getRadioFreq();
    Q_INVOKABLE QVariant getRadioMode();
    Q_INVOKABLE QVariant PutRadioFileName(const QVariant& inString);
    Q_INVOKABLE QVariant getDebugWindowState();
    Q_INVOKABLE QVariant setDebugWindow();
    Q_INVOKABLE QVariant CommPort(const QVariant& PortNum);
    Q_INVOKABLE QVariant Handshaking(const QVariant& HandshakingType);
    Q_INVOKABLE QVariant setPollInterval(const QVariant& Interval);
    Q_INVOKABLE QVariant Settings(const QVariant& inString);
    Q_INVOKABLE QVariant setIcomAddress(const QVariant& Address);
    Q_INVOKABLE QVariant PortOpen(const QVariant& state);
    Q_INVOKABLE QVariant DTREnable(const QVariant& state);
    Q_INVOKABLE QVariant RTSEnable(const QVariant& state);
    Q_INVOKABLE QVariant getCommPortState();
    Q_INVOKABLE QVariant getCommPortNumber();
    Q_INVOKABLE QVariant doStateMachineReset();
    Q_INVOKABLE QVariant SetRadioType(const QVariant& RadioTypeIndicator);
    Q_INVOKABLE QVariant NowOutputToRadio(const QVariant& ToRadioString, const QVariant& hexpresentation);
    Q_INVOKABLE QVariant PopRadioMessage();
    Q_INVOKABLE QVariant setRadioFrequency(const QVariant& FreqString);

    Rig& rig() { return *rig_; }

protected:
    // A host sets the property "hostMessageBox" (address of an
    // int(const QString&, int, const QString&) function) to show the component's boxes
    // through its own dialogs.
    bool event(QEvent* e) override;

private:
    QVariant byName(const char* member, QVariantList args);

    std::shared_ptr<Rig> rig_;
};

} // namespace varnel
