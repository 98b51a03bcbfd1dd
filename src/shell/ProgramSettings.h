// The program's settings: the serial link's parameters and plant code from
// the settings file, the current language, the folders the program works in,
// the relay's values and this run's backup choices.
#pragma once

#include <cstdint>
#include <string>

#include "BackupOptions.h"

namespace cfg {

struct Settings {
    std::string ProgramFolder;  // the executable's folder (or --folder)
    // Language files, DEFAULT set, pictures and guide; the settings file's
    // folder; the folder of file sets. "" means ProgramFolder (shell/Folders.h).
    std::string DataFolder;
    std::string SettingsFolder;
    std::string FilesFolder;
    std::string ProgramDrive;
    std::string CommPortName = "COM1";
    std::string BaudRate = "9600";
    std::string DataBits = "8";
    std::string ParityName = "NO PARITY";
    std::string StopBits = "1";
    std::string PlantCode = "11";
    std::string CurrentLanguage = "Italiano";
    bool FileLinkMode = false;  // frames go through the relay mailbox files
    std::string RelayPlantCode;
    std::string RelayBaudRate;
    BackupOptions backups;  // this run's own backup choices (command line)
};

}  // namespace cfg
