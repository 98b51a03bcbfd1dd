#include "shell/SafeWrite.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace cfg {

namespace {

std::error_code LastError(std::errc fallback) {
    return errno != 0 ? std::error_code(errno, std::generic_category()) : std::make_error_code(fallback);
}

// The file a write lands in: a link is followed, so that the link stays and
// its target gets the new content.
std::string FinalTarget(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path target = fs::canonical(path, ec);
    return ec ? path : target.string();
}

}  // namespace

long CurrentProcessId() {
#if defined(_WIN32)
    return static_cast<long>(_getpid());
#else
    return static_cast<long>(getpid());
#endif
}

bool ProcessMayBeRunning(long pid) {
    if (pid <= 0) return false;
#if defined(_WIN32)
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    CloseHandle(h);
    return running;
#else
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#endif
}

std::string TemporaryPathFor(const std::string& path) {
    std::random_device random;
    const unsigned long token = (static_cast<unsigned long>(random()) << 16) ^ random();
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld-%08lx.tmp", CurrentProcessId(), token & 0xFFFFFFFFul);
    return FinalTarget(path) + suffix;
}

std::error_code CommitTemporary(const std::string& temporary, const std::string& path) {
    const std::string target = FinalTarget(path);
    std::error_code ec;
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old)) {
        std::error_code ignored;
        fs::permissions(temporary, old.permissions(), ignored);
    }
    if (!ec && fs::is_directory(old)) {
        ec = std::make_error_code(std::errc::is_a_directory);
    } else {
        // std::filesystem::rename replaces an existing file on every system
        // (MoveFileEx with MOVEFILE_REPLACE_EXISTING on Windows).
        ec.clear();
        fs::rename(temporary, target, ec);
    }
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return ec;
}

std::error_code WriteFileWhole(const std::string& path, std::string_view bytes) {
    const std::string temporary = TemporaryPathFor(path);
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return LastError(std::errc::permission_denied);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.flush();
    std::error_code ec;
    if (!out) ec = LastError(std::errc::no_space_on_device);
    out.close();
    if (!ec && out.fail()) ec = LastError(std::errc::no_space_on_device);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return ec;
    }
    return CommitTemporary(temporary, path);
}

}  // namespace cfg
