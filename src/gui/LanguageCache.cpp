#include "LanguageCache.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/FileNames.h"

namespace cfg::gui {

namespace {

constexpr std::uintmax_t kLargeFile = 64001;

// The same line rules as the settings reader: a section line "[name]", a key
// line "key=value" (";" starts a comment), values trimmed, surrounding
// quotes removed, cut at a NUL and at 255 characters.
bool SectionName(const std::string& line, std::string& name) {
    std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    auto close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

bool KeyValue(const std::string& line, std::string& key, std::string& value) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';') return false;
    auto eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return true;
}

std::string ProfileValue(std::string v) {
    if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
    auto nul = v.find('\0');
    if (nul != std::string::npos) v.resize(nul);
    if (v.size() > 255) v.resize(255);
    return v;
}

long long ModTime(const std::string& path) {
    std::error_code ec;
    auto t = std::filesystem::last_write_time(path, ec);
    return ec ? 0 : static_cast<long long>(t.time_since_epoch().count());
}

}  // namespace

void LanguageCache::Load(const std::string& file, const std::string& resolved) {
    loadedFile_ = file;
    resolvedPath_ = resolved;
    ini_.clear();
    sortedLines_.clear();
    size_ = 0;
    mtime_ = 0;
    large_ = false;
    if (resolved.empty()) return;
    std::error_code ec;
    size_ = std::filesystem::file_size(resolved, ec);
    if (ec) {
        resolvedPath_.clear();
        return;
    }
    mtime_ = ModTime(resolved);
    large_ = size_ >= kLargeFile;

    std::ifstream in(resolved, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string all = ss.str();

    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t nl = all.find('\n', start);
        lines.push_back(all.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }

    if (large_) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string line = lines[i];
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
            if (i == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
            sortedLines_.emplace_back(std::move(line), i);
        }
        std::sort(sortedLines_.begin(), sortedLines_.end());
        return;
    }

    std::string section;
    bool haveSection = false;
    for (auto& line : lines) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string name, k, v;
        if (SectionName(line, name)) {
            section = UpperCase(name);
            haveSection = true;
            continue;
        }
        if (haveSection && KeyValue(line, k, v)) ini_.emplace(std::make_pair(section, UpperCase(k)), ProfileValue(v));
    }
}

std::string LanguageCache::Lookup(const std::string& file, const std::string& section, const std::string& key) {
    std::string resolved = ResolveExisting(file);
    bool stale = file != loadedFile_ || resolved != resolvedPath_;
    if (!stale && !resolved.empty()) {
        std::error_code ec;
        auto size = std::filesystem::file_size(resolved, ec);
        stale = ec || size != size_ || ModTime(resolved) != mtime_;
    }
    if (stale) Load(file, resolved);
    if (resolvedPath_.empty()) return {};

    if (!large_) {
        auto it = ini_.find({UpperCase(section), UpperCase(key)});
        return it == ini_.end() ? std::string() : it->second;
    }
    // The first line of the file (by position) that begins with the key.
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

}  // namespace cfg::gui
