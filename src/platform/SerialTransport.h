// The panel link's byte pipe over a real serial port: QSerialPort on Linux
// and macOS, the Win32 communications API on Windows (win/). Any name the
// platform accepts works: COM12, ttyUSB0, /dev/ttyUSB0, a pty's path.
//
// It works with or without a running Qt event loop: reads and waits pull
// what the driver holds directly, so the command-line front end only needs
// a QCoreApplication to exist.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "shell/Transport.h"

class QSerialPort;

namespace cfg {

class SerialTransport final : public Transport {
public:
    SerialTransport();
    ~SerialTransport() override;
    SerialTransport(const SerialTransport&) = delete;
    SerialTransport& operator=(const SerialTransport&) = delete;

    // Errors: 8002 no such port (or no name), 8005 port busy or not allowed,
    // 8010 a file, folder or device that is no serial port, 380 a setting
    // the port refuses, 68 any other failure to open.
    int Open(const PortSettings&) override;
    void Close() override;
    bool IsOpen() const override;
    void FlushInput() override;
    // 57 when the bytes could not be written.
    int Write(const std::vector<uint8_t>&) override;
    std::vector<uint8_t> Read(std::size_t maxBytes) override;
    std::size_t BytesAvailable() override;
    bool WaitForInput(int ms) override;

private:
#ifdef _WIN32
    void* handle_ = nullptr;         // the port's HANDLE while open
    std::vector<uint8_t> pending_;   // bytes a wait has already taken from the driver
    unsigned long readWaitMs_ = 0;   // the read time-out the port is set to now
    bool SetReadWait(unsigned long ms);
    void Pull(unsigned long waitMs);
#else
    std::unique_ptr<QSerialPort> port_;
#endif
    int baud_ = 9600;
};

// A serial port the platform lists.
struct SerialPortEntry {
    std::string name;         // what goes into the settings: "COM3", "ttyUSB0"
    std::string location;     // the system path: "\\.\COM3", "/dev/ttyUSB0"
    std::string description;  // the driver's description, may be empty
    std::string manufacturer;  // USB adapters: what the adapter reports, may be empty
    std::string serialNumber;  // USB adapters: tells two adapters of one kind apart
};

// What tells the port apart in a menu: description, manufacturer and serial
// number (after `serialLabel`), each once: "FT232R USB UART, FTDI, serial
// no. A10K3XYZ". Empty for a port that reports none of them.
std::string DescribePort(const SerialPortEntry&, const std::string& serialLabel);

// The serial ports present now, sorted by name.
std::vector<SerialPortEntry> ListSerialPorts();

// Windows names a device by an instance path. A USB adapter with a serial
// number of its own carries it there: "USB\VID_0403&PID_6001\A10K3XYZ",
// or through the FTDI driver "FTDIBUS\VID_0403+PID_6001+A10K3XYZA\0000".
// The serial number, or empty when the path holds none (a number made up by
// Windows contains '&').
std::string SerialNumberOfInstance(const std::string& instancePath);

// A port's friendly name without the "(COM3)" that Windows appends, since
// the menu shows the port's name anyway.
std::string FriendlyNameWithoutPort(const std::string& friendlyName, const std::string& portName);

}  // namespace cfg
