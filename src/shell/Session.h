// The state of the program, held in named parts: the settings, the main
// loop's registers, the front end's events, the texts, the open
// configuration, the link and the configuration list. A routine that needs
// one part takes that part; the whole Session goes only where several parts
// meet. It also carries the three interfaces to the outside world (Ui, Clock,
// Transport) and the registry through which the boxes above the shell plug in
// their commands and sections.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Cells.h"
#include "Clock.h"
#include "ConfigState.h"
#include "FormEvents.h"
#include "LanguageIndex.h"
#include "LinkState.h"
#include "MainRegisters.h"
#include "ProgramSettings.h"
#include "ScreenState.h"
#include "Sections.h"
#include "Texts.h"
#include "Transport.h"
#include "Ui.h"

namespace cfg {

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

// A link operation's result as it left it in the link's status word; the
// error number only goes with a failure.
inline OpResult LinkResult(const LinkState& link) {
    return {link.LinkStatus, link.LinkStatus == status::kDone ? 0 : link.LastErrorNumber};
}

// Records a link operation's status in LinkStatus, where the error report,
// the command line and the main loop read it, and gives it back as the
// operation's result.
inline OpResult Finish(LinkState& link, int status) {
    link.LinkStatus = status;
    return LinkResult(link);
}

struct Session;

// The file commands that the boxes above the shell register so that the main
// loop can run them; the sections have their own table (Sections.h).
struct Commands {
    using Command = std::function<void(Session&, int option)>;
    using Action = std::function<void(Session&)>;
    using Refresh = std::function<OpResult(Session&)>;

    Command open;       // code 51: 1 = file set, 2 = panel
    Command transfer;   // code 52: 1 = send, 2 = receive
    Command create;     // code 53: 1 = copy, 2 = create from DEFAULT
    Refresh refreshFromFile;   // state 3 with ConfigSource 1
    Refresh refreshFromPanel;  // state 3 with ConfigSource 2
    Action closePanel;        // leave programming mode, release the port
    // Checks that file part 1..4 of the open set exists; returns 255 when it does.
    std::function<int(Session&, int part)> checkFilePart;
    // Run in main-loop state 0: clear working values of an open configuration.
    std::vector<Action> resetHooks;
};

struct Session {
    Session(Ui& u, Clock& c) : ui(&u), clock(&c) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Ui* ui;
    Clock* clock;
    Transport* transport = nullptr;  // the link's byte pipe (serial or in-process panel)

    Settings settings;      // settings file, folders, relay values, backups
    MainRegisters main;     // the main loop's state and the command left for it
    FormEvents events;      // flags raised by the front end, polled by the core
    Texts texts;            // the language's numbered texts
    // The current language file, indexed for form texts and ids above 2000.
    LanguageIndex LanguageFileIndex;
    ConfigState config;     // the open configuration: source, names, image
    LinkState link;         // the panel link, its status and the error globals
    ScreenState screen;     // the configuration list and its descriptors
    Commands commands;
    SectionTable sections;
};

// Runs a section routine and gives back its outcome: status::kDone, or the
// status of the block read or write that stopped it (already reported). The
// outcome is the routine's own: a routine that reads nothing has succeeded,
// whatever an earlier operation left in the link's status word.
inline OpResult RunSection(Session& s, SectionDef::Run run, PrintMode mode, int option) {
    s.link.LinkStatus = status::kDone;
    run(s, mode, option);
    return LinkResult(s.link);
}

}  // namespace cfg
