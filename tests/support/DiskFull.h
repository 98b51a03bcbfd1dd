// A full disk for the duration of a test: files of this process cannot grow
// past `bytes` (RLIMIT_FSIZE; the signal it raises is ignored, so a write
// past the limit fails with EFBIG as on a full disk). POSIX only:
// Available() is false elsewhere. Commands run as child processes inherit
// both the limit and the ignored signal.
#pragma once

#if !defined(_WIN32)
#include <csignal>
#include <sys/resource.h>
#endif

namespace cfg::test {

class DiskFull {
public:
    explicit DiskFull(long bytes) {
#if !defined(_WIN32)
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
        rlimit limited = saved_;
        limited.rlim_cur = static_cast<rlim_t>(bytes);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
#else
        (void)bytes;
#endif
    }
    ~DiskFull() {
#if !defined(_WIN32)
        if (active_) setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
#endif
    }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
    bool Available() const { return active_; }

private:
    bool active_ = false;
#if !defined(_WIN32)
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
#endif
};

}  // namespace cfg::test
