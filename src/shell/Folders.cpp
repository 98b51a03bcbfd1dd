#include "Folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "FileNames.h"
#include "Session.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

std::string Normal(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\')) s.pop_back();
    return s;
}

// An XDG variable counts only when it holds an absolute path.
std::string AbsoluteOrEmpty(const std::string& value) {
    if (value.empty() || !fs::path(value).is_absolute()) return {};
    return value;
}

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

bool HasProgramData(const std::string& folder) {
    return !folder.empty() && !ListFilesWithExtension(folder, ".lng").empty();
}

bool FolderAcceptsFiles(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    const fs::path probe = fs::path(folder) / ".cfg-veltrano-write-probe";
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out) return false;
    }
    fs::remove(probe, ec);
    return true;
}

ProgramFolders LocateFolders(const std::string& programFolder, const std::string& chosenFolder,
                             bool programFolderWritable, const FolderEnvironment& env) {
    ProgramFolders f;
    f.program = Normal(programFolder);
    const std::string shared = Normal(fs::path(f.program) / ".." / "share" / kInstallFolderName);
    const std::string chosen = chosenFolder.empty() ? std::string() : Normal(chosenFolder);

    if (!chosen.empty() && HasProgramData(chosen)) f.data = chosen;
    else if (HasProgramData(f.program)) f.data = f.program;
    else if (HasProgramData(shared)) f.data = shared;
    else f.data = chosen.empty() ? f.program : chosen;

    if (!chosen.empty()) {
        f.settings = f.files = chosen;
        return f;
    }
    const bool installed = f.data == shared || !programFolderWritable;
    std::string configBase = AbsoluteOrEmpty(env.xdgConfigHome);
    std::string dataBase = AbsoluteOrEmpty(env.xdgDataHome);
    if (!env.home.empty()) {
        if (configBase.empty()) configBase = Normal(fs::path(env.home) / ".config");
        if (dataBase.empty()) dataBase = Normal(fs::path(env.home) / ".local" / "share");
    } else if (!env.appData.empty()) {
        if (configBase.empty()) configBase = env.appData;
        if (dataBase.empty()) dataBase = env.appData;
    }
    if (!installed || configBase.empty() || dataBase.empty()) {
        // A portable program, or nowhere else to go.
        f.settings = f.files = f.program;
        return f;
    }
    f.settings = Normal(fs::path(configBase) / kInstallFolderName);
    f.files = Normal(fs::path(dataBase) / kInstallFolderName);
    f.userFolders = true;
    return f;
}

FolderEnvironment ReadFolderEnvironment() {
    FolderEnvironment env;
#ifndef _WIN32
    env.home = EnvOrEmpty("HOME");
    env.xdgConfigHome = EnvOrEmpty("XDG_CONFIG_HOME");
    env.xdgDataHome = EnvOrEmpty("XDG_DATA_HOME");
#endif
    // On Windows only %APPDATA% counts: a HOME that a Unix-like shell set
    // for its own tools must not move the settings out of the user's
    // application data.
    env.appData = EnvOrEmpty("APPDATA");
    return env;
}

bool MakeFolders(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    return fs::is_directory(folder, ec);
}

void ApplyFolders(Settings& settings, const ProgramFolders& f) {
    settings.DataFolder = f.data;
    settings.SettingsFolder = f.settings;
    settings.FilesFolder = f.files;
}

const std::string& DataFolderOf(const Settings& settings) { return settings.DataFolder.empty() ? settings.ProgramFolder : settings.DataFolder; }
const std::string& SettingsFolderOf(const Settings& settings) {
    return settings.SettingsFolder.empty() ? settings.ProgramFolder : settings.SettingsFolder;
}
const std::string& FilesFolderOf(const Settings& settings) { return settings.FilesFolder.empty() ? settings.ProgramFolder : settings.FilesFolder; }

}  // namespace cfg
