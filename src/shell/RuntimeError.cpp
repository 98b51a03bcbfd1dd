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
    case 9: return "Subscript out of range";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 8002: return "Invalid port number";
    case 8005: return "Port already open";
    case 8010: return "Not a serial port";
    case 8101: return "Bad network address";
    case 8102: return "Connection refused or not answered";
    case 8103: return "Connection closed by the other end";
    default: return "Application-defined or object-defined error";
    }
}

}  // namespace cfg
