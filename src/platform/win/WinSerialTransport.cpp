// SerialTransport on Windows: a COM port through the Win32 communications
// API. The port is opened for plain (not overlapped) I/O and every read is
// bounded by the port's time-outs, so that nothing blocks for longer than
// the caller asked: a read that must not wait returns what the driver
// holds at once; a wait of n ms returns with the first byte that arrives,
// or after n ms with none. The link polls its abort flag between waits, so
// the abort button and the time-outs work as on Linux.
#include "platform/SerialTransport.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace cfg {

namespace {

constexpr int kErrInvalidPort = 8002;
constexpr int kErrPortBusy = 8005;
constexpr int kErrDeviceIo = 57;
constexpr int kErrDeviceUnavailable = 68;
constexpr int kErrInvalidSetting = 380;
constexpr int kErrNotSerialPort = 8010;

// What one read may take from the driver.
constexpr DWORD kReadChunk = 4096;

HANDLE H(void* h) { return static_cast<HANDLE>(h); }

// "COM12" -> "\\.\COM12": the device namespace reaches every port, also
// those above COM9. A name that already is a device path is kept.
std::string DevicePath(const std::string& name) {
    if (name.rfind("\\\\", 0) == 0) return name;
    return "\\\\.\\" + name;
}

int OpenErrorNumber(DWORD e) {
    switch (e) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return kErrInvalidPort;
    case ERROR_ACCESS_DENIED:  // in use by another program
    case ERROR_SHARING_VIOLATION: return kErrPortBusy;
    default: return kErrDeviceUnavailable;
    }
}

// The frame format into the DCB; false for a value the port cannot take.
bool FillDcb(DCB& dcb, const PortSettings& ps, bool modemLines) {
    if (ps.baud <= 0 || ps.dataBits < 5 || ps.dataBits > 8) return false;
    dcb.BaudRate = static_cast<DWORD>(ps.baud);
    dcb.ByteSize = static_cast<BYTE>(ps.dataBits);
    switch (ps.parity) {
    case 'N': dcb.Parity = NOPARITY; break;
    case 'E': dcb.Parity = EVENPARITY; break;
    case 'O': dcb.Parity = ODDPARITY; break;
    case 'M': dcb.Parity = MARKPARITY; break;
    case 'S': dcb.Parity = SPACEPARITY; break;
    default: return false;
    }
    switch (ps.stopBits) {
    case 1: dcb.StopBits = ONESTOPBIT; break;
    case 2: dcb.StopBits = TWOSTOPBITS; break;
    default: return false;
    }
    dcb.fBinary = TRUE;
    dcb.fParity = ps.parity != 'N';
    // No flow control: the panel has neither handshake lines nor XON/XOFF,
    // and its frames carry bytes that would look like XON and XOFF.
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Some adapters power the line driver from RTS (and DTR): raise both.
    dcb.fDtrControl = modemLines ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = modemLines ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    return true;
}

}  // namespace

SerialTransport::SerialTransport() = default;

SerialTransport::~SerialTransport() { Close(); }

int SerialTransport::Open(const PortSettings& ps) {
    if (handle_) return kErrPortBusy;
    const std::string path = DevicePath(ps.portName);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        // A folder given as the port is refused with "access denied", which
        // otherwise means a port in use.
        const DWORD attributes = GetFileAttributesA(ps.portName.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return kErrNotSerialPort;
        return OpenErrorNumber(e);
    }
    // A file, or a device that keeps no communications state (NUL, CON),
    // is no serial port.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetFileType(h) != FILE_TYPE_CHAR || !GetCommState(h, &dcb)) {
        CloseHandle(h);
        return kErrNotSerialPort;
    }
    bool set = FillDcb(dcb, ps, true) && SetCommState(h, &dcb);
    if (!set) {
        // A port without modem lines (a virtual port, a pseudo-terminal
        // behind Wine) may refuse DTR and RTS; that is no reason to fail.
        DCB plain{};
        plain.DCBlength = sizeof plain;
        set = GetCommState(h, &plain) && FillDcb(plain, ps, false) && SetCommState(h, &plain);
    }
    if (!set) {
        CloseHandle(h);
        return kErrInvalidSetting;
    }
    SetupComm(h, kReadChunk, kReadChunk);
    // A write may take the frame's time on the wire and a second more.
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;  // reads return at once until a wait is asked for
    t.WriteTotalTimeoutMultiplier = static_cast<DWORD>((10 * 1000 + ps.baud - 1) / ps.baud);
    t.WriteTotalTimeoutConstant = 1000;
    if (!SetCommTimeouts(h, &t)) {
        CloseHandle(h);
        return kErrDeviceUnavailable;
    }
    PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    handle_ = h;
    readWaitMs_ = 0;
    pending_.clear();
    baud_ = ps.baud;
    return 0;
}

void SerialTransport::Close() {
    if (!handle_) return;
    CloseHandle(H(handle_));
    handle_ = nullptr;
    pending_.clear();
}

bool SerialTransport::IsOpen() const { return handle_ != nullptr; }

// 0: a read returns what the driver holds at once. n: a read waits up to
// n ms for the first byte and returns as soon as one is there.
bool SerialTransport::SetReadWait(unsigned long ms) {
    if (ms == readWaitMs_) return true;
    COMMTIMEOUTS t{};
    if (!GetCommTimeouts(H(handle_), &t)) return false;
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = ms == 0 ? 0 : MAXDWORD;
    t.ReadTotalTimeoutConstant = ms;
    if (!SetCommTimeouts(H(handle_), &t)) return false;
    readWaitMs_ = ms;
    return true;
}

void SerialTransport::Pull(unsigned long waitMs) {
    if (!handle_) return;
    waitMs = std::min<unsigned long>(waitMs, INT_MAX);
    uint8_t buffer[kReadChunk];
    DWORD got = 0;
    if (!SetReadWait(waitMs) || !ReadFile(H(handle_), buffer, kReadChunk, &got, nullptr)) {
        // A line error (framing, overrun) stops the port until it is
        // cleared; a vanished adapter keeps failing. Clear and rest for the
        // wait asked, so that a caller that polls does not spin.
        DWORD errors = 0;
        ClearCommError(H(handle_), &errors, nullptr);
        if (waitMs > 0) Sleep(waitMs);
        return;
    }
    pending_.insert(pending_.end(), buffer, buffer + got);
}

void SerialTransport::FlushInput() {
    if (!handle_) return;
    pending_.clear();
    PurgeComm(H(handle_), PURGE_RXCLEAR);
    // Whatever the purge could not reach (a driver that buffers on its own).
    Pull(0);
    pending_.clear();
}

int SerialTransport::Write(const std::vector<uint8_t>& bytes) {
    if (!handle_) return kErrDeviceIo;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD n = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 16));
        if (!WriteFile(H(handle_), bytes.data() + done, n, &wrote, nullptr) || wrote == 0) {
            DWORD errors = 0;
            ClearCommError(H(handle_), &errors, nullptr);
            return kErrDeviceIo;
        }
        done += wrote;
    }
    return 0;
}

std::vector<uint8_t> SerialTransport::Read(std::size_t maxBytes) {
    if (BytesAvailable() == 0) return {};
    const std::size_t n = maxBytes == 0 ? pending_.size() : std::min(maxBytes, pending_.size());
    std::vector<uint8_t> out(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
}

std::size_t SerialTransport::BytesAvailable() {
    if (!handle_) return 0;
    if (pending_.empty()) Pull(0);
    return pending_.size();
}

bool SerialTransport::WaitForInput(int ms) {
    if (!handle_) return false;
    if (!pending_.empty()) return true;
    Pull(static_cast<unsigned long>(std::max(ms, 0)));
    return !pending_.empty();
}

}  // namespace cfg
