// The section table: what every configuration section is, in one place. The
// main loop reads it to check and run a section command, the front ends to
// map their toolbar keys to codes, the printout to collect every section's
// lines. The boxes above the shell fill it (src/app registers the rows).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cfg {

struct Session;

// The file of a set that a section needs when the configuration is a file
// set; the main loop checks that it exists before the section runs.
enum class FilePart : int8_t { None = 0, Main = 1, Clock = 2, Logic = 3, Texts = 4 };

// Command codes the main loop handles itself, not sections.
inline constexpr int16_t kCloseCommand = 12;   // "chiude": close the configuration
inline constexpr int16_t kOpenCommand = 51;    // "apre" popup
inline constexpr int16_t kTransferCommand = 52;  // "trasferisce" popup
inline constexpr int16_t kCreateCommand = 53;  // "crea" popup

// Which word of the session a section receives as its option.
enum class SectionOption : int8_t {
    None,           // 0
    Command,        // CommandOption: the popup entry chosen
    ClockProgram,   // ClockProgramOption: the popup entry, as the guard left it
};

// How a section routine runs: with the user (its screen, its questions, its
// writes), or only building its lines in the screen buffer, as the printout
// takes them, showing and asking nothing.
enum class PrintMode : int8_t { Interactive, LinesOnly };

struct FileSetImage;
struct Texts;

struct SectionDef {
    using Run = std::function<void(Session&, PrintMode mode, int option)>;
    // The lines the section prints, built from a file set held in memory:
    // the same lines its run gives in print mode with that set open. False
    // when the bytes it shows cannot be read (a file of the set missing).
    using Print = std::function<bool(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines)>;
    // Asked in main-loop state 4 before the section runs, with the option it
    // will get (the guard may change it). False leaves the section closed;
    // the guard has told the user why, if anything needed saying.
    using Guard = std::function<bool(Session&, int16_t& option)>;

    int16_t code = 0;           // SectionCommand / DispatchCode
    std::string toolbarKey;     // the Toolbar1 key that sends the code; "" for popup entries
    FilePart part = FilePart::None;
    int titleText = 0;          // the section's title text id (0 = none)
    SectionOption option = SectionOption::None;
    bool panelOnly = false;     // refused (silently) unless the panel is open
    bool locksToolbar = false;  // every Toolbar1 button disabled while it runs
    bool printable = false;     // builds its lines in PrintMode::LinesOnly
    Guard guard;
    Run run;
    Print print;  // set for every printable section
};

class SectionTable {
public:
    // Adds a row, or replaces the row of the same code.
    void Add(SectionDef def);
    const SectionDef* Find(int code) const;
    // The row whose toolbar key is `key`; nullptr for none.
    const SectionDef* FindKey(std::string_view key) const;
    // Rows in the order they were added.
    const std::vector<SectionDef>& Rows() const { return rows_; }

private:
    std::vector<SectionDef> rows_;
};

// The code a Toolbar1 key sends: the section of that key, 12 for "chiude",
// 0 for a key that sends nothing (popup buttons, gaps).
int16_t SectionCodeOfKey(const SectionTable&, std::string_view key);

}  // namespace cfg
