#pragma once
// Raw mode and line settings of a serial device, any speed included (14400, 28800).

namespace varnel::tty {

struct LineSettings {
    int baud = 9600;
    char parity = 'N';    // N, O, E, M, S
    int dataBits = 8;     // 5..8
    double stopBits = 1;  // 1, 1.5 (five data bits only), 2
    int handshaking = 0;  // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both
};

// Puts the device into raw mode with these settings. 0 on success, else an errno value.
int configure(int fd, const LineSettings& settings);

} // namespace varnel::tty
