#pragma once
// Radios on pseudo-terminals, for the component's tests: each answers its model's CAT
// commands as the real radio does and records what the component set. Driven either by
// hand (pump) or from the event loop (startAutomatic).
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

class RadioSimulator : public QObject {
    Q_OBJECT
public:
    enum Model { Icom, Icom735, OmniVI, Kenwood, FT1000D, FT1000MP, FT990, FT847 };

    explicit RadioSimulator(Model model, QObject* parent = nullptr);
    ~RadioSimulator() override;

    bool isOpen() const { return master_ >= 0; }
    QString devicePath() const { return slavePath_; }
    // Points serial port n at this radio (SONDREL_COM<n>).
    void assignToPort(int n) const;

    // Behaviour.
    void setCivAddress(unsigned char address) { civAddress_ = address; }
    void setAcknowledge(bool on) { acknowledge_ = on; }  // CI-V FB/FA frames
    void setPieces(int n) { pieces_ = n < 1 ? 1 : n; }   // each answer in n pieces, one per pump
    void setDelayPumps(int n) { delayPumps_ = n; }       // pumps before an answer starts
    void setSilent(bool on) { silent_ = on; }            // no answers (the CI-V echo stays)
    void setGarbage(bool on) { garbage_ = on; }          // answers scrambled
    void setNoModeRead(bool on) { noModeRead_ = on; }    // CI-V: FA to the mode read

    // The line itself.
    void unplug();                 // the device goes away: both ends closed, the node gone
    bool replug();                 // a new device in its place (assign it to the port again)
    void sendRaw(const QByteArray& bytes); // written to the component at once
    void holdOff() { sendRaw(QByteArray(1, '\x13')); }  // XOFF
    void resume() { sendRaw(QByteArray(1, '\x11')); }   // XON
    // CI-V transceive: the radio broadcasts its frequency to address 00.
    void broadcastFrequency();

    // Radio state.
    qint64 frequencyHz() const { return hz_; }
    void setFrequencyHz(qint64 hz) { hz_ = hz; }
    int modeCode() const { return mode_; }
    void setModeCode(int code) { mode_ = code; }
    bool ptt() const { return ptt_; }
    bool catOn() const { return catOn_; }
    void setCatOn(bool on) { catOn_ = on; }

    // Every complete command received, in order, and every byte.
    const QList<QByteArray>& commands() const { return commands_; }
    QByteArray received() const { return received_; }
    void clearRecord() { commands_.clear(); received_.clear(); }

    // Reads what arrived (waiting up to timeoutMs until `expect` more bytes came), answers
    // complete commands, and writes the answer pieces that are due. Returns the number of
    // bytes written.
    int pump(int expect = 0, int timeoutMs = 1000);
    void startAutomatic(int periodMs = 5);

private:
    bool openPty();
    void handle();
    void handleCiv();
    void handleKenwood();
    void handleYaesu();
    void handleFT847(const QByteArray& block);
    void handleYaesuBlock(const QByteArray& block);
    void answer(QByteArray bytes, QByteArray echo = {});
    QByteArray civFrame(const QByteArray& body) const;
    QByteArray kenwoodIf() const;
    QByteArray yaesuStatus() const;

    struct Piece {
        QByteArray bytes;
        int wait;
    };

    Model model_;
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QByteArray rx_;
    QByteArray received_;
    QList<QByteArray> commands_;
    QList<Piece> outbox_;
    unsigned char civAddress_ = 0x58;
    bool acknowledge_ = true;
    int pieces_ = 1;
    int delayPumps_ = 0;
    bool silent_ = false;
    bool garbage_ = false;
    bool noModeRead_ = false;
    qint64 hz_ = 14070150;
    int mode_ = 1;
    bool ptt_ = false;
    bool catOn_ = false;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* timer_ = nullptr;
};
