// One language file, read once and indexed, so that translating a form (a
// few keys per control) does not read the file for every key. The answers
// are those of a language file entry: files under 64001 bytes follow the INI
// rules (section and key without regard to case, the first key of the
// section wins); larger files give the rest of the first line that begins
// with the key, whatever the section.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cfg {

inline constexpr std::uintmax_t kLargeLanguageFile = 64001;

class LanguageIndex {
public:
    // One value of `file`; "" when absent. The file is read again when its
    // name, size or modification time changes.
    std::string Lookup(const std::string& file, const std::string& section, const std::string& key);

private:
    void Load(const std::string& file, const std::string& resolved);

    std::string file_;      // the name asked for
    std::string resolved_;  // the file found on disk ("" when none)
    std::uintmax_t size_ = 0;
    long long mtime_ = 0;
    bool large_ = false;
    // Small files: (upper-cased section, upper-cased key) -> first value.
    std::map<std::pair<std::string, std::string>, std::string> keys_;
    // Large files: every line with its position, sorted by text, so that the
    // lines beginning with a key are neighbours.
    std::vector<std::pair<std::string, std::size_t>> sortedLines_;
};

}  // namespace cfg
