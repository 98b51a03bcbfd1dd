// Backups of panel configurations: every configuration received from a
// panel, and the panel's configuration before a send (when the installer
// chose so), kept as a dated file set in the backups folder.
//
// A backup set is named
//     INSTALLATION_SERIAL_YYYYMMDD-HHMMSS[-N]_REASON
// with the installation name and the panel's serial number reduced to
// upper-case letters, digits and "-" (NO-NAME and NO-SERIAL when the
// configuration has none), the time of the backup from the session clock
// (-N tells apart two sets of the same second) and REASON RECEIVED or
// BEFORE-SEND. A backup set always holds the main file (.CY2): it names the
// installation and the panel, and a set is opened by its main file.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "shell/Clock.h"
#include "shell/Session.h"
#include "transfer/Commands.h"

namespace cfg {

enum class BackupReason { Received, BeforeSend };

// Kinds 1..4 of a file set (index 0 unused).
using PartSelection = std::array<bool, 5>;

struct BackupEntry {
    std::string path;          // folder and set name, without extension
    std::string installation;  // "" when the configuration has none
    std::string serial;        // "" when the panel has none
    DateTime when;
    int sequence = 0;          // 0, or N of a second set in the same second
    BackupReason reason = BackupReason::Received;
    PartSelection parts{};     // the files present
};

// The backups folder: this run's choice, else the settings file's
// [Backups] Folder (relative to the settings file's folder), else
// "backups" beside the settings file.
std::string BackupFolder(const Session&);
// Keeps `folder` as the backups folder in the settings file.
bool SetBackupFolder(Session&, const std::string& folder);
// Settings menu: the folder chooser; true when the folder changed.
bool ChooseBackupFolder(Session&);

// The kept answer to "a backup before every send?"; none = never asked.
std::optional<bool> RememberedBackupBeforeSend(const Session&);
void SetBackupBeforeSend(Session&, bool);
// Whether a send starts with a backup: this run's choice, else the kept
// answer, else the installer is asked once and the answer kept.
bool WantsBackupBeforeSend(Session&);

// The set name of a backup, and back. ParseBackupName takes a name without
// folder and extension; false when it is not a backup's name.
std::string BackupSetName(const std::string& installation, const std::string& serial, const DateTime& when,
                          int sequence, BackupReason reason);
bool ParseBackupName(const std::string& name, BackupEntry& entry);

// The backup sets of a folder, newest first. The installation name comes
// from the set's main file when it can be read (the file name keeps only
// letters and digits of it).
std::vector<BackupEntry> ListBackups(const std::string& folder);

// After a receive into `receivedBase`: a backup set with the parts received
// (and the main file, read from the panel when it was not among them; the
// panel is in programming mode and its memory map read). Returns the set's
// path, or "" after a warning.
std::string BackupReceivedSet(Session&, const std::string& receivedBase, const PartSelection& parts);
// Reads `parts` (and the main file) from the panel into a new backup set.
// Gives the set's path, or "" when the folder cannot be written (refused) or
// the panel did not give every part (the failed read's result).
PanelSetResult BackupFromPanel(Session&, PartSelection parts, BackupReason reason);

// The backups list as the front end shows it.
BackupListView MakeBackupListView(Session&, const std::string& folder, const std::vector<BackupEntry>&);
// "apre" popup, entry 3: the list of backups; the one chosen is opened
// like any file set (ConfigSource 1).
void OpenBackup(Session&);

}  // namespace cfg
