// The one shared state object of the program: every value that the shell, the
// link, the files and the editors share while the program runs, under the
// names the rest of the code uses. It also carries the three interfaces to the
// outside world (Ui, Clock, Transport) and the registry through which the
// boxes above the shell plug in their commands and sections.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "BackupOptions.h"
#include "Cells.h"
#include "Clock.h"
#include "ConfigState.h"
#include "FormEvents.h"
#include "LanguageIndex.h"
#include "LinkState.h"
#include "ScreenState.h"
#include "Sections.h"
#include "Texts.h"
#include "Transport.h"
#include "Ui.h"

namespace cfg {

inline constexpr int16_t kTrue = -1;          // VB True
inline constexpr int16_t kFlag255 = 255;
inline constexpr int16_t kFlag65535 = -1;     // 65535 held in a signed 16-bit word

// LinkStatus codes.
namespace status {
inline constexpr int kDone = 255;
inline constexpr int kAborted = 0;
inline constexpr int kRefused = 16;
inline constexpr int kNoReply = 129;
inline constexpr int kRefused130 = 130;
inline constexpr int kNoStartByte = 131;
inline constexpr int kBadLength = 132;
inline constexpr int kBadChecksum = 133;
inline constexpr int kOtherAddress = 134;
inline constexpr int kCommitRefused = 170;
inline constexpr int kNoSource = 240;
inline constexpr int kFileMissing = 254;
}  // namespace status

// What an operation that can fail gives back: its status code (one of the
// codes above; status::kDone when it succeeded) and the error number of a
// failed file or port operation, which the operation has already explained
// to the user where that was needed.
struct [[nodiscard]] OpResult {
    int status = status::kAborted;
    long error = 0;
    bool Done() const { return status == status::kDone; }
};

// Where the open configuration lives.
enum class ConfigSource : int16_t { None = 0, File = 1, Panel = 2 };

struct Session;

// The file commands that the boxes above the shell register so that the main
// loop can run them; the sections have their own table (Sections.h).
struct Commands {
    using Command = std::function<void(Session&, int option)>;
    using Action = std::function<void(Session&)>;

    Command open;       // code 51: 1 = file set, 2 = panel
    Command transfer;   // code 52: 1 = send, 2 = receive
    Command create;     // code 53: 1 = copy, 2 = create from DEFAULT
    Action refreshFromFile;   // state 3 with ConfigSource 1
    Action refreshFromPanel;  // state 3 with ConfigSource 2 (sets LinkStatus)
    Action closePanel;        // leave programming mode, release the port
    // Checks that file part 1..4 of the open set exists; returns 255 when it does.
    std::function<int(Session&, int part)> checkFilePart;
    // Run in main-loop state 0: clear working values of an open configuration.
    std::vector<Action> resetHooks;
};

struct ShellRecord {
    std::string ApplicationTitle = "CFG-Veltrano";
    int WindowTop = 0, WindowLeft = 0;
    int16_t CloseCommandCode = 0;
    int16_t ActiveSection = 0;
    int16_t SectionPartStatus = 0;
};

struct Session {
    Session(Ui& u, Clock& c) : ui(&u), clock(&c) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Ui* ui;
    Clock* clock;
    Transport* transport = nullptr;  // the link's byte pipe (serial or in-process panel)

    // --- main loop --------------------------------------------------------
    int16_t MainState = 0;
    int16_t SectionCommand = 0;
    int16_t CommandOption = 0;
    int16_t DiagnosticCommand = 0;
    int16_t ToolbarButtonIndex = 0;
    int16_t DispatchCode = 0;
    int16_t SuperiorOptionsConfirmed = 0;
    int16_t ClockProgramOption = 0;
    ShellRecord Shell;

    // --- configuration source ---------------------------------------------
    cfg::ConfigSource ConfigSource = cfg::ConfigSource::None;
    std::string ConfigFileName;

    // --- link and error state ---------------------------------------------
    int16_t PortOpened = 0;
    int16_t CloseBlocked = 0;
    int LinkStatus = 0;
    long LastErrorNumber = 0;
    int16_t QuietErrors = 0;

    // --- program folder and settings ----------------------------------------
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
    int16_t FileLinkMode = 0;  // 255 = frames go through the relay mailbox files
    std::string RelayPlantCode;
    std::string RelayBaudRate;
    BackupOptions backups;  // this run's own backup choices (command line)

    // --- flags raised by the front end, polled by the core --------------------
    FormEvents events;
    int16_t ScreenLocked = 0;

    // --- language -------------------------------------------------------------
    Texts texts;
    // The current language file, indexed for form texts and ids above 2000.
    LanguageIndex LanguageFileIndex;

    // --- boxes above the shell ---------------------------------------------
    ConfigState config;
    LinkState link;
    ScreenState screen;
    Commands commands;
    SectionTable sections;
};

}  // namespace cfg
