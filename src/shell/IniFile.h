// The line rules of private-profile (INI) files, shared by the settings
// file and the language files: "[name]" opens a section, "key=value" is a
// key line (";" starts a comment), names match without regard to case.
#pragma once

#include <string>
#include <vector>

namespace cfg {

struct IniLines {
    std::vector<std::string> lines;  // without their line ends
    std::string eol = "\n";          // "\r\n" when the file uses it
};

// Reads a file as lines: a UTF-8 byte-order mark at the start and the line
// ends ("\n", "\r\n") are removed. False when the file cannot be opened.
bool ReadIniLines(const std::string& path, IniLines&);

// "[name]" (blanks allowed around it): true with the trimmed name.
bool IniSectionLine(const std::string& line, std::string& name);
// "key = value": true with the trimmed key and the raw trimmed value; false
// for comments and lines without "=".
bool IniKeyLine(const std::string& line, std::string& key, std::string& value);
// A raw value as the profile call returns it: cut at a CR or NUL,
// surrounding quotes removed, cut at 255 characters.
std::string IniValue(std::string raw);
// The text to write after "key=" so that IniValue reads back exactly v:
// quoted when v has blanks at either end or is itself enclosed in quotes.
std::string IniWriteValue(const std::string& v);

// Calls visit(upper-cased section, upper-cased key, value) for every key
// line that stands under a section header, in file order; stops when visit
// returns true.
template <typename Visit>
void VisitIniKeys(const std::vector<std::string>& lines, Visit visit);

}  // namespace cfg

#include "FileNames.h"

namespace cfg {
template <typename Visit>
void VisitIniKeys(const std::vector<std::string>& lines, Visit visit) {
    std::string section;
    bool inSection = false;
    for (const auto& line : lines) {
        std::string name, key, value;
        if (IniSectionLine(line, name)) {
            section = UpperCase(name);
            inSection = true;
            continue;
        }
        if (inSection && IniKeyLine(line, key, value) && visit(section, UpperCase(key), IniValue(value))) return;
    }
}
}  // namespace cfg
