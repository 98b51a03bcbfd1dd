#include "platform/TcpTransport.h"

#include <QTcpSocket>
#include <algorithm>
#include <chrono>
#include <thread>

#include "shell/LinkSettings.h"
#include "shell/RuntimeError.h"

namespace cfg {

namespace {

// Writing a frame of a few dozen bytes to a local socket takes no time; a
// second covers a congested network without hanging the link.
constexpr int kWriteMs = 1000;

}  // namespace

TcpTransport::TcpTransport() : socket_(std::make_unique<QTcpSocket>()) {}

TcpTransport::~TcpTransport() = default;

int TcpTransport::Open(const PortSettings& ps) {
    if (open_) return static_cast<int>(err::kPortAlreadyOpen);
    std::string host;
    uint16_t port = 0;
    if (!ParseNetworkPortName(ps.portName, host, port)) return static_cast<int>(err::kBadNetworkAddress);
    socket_->abort();
    socket_->connectToHost(QString::fromStdString(host), port);
    if (!socket_->waitForConnected(kConnectMs)) {
        socket_->abort();
        return static_cast<int>(err::kConnectionFailed);
    }
    // Frames are short and the panel waits for each one whole: send at once.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    open_ = true;
    return 0;
}

void TcpTransport::Close() {
    if (socket_->state() != QAbstractSocket::UnconnectedState) {
        socket_->disconnectFromHost();
        if (socket_->state() != QAbstractSocket::UnconnectedState) socket_->waitForDisconnected(200);
    }
    socket_->abort();
    open_ = false;
}

bool TcpTransport::IsOpen() const { return open_; }

void TcpTransport::Pull() {
    if (socket_->state() == QAbstractSocket::ConnectedState) socket_->waitForReadyRead(0);
}

void TcpTransport::FlushInput() {
    if (!open_) return;
    Pull();
    socket_->readAll();
}

int TcpTransport::Write(const std::vector<uint8_t>& bytes) {
    if (!open_) return static_cast<int>(err::kDeviceIo);
    if (socket_->state() != QAbstractSocket::ConnectedState) return static_cast<int>(err::kConnectionLost);
    const auto size = static_cast<qint64>(bytes.size());
    if (socket_->write(reinterpret_cast<const char*>(bytes.data()), size) != size)
        return static_cast<int>(err::kConnectionLost);
    while (socket_->bytesToWrite() > 0) {
        if (!socket_->waitForBytesWritten(kWriteMs)) {
            return static_cast<int>(socket_->state() == QAbstractSocket::ConnectedState ? err::kDeviceIo
                                                                                        : err::kConnectionLost);
        }
    }
    return 0;
}

std::vector<uint8_t> TcpTransport::Read(std::size_t maxBytes) {
    if (BytesAvailable() == 0) return {};
    const QByteArray a = maxBytes == 0 ? socket_->readAll() : socket_->read(static_cast<qint64>(maxBytes));
    return std::vector<uint8_t>(a.begin(), a.end());
}

std::size_t TcpTransport::BytesAvailable() {
    if (!open_) return 0;
    if (socket_->bytesAvailable() == 0) Pull();
    return static_cast<std::size_t>(socket_->bytesAvailable());
}

bool TcpTransport::WaitForInput(int ms) {
    if (!open_) return false;
    if (socket_->bytesAvailable() > 0) return true;
    if (socket_->state() != QAbstractSocket::ConnectedState) {
        // Nothing can arrive any more; still rest, so that a caller that
        // polls in a loop does not spin.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0)));
        return false;
    }
    socket_->waitForReadyRead(std::max(ms, 0));
    return socket_->bytesAvailable() > 0;
}

int TcpTransport::LinkFailure() {
    if (!open_) return 0;
    Pull();
    return socket_->state() == QAbstractSocket::ConnectedState ? 0 : static_cast<int>(err::kConnectionLost);
}

}  // namespace cfg
