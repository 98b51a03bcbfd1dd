#include "sim/Mailbox.h"

#include <algorithm>
#include <fstream>

namespace vimo::sim {

std::optional<std::vector<uint8_t>> TakeMailbox(const std::string& path) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!f) return std::nullopt;
    char len = 0;
    if (!f.get(len)) return std::nullopt;
    const auto n = static_cast<unsigned char>(len);
    if (n == 0) return std::nullopt;
    std::vector<uint8_t> frame(n);
    f.read(reinterpret_cast<char*>(frame.data()), n);
    frame.resize(static_cast<std::size_t>(std::max<std::streamsize>(f.gcount(), 0)));
    f.clear();
    f.seekp(0);
    f.put(0);
    f.flush();
    return frame;
}

bool MailboxEmpty(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    char len = 0;
    return !f || !f.get(len) || len == 0;
}

bool PutMailbox(const std::string& path, std::span<const uint8_t> frame) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!f) {
        // A missing file is created.
        std::ofstream create(path, std::ios::binary);
        if (!create) return false;
        create.put(0);
        create.close();
        f.open(path, std::ios::in | std::ios::out | std::ios::binary);
        if (!f) return false;
    }
    const std::size_t n = std::min<std::size_t>(frame.size(), 255);
    f.seekp(1);
    f.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(n));
    f.flush();
    f.seekp(0);
    f.put(static_cast<char>(n));
    f.flush();
    return static_cast<bool>(f);
}

bool ClearMailbox(const std::string& path) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!f) {
        std::ofstream create(path, std::ios::binary);
        if (!create) return false;
        create.put(0);
        return static_cast<bool>(create);
    }
    f.put(0);
    return static_cast<bool>(f);
}

}  // namespace vimo::sim
