// Choices about backups that hold for one run of a front end only (the
// command line's options); the lasting ones are in the settings file.
#pragma once

#include <optional>
#include <string>

namespace cfg {

struct BackupOptions {
    // Backups folder for this run; "" = the settings file's (or the default).
    std::string folder;
    // Whether to take a backup of the panel before a send, for this run;
    // none = the choice kept in the settings file (asked once).
    std::optional<bool> beforeSend;
};

}  // namespace cfg
