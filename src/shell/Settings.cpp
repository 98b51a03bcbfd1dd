#include "Settings.h"

#include <fstream>

#include "FileNames.h"
#include "IniFile.h"
#include "Input.h"
#include "Language.h"
#include "Text.h"
#include "Folders.h"
#include "SafeWrite.h"

namespace cfg {

namespace {

// Texts.
constexpr int kPlantCodeTitle = 2;
constexpr int kPlantCodePrompt = 3;

}  // namespace

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& def) {
    IniLines ini;
    std::string path = ResolveExisting(file);
    if (path.empty() || !ReadIniLines(path, ini)) return def;
    const std::string wantSection = UpperCase(section), wantKey = UpperCase(key);
    std::string found = def;
    VisitIniKeys(ini.lines, [&](const std::string& sec, const std::string& k, const std::string& value) {
        if (sec != wantSection || k != wantKey) return false;
        found = value;
        return true;
    });
    return found;
}

bool WriteProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
    std::string path = ResolveForWrite(file);
    IniLines ini;
    ReadIniLines(path, ini);
    std::string wantSection = UpperCase(section), wantKey = UpperCase(key);
    std::string newLine = key + "=" + IniWriteValue(value);
    bool inSection = false, sectionFound = false, done = false;
    std::size_t insertAt = 0;  // after the last non-blank line of the section
    for (std::size_t i = 0; i < ini.lines.size() && !done; ++i) {
        std::string name, k, v;
        if (IniSectionLine(ini.lines[i], name)) {
            if (inSection) break;
            inSection = UpperCase(name) == wantSection;
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
            continue;
        }
        if (!inSection) continue;
        if (IniKeyLine(ini.lines[i], k, v) && UpperCase(k) == wantKey) {
            ini.lines[i] = newLine;
            done = true;
        } else if (!Trim(ini.lines[i]).empty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionFound) {
            ini.lines.insert(ini.lines.begin() + static_cast<long>(insertAt), newLine);
        } else {
            ini.lines.push_back("[" + section + "]");
            ini.lines.push_back(newLine);
        }
    }
    std::string text;
    for (const auto& l : ini.lines) text += l + ini.eol;
    return !WriteFileWhole(path, text);
}

std::string SettingsFilePath(const Session& s) {
    return JoinPath(SettingsFolderOf(s.settings), std::string(s.main.Shell.ApplicationTitle) + ".ini");
}

std::string SettingsCaption(const Settings& settings) {
    if (settings.FileLinkMode) return settings.CommPortName + "  " + settings.RelayBaudRate + "  " + settings.RelayPlantCode;
    return settings.CommPortName + "  " + settings.BaudRate + "  " + settings.PlantCode;
}

void LoadSettings(Session& s) {
    std::string file = SettingsFilePath(s);
    if (!FileExists(file)) (void)WriteFileWhole(file, "    \n");
    s.settings.CommPortName = GetProfileString(file, "startup", "Serial", "COM1");
    s.settings.BaudRate = GetProfileString(file, "startup", "Baud", "9600");
    s.settings.DataBits = GetProfileString(file, "startup", "Nbit", "8");
    s.settings.ParityName = GetProfileString(file, "startup", "Parity", "NO PARITY");
    s.settings.StopBits = GetProfileString(file, "startup", "Stopb", "1");
    s.settings.PlantCode = GetProfileString(file, "startup", "Codimp", "11");
    s.settings.CurrentLanguage = GetProfileString(file, "Language", "CurrentLanguage", "Italiano");
    s.ui->SetSettingsLabel(SettingsCaption(s.settings));
}

void SaveSettings(Session& s) {
    std::string file = SettingsFilePath(s);
    WriteProfileString(file, "startup", "Serial", s.settings.CommPortName);
    WriteProfileString(file, "startup", "Baud", s.settings.BaudRate);
    WriteProfileString(file, "startup", "Nbit", s.settings.DataBits);
    WriteProfileString(file, "startup", "Parity", s.settings.ParityName);
    WriteProfileString(file, "startup", "Stopb", s.settings.StopBits);
    WriteProfileString(file, "startup", "Codimp", s.settings.PlantCode);
    WriteProfileString(file, "Language", "CurrentLanguage", s.settings.CurrentLanguage);
    s.ui->SetSettingsLabel(SettingsCaption(s.settings));
}

void ChoosePort(Session& s, const std::string& portName) {
    s.settings.CommPortName = portName;
    s.settings.DataBits = "8";
    s.settings.ParityName = "N";
    s.settings.StopBits = "1";
    SaveSettings(s);
}

bool IsPanelBaudRate(const std::string& text) {
    for (const char* rate : kPanelBaudRates)
        if (text == rate) return true;
    return false;
}

void ChooseBaud(Session& s, const std::string& baud) {
    s.settings.BaudRate = baud;
    SaveSettings(s);
}

bool ChoosePlantCode(Session& s) {
    long v = 0;
    long initial = static_cast<long>(ParseNumber(s.settings.PlantCode));
    if (AskNumber(s, ValueTopic::PlantCode, GetText(s, kPlantCodeTitle), GetText(s, kPlantCodePrompt), initial, 0,
                  223, v, 1000, 800) != kInputConfirmed)
        return false;
    s.settings.PlantCode = std::to_string(v);
    SaveSettings(s);
    return true;
}

}  // namespace cfg
