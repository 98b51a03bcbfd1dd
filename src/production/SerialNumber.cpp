#include "production/SerialNumber.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "link/Connection.h"
#include "shell/FileNames.h"
#include "shell/Folders.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"
#include "shell/RuntimeError.h"
#include "shell/SafeWrite.h"
#include "transfer/Blocks.h"

namespace cfg {

namespace {

std::string LastChars(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string CounterFileText(const std::string& number, const std::string& date) {
    return number + "\r\n" + date + "\r\n";
}

std::string TwoDigits(int v) {
    v = ((v % 100) + 100) % 100;
    return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

// Writes the character codes of `text` (padded or cut to `length`) at panel
// address `address`.
OpResult WriteCharacters(Session& s, long address, const std::string& text, int length) {
    for (int i = 0; i < length; ++i) {
        char c = static_cast<std::size_t>(i) < text.size() ? text[static_cast<std::size_t>(i)] : ' ';
        s.config.TransferBuffer[i + 1] = static_cast<uint8_t>(c);
    }
    return WriteBlock(s, address, length, ".CY2", s.config.TransferBuffer);
}

}  // namespace

// The counter file is kept with the settings file (the program folder, or
// the user's folder when the program is installed).
std::string CounterFilePath(const Session& s) { return JoinPath(SettingsFolderOf(s.settings), kCounterFileName); }

bool ReadCounterFile(Session& s, CounterFile& out) {
    std::ifstream in(ResolveExisting(CounterFilePath(s)), std::ios::binary);
    if (!in) return false;
    auto line = [&in] {
        std::string l;
        std::getline(in, l);
        while (!l.empty() && (l.back() == '\r' || l.back() == '\n')) l.pop_back();
        return l;
    };
    out.lastNumber = line();
    out.lastDate = line();
    return true;
}

std::string ProposeSerialNumber(const std::string& last) {
    // The counter is the numeric value of the last four characters: blanks
    // are passed over ("  41" is 41) and the digits read up to the first
    // other character ("x0x9" is 0).
    long counter = 0;
    for (char c : LastChars(last, 4)) {
        if (c == ' ' || c == '\t') continue;
        if (!IsDigit(c)) break;
        counter = counter * 10 + (c - '0');
    }
    std::string next = "00000" + std::to_string(counter + 1);
    return last.substr(0, std::min<std::size_t>(kSerialPrefixLength, last.size())) + LastChars(next, 4);
}

std::string ProductionDateText(const DateTime& d) {
    return TwoDigits(d.day) + "/" + TwoDigits(d.month) + "/" + TwoDigits(d.year);
}

std::string PadSerialNumber(const std::string& entry) {
    return LastChars(std::string(kSerialNumberLength, '0') + Trim(entry), kSerialNumberLength);
}

bool ValidProductionDate(const std::string& date) {
    auto separator = [](char c) { return c == '/' || c == '\\'; };
    if (date.size() != static_cast<std::size_t>(kProductionDateLength) || !separator(date[2]) || !separator(date[5]))
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (!IsDigit(date[i])) return false;
    auto two = [&date](std::size_t at) { return (date[at] - '0') * 10 + (date[at + 1] - '0'); };
    const int day = two(0), month = two(3), year = 2000 + two(6);
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int CheckSerialEntry(const std::string& entry, const std::string& date) {
    // A longer entry is refused, not cut: its cut form could be a number
    // already given.
    if (Trim(entry).size() > static_cast<std::size_t>(kSerialNumberLength)) return kSerialNumberField;
    const std::string number = PadSerialNumber(entry);
    for (std::size_t i = kSerialPrefixLength; i < number.size(); ++i)
        if (!IsDigit(number[i])) return kSerialNumberField;
    if (!ValidProductionDate(Trim(date))) return kSerialDateField;
    return -1;
}

bool CounterFileWritable(Session& s, const std::string& content) {
    const std::string path = ResolveForWrite(CounterFilePath(s));
    errno = 0;
    // The file itself: opened for reading and writing, which neither
    // creates nor truncates it.
    bool ok = static_cast<bool>(std::fstream(path, std::ios::in | std::ios::out | std::ios::binary));
    // Its folder: a new file beside it must take the new lines (a full disk
    // or a read-only folder fails here).
    if (ok) {
        const std::string probe = path + ".check";
        {
            std::ofstream out(probe, std::ios::binary | std::ios::trunc);
            out << content;
            out.flush();
            ok = static_cast<bool>(out);
        }
        std::error_code ignored;
        std::filesystem::remove(probe, ignored);
    }
    if (ok) return true;
    s.link.LastErrorNumber = errno != 0 ? ErrorNumberFromErrno(errno) : 75;
    ReportFileError(s);
    s.link.LastErrorNumber = 0;
    return false;
}

OpResult WriteSerialNumber(Session& s, const std::string& number, const std::string& date) {
    // A panel numbered without the counter moving on would give the next
    // panel the same number: the file must be able to take the new number
    // before the panel gets it.
    if (!CounterFileWritable(s, CounterFileText(number, date))) return {status::kRefused};
    if (const OpResult written = WriteCharacters(s, kSerialNumberAddress, number, kSerialNumberLength); !written.Done())
        return written;
    if (const OpResult written = WriteCharacters(s, kProductionDateAddress, date, kProductionDateLength); !written.Done())
        return written;
    // Written whole or not at all: the old counter stays on a full disk.
    const std::error_code ec = WriteFileWhole(ResolveForWrite(CounterFilePath(s)), CounterFileText(number, date));
    if (ec) {
        const long error = ec.category() == std::generic_category() ? ErrorNumberFromErrno(ec.value()) : 75;
        s.link.LastErrorNumber = error;
        ReportFileError(s);
        s.link.LastErrorNumber = 0;
        return {status::kAborted, error};
    }
    return {status::kDone};
}

bool SerialNumberGuard(Session& s, int16_t&) {
    if (s.config.ConfigSource != ConfigSource::Panel) return false;
    CounterFile probe;
    bool present = false;
    {
        QuietFileErrors quiet(s);
        present = ReadCounterFile(s, probe);
    }
    s.link.LastErrorNumber = 0;
    return present;
}

OpResult NumberPanel(Session& s) {
    if (const OpResult identity = CheckPanelIdentity(s); !identity.Done()) return identity;
    // The file is probed quietly; the writes below report their failures.
    CounterFile counter;
    bool present = false;
    {
        QuietFileErrors quiet(s);
        present = ReadCounterFile(s, counter);
    }
    s.link.LastErrorNumber = 0;
    if (!present) return {status::kAborted};
    SerialNumberFields fields{counter.lastNumber, counter.lastDate, ProposeSerialNumber(counter.lastNumber),
                              ProductionDateText(s.clock->Now())};
    int focus = -1;
    // Cancelled: nothing was given.
    OpResult result{status::kAborted};
    while (s.ui->AskSerialNumber(fields, focus)) {
        focus = CheckSerialEntry(fields.newNumber, fields.newDate);
        if (focus >= 0) {
            s.ui->Beep();
            continue;
        }
        result = WriteSerialNumber(s, PadSerialNumber(fields.newNumber), Trim(fields.newDate));
        break;
    }
    s.link.LastErrorNumber = 0;
    return result;
}

void SerialNumberSection(Session& s, PrintMode, int) {
    // The form and the boxes have told the installer how it went.
    static_cast<void>(NumberPanel(s));
}

}  // namespace cfg
