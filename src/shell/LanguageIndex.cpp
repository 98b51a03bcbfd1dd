#include "LanguageIndex.h"

#include <algorithm>
#include <filesystem>

#include "FileNames.h"
#include "IniFile.h"

namespace cfg {

namespace {

long long ModTime(const std::string& path) {
    std::error_code ec;
    auto t = std::filesystem::last_write_time(path, ec);
    return ec ? 0 : static_cast<long long>(t.time_since_epoch().count());
}

}  // namespace

void LanguageIndex::Load(const std::string& file, const std::string& resolved) {
    file_ = file;
    resolved_ = resolved;
    keys_.clear();
    sortedLines_.clear();
    size_ = 0;
    mtime_ = 0;
    large_ = false;
    if (resolved.empty()) return;
    std::error_code ec;
    size_ = std::filesystem::file_size(resolved, ec);
    IniLines ini;
    if (ec || !ReadIniLines(resolved, ini)) {
        resolved_.clear();
        return;
    }
    mtime_ = ModTime(resolved);
    large_ = size_ >= kLargeLanguageFile;

    if (large_) {
        sortedLines_.reserve(ini.lines.size());
        for (std::size_t i = 0; i < ini.lines.size(); ++i) sortedLines_.emplace_back(std::move(ini.lines[i]), i);
        std::sort(sortedLines_.begin(), sortedLines_.end());
        return;
    }
    VisitIniKeys(ini.lines, [this](const std::string& section, const std::string& key, const std::string& value) {
        keys_.emplace(std::make_pair(section, key), value);
        return false;
    });
}

std::string LanguageIndex::Lookup(const std::string& file, const std::string& section, const std::string& key) {
    const std::string resolved = ResolveExisting(file);
    bool stale = file != file_ || resolved != resolved_;
    if (!stale && !resolved.empty()) {
        std::error_code ec;
        auto size = std::filesystem::file_size(resolved, ec);
        stale = ec || size != size_ || ModTime(resolved) != mtime_;
    }
    if (stale) Load(file, resolved);
    if (resolved_.empty()) return {};

    if (!large_) {
        auto it = keys_.find({UpperCase(section), UpperCase(key)});
        return it == keys_.end() ? std::string() : it->second;
    }
    // The first line of the file (by position) that begins with the key; the
    // character after the key (normally "=") is skipped.
    auto it = std::lower_bound(sortedLines_.begin(), sortedLines_.end(), std::make_pair(key, std::size_t{0}));
    const std::string* best = nullptr;
    std::size_t bestPos = 0;
    for (; it != sortedLines_.end() && it->first.compare(0, key.size(), key) == 0; ++it) {
        if (!best || it->second < bestPos) {
            best = &it->first;
            bestPos = it->second;
        }
    }
    if (!best) return {};
    return best->size() > key.size() + 1 ? best->substr(key.size() + 1) : std::string();
}

}  // namespace cfg
