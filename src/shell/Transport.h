// A byte pipe to the panel: a serial port, the relay mailbox files or an
// in-process simulated panel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cfg {

struct PortSettings {
    std::string portName = "COM1";  // any name the platform knows: COM12, /dev/ttyUSB0, a pty,
                                    // tcp://HOST:PORT for a serial device server
    int baud = 9600;
    char parity = 'N';  // N, E, O, M, S
    int dataBits = 8;
    int stopBits = 1;
};

class Transport {
public:
    virtual ~Transport() = default;

    // Returns 0 on success or a run-time error number: 8002 invalid port,
    // 8005 port already open, 57 device I/O error, 68 device unavailable,
    // 8101 bad network address, 8102 connection refused or not answered.
    virtual int Open(const PortSettings&) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void FlushInput() = 0;
    // Returns 0 on success or a run-time error number.
    virtual int Write(const std::vector<uint8_t>&) = 0;
    // Bytes that have arrived, at most maxBytes (0 = all), without waiting.
    virtual std::vector<uint8_t> Read(std::size_t maxBytes) = 0;
    virtual std::size_t BytesAvailable() = 0;
    // Waits up to ms for input; returns as soon as a byte is there. Returns
    // true when input is waiting.
    virtual bool WaitForInput(int ms) = 0;
    // A run-time error number once the link is gone for good while open (a
    // network connection closed by the other end), else 0. A serial line
    // cannot tell a silent panel from a pulled cable, so it never reports one.
    virtual int LinkFailure() { return 0; }
};

}  // namespace cfg
