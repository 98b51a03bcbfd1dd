#include "RuntimeError.h"

#include <cerrno>

namespace cfg {

long ErrorNumberFromErrno(int e) {
    switch (e) {
    case ENOENT: return err::kFileNotFound;
    case ENOTDIR: return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return err::kPermissionDenied;
    case EBUSY:
    case ETXTBSY: return err::kPathFileAccess;
    case EEXIST: return err::kFileExists;
    case ENOSPC:
    case EFBIG: return err::kDiskFull;
    case ENODEV:
    case ENXIO: return err::kDiskNotReady;
    case ENAMETOOLONG:
    case EINVAL: return err::kBadFileNameOrNumber;
    case EISDIR: return err::kPathFileAccess;
    case EIO: return err::kDeviceIo;
    default: return err::kDeviceIo;
    }
}

std::string ErrorDescription(long number) {
    switch (number) {
    case err::kSubscript: return "Subscript out of range";
    case err::kBadFileNameOrNumber: return "Bad file name or number";
    case err::kFileNotFound: return "File not found";
    case err::kFileAlreadyOpen: return "File already open";
    case err::kDeviceIo: return "Device I/O error";
    case err::kFileExists: return "File already exists";
    case err::kDiskFull: return "Disk full";
    case err::kPermissionDenied: return "Permission denied";
    case err::kDiskNotReady: return "Disk not ready";
    case err::kPathFileAccess: return "Path/File access error";
    case err::kPathNotFound: return "Path not found";
    case err::kInvalidPort: return "Invalid port number";
    case err::kPortAlreadyOpen: return "Port already open";
    case err::kNotSerialPort: return "Not a serial port";
    case err::kBadNetworkAddress: return "Bad network address";
    case err::kConnectionFailed: return "Connection refused or not answered";
    case err::kConnectionLost: return "Connection closed by the other end";
    default: return "Application-defined or object-defined error";
    }
}

}  // namespace cfg
