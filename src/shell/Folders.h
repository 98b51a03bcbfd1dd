// Where the program finds its own files and where it keeps the user's.
//
// A program that runs from a writable folder holding its data (the build
// tree, an unpacked archive, a Windows folder of its own) keeps everything
// there, as it always did. An installed program (its data under
// ../share/cfg-veltrano beside the executable's folder, or an executable
// folder that takes no new files) reads its data from there and keeps the
// settings file in the user's configuration folder and the file sets in the
// user's data folder (XDG, or %APPDATA% on Windows). Backups and anything
// else kept "beside the settings file" follow SettingsFilePath.
#pragma once

#include <string>

namespace cfg {

struct Session;
struct Settings;

// The folder name under share/ and under the user's folders.
inline constexpr const char* kInstallFolderName = "cfg-veltrano";

// The environment variables that decide the user's folders; passed in so that
// the choice can be tested.
struct FolderEnvironment {
    std::string home;           // HOME
    std::string xdgConfigHome;  // XDG_CONFIG_HOME (ignored unless absolute)
    std::string xdgDataHome;    // XDG_DATA_HOME (ignored unless absolute)
    std::string appData;        // APPDATA, used when there is no HOME
};

struct ProgramFolders {
    std::string program;   // the executable's folder
    std::string data;      // language files, DEFAULT set, pictures, user guide
    std::string settings;  // the settings file's folder
    std::string files;     // where file sets are kept (file choosers start here)
    bool userFolders = false;  // settings and file sets are in the user's folders
};

// programFolder: the executable's folder; chosenFolder: the folder given on
// the command line ("" when none), which then holds settings and file sets
// (and the data, when it has language files); programFolderWritable: whether
// new files can be made in programFolder.
ProgramFolders LocateFolders(const std::string& programFolder, const std::string& chosenFolder,
                             bool programFolderWritable, const FolderEnvironment&);

// True when the folder holds at least one language file.
bool HasProgramData(const std::string& folder);
// True when a new file can be made in the folder (tried with a probe file).
bool FolderAcceptsFiles(const std::string& folder);
// The process's own environment (the composition roots call it once).
FolderEnvironment ReadFolderEnvironment();
// Makes the folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

// Puts the folders into the session (ProgramFolder is the executable's
// folder, or the chosen one).
void ApplyFolders(Settings&, const ProgramFolders&);
// The session's folders; each falls back to ProgramFolder when not set.
const std::string& DataFolderOf(const Settings&);
const std::string& SettingsFolderOf(const Settings&);
const std::string& FilesFolderOf(const Settings&);

}  // namespace cfg
