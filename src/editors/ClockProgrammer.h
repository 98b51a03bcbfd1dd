// Section 6: the clock programmer. Three tables of the .PY2 part:
//
//   programs  350 cells: 7 days x 8 programs x 6 bytes (hour, minute, mask B,
//             mask A, two bytes carried as they are), a checksum of the 336
//             program bytes (high, low) and 12 spare cells;
//   periods    10 cells: two closing periods of 4 bytes (first day, first
//             month, last day, last month), a ninth byte carried as it is and
//             a spare cell;
//   dates      24 cells: 12 holidays of 2 bytes (day, month).
//
// With a file set they sit at offsets 0, 350 and 360 of the .PY2; with the
// panel at the addresses its directory gives (entries 11, 9 and 10). Changes
// are kept in the tables and saved when the section ends, each table by its
// pending-changes bit.
#pragma once

#include <cstdint>
#include <vector>
#include <string>

#include "link/Screen.h"
#include "shell/Session.h"

namespace cfg {

// Bits of ConfigState::PendingChanges.
inline constexpr int16_t kPendingPrograms = 1;
inline constexpr int16_t kPendingDates = 2;
inline constexpr int16_t kPendingPeriods = 4;

// Directory entries of the clock tables.
inline constexpr PanelEntry kPeriodsEntry = PanelEntry::ClockPeriods;
inline constexpr PanelEntry kDatesEntry = PanelEntry::ClockDates;
inline constexpr PanelEntry kProgramsEntry = PanelEntry::ClockPrograms;
inline constexpr PanelEntry kProgramsLengthEntry = PanelEntry::ClockProgramsLength;
inline constexpr PanelEntry kMarkerEntry = PanelEntry::ClockMarker;

// The section's title.
inline constexpr int kClockTitleText = 106;

// Hour byte of a program that is not set.
inline constexpr int kEmptyHour = 255;

// The first cell (hour) of program `program` (0..7) of day `day` (0..6).
constexpr int ProgramCell(int day, int program) { return 48 * day + 6 * program + 1; }

// The state of channel 1..8 from a program's two masks: unchanged while its
// bit is clear in mask A, Off with the bit set in A only, On with it set in
// both.
ChannelState ChannelStateOf(Cell maskA, Cell maskB, int channel);
// One click on the channel's indicator: Unchanged -> Off -> On -> Unchanged.
void CycleChannel(Cell& maskA, Cell& maskB, int channel);

// Day 1..31 of month 1..12 (29 February allowed: the holidays recur yearly).
bool ValidDayMonth(int day, int month);

// Reads the three tables from the open source and checks the program
// table's checksum; a damaged table becomes all 255 and pending. Not done
// (after the block routine or an alert has said why) when they could not be
// read: status::kFileMissing for a file set without its clock file.
OpResult LoadClockTables(Session&);

// The three saves; each clears its pending bit when it succeeds.
OpResult SaveProgramTable(Session&);
OpResult SaveDateTable(Session&);
OpResult SavePeriodTable(Session&);
// Saves what is pending: programs, then holidays, then periods; alert 0131
// when any of them failed.
void SaveClockChanges(Session&);

// Edits of the tables (each marks its table pending). A day's programs are
// rows 0..7; a program's time and masks change together.
int ProgramCount(const ConfigState&, int day);
inline int ProgramCount(const Session& s, int day) { return ProgramCount(s.config, day); }
void SetProgramTime(Session&, int day, int program, int hour, int minute);
void CycleProgramChannel(Session&, int day, int program, int channel);
void ClearProgram(Session&, int day, int program);
void CopyDay(ConfigState&, int from, int to);
// Holidays: how many entries hold a date; the entries are kept ordered by
// month and day, the unused ones (day 0) last.
int HolidayCount(const ConfigState&);
inline int HolidayCount(const Session& s) { return HolidayCount(s.config); }
void SortHolidays(Session&);
// Puts day/month in the first unused entry; false when all 12 are used.
bool AddHoliday(Session&, int day, int month);
void SetHoliday(Session&, int index, int day, int month);
void RemoveHoliday(Session&, int index);
// Period 0 or 1: first and last day and month; a cleared period holds 0s.
bool PeriodSet(const ConfigState&, int period);
inline bool PeriodSet(const Session& s, int period) { return PeriodSet(s.config, period); }
void SetPeriod(Session&, int period, int firstDay, int firstMonth, int lastDay, int lastMonth);
void ClearPeriod(Session&, int period);

// What the window shows for the current tables.
ClockProgrammerView BuildClockView(Session&, ClockPage page, int day);
// The report lines of the section (printout): the programs of every day, the
// holidays and the periods, into the screen buffer.
void BuildClockReport(Session&);
void RenderClockReport(const Page&);
// The section's printed lines from a file set in memory.
bool PrintClockProgrammer(const FileSetImage&, const Texts&, int option, std::vector<std::string>& lines);
// Acts on one event of the window: asks what the action needs, changes the
// tables. Returns false when the window was closed.
bool HandleClockEvent(Session&, const ClockEvent&, ClockPage& page, int& day);

// The section routine. Options of the clock menu: 1 opens the window on the
// programs, 2 on the holidays, 3 on the periods, 6 lists the whole
// programmer on the editing screen (read only). A print request (above 0)
// loads the tables and builds the report lines only.
void ClockProgrammerSection(Session&, PrintMode mode, int option);

}  // namespace cfg
