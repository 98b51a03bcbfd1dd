#include "production/SerialNumber.h"

#include <cerrno>
#include <fstream>

#include "link/Connection.h"
#include "shell/FileNames.h"
#include "shell/Folders.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"
#include "shell/RuntimeError.h"
#include "transfer/Blocks.h"

namespace cfg {

namespace {

std::string LastChars(const std::string& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string TwoDigits(int v) {
    v = ((v % 100) + 100) % 100;
    return std::string{static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
}

// Writes the character codes of `text` (padded or cut to `length`) at panel
// address `address`.
bool WriteCharacters(Session& s, long address, const std::string& text, int length) {
    for (int i = 0; i < length; ++i) {
        char c = static_cast<std::size_t>(i) < text.size() ? text[static_cast<std::size_t>(i)] : ' ';
        s.config.TransferBuffer[i + 1] = static_cast<uint8_t>(c);
    }
    WriteBlock(s, address, length, ".CY2", s.config.TransferBuffer);
    return s.LinkStatus == status::kDone;
}

}  // namespace

// The counter file is kept with the settings file (the program folder, or
// the user's folder when the program is installed).
std::string CounterFilePath(const Session& s) { return JoinPath(SettingsFolderOf(s), kCounterFileName); }

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
    // The counter is the number the last four characters start with, as a
    // lenient reading of a hand-edited file would take it.
    std::string tail = LastChars(last, 4);
    long counter = 0;
    for (char c : tail) {
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

int CheckSerialEntry(const std::string& number, const std::string& date) {
    if (number.size() != static_cast<std::size_t>(kSerialNumberLength)) return kSerialNumberField;
    for (std::size_t i = kSerialPrefixLength; i < number.size(); ++i)
        if (!IsDigit(number[i])) return kSerialNumberField;
    auto separator = [](char c) { return c == '/' || c == '\\'; };
    if (date.size() != static_cast<std::size_t>(kProductionDateLength) || !separator(date[2]) || !separator(date[5]))
        return kSerialDateField;
    return -1;
}

bool WriteSerialNumber(Session& s, const std::string& number, const std::string& date) {
    if (!WriteCharacters(s, kSerialNumberAddress, number, kSerialNumberLength)) return false;
    if (!WriteCharacters(s, kProductionDateAddress, date, kProductionDateLength)) return false;
    errno = 0;
    std::ofstream out(ResolveForWrite(CounterFilePath(s)), std::ios::binary | std::ios::trunc);
    if (out) out << number << "\r\n" << date << "\r\n";
    if (out) out.close();
    if (!out) {
        s.LastErrorNumber = errno != 0 ? ErrorNumberFromErrno(errno) : 75;
        ReportFileError(s);
        s.LastErrorNumber = 0;
        return false;
    }
    return true;
}

bool SerialNumberGuard(Session& s, int16_t&) {
    if (s.ConfigSource != ConfigSource::Panel) return false;
    CounterFile probe;
    bool present = false;
    {
        QuietFileErrors quiet(s);
        present = ReadCounterFile(s, probe);
    }
    s.LastErrorNumber = 0;
    return present;
}

void SerialNumberSection(Session& s, int16_t& printRequest, int) {
    printRequest = 0;
    CheckPanelIdentity(s);
    if (s.LinkStatus != status::kDone) return;
    // The file is probed quietly; the writes below report their failures.
    CounterFile counter;
    bool present = false;
    {
        QuietFileErrors quiet(s);
        present = ReadCounterFile(s, counter);
    }
    s.LastErrorNumber = 0;
    if (!present) return;
    SerialNumberFields fields{counter.lastNumber, counter.lastDate, ProposeSerialNumber(counter.lastNumber),
                              ProductionDateText(s.clock->Now())};
    int focus = -1;
    bool done = false;
    while (s.ui->AskSerialNumber(fields, focus)) {
        std::string number = PadSerialNumber(fields.newNumber);
        std::string date = Trim(fields.newDate);
        focus = CheckSerialEntry(number, date);
        if (focus >= 0) {
            s.ui->Beep();
            continue;
        }
        done = WriteSerialNumber(s, number, date);
        break;
    }
    // Cancelled or not written: the caller sees that nothing was given.
    if (!done && s.LinkStatus == status::kDone) s.LinkStatus = status::kAborted;
    s.LastErrorNumber = 0;
}

}  // namespace cfg
