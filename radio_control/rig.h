#pragma once
// The radio control component's one state and its operations: radio type, serial port,
// command queue, poll state machine, reply path, radio data file and debug window. Every
// RigControl the host creates drives the same Rig (Rig::shared()).
#include "radio_control/command_queue.h"
#include "radio_control/debug_window.h"
#include "radio_control/reply_parsers.h"
#include "radio_control/serial_port.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

namespace varnel {

class Rig : public QObject {
    Q_OBJECT
public:
    // Shows a message box: text, style, title; returns the answer.
    using MessageBox = std::function<int(const QString&, int, const QString&)>;

    static constexpr int kStallLimit = 10;
    // A port that went away is tried again this often.
    static constexpr int kReopenIntervalMs = 2000;
    static constexpr int kUnparsedBufferLimit = 1024;
    static const QString kApplicationTitle; // "Varnel"

    explicit Rig(QObject* parent = nullptr);
    ~Rig() override;

    // The state every component instance shares; created with the first instance and gone
    // with the last.
    static std::shared_ptr<Rig> shared();

    // Radio type; false (after a message) when the name is not supported.
    bool setRadioType(const QString& name);
    int radioCode() const { return code_; }

    // Serial-port setters: 1 on success, 0 after showing "Error # n description".
    int commPort(int n);
    int handshaking(int type);
    int setPollInterval(int ms);
    int settings(const QString& text);
    int setIcomAddress(const QString& address);
    int portOpen(bool open);
    int dtrEnable(bool on);
    int rtsEnable(bool on);
    bool commPortState() const { return port_.isOpen(); }
    int commPortNumber() const { return port_.commPort(); }

    // Commands (queued; they leave on poll ticks).
    // False when the frequency is refused (not a number, outside the radio type's range, or
    // no CI-V address to send it to): nothing is queued, and the operator is shown why.
    bool setRadioFrequency(const QString& freqKHz);
    void setPttByCommand(bool on);
    void setDirectRadioCommand(const QString& text, bool hex);
    void putRadioFileName(const QString& path);

    QString radioFreq() const { return freq_; }
    QString radioMode() const { return mode_; }

    // Reply path: as if the text had come from the port.
    void inputTestString(const QString& text);

    void setDebugWindow();
    bool debugWindowShown() const { return window_ != nullptr; }
    DebugWindow* debugWindow() const { return window_; }

    // The poll tick: read input, send at most one command, poll when idle, count stalls.
    // kStallLimit waiting ticks in a row, with no reply taken, force a reset.
    void timerTick();
    void doStateMachineReset();
    void popRadioMessage();
    void nowOutputToRadio(const QByteArray& bytes, bool hex);

    // A port whose device went away (read or write error, hang-up) is closed and tried again
    // every kReopenIntervalMs until it opens or the host opens or closes it itself.
    bool portLost() const { return lost_; }
    void retryLostPort();
    QTimer& reopenTimer() { return reopenTimer_; }
    // The radio holds the line (XOFF, CTS): nothing is sent until it takes data again.
    bool holdingOff() const { return holdingOff_; }

    // Inspection, for tests.
    const CommandQueue& queue() const { return queue_; }
    QString stateTag() const { return stateTag_; }
    int stallCount() const { return stallCounter_; }
    QByteArray replyBuffer() const { return buffer_; }
    QByteArray kachinaRecord() const { return kachinaRecord_; }
    QString radioDataFile() const { return dataFile_; }
    QString icomAddress() const { return civAddress_; }
    SerialPort& port() { return port_; }
    QTimer& timer() { return timer_; }

    void setMessageBox(MessageBox box) { box_ = std::move(box); }

private:
    int report(const VbError& e); // 1 when no error, else shows it and gives 0
    void queueCommand(QueuedCommand command);
    // Sends row i of the queue, after the FT-847's CAT ON when that is due; false when the
    // line took nothing and the command stays.
    bool sendRow(int i);
    void holdOff();
    void lose(const VbError& e);
    void afterOpen();
    // Before the port closes: a transmitter keyed by a command is released, on the wire.
    void releaseBeforeClose();
    // The radio type's PTT-off command, as bytes.
    QByteArray releaseCommand() const;
    QString portName() const;
    void queueStatusPoll(const QString& tag);
    void processRadioInput(const QByteArray& bytes);
    ReplyContext replyContext() const;
    void clearRadioState() { stateTag_.clear(); }
    // The radio's frequency is not known any more: "0", here and in the debug window.
    void frequencyUnknown();
    void readRadioDataFile();
    void writeRadioDataFrequency(const QString& freqKHz);
    void debugLine(const QByteArray& bytes, bool hex, DebugWindow::Direction direction);
    void debugMessage(const QString& text);

    SerialPort port_;
    QTimer timer_;
    QTimer reopenTimer_;
    CommandQueue queue_;
    QString stateTag_;
    int stallCounter_ = 0;
    int code_ = 0;
    QString civAddress_;
    QByteArray buffer_;
    QString freq_;
    QString mode_;
    QByteArray kachinaRecord_;
    QString dataFile_;
    QPointer<DebugWindow> window_;
    bool lost_ = false;
    bool holdingOff_ = false;
    bool catOnDue_ = false;     // the FT-847 has not had CAT ON since the port opened
    bool keyedByCat_ = false;   // the last PTT command sent keyed the transmitter
    QByteArray inFlight_;       // the last command sent that awaits a reply
    MessageBox box_;
};

} // namespace varnel
