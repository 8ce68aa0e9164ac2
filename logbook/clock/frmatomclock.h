#pragma once
// The station clock ("Atomic Clock"): shows the local time, asks a DAYTIME time server (one text
// line on TCP port 13) for the UTC time once, sets the computer's clock to it and says how far
// the clock was moved. Its settings are in [Atom Clock].
#include <QByteArray>
#include <QDateTime>
#include <QWidget>
#include <cstdint>
#include <optional>

class QLabel;
class QTcpSocket;
class QTimer;

class frmAtomClock : public QWidget {
    Q_OBJECT
public:
    ~frmAtomClock() override;

    static frmAtomClock* existing();
    // The window, loaded on first use.
    static frmAtomClock& instance();
    // Shows the window modeless, owned by the main window.
    void showOwned();

    void Form_Load();
    void doAtomClockINISetup();
    void Timer1_Timer();
    void Winsock1_DataArrival();
    void Winsock1_Error(const QString& description);
    void Form_Unload();
    void Unload();

    QLabel* CurrentSystemTime = nullptr;
    QLabel* lblError = nullptr;
    QTimer* Timer1 = nullptr;
    QTcpSocket* Winsock1 = nullptr;

    std::int16_t timeOutSeconds() const { return timeOut_; }
    QString serverAddress() const { return address_; }
    bool finished() const { return finished_; }
    // What has arrived of the server's reply.
    QByteArray received() const { return received_; }

    // The DAYTIME port; tests point the window at a server of their own.
    static void setPort(quint16 port);

    // The UTC time in a DAYTIME reply laid out as "MJD YY-MM-DD HH:MM:SS ..." (any text before
    // or after); nothing when the reply is in another layout or a value is out of range.
    static std::optional<QDateTime> ParseDaytime(const QByteArray& reply);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    explicit frmAtomClock(QWidget* owner);
    void showStatus(const QString& text, std::int32_t colour);
    void connectToServer();
    void handleReply();
    void showLocalTime();
    // Whether the window is done: finished before, or the time-out has passed since opening, by
    // the clock, whenever asked (a reply read late, after the program was kept busy, is judged by
    // the time it is read). Shows the time-out the first time it finds it passed.
    bool doneOrTimedOut();
    void timeOut();
    // Adds what has arrived to the reply, no more than a reply can be.
    void readReply();

    std::int16_t timeOut_ = 10;
    QString address_;
    qint64 openedMs_ = 0;
    qint64 elapsedMs_ = 0;
    bool finished_ = false;
    bool unloaded_ = false;
    QByteArray received_;
};
