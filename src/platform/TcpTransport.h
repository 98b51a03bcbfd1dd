// The panel link's byte pipe to a serial device server: a serial-to-Ethernet
// converter that carries the panel's line as a raw TCP stream. The port name
// is tcp://HOST:PORT; baud rate and frame format belong to the converter's
// own set-up and are not sent.
//
// Like SerialTransport it needs no running event loop: connecting, writing
// and reading wait on the socket directly.
#pragma once

#include <memory>

#include "shell/Transport.h"

class QTcpSocket;

namespace cfg {

class TcpTransport final : public Transport {
public:
    // How long a connection may take before it counts as not answered.
    static constexpr int kConnectMs = 5000;

    TcpTransport();
    ~TcpTransport() override;
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;

    // Errors: 8101 not a tcp://HOST:PORT name, 8102 refused, unknown host,
    // unreachable or no answer within kConnectMs, 8005 already open.
    int Open(const PortSettings&) override;
    void Close() override;
    bool IsOpen() const override;
    void FlushInput() override;
    // 8103 when the connection is gone, 57 when the bytes could not be written.
    int Write(const std::vector<uint8_t>&) override;
    std::vector<uint8_t> Read(std::size_t maxBytes) override;
    std::size_t BytesAvailable() override;
    bool WaitForInput(int ms) override;
    // 8103 once the other end has closed the connection (or the network
    // dropped it) while this side still holds it open.
    int LinkFailure() override;

private:
    // Takes what the socket holds without waiting; notices a closed connection.
    void Pull();

    std::unique_ptr<QTcpSocket> socket_;
    bool open_ = false;  // Open succeeded and Close has not been called
};

}  // namespace cfg
