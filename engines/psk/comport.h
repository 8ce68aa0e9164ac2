#pragma once
// Serial port numbers and the push-to-talk line of the dedicated PTT port.
#include <string>

namespace psk {

// Port n is /dev/ttyS<n-1> unless the environment variable SONDREL_COM<n> names a device.
std::string comPortDevice(int port);

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
