// A run-time error with the number the error handler and the file/port
// routines use (52 bad file name, 53 file not found, 57 device I/O error, ...).
#pragma once

#include <stdexcept>
#include <string>

namespace cfg {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long Number() const { return number_; }

private:
    long number_;
};

// Error numbers shared by the file and port routines.
namespace err {
// A routine was called with an argument it cannot take.
inline constexpr long kInvalidCall = 5;
inline constexpr long kSubscript = 9;
inline constexpr long kBadFileNameOrNumber = 52;
inline constexpr long kFileNotFound = 53;
inline constexpr long kFileAlreadyOpen = 55;
inline constexpr long kDeviceIo = 57;
inline constexpr long kFileExists = 58;
inline constexpr long kDiskFull = 61;
// Reading went past the end: the file is shorter than its kind.
inline constexpr long kInputPastEnd = 62;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kDiskNotReady = 71;
inline constexpr long kPathFileAccess = 75;
inline constexpr long kPathNotFound = 76;
inline constexpr long kInvalidPort = 8002;
inline constexpr long kPortAlreadyOpen = 8005;
// The name is a file, a folder or a device that is no serial port
// (/dev/null, a disk file given by mistake).
inline constexpr long kNotSerialPort = 8010;
// A network port (a serial device server at tcp://HOST:PORT): the name is
// not a usable address; the connection is refused, unreachable or not
// answered; the connection was closed by the other end.
inline constexpr long kBadNetworkAddress = 8101;
inline constexpr long kConnectionFailed = 8102;
inline constexpr long kConnectionLost = 8103;
}  // namespace err

// Maps an errno value from a failed file or port operation to the error
// number above.
long ErrorNumberFromErrno(int errnoValue);
// Short English description of an error number (for the generic message).
std::string ErrorDescription(long number);

}  // namespace cfg
