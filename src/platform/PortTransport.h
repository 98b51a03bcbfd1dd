// The transport the settings name: a serial port (COM3, /dev/ttyUSB0, a
// pty or a link to one), or a serial device server when the name is
// tcp://HOST:PORT. The choice is made at every Open, so a port changed in
// the settings menu takes effect with the next exchange.
#pragma once

#include "platform/SerialTransport.h"
#include "platform/TcpTransport.h"

namespace cfg {

class PortTransport final : public Transport {
public:
    int Open(const PortSettings&) override;
    void Close() override;
    bool IsOpen() const override;
    void FlushInput() override;
    int Write(const std::vector<uint8_t>&) override;
    std::vector<uint8_t> Read(std::size_t maxBytes) override;
    std::size_t BytesAvailable() override;
    bool WaitForInput(int ms) override;
    int LinkFailure() override;

private:
    SerialTransport serial_;
    TcpTransport tcp_;
    Transport* active_ = &serial_;
};

// Opens the named port with `ps` and closes it again: 0 when it opens, else
// the run-time error number of Open. For "Other port..." in the settings.
int ProbePort(const PortSettings& ps);

}  // namespace cfg
