// The whole-configuration commands of the file toolbar: create and copy a
// file set, open a file set or the panel, receive a configuration from the
// panel into a file set and send one back, and the identification refresh
// of the configuration view.
#pragma once

#include <array>
#include <string>

#include "shell/Session.h"

namespace cfg {

// A set read from the panel into a new file set: its path (without
// extension), or "" when it could not be read, with the reason.
struct PanelSetResult {
    OpResult result;
    std::string base;
};

// Each command gives back how it ended: done, or the status code of what
// stopped it (already shown to the user where that was needed).

// "crea" popup: 1 = copy a set, 2 = create a set from DEFAULT.
OpResult CreateCommand(Session&, int option);
// "trasferisce" popup: 1 = send a set to the panel, 2 = receive from it.
OpResult TransferCommand(Session&, int option);
// "apre" popup: 1 = a file set (ConfigSource 1), 2 = the panel (ConfigSource 2),
// 3 = a backup set chosen from the backups list (ConfigSource 1).
OpResult OpenConfiguration(Session&, int option);
// True for the name of the template set (DEFAULT, or the language's name
// for it, text 1142), which is never opened or edited.
bool IsTemplateSetName(Session&, const std::string& name);

// New set from the DEFAULT set in the program folder. Done when all four
// files were written.
OpResult CreateConfiguration(Session&);
// Copies a set under another name. Done when all four were copied.
OpResult CopyConfiguration(Session&);
// Panel -> file set, all four files or one.
OpResult ReceiveConfiguration(Session&);
// File set -> panel.
OpResult SendConfiguration(Session&);

// Receives the parts selected (kinds 1..4, index 0 unused) from the panel
// into the file set `base`: the panel is in programming mode and its memory
// map read. The set's files are replaced only when every part arrived.
OpResult ReceivePanelParts(Session&, const std::string& base, const std::array<bool, 5>& parts);
// Checks the chosen files of the set `base` (sizes, checksums, the main
// file's identification; logicSize as for CheckSetFiles). When one fails,
// names every fault and asks whether to go on (the question `questionText`,
// 0 = the general one). True when all are sound or the user said yes.
bool ConfirmSetFiles(Session&, const std::string& base, const std::array<bool, 5>& kinds, long logicSize,
                     int questionText = 0);
// Reads the panel's whole configuration into a new backup set, connecting
// first unless the panel is the open configuration. The set's path is ""
// when it could not be read (the reason was shown).
PanelSetResult ReadPanelConfiguration(Session&);

// Main-loop state 3: shows the identification of the open configuration.
// With a file set it reads the IdentBlock and ConfigTrailer; with the panel
// it reads the IdentBlock from the panel, which may fail; with nothing
// open the result is kNoSource.
OpResult RefreshConfigView(Session&);

}  // namespace cfg
