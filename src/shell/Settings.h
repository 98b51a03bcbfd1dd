// The settings file beside the program and the private-profile (INI) access
// that it and the language files use.
#pragma once

#include <array>
#include <string>

#include "Session.h"

namespace cfg {

// Windows private-profile semantics: sections and keys match without regard
// to case, values are cut at 255 characters, a missing key gives the default.
std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& def);
// Updates the key in place (or appends it, creating the section when
// needed) and keeps every other line. Returns false when the file cannot be
// written.
bool WriteProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value);

std::string SettingsFilePath(const Session&);
// Creates a missing file with one line of four blanks, then reads the seven
// keys (defaults COM1, 9600, 8, NO PARITY, 1, 11, Italiano).
void LoadSettings(Session&);
void SaveSettings(Session&);
// "COM1  9600  11", or the relay values in file link mode.
std::string SettingsCaption(const Settings&);

// The baud rates a panel's serial line runs at (the settings menu's list).
inline constexpr std::array<const char*, 4> kPanelBaudRates = {"1200", "2400", "4800", "9600"};
bool IsPanelBaudRate(const std::string& text);

// Settings menu actions. A port choice resets the frame format to 8/N/1.
void ChoosePort(Session&, const std::string& portName);
void ChooseBaud(Session&, const std::string& baud);
// Asks for the plant code (0..223); returns true when it changed.
bool ChoosePlantCode(Session&);

}  // namespace cfg
