#include "ClockProgrammer.h"

#include <algorithm>
#include <string>
#include <utility>

#include "config/Files.h"
#include "config/Layout.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelCommands.h"
#include "link/Screen.h"
#include "shell/FileNames.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"
#include "shell/Text.h"
#include "transfer/Blocks.h"
#include "transfer/SectionBlocks.h"
#include "transfer/DateStamp.h"

namespace cfg {

namespace {

// .PY2 layout.
constexpr int kProgramBytes = 336;      // 7 days x 8 programs x 6 bytes
constexpr int kProgramArea = 350;       // with the checksum and the spare cells
constexpr int kProgramsToPanel = 339;   // programs, checksum and one spare byte
constexpr int kPeriodsOffset = 350;
constexpr int kPeriodArea = 10;
constexpr int kPeriodsToPanel = 9;      // the spare tenth cell stays in the file
constexpr int kDatesOffset = 360;
constexpr int kDateArea = 24;
constexpr int kMarkerPresent = 187;

// Bytes of a program after its hour cell.
constexpr int kMinute = 1;
constexpr int kMaskB = 2;
constexpr int kMaskA = 3;

// Texts.
constexpr int kTitle = kClockTitleText;
constexpr int kProgramsTitle = 107;
constexpr int kDayCaption = 108;     // 108..114, Monday..Sunday
constexpr int kNoPrograms = 115;
constexpr int kProgramHeading = 116;
constexpr int kTimeHeading = 117;
constexpr int kChannelsHeading = 118;
constexpr int kModify = 119;
constexpr int kHourTitle = 120, kHourPrompt = 121, kMinuteTitle = 122, kMinutePrompt = 123;
constexpr int kCopyTitle = 124, kCopyHint = 125, kCopyConfirm = 126;
constexpr int kClearTitle = 127, kClearConfirm = 128;
constexpr int kHolidaysTitle = 129, kNoHolidays = 130, kSaveFailed = 131;
constexpr int kHolidayNumber = 132, kHolidayDay = 133, kHolidayMonth = 134;
constexpr int kAddHoliday = 135, kRemoveHoliday = 136, kRemoveConfirm = 137, kHolidaysFull = 138;
constexpr int kPeriodsTitle = 139, kFirstPeriod = 140, kFrom = 142, kTo = 143, kNoPeriod = 144;
constexpr int kPeriodPrompts[4] = {145, 146, 147, 148};
constexpr int kBadDate = 149;
constexpr int kChannelState = 150;  // 150..152 by ChannelState
constexpr int kLegend = 153;
constexpr int kChannel = 154;
constexpr int kTableReset = 155;
constexpr int kSaving = 156, kReading = 157;
constexpr int kMissingFile = 1314, kFileNotFound = 1315;
constexpr int kWeekday = 354;  // 354..360, Monday..Sunday

// Report texts.
constexpr int kReportTitle = 158, kReportPrograms = 159, kReportDay = 160, kReportProgram = 161;
constexpr int kReportTime = 162, kReportChannels = 163, kReportNoPrograms = 164;
constexpr int kReportHolidays = 165, kReportNoHolidays = 166, kReportPeriods = 167;
constexpr int kReportPeriod = 168, kReportFrom = 170, kReportTo = 171, kReportNoPeriods = 172;
constexpr int kReportState = 173;  // 173 on, 174 off, 175 unchanged
// Report columns.
constexpr int kProgramColumn = 13, kTimeColumn = 20, kChannelsColumn = 28, kIndent = 3;

Cell& Program(ConfigState& config, int day, int program, int byte = 0) {
    return config.ClockProgramTable[ProgramCell(day, program) + byte];
}
Cell ProgramByte(const ConfigState& c, int day, int program, int byte = 0) {
    return c.ClockProgramTable[ProgramCell(day, program) + byte];
}

// Only hour 255 marks an unused program. Any other hour or minute, even one
// outside a day's 24:00, is a program the panel holds: it is shown as it is,
// so that the installer sees it and can correct or delete it.
bool ProgramSet(const ConfigState& c, int day, int program) { return ProgramByte(c, day, program) != kEmptyHour; }

bool ValidDay(int day) { return day >= 0 && day < kClockDays; }
bool ValidProgram(int program) { return program >= 0 && program < kProgramsPerDay; }

std::string DayMonth(int day, int month) { return PadZeros(2, day) + "/" + PadZeros(2, month); }

// Holiday entry i (0..11): cells 2i + 1 (day) and 2i + 2 (month).
Cell& HolidayDay(ConfigState& config, int i) { return config.ClockDateTable[2 * i + 1]; }
Cell& HolidayMonth(ConfigState& config, int i) { return config.ClockDateTable[2 * i + 2]; }
Cell HolidayDay(const ConfigState& c, int i) { return c.ClockDateTable[2 * i + 1]; }
Cell HolidayMonth(const ConfigState& c, int i) { return c.ClockDateTable[2 * i + 2]; }
bool HolidaySet(const ConfigState& c, int i) { return ValidDayMonth(HolidayDay(c, i), HolidayMonth(c, i)); }

// Period p (0..1): cells 4p + 1 .. 4p + 4.
Cell& PeriodCell(ConfigState& config, int period, int k) { return config.ClockPeriodTable[4 * period + 1 + k]; }
Cell PeriodByte(const ConfigState& c, int period, int k) { return c.ClockPeriodTable[4 * period + 1 + k]; }

long Entry(const ConfigState& config, PanelEntry k) { return config.AddressDirectory[k]; }

// The directory of the panel, read once per connection. False (the read has
// reported why) when it could not be read.
OpResult LoadPanelDirectory(Session& s) {
    s.link.LastErrorNumber = 0;
    const OpResult read = ReadMemoryMap(s);
    if (!read.Done()) return read;
    if (s.link.LastErrorNumber != 0 || !s.config.AddressDirectory.Loaded()) return {status::kAborted, s.link.LastErrorNumber};
    return read;
}

bool FileSetHasClockPart(Session& s) {
    std::fstream file;
    bool found = false;
    {
        QuietFileErrors quiet(s);
        found = OpenConfigPart(s, s.config.ConfigFileName, kClockFile, file);
    }
    s.link.LastErrorNumber = 0;
    return found;
}

// Writes src[1..count] at the table's place; true when it landed.
OpResult WriteTable(Session& s, long fileOffset, PanelEntry entry, int fileCount, int panelCount, CellSpan src) {
    switch (s.config.ConfigSource) {
    case ConfigSource::File: return WriteBlock(s, fileOffset, fileCount, kClockFile, src);
    case ConfigSource::Panel:
        if (const OpResult directory = LoadPanelDirectory(s); !directory.Done()) return directory;
        return WriteBlock(s, Entry(s.config, entry), panelCount, kClockFile, src);
    default: return {status::kNoSource};
    }
}

void AfterSave(ConfigState& config) {
    if (config.ConfigSource == ConfigSource::Panel) config.PanelChanged = true;
}

std::string ChannelsText(const Texts& s, const ClockProgramRow& row) {
    std::string text;
    for (int k = 0; k < kChannels; ++k) {
        if (k > 0) text += ' ';
        switch (row.channels[static_cast<std::size_t>(k)]) {
        case ChannelState::On: text += GetText(s, kReportState); break;
        case ChannelState::Off: text += GetText(s, kReportState + 1); break;
        case ChannelState::Unchanged: text += GetText(s, kReportState + 2); break;
        }
    }
    return text;
}

ClockProgramRow RowOf(const ConfigState& s, int day, int program) {
    ClockProgramRow row;
    row.empty = !ProgramSet(s, day, program);
    if (row.empty) return row;
    // Two digits each; an out-of-range byte keeps all of its digits.
    auto part = [](Cell v) { return v >= 0 && v < 100 ? PadZeros(2, v) : std::to_string(v); };
    row.time = part(ProgramByte(s, day, program)) + ":" + part(ProgramByte(s, day, program, kMinute));
    for (int k = 1; k <= kChannels; ++k)
        row.channels[static_cast<std::size_t>(k - 1)] =
            ChannelStateOf(ProgramByte(s, day, program, kMaskA), ProgramByte(s, day, program, kMaskB), k);
    return row;
}


std::string PeriodText(Session& s, int period) {
    if (!PeriodSet(s, period)) return GetText(s, kNoPeriod);
    return GetText(s, kFrom) + " " + DayMonth(PeriodByte(s.config, period, 0), PeriodByte(s.config, period, 1)) + " " +
           GetText(s, kTo) + " " + DayMonth(PeriodByte(s.config, period, 2), PeriodByte(s.config, period, 3));
}

// Asks a day and a month (each in its range) with the value dialog; false
// when either was cancelled or the pair is no date (that is said).
bool AskDayMonth(Session& s, const std::string& title, int dayPrompt, int monthPrompt, int& day, int& month) {
    long d = 0, m = 0;
    if (AskNumber(s, ValueTopic::Other, title, GetText(s, dayPrompt), day, 1, 31, d) != kInputConfirmed) return false;
    if (AskNumber(s, ValueTopic::Other, title, GetText(s, monthPrompt), month, 1, 12, m) != kInputConfirmed) return false;
    if (!ValidDayMonth(static_cast<int>(d), static_cast<int>(m))) {
        s.ui->MessageBox(title, GetText(s, kBadDate), MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    day = static_cast<int>(d);
    month = static_cast<int>(m);
    return true;
}

bool Confirm(Session& s, int title, int text) {
    return s.ui->MessageBox(GetText(s, title), GetText(s, text), MsgButtons::YesNo, MsgIcon::Question) ==
           MsgAnswer::Yes;
}

void EditProgram(Session& s, int day, int program) {
    const bool set = ProgramSet(s.config, day, program);
    // An out-of-range time offers the nearest valid one.
    const int currentHour = set ? std::clamp<int>(ProgramByte(s.config, day, program), 0, 23) : 0;
    const int currentMinute = set ? std::clamp<int>(ProgramByte(s.config, day, program, kMinute), 0, 59) : 0;
    long hour = 0, minute = 0;
    if (AskNumber(s, ValueTopic::Other, GetText(s, kHourTitle), GetText(s, kHourPrompt), currentHour, 0, 23, hour) !=
        kInputConfirmed)
        return;
    if (AskNumber(s, ValueTopic::Other, GetText(s, kMinuteTitle), GetText(s, kMinutePrompt), currentMinute, 0, 59,
                  minute) != kInputConfirmed)
        return;
    SetProgramTime(s, day, program, static_cast<int>(hour), static_cast<int>(minute));
}

// The table entry of the holiday the window shows in `row`: the window lists
// only the entries that hold a date, in table order, so an unused entry
// before a used one shifts the rows against the entries. -1 for no such row.
int HolidayEntryOfRow(const Session& s, int row) {
    if (row < 0) return -1;
    for (int i = 0; i < kHolidays; ++i)
        if (HolidaySet(s.config, i) && row-- == 0) return i;
    return -1;
}

void EditHoliday(Session& s, int index) {
    if (index < 0 || index >= kHolidays || !HolidaySet(s.config, index)) return;
    int day = HolidayDay(s.config, index), month = HolidayMonth(s.config, index);
    const std::string title = GetText(s, kHolidayNumber) + " " + std::to_string(index + 1);
    if (AskDayMonth(s, title, kHolidayDay, kHolidayMonth, day, month)) SetHoliday(s, index, day, month);
}

void AskNewHoliday(Session& s) {
    if (HolidayCount(s) >= kHolidays) {
        s.ui->MessageBox(GetText(s, kHolidaysTitle), GetText(s, kHolidaysFull), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    int day = 1, month = 1;
    if (AskDayMonth(s, GetText(s, kAddHoliday), kHolidayDay, kHolidayMonth, day, month)) AddHoliday(s, day, month);
}

void EditPeriod(Session& s, int period) {
    if (period < 0 || period >= kPeriods) return;
    const bool set = PeriodSet(s, period);
    int v[4];
    for (int k = 0; k < 4; ++k) v[k] = set ? PeriodByte(s.config, period, k) : 1;
    const std::string title = GetText(s, kFirstPeriod + period);
    if (!AskDayMonth(s, title, kPeriodPrompts[0], kPeriodPrompts[1], v[0], v[1])) return;
    if (!AskDayMonth(s, title, kPeriodPrompts[2], kPeriodPrompts[3], v[2], v[3])) return;
    SetPeriod(s, period, v[0], v[1], v[2], v[3]);
}

void CopyDayAsked(Session& s, int from, int to) {
    if (!ValidDay(from) || !ValidDay(to) || from == to) return;
    // Replacing programs asks first; copying onto an empty day does not.
    if (ProgramCount(s, to) > 0 && !Confirm(s, kCopyTitle, kCopyConfirm)) return;
    CopyDay(s.config, from, to);
}

}  // namespace

// --- channels and dates -----------------------------------------------------

ChannelState ChannelStateOf(Cell maskA, Cell maskB, int channel) {
    if (channel < 1 || channel > kChannels) return ChannelState::Unchanged;
    const int m = 1 << (channel - 1);
    if ((maskA & m) == 0) return ChannelState::Unchanged;
    return (maskB & m) != 0 ? ChannelState::On : ChannelState::Off;
}

void CycleChannel(Cell& maskA, Cell& maskB, int channel) {
    if (channel < 1 || channel > kChannels) return;
    const int m = 1 << (channel - 1);
    if ((maskA & m) == 0) {
        maskB = static_cast<Cell>(maskB & ~m);
        maskA = static_cast<Cell>(maskA | m);
    } else if ((maskB & m) != 0) {
        maskA = static_cast<Cell>(maskA & ~m);
    } else {
        maskB = static_cast<Cell>(maskB | m);
    }
}

bool ValidDayMonth(int day, int month) {
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day >= 1 && day <= kDays[month - 1];
}

// --- load and save -----------------------------------------------------------

OpResult LoadClockTables(Session& s) {
    auto& c = s.config;
    if (s.config.ConfigSource == ConfigSource::File || s.config.ConfigSource == ConfigSource::Panel) ShowBusy(s, GetText(s, kReading));
    switch (s.config.ConfigSource) {
    case ConfigSource::File:
        if (!FileSetHasClockPart(s)) {
            ShowAlert(s, GetText(s, kMissingFile), GetText(s, kFileNotFound) + " " + s.config.ConfigFileName + kClockFile);
            return {status::kFileMissing};
        }
        if (const OpResult read = ReadBlock(s, 0, kProgramArea, kClockFile, 1, c.ClockProgramTable); !read.Done()) return read;
        if (const OpResult read = ReadBlock(s, kPeriodsOffset, kPeriodArea, kClockFile, 1, c.ClockPeriodTable); !read.Done()) return read;
        if (const OpResult read = ReadBlock(s, kDatesOffset, kDateArea, kClockFile, 1, c.ClockDateTable); !read.Done()) return read;
        break;
    case ConfigSource::Panel: {
        if (const OpResult directory = LoadPanelDirectory(s); !directory.Done()) return directory;
        // The panel says how long its program table is; the table cannot
        // take more than its 350 cells.
        const long length = std::clamp<long>(Entry(s.config, kProgramsLengthEntry) + 3, 1, kProgramArea);
        c.ClockProgramTable.Fill(255);
        if (const OpResult read = ReadBlock(s, Entry(s.config, kProgramsEntry), static_cast<int>(length), kClockFile, 1, c.ClockProgramTable); !read.Done()) return read;
        if (const OpResult read = ReadBlock(s, Entry(s.config, kPeriodsEntry), kPeriodsToPanel, kClockFile, 1, c.ClockPeriodTable); !read.Done()) return read;
        if (const OpResult read = ReadBlock(s, Entry(s.config, kDatesEntry), kDateArea, kClockFile, 1, c.ClockDateTable); !read.Done()) return read;
        break;
    }
    default: return {status::kNoSource};
    }
    // A damaged table is emptied and saved so when the section ends.
    if (!ValidateProgramTable(c.ClockProgramTable)) c.PendingChanges = static_cast<int16_t>(c.PendingChanges | kPendingPrograms);
    return {status::kDone};
}

OpResult SaveProgramTable(Session& s) {
    auto& table = s.config.ClockProgramTable;
    SealProgramTable(table);
    if (const OpResult written = WriteTable(s, 0, kProgramsEntry, kProgramArea, kProgramsToPanel, table); !written.Done())
        return written;
    if (s.config.ConfigSource == ConfigSource::Panel) {
        // The marker tells the panel whether it has programs at all; the
        // commit step makes it take the new table ("O" = taken).
        bool present = false;
        for (int i = 1; i <= kProgramBytes; ++i) present = present || table[i] != 255;
        CellArray<0, 1> marker;
        marker[1] = static_cast<Cell>(present ? kMarkerPresent : 0);
        if (const OpResult written = WriteBlock(s, Entry(s.config, kMarkerEntry), 1, kClockFile, marker); !written.Done())
            return written;
        const ControlReply commit = SendControl(s, kControlCommitPrograms, true);
        ClosePanelPort(s);
        if (!commit.result.Done()) {
            ReportLinkError(s);
            return commit.result;
        }
        if (commit.answer != 'O') {
            // The error box explains the status it finds with the link.
            const OpResult refused = Finish(s.link, status::kCommitRefused);
            ReportLinkError(s);
            return refused;
        }
    }
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges & ~kPendingPrograms);
    AfterSave(s.config);
    return {status::kDone};
}

OpResult SaveDateTable(Session& s) {
    if (const OpResult written = WriteTable(s, kDatesOffset, kDatesEntry, kDateArea, kDateArea, s.config.ClockDateTable);
        !written.Done())
        return written;
    // The holidays take effect by the panel's calendar: give it the
    // computer's date and time with them.
    // A clock that could not be set has been reported; the dates are saved.
    if (s.config.ConfigSource == ConfigSource::Panel) static_cast<void>(SetPanelClockFromPc(s));
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges & ~kPendingDates);
    AfterSave(s.config);
    return {status::kDone};
}

OpResult SavePeriodTable(Session& s) {
    if (const OpResult written =
            WriteTable(s, kPeriodsOffset, kPeriodsEntry, kPeriodArea, kPeriodsToPanel, s.config.ClockPeriodTable);
        !written.Done())
        return written;
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges & ~kPendingPeriods);
    s.config.PeriodsSaved = true;
    AfterSave(s.config);
    return {status::kDone};
}

void SaveClockChanges(Session& s) {
    auto& pending = s.config.PendingChanges;
    if (pending <= 0) return;
    ShowBusy(s, GetText(s, kSaving));
    // The three saves run in this order whatever failed before; each keeps
    // its bit when it fails, and the bits say below whether all went well.
    if (pending & kPendingPrograms) static_cast<void>(SaveProgramTable(s));
    if (pending & kPendingDates) static_cast<void>(SaveDateTable(s));
    if (pending & kPendingPeriods) static_cast<void>(SavePeriodTable(s));
    pending = static_cast<int16_t>(pending & 15);
    // Bit 3 belongs to the logics editor: only the clock's own bits count
    // as a failed save here.
    if (pending & (kPendingPrograms | kPendingDates | kPendingPeriods)) {
        ShowAlert(s, GetText(s, kTitle), GetText(s, kSaveFailed));
    } else if (!s.config.DateStamped) {
        static_cast<void>(StampDate(s));
    }
}

// --- edits -------------------------------------------------------------------

int ProgramCount(const ConfigState& s, int day) {
    if (!ValidDay(day)) return 0;
    int n = 0;
    for (int j = 0; j < kProgramsPerDay; ++j) n += ProgramSet(s, day, j) ? 1 : 0;
    return n;
}

void SetProgramTime(Session& s, int day, int program, int hour, int minute) {
    if (!ValidDay(day) || !ValidProgram(program) || hour < 0 || hour > 23 || minute < 0 || minute > 59) return;
    // A new program starts with every channel unchanged; bytes 5 and 6 stay.
    if (!ProgramSet(s.config, day, program)) {
        Program(s.config, day, program, kMaskB) = 0;
        Program(s.config, day, program, kMaskA) = 0;
    }
    Program(s.config, day, program) = static_cast<Cell>(hour);
    Program(s.config, day, program, kMinute) = static_cast<Cell>(minute);
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingPrograms);
}

void CycleProgramChannel(Session& s, int day, int program, int channel) {
    if (!ValidDay(day) || !ValidProgram(program) || !ProgramSet(s.config, day, program)) return;
    if (channel < 1 || channel > kChannels) return;
    CycleChannel(Program(s.config, day, program, kMaskA), Program(s.config, day, program, kMaskB), channel);
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingPrograms);
}

void ClearProgram(Session& s, int day, int program) {
    if (!ValidDay(day) || !ValidProgram(program)) return;
    // The four edited bytes go back to the unused state (255, as in an
    // emptied table); bytes 5 and 6 stay.
    for (int b = 0; b <= kMaskA; ++b) Program(s.config, day, program, b) = 255;
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingPrograms);
}

void CopyDay(ConfigState& config, int from, int to) {
    if (!ValidDay(from) || !ValidDay(to) || from == to) return;
    auto& t = config.ClockProgramTable;
    for (int i = 0; i < 48; ++i) t[48 * to + 1 + i] = t[48 * from + 1 + i];
    config.PendingChanges = static_cast<int16_t>(config.PendingChanges | kPendingPrograms);
}

int HolidayCount(const ConfigState& s) {
    int n = 0;
    for (int i = 0; i < kHolidays; ++i) n += HolidaySet(s, i) ? 1 : 0;
    return n;
}

void SortHolidays(Session& s) {
    // Order key: month and day; an unused entry after every date.
    auto key = [&s](int i) { return HolidaySet(s.config, i) ? 32 * HolidayMonth(s.config, i) + HolidayDay(s.config, i) : 1000; };
    // Exchange sort: whole entries (both bytes) trade places.
    for (int i = 0; i < kHolidays - 1; ++i)
        for (int j = i + 1; j < kHolidays; ++j)
            if (key(j) < key(i)) {
                std::swap(HolidayDay(s.config, i), HolidayDay(s.config, j));
                std::swap(HolidayMonth(s.config, i), HolidayMonth(s.config, j));
            }
}

bool AddHoliday(Session& s, int day, int month) {
    if (!ValidDayMonth(day, month)) return false;
    for (int i = 0; i < kHolidays; ++i)
        if (HolidaySet(s.config, i) && HolidayDay(s.config, i) == day && HolidayMonth(s.config, i) == month) return true;  // already there
    for (int i = 0; i < kHolidays; ++i) {
        if (HolidaySet(s.config, i)) continue;
        HolidayDay(s.config, i) = static_cast<Cell>(day);
        HolidayMonth(s.config, i) = static_cast<Cell>(month);
        SortHolidays(s);
        s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingDates);
        return true;
    }
    return false;
}

void SetHoliday(Session& s, int index, int day, int month) {
    if (index < 0 || index >= kHolidays || !ValidDayMonth(day, month)) return;
    HolidayDay(s.config, index) = static_cast<Cell>(day);
    HolidayMonth(s.config, index) = static_cast<Cell>(month);
    SortHolidays(s);
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingDates);
}

void RemoveHoliday(Session& s, int index) {
    if (index < 0 || index >= kHolidays) return;
    HolidayDay(s.config, index) = 0;
    HolidayMonth(s.config, index) = 0;
    SortHolidays(s);
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingDates);
}

bool PeriodSet(const ConfigState& s, int period) {
    if (period < 0 || period >= kPeriods) return false;
    return ValidDayMonth(PeriodByte(s, period, 0), PeriodByte(s, period, 1)) &&
           ValidDayMonth(PeriodByte(s, period, 2), PeriodByte(s, period, 3));
}

void SetPeriod(Session& s, int period, int firstDay, int firstMonth, int lastDay, int lastMonth) {
    if (period < 0 || period >= kPeriods) return;
    if (!ValidDayMonth(firstDay, firstMonth) || !ValidDayMonth(lastDay, lastMonth)) return;
    const int v[4] = {firstDay, firstMonth, lastDay, lastMonth};
    for (int k = 0; k < 4; ++k) PeriodCell(s.config, period, k) = static_cast<Cell>(v[k]);
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingPeriods);
}

void ClearPeriod(Session& s, int period) {
    if (period < 0 || period >= kPeriods) return;
    for (int k = 0; k < 4; ++k) PeriodCell(s.config, period, k) = 0;
    s.config.PendingChanges = static_cast<int16_t>(s.config.PendingChanges | kPendingPeriods);
}

// --- view and report -----------------------------------------------------------

ClockProgrammerView BuildClockView(Session& s, ClockPage page, int day) {
    ClockProgrammerView v;
    v.page = page;
    v.day = ValidDay(day) ? day : 0;
    for (int d = 0; d < kClockDays; ++d) v.programCount[static_cast<std::size_t>(d)] = ProgramCount(s, d);
    v.dayCaption = GetText(s, kDayCaption + v.day);
    v.noPrograms = GetText(s, kNoPrograms);
    for (int j = 0; j < kProgramsPerDay; ++j) v.rows[static_cast<std::size_t>(j)] = RowOf(s.config, v.day, j);
    v.programHeading = GetText(s, kProgramHeading);
    v.timeHeading = GetText(s, kTimeHeading);
    v.channelsHeading = GetText(s, kChannelsHeading);
    v.modifyText = GetText(s, kModify);
    v.legend = GetText(s, kLegend);
    for (int k = 0; k < 3; ++k) v.channelStateText[static_cast<std::size_t>(k)] = GetText(s, kChannelState + k);
    v.channelText = GetText(s, kChannel);
    v.copyText = GetText(s, kCopyTitle);
    v.copyHint = GetText(s, kCopyHint);
    v.clearText = GetText(s, kClearTitle);
    v.pageTitle = {GetText(s, kProgramsTitle), GetText(s, kHolidaysTitle), GetText(s, kPeriodsTitle)};
    for (int i = 0; i < kHolidays; ++i)
        if (HolidaySet(s.config, i)) v.holidays.push_back(DayMonth(HolidayDay(s.config, i), HolidayMonth(s.config, i)));
    v.holidayHeading = GetText(s, kHolidaysTitle);
    v.noHolidays = GetText(s, kNoHolidays);
    v.addHolidayText = GetText(s, kAddHoliday);
    v.removeHolidayText = GetText(s, kRemoveHoliday);
    for (int p = 0; p < kPeriods; ++p) {
        v.periodName[static_cast<std::size_t>(p)] = GetText(s, kFirstPeriod + p);
        v.periodText[static_cast<std::size_t>(p)] = PeriodText(s, p);
        v.periodSet[static_cast<std::size_t>(p)] = PeriodSet(s, p);
    }
    v.periodsHeading = GetText(s, kPeriodsTitle);
    if (s.config.PendingChanges & kPendingPrograms) {
        bool allEmpty = true;
        for (int i = 1; i <= 338; ++i) allEmpty = allEmpty && s.config.ClockProgramTable[i] == 255;
        if (allEmpty) v.notice = GetText(s, kTableReset);
    }
    return v;
}

void BuildClockReport(Session& s) { RenderClockReport(PageOf(s)); }

void RenderClockReport(const Page& s) {
    const ConfigState& c = s.config;
    ClearScreenLines(s);
    auto line = [&s](int column, const std::string& text) {
        int l = NewScreenLine(s);
        WriteScreenText(s, l, column, text);
        return l;
    };
    line(1, GetText(s, kReportTitle));
    line(1, GetText(s, kReportPrograms));
    int heading = line(1, GetText(s, kReportDay));
    WriteScreenText(s, heading, kProgramColumn, GetText(s, kReportProgram));
    WriteScreenText(s, heading, kTimeColumn, GetText(s, kReportTime));
    // The channels heading carries its legend: where the language makes it
    // longer than the line, it goes on under itself, broken at a blank.
    std::string rest = GetText(s, kReportChannels);
    const std::size_t room = static_cast<std::size_t>(kLastColumn - kChannelsColumn + 1);
    for (int l = heading;; l = line(kChannelsColumn, std::string())) {
        std::string piece = rest;
        if (Utf8Length(rest) > room) {
            // One character more: a blank just after the room breaks there.
            piece = Utf8Left(rest, room + 1);
            const std::size_t blank = piece.rfind(' ');
            piece = blank != std::string::npos && blank > 0 ? piece.substr(0, blank) : Utf8Left(rest, room);
        }
        WriteScreenText(s, l, kChannelsColumn, piece);
        rest = Trim(rest.substr(piece.size()));
        if (rest.empty()) break;
    }
    for (int d = 0; d < kClockDays; ++d) {
        const std::string dayName = GetText(s, kWeekday + d);
        if (ProgramCount(c, d) == 0) {
            int l = line(1, dayName);
            WriteScreenText(s, l, kProgramColumn, GetText(s, kReportNoPrograms));
            continue;
        }
        bool first = true;
        for (int j = 0; j < kProgramsPerDay; ++j) {
            ClockProgramRow row = RowOf(c, d, j);
            if (row.empty) continue;
            int l = line(1, first ? dayName : std::string());
            WriteScreenText(s, l, kProgramColumn, PadSpaces(2, j + 1));
            WriteScreenText(s, l, kTimeColumn, row.time);
            WriteScreenText(s, l, kChannelsColumn, ChannelsText(s.texts, row));
            first = false;
        }
    }
    line(1, GetText(s, kReportHolidays));
    if (HolidayCount(c) == 0) {
        line(kIndent, GetText(s, kReportNoHolidays));
    } else {
        // Six dates a line.
        std::string dates;
        int onLine = 0;
        for (int i = 0; i < kHolidays; ++i) {
            if (!HolidaySet(c, i)) continue;
            dates += (onLine > 0 ? "   " : "") + DayMonth(HolidayDay(c, i), HolidayMonth(c, i));
            if (++onLine == 6) {
                line(kIndent, dates);
                dates.clear();
                onLine = 0;
            }
        }
        if (onLine > 0) line(kIndent, dates);
    }
    line(1, GetText(s, kReportPeriods));
    if (!PeriodSet(c, 0) && !PeriodSet(c, 1)) {
        line(kIndent, GetText(s, kReportNoPeriods));
    } else {
        for (int p = 0; p < kPeriods; ++p) {
            int l = line(kIndent, GetText(s, kReportPeriod + p));
            std::string text = GetText(s, kNoPeriod);
            if (PeriodSet(c, p))
                text = GetText(s, kReportFrom) + " " + DayMonth(PeriodByte(c, p, 0), PeriodByte(c, p, 1)) + " " +
                       GetText(s, kReportTo) + " " + DayMonth(PeriodByte(c, p, 2), PeriodByte(c, p, 3));
            WriteScreenText(s, l, kProgramColumn + kIndent, text);
        }
    }
}

// --- the section -----------------------------------------------------------------

bool HandleClockEvent(Session& s, const ClockEvent& e, ClockPage& page, int& day) {
    switch (e.action) {
    case ClockAction::Close: return false;
    case ClockAction::ShowPage: page = e.page; break;
    case ClockAction::SelectDay:
        if (ValidDay(e.day)) day = e.day;
        break;
    case ClockAction::EditProgram:
        if (ValidDay(e.day) && ValidProgram(e.row)) EditProgram(s, e.day, e.row);
        break;
    case ClockAction::CycleChannel: CycleProgramChannel(s, e.day, e.row, e.channel); break;
    case ClockAction::ClearProgram:
        if (ValidDay(e.day) && ValidProgram(e.row) && ProgramSet(s.config, e.day, e.row) &&
            Confirm(s, kClearTitle, kClearConfirm))
            ClearProgram(s, e.day, e.row);
        break;
    case ClockAction::CopyDay: CopyDayAsked(s, e.day, e.target); break;
    case ClockAction::AddHoliday: AskNewHoliday(s); break;
    case ClockAction::EditHoliday: EditHoliday(s, HolidayEntryOfRow(s, e.row)); break;
    case ClockAction::RemoveHoliday: {
        const int entry = HolidayEntryOfRow(s, e.row);
        if (entry >= 0 && Confirm(s, kRemoveHoliday, kRemoveConfirm)) RemoveHoliday(s, entry);
        break;
    }
    case ClockAction::EditPeriod: EditPeriod(s, e.row); break;
    case ClockAction::ClearPeriod: ClearPeriod(s, e.row); break;
    }
    return true;
}

void ClockProgrammerSection(Session& s, PrintMode mode, int option) {
    auto& pending = s.config.PendingChanges;
    pending = static_cast<int16_t>(pending & ~(kPendingPrograms | kPendingDates | kPendingPeriods));
    if (const OpResult loaded = LoadClockTables(s); !loaded.Done()) {
        // The printout skips a section that could not be read: the status
        // stays with the link for the section runner.
        static_cast<void>(Finish(s.link, loaded.status));
        HideEditScreen(s);
        return;
    }
    if (mode == PrintMode::LinesOnly) {
        // The printout only reads: a damaged table is reset when the section
        // is opened for editing, not by printing it.
        BuildClockReport(s);
        pending = static_cast<int16_t>(pending & ~kPendingPrograms);
        return;
    }
    if (option == 6) {
        BuildClockReport(s);
        ShowEditScreen(s, GetText(s, kTitle), kNoOkButton);
        RefreshScreen(s);
        RunEditLoop(s, [](int) {});
        HideEditScreen(s);
    } else {
        ClockPage page = option == 2 ? ClockPage::Holidays : option == 3 ? ClockPage::Periods : ClockPage::Programs;
        // The window opens on today.
        const int today = s.clock->Now().weekday - 1;
        int day = ValidDay(today) ? today : 0;
        while (HandleClockEvent(s, s.ui->WaitClockProgrammer(BuildClockView(s, page, day)), page, day)) {
        }
        s.ui->CloseClockProgrammer();
    }
    SaveClockChanges(s);
}

bool PrintClockProgrammer(const FileSetImage& set, const Texts& texts, int /*option*/, std::vector<std::string>& lines) {
    return PrintFromImage(
        texts, lines,
        [&set](ConfigState& c) {
            if (!ReadImageBlock(set, kClockFile, 0, kProgramArea, 1, c.ClockProgramTable) ||
                !ReadImageBlock(set, kClockFile, kPeriodsOffset, kPeriodArea, 1, c.ClockPeriodTable) ||
                !ReadImageBlock(set, kClockFile, kDatesOffset, kDateArea, 1, c.ClockDateTable))
                return false;
            // As the section loads it: a damaged program table shows empty.
            (void)ValidateProgramTable(c.ClockProgramTable);
            return true;
        },
        RenderClockReport);
}

}  // namespace cfg
