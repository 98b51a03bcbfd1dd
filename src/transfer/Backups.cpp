#include "transfer/Backups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "config/Files.h"
#include "config/Layout.h"
#include "link/Connection.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Settings.h"
#include "shell/Text.h"
#include "transfer/Commands.h"
#include "transfer/DateStamp.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

constexpr const char* kSection = "Backups";
constexpr const char* kFolderKey = "Folder";
constexpr const char* kBeforeSendKey = "BeforeSend";
constexpr const char* kDefaultFolder = "backups";
constexpr const char* kNoName = "NO-NAME";
constexpr const char* kNoSerial = "NO-SERIAL";
constexpr const char* kReceived = "RECEIVED";
constexpr const char* kBeforeSend = "BEFORE-SEND";
// A set being received for a backup, before it can be named.
constexpr const char* kIncoming = "INCOMING-";

// Texts.
constexpr int kListTitle = 1700;      // 1701 folder label, 1702..1706 columns
constexpr int kReasonReceived = 1707;  // 1708 before a send
constexpr int kNoSerialText = 1709;
constexpr int kNoNameText = 1710;
constexpr int kOpenText = 1711;        // 1712 close
constexpr int kNoBackupsText = 1713;
constexpr int kAskText = 1714;         // 1715 the question
constexpr int kBusyText = 1716;
constexpr int kNotSavedText = 1717;
constexpr int kFolderTitle = 1719;
constexpr int kSavedText = 1721;

std::string SettingsFile(const Session& s) { return SettingsFilePath(s); }

// Upper-case letters, digits and single "-" for anything else; "" when
// nothing is left.
std::string NamePart(const std::string& text, std::size_t maxLength) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) && c < 0x80) {
            out.push_back(static_cast<char>(std::toupper(c)));
        } else if (!out.empty() && out.back() != '-') {
            out.push_back('-');
        }
    }
    while (!out.empty() && out.back() == '-') out.pop_back();
    if (out.size() > maxLength) out.resize(maxLength);
    while (!out.empty() && out.back() == '-') out.pop_back();
    return out;
}

std::string TwoDigits(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v % 100);
    return b;
}

bool AllDigits(const std::string& t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

int Number(const std::string& t, std::size_t from, std::size_t count) {
    return std::stoi(t.substr(from, count));
}

// "YYYYMMDD-HHMMSS" or "YYYYMMDD-HHMMSS-N".
bool ParseStamp(const std::string& t, DateTime& when, int& sequence) {
    if (t.size() < 15 || t[8] != '-') return false;
    const std::string date = t.substr(0, 8), time = t.substr(9, 6);
    if (!AllDigits(date) || !AllDigits(time)) return false;
    sequence = 0;
    if (t.size() > 15) {
        if (t[15] != '-' || !AllDigits(t.substr(16)) || t.size() > 20) return false;
        sequence = std::stoi(t.substr(16));
    }
    when.year = Number(date, 0, 4);
    when.month = Number(date, 4, 2);
    when.day = Number(date, 6, 2);
    when.hour = Number(time, 0, 2);
    when.minute = Number(time, 2, 2);
    when.second = Number(time, 4, 2);
    if (when.month < 1 || when.month > 12 || when.day < 1 || when.day > DaysInMonth(when.year, when.month) ||
        when.hour > 23 || when.minute > 59 || when.second > 59)
        return false;
    when.weekday = WeekdayOf(when.year, when.month, when.day);
    return true;
}

// Installation name and serial number from the IdentBlock of a main file;
// false when it cannot be read.
bool ReadIdentification(const std::string& mainFile, std::string& installation, std::string& serial) {
    std::ifstream in(ResolveExisting(mainFile), std::ios::binary);
    if (!in) return false;
    std::string block(kIdentBlockSize, ' ');
    in.seekg(kIdentBlockOffset);
    if (!in.read(block.data(), kIdentBlockSize)) return false;
    installation = Trim(Latin1ToUtf8(block.substr(0, 19)));
    serial = Trim(Latin1ToUtf8(block.substr(27, 10)));
    return true;
}

// A serial number is there when it holds a letter or a digit: a panel that
// was never numbered keeps blanks, zeros or 255s in its place.
std::string SerialOrNone(const std::string& serial) { return NamePart(serial, 10).empty() ? "" : serial; }

bool AnyFileOf(const std::string& base) {
    for (int kind = 1; kind <= 4; ++kind)
        if (FileExists(base + PartExtension(kind))) return true;
    return false;
}

void RemoveSet(const std::string& base) {
    for (int kind = 1; kind <= 4; ++kind) {
        std::error_code ec;
        const std::string path = ResolveExisting(base + PartExtension(kind));
        if (!path.empty()) fs::remove(path, ec);
    }
}

std::string StampText(const DateTime& d) {
    return std::to_string(d.year) + TwoDigits(d.month) + TwoDigits(d.day) + "-" + TwoDigits(d.hour) +
           TwoDigits(d.minute) + TwoDigits(d.second);
}

// The folder, created when missing; "" (after a warning) when it cannot be.
std::string ReadyFolder(Session& s) {
    const std::string folder = BackupFolder(s);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        s.ui->MessageBox(s.main.Shell.ApplicationTitle, GetText(s, kNotSavedText) + "\r\n" + folder, MsgButtons::Ok,
                         MsgIcon::Exclamation);
        return {};
    }
    return folder;
}

// Names the set received under `staging` after its main file and the
// session clock and moves its files there. Returns the new path, or "".
std::string NameStagedSet(Session& s, const std::string& folder, const std::string& staging, BackupReason reason) {
    std::string installation, serial;
    ReadIdentification(staging + PartExtension(1), installation, serial);
    const DateTime now = s.clock->Now();
    std::string base;
    // Sets kept within one second are told apart by a sequence number that
    // is free for either reason, so that the newest always sorts first.
    for (int sequence = 0; sequence < 1000; ++sequence) {
        base = JoinPath(folder, BackupSetName(installation, serial, now, sequence, reason));
        const BackupReason other = reason == BackupReason::Received ? BackupReason::BeforeSend : BackupReason::Received;
        if (!AnyFileOf(base) && !AnyFileOf(JoinPath(folder, BackupSetName(installation, serial, now, sequence, other))))
            break;
    }
    for (int kind = 1; kind <= 4; ++kind) {
        const std::string from = ResolveExisting(staging + PartExtension(kind));
        if (from.empty()) continue;
        std::error_code ec;
        fs::rename(from, base + PartExtension(kind), ec);
        if (ec) {
            RemoveSet(staging);
            RemoveSet(base);
            return {};
        }
    }
    return base;
}

std::string StagingName(Session& s, const std::string& folder) {
    return JoinPath(folder, kIncoming + StampText(s.clock->Now()));
}

void Saved(Session& s, const std::string& base) {
    s.ui->SetStatusText(GetText(s, kSavedText) + " " + BaseNameOf(base));
}

void NotSaved(Session& s, const std::string& folder) {
    s.ui->MessageBox(s.main.Shell.ApplicationTitle, GetText(s, kNotSavedText) + "\r\n" + folder, MsgButtons::Ok,
                     MsgIcon::Exclamation);
}

std::string DateText(const DateTime& d) {
    return TwoDigits(d.day) + "/" + TwoDigits(d.month) + "/" + std::to_string(d.year) + " " + TwoDigits(d.hour) +
           ":" + TwoDigits(d.minute) + ":" + TwoDigits(d.second);
}

}  // namespace

std::string BackupFolder(const Session& s) {
    if (!s.settings.backups.folder.empty()) return s.settings.backups.folder;
    const std::string settingsFolder = FolderOf(SettingsFile(s));
    const std::string kept = Trim(GetProfileString(SettingsFile(s), kSection, kFolderKey, ""));
    if (kept.empty()) return JoinPath(settingsFolder, kDefaultFolder);
    const fs::path p(kept);
    return p.is_absolute() ? kept : JoinPath(settingsFolder, kept);
}

bool SetBackupFolder(Session& s, const std::string& folder) {
    return WriteProfileString(SettingsFile(s), kSection, kFolderKey, folder);
}

bool ChooseBackupFolder(Session& s) {
    const std::string current = BackupFolder(s);
    const std::string chosen = Trim(s.ui->AskFolder(GetText(s, kFolderTitle), current));
    if (chosen.empty() || chosen == current) return false;
    return SetBackupFolder(s, chosen);
}

std::optional<bool> RememberedBackupBeforeSend(const Session& s) {
    const std::string v = UpperCase(Trim(GetProfileString(SettingsFile(s), kSection, kBeforeSendKey, "")));
    if (v == "YES" || v == "1") return true;
    if (v == "NO" || v == "0") return false;
    return std::nullopt;
}

void SetBackupBeforeSend(Session& s, bool on) {
    WriteProfileString(SettingsFile(s), kSection, kBeforeSendKey, on ? "yes" : "no");
}

bool WantsBackupBeforeSend(Session& s) {
    if (s.settings.backups.beforeSend) return *s.settings.backups.beforeSend;
    if (auto kept = RememberedBackupBeforeSend(s)) return *kept;
    const std::string text = GetText(s, kAskText) + "\r\n\r\n" + GetText(s, kAskText + 1);
    const bool yes =
        s.ui->MessageBox(s.main.Shell.ApplicationTitle, text, MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::Yes;
    SetBackupBeforeSend(s, yes);
    return yes;
}

std::string BackupSetName(const std::string& installation, const std::string& serial, const DateTime& when,
                          int sequence, BackupReason reason) {
    std::string name = NamePart(installation, 19);
    std::string number = NamePart(serial, 10);
    std::string stamp = StampText(when);
    if (sequence > 0) stamp += "-" + std::to_string(sequence);
    return (name.empty() ? kNoName : name) + "_" + (number.empty() ? kNoSerial : number) + "_" + stamp + "_" +
           (reason == BackupReason::Received ? kReceived : kBeforeSend);
}

bool ParseBackupName(const std::string& name, BackupEntry& entry) {
    // From the end: reason, time, serial; the rest is the installation.
    const std::string n = UpperCase(name);
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
        std::size_t sep = n.find('_', from);
        fields.push_back(n.substr(from, sep == std::string::npos ? std::string::npos : sep - from));
        if (sep == std::string::npos) break;
        from = sep + 1;
    }
    if (fields.size() < 4) return false;
    BackupEntry e;
    const std::string& reason = fields.back();
    if (reason == kReceived) e.reason = BackupReason::Received;
    else if (reason == kBeforeSend) e.reason = BackupReason::BeforeSend;
    else return false;
    if (!ParseStamp(fields[fields.size() - 2], e.when, e.sequence)) return false;
    const std::string& serial = fields[fields.size() - 3];
    if (serial.empty()) return false;
    e.serial = serial == kNoSerial ? "" : serial;
    std::string installation;
    for (std::size_t i = 0; i + 3 < fields.size(); ++i) installation += (i ? "_" : "") + fields[i];
    if (installation.empty()) return false;
    e.installation = installation == kNoName ? "" : installation;
    e.path = entry.path;
    e.parts = entry.parts;
    entry = e;
    return true;
}

std::vector<BackupEntry> ListBackups(const std::string& folder) {
    std::vector<BackupEntry> out;
    for (const std::string& file : ListFilesWithExtension(folder, PartExtension(1))) {
        const std::string stem = fs::path(file).stem().string();
        BackupEntry e;
        if (!ParseBackupName(stem, e)) continue;
        e.path = JoinPath(folder, stem);
        for (int kind = 1; kind <= 4; ++kind) e.parts[static_cast<std::size_t>(kind)] = FileExists(e.path + PartExtension(kind));
        std::string installation, serial;
        if (ReadIdentification(e.path + PartExtension(1), installation, serial)) {
            e.installation = installation;
            e.serial = SerialOrNone(serial);
        }
        out.push_back(std::move(e));
    }
    auto key = [](const BackupEntry& e) {
        const DateTime& w = e.when;
        return std::make_tuple(w.year, w.month, w.day, w.hour, w.minute, w.second, e.sequence);
    };
    std::sort(out.begin(), out.end(), [&](const BackupEntry& a, const BackupEntry& b) {
        if (key(a) != key(b)) return key(a) > key(b);
        return a.path < b.path;
    });
    return out;
}

std::string BackupReceivedSet(Session& s, const std::string& receivedBase, const PartSelection& parts) {
    const std::string folder = ReadyFolder(s);
    if (folder.empty()) return {};
    const std::string staging = StagingName(s, folder);
    bool ok = true;
    if (!parts[1]) {
        s.ui->SetStatusText(GetText(s, kBusyText));
        PartSelection main{};
        main[1] = true;
        ok = ReceivePanelParts(s, staging, main).Done();
    }
    for (int kind = 1; kind <= 4 && ok; ++kind) {
        if (!parts[static_cast<std::size_t>(kind)]) continue;
        std::error_code ec;
        fs::copy_file(ResolveExisting(Trim(receivedBase) + PartExtension(kind)), staging + PartExtension(kind),
                      fs::copy_options::overwrite_existing, ec);
        ok = !ec;
    }
    std::string base = ok ? NameStagedSet(s, folder, staging, BackupReason::Received) : std::string();
    if (base.empty()) {
        RemoveSet(staging);
        NotSaved(s, folder);
        return {};
    }
    Saved(s, base);
    return base;
}

PanelSetResult BackupFromPanel(Session& s, PartSelection parts, BackupReason reason) {
    const std::string folder = ReadyFolder(s);
    if (folder.empty()) return {{status::kRefused}, {}};
    parts[1] = true;
    const std::string staging = StagingName(s, folder);
    s.ui->SetStatusText(GetText(s, kBusyText));
    if (const OpResult received = ReceivePanelParts(s, staging, parts); !received.Done()) {
        RemoveSet(staging);
        return {received, {}};
    }
    std::string base = NameStagedSet(s, folder, staging, reason);
    if (base.empty()) {
        NotSaved(s, folder);
        return {{status::kRefused}, {}};
    }
    Saved(s, base);
    return {{status::kDone}, base};
}

BackupListView MakeBackupListView(Session& s, const std::string& folder, const std::vector<BackupEntry>& entries) {
    BackupListView v;
    v.title = GetText(s, kListTitle);
    v.folderLabel = GetText(s, kListTitle + 1) + " " + folder;
    for (int id = kListTitle + 2; id <= kListTitle + 6; ++id) v.columns.push_back(GetText(s, id));
    for (const BackupEntry& e : entries) {
        BackupRow r;
        r.date = DateText(e.when);
        r.installation = e.installation.empty() ? GetText(s, kNoNameText) : e.installation;
        r.panel = e.serial.empty() ? GetText(s, kNoSerialText) : e.serial;
        r.reason = GetText(s, e.reason == BackupReason::Received ? kReasonReceived : kReasonReceived + 1);
        for (int kind = 1; kind <= 4; ++kind)
            if (e.parts[static_cast<std::size_t>(kind)]) r.parts += (r.parts.empty() ? "" : " ") + std::string(PartExtension(kind) + 1);
        r.path = e.path;
        v.rows.push_back(std::move(r));
    }
    v.openCaption = GetText(s, kOpenText);
    v.cancelCaption = GetText(s, kOpenText + 1);
    return v;
}

void OpenBackup(Session& s) {
    s.config.ConfigSource = ConfigSource::None;
    s.config.ConfigFileName.clear();
    const std::string folder = BackupFolder(s);
    const std::vector<BackupEntry> entries = ListBackups(folder);
    if (entries.empty()) {
        ShowInfo(s, s.main.Shell.ApplicationTitle, GetText(s, kNoBackupsText) + "\r\n" + folder);
        return;
    }
    const int chosen = s.ui->ChooseBackup(MakeBackupListView(s, folder, entries));
    if (chosen < 0 || chosen >= static_cast<int>(entries.size())) return;
    const BackupEntry& e = entries[static_cast<std::size_t>(chosen)];
    if (CheckConfigFile(s, e.path, 1) != status::kDone) return;
    // The parts a backup does not hold were not part of it: no alert for
    // them; each section checks its own file when it loads it.
    s.config.ConfigFileName = e.path;
    s.config.ConfigSource = ConfigSource::File;
    s.config.PanelIdent.clear();
    // A main file that cannot be read has been named; the backup stays open
    // as the file set it is, as any set whose file went missing.
    static_cast<void>(TakeIdentificationFromFile(s));
}

}  // namespace cfg
