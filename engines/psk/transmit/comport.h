#pragma once
// The push-to-talk line of the dedicated PTT port.
namespace psk {

// Keys the transmitter by raising RTS, DTR or both on a serial port. Opening never keys:
// both lines are dropped at once.
class PttPort {
public:
    PttPort() = default;
    ~PttPort() { close(); }
    PttPort(const PttPort&) = delete;
    PttPort& operator=(const PttPort&) = delete;

    // line: 0 none, 1 RTS, 2 DTR, 3 both. Port 0 closes. Returns false when the port cannot
    // be opened.
    bool open(int port, int line);
    void close();
    void key(bool on);
    bool isOpen() const { return fd_ >= 0; }
    bool keyed() const { return keyed_; }

private:
    int fd_ = -1;
    int line_ = 0;
    bool keyed_ = false;
};

} // namespace psk
