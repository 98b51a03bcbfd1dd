#include "platform/SerialTransport.h"

#include <algorithm>

#include <QSerialPort>
#include <QSerialPortInfo>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cfg {

namespace {

constexpr int kErrInvalidPort = 8002;
constexpr int kErrPortBusy = 8005;
constexpr int kErrDeviceIo = 57;
constexpr int kErrDeviceUnavailable = 68;
constexpr int kErrInvalidSetting = 380;
constexpr int kErrNotSerialPort = 8010;

int OpenErrorNumber(QSerialPort::SerialPortError e) {
    switch (e) {
    case QSerialPort::DeviceNotFoundError: return kErrInvalidPort;
    case QSerialPort::PermissionError:  // in use by another program, or not ours
    case QSerialPort::OpenError: return kErrPortBusy;
    default: return kErrDeviceUnavailable;
    }
}

bool ApplySettings(QSerialPort& port, const PortSettings& ps) {
    QSerialPort::DataBits bits;
    switch (ps.dataBits) {
    case 5: bits = QSerialPort::Data5; break;
    case 6: bits = QSerialPort::Data6; break;
    case 7: bits = QSerialPort::Data7; break;
    case 8: bits = QSerialPort::Data8; break;
    default: return false;
    }
    QSerialPort::Parity parity;
    switch (ps.parity) {
    case 'N': parity = QSerialPort::NoParity; break;
    case 'E': parity = QSerialPort::EvenParity; break;
    case 'O': parity = QSerialPort::OddParity; break;
    case 'M': parity = QSerialPort::MarkParity; break;
    case 'S': parity = QSerialPort::SpaceParity; break;
    default: return false;
    }
    QSerialPort::StopBits stop;
    switch (ps.stopBits) {
    case 1: stop = QSerialPort::OneStop; break;
    case 2: stop = QSerialPort::TwoStop; break;
    default: return false;
    }
    return ps.baud > 0 && port.setBaudRate(ps.baud) && port.setDataBits(bits) && port.setParity(parity) &&
           port.setStopBits(stop) && port.setFlowControl(QSerialPort::NoFlowControl);
}

#if !defined(_WIN32)
// The device file a port name stands for: a name without a folder lies in
// /dev, as the serial port library takes it.
std::string DevicePath(const std::string& name) {
    return name.find('/') == std::string::npos ? "/dev/" + name : name;
}

// True when `name` names something that exists but cannot be a serial
// port: a folder, a disk file, a pipe; with `probeDevice` also a device that
// is no terminal (/dev/null). Only used where the port library has already
// refused the name, or where opening cannot disturb a line (no device).
bool NotASerialPort(const std::string& name, bool probeDevice) {
    struct stat st {};
    const std::string path = DevicePath(name);
    if (stat(path.c_str(), &st) != 0) {
        // No such device; a file or folder of that name in the working
        // folder is what the user pointed at.
        if (path == name || stat(name.c_str(), &st) != 0) return false;  // missing: "does not exist"
        return !S_ISCHR(st.st_mode);
    }
    if (!S_ISCHR(st.st_mode)) return true;
    if (!probeDevice) return false;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;  // busy or not allowed: the library's answer stands
    const bool terminal = isatty(fd) == 1;
    ::close(fd);
    return !terminal;
}
#endif

}  // namespace

SerialTransport::SerialTransport() : port_(std::make_unique<QSerialPort>()) {}

SerialTransport::~SerialTransport() = default;

int SerialTransport::Open(const PortSettings& ps) {
    if (port_->isOpen()) return kErrPortBusy;
    if (ps.portName.empty()) return kErrInvalidPort;
#if !defined(_WIN32)
    if (NotASerialPort(ps.portName, false)) return kErrNotSerialPort;
#endif
    port_->setPortName(QString::fromStdString(ps.portName));
    if (!port_->open(QIODevice::ReadWrite)) {
        int number = OpenErrorNumber(port_->error());
        port_->clearError();
#if !defined(_WIN32)
        if (number != kErrInvalidPort && NotASerialPort(ps.portName, true)) number = kErrNotSerialPort;
#endif
        return number;
    }
    if (!ApplySettings(*port_, ps)) {
        port_->close();
        port_->clearError();
#if !defined(_WIN32)
        if (NotASerialPort(ps.portName, true)) return kErrNotSerialPort;
#endif
        return kErrInvalidSetting;
    }
    // Some adapters power the line driver from RTS. A pseudo-terminal has
    // no modem lines and refuses; that is no reason to fail.
    port_->setRequestToSend(true);
    port_->clearError();
    baud_ = ps.baud;
    return 0;
}

void SerialTransport::Close() {
    if (port_->isOpen()) port_->close();
    port_->clearError();
}

bool SerialTransport::IsOpen() const { return port_->isOpen(); }

void SerialTransport::FlushInput() {
    if (!port_->isOpen()) return;
    port_->readAll();
    port_->clear(QSerialPort::Input);
    port_->clearError();
}

int SerialTransport::Write(const std::vector<uint8_t>& bytes) {
    if (!port_->isOpen()) return kErrDeviceIo;
    const auto size = static_cast<qint64>(bytes.size());
    if (port_->write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        port_->clearError();
        return kErrDeviceIo;
    }
    // Push the bytes to the driver now: the caller may not run an event loop.
    // Allow the wire time of the frame and a second more.
    const int limitMs = static_cast<int>(size * 10 * 1000 / std::max(baud_, 1)) + 1000;
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(limitMs)) {
            port_->clearError();
            return kErrDeviceIo;
        }
    }
    return 0;
}

std::vector<uint8_t> SerialTransport::Read(std::size_t maxBytes) {
    if (BytesAvailable() == 0) return {};
    const QByteArray a = maxBytes == 0 ? port_->readAll() : port_->read(static_cast<qint64>(maxBytes));
    return std::vector<uint8_t>(a.begin(), a.end());
}

std::size_t SerialTransport::BytesAvailable() {
    if (!port_->isOpen()) return 0;
    if (port_->bytesAvailable() == 0) {
        // Take what the driver holds without waiting.
        port_->waitForReadyRead(0);
        port_->clearError();
    }
    return static_cast<std::size_t>(port_->bytesAvailable());
}

bool SerialTransport::WaitForInput(int ms) {
    if (!port_->isOpen()) return false;
    if (port_->bytesAvailable() > 0) return true;
    port_->waitForReadyRead(std::max(ms, 0));
    port_->clearError();
    return port_->bytesAvailable() > 0;
}

std::vector<SerialPortEntry> ListSerialPorts() {
    std::vector<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                         info.description().toStdString(), info.manufacturer().toStdString(),
                         info.serialNumber().toStdString()});
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.name < b.name; });
    return ports;
}

}  // namespace cfg
