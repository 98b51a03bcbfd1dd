// The clock programmer's window: a week of time programs, the holidays and
// the two closing periods. The core builds everything the window shows (every
// text already looked up in the language file) and the window hands back what
// the user did, one action at a time; the core then changes its tables,
// rebuilds the view and waits again.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace cfg {

// The three pages of the window.
enum class ClockPage { Programs = 0, Holidays = 1, Periods = 2 };

// What one channel of a program does, as its indicator shows it.
enum class ChannelState { Unchanged = 0, Off = 1, On = 2 };

inline constexpr int kClockDays = 7;
inline constexpr int kProgramsPerDay = 8;
inline constexpr int kChannels = 8;
inline constexpr int kHolidays = 12;
inline constexpr int kPeriods = 2;

struct ClockProgramRow {
    bool empty = true;
    std::string time;  // "hh:mm"; "" for an empty program
    std::array<ChannelState, kChannels> channels{};
};

struct ClockProgrammerView {
    ClockPage page = ClockPage::Programs;
    int day = 0;  // 0 = Monday .. 6 = Sunday
    // The week at a glance: how many programs each day has.
    std::array<int, kClockDays> programCount{};
    std::string dayCaption;  // "Monday programs"
    std::string noPrograms;  // shown when the day has none
    std::array<ClockProgramRow, kProgramsPerDay> rows;
    // Column headings and button texts of the program rows.
    std::string programHeading, timeHeading, channelsHeading, modifyText, legend;
    std::array<std::string, 3> channelStateText;  // tool-tips by ChannelState
    std::string channelText;                      // "Channel" (before its number)
    std::string copyText;                         // "Copy the programs to another day"
    std::string copyHint;                         // which day to choose
    std::string clearText;                        // "Delete program"
    std::array<std::string, 3> pageTitle;         // by ClockPage
    // Holidays, in order: "dd/mm" of each entry that holds a date.
    std::vector<std::string> holidays;
    std::string holidayHeading, noHolidays, addHolidayText, removeHolidayText;
    // The two closing periods: their names and "from dd/mm to dd/mm" or the
    // "no period" text.
    std::array<std::string, kPeriods> periodName, periodText;
    std::array<bool, kPeriods> periodSet{};
    std::string periodsHeading;
    // Set after a reset of a damaged program table.
    std::string notice;
};

enum class ClockAction {
    Close,           // the window was closed (the section ends)
    ShowPage,        // page
    SelectDay,       // day
    EditProgram,     // day, row: ask its time
    CycleChannel,    // day, row, channel 1..8
    ClearProgram,    // day, row
    CopyDay,         // day (source), target
    AddHoliday,
    EditHoliday,     // row = holiday 0..11 in the shown order
    RemoveHoliday,   // row
    EditPeriod,      // row = period 0..1
    ClearPeriod,     // row
};

struct ClockEvent {
    ClockAction action = ClockAction::Close;
    ClockPage page = ClockPage::Programs;
    int day = 0;
    int row = 0;
    int channel = 0;
    int target = 0;
};

class ClockProgrammerUi {
public:
    virtual ~ClockProgrammerUi() = default;
    // Shows the window (or brings it up to date with `view`) and waits,
    // letting events run, until the user acts.
    virtual ClockEvent WaitClockProgrammer(const ClockProgrammerView& view) = 0;
    // Takes the window away.
    virtual void CloseClockProgrammer() = 0;
};

}  // namespace cfg
