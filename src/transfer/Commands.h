// The whole-configuration commands of the file toolbar: create and copy a
// file set, open a file set or the panel, receive a configuration from the
// panel into a file set and send one back, and the identification refresh
// of the configuration view.
#pragma once

#include <array>
#include <string>

#include "shell/Session.h"

namespace cfg {

// "crea" popup: 1 = copy a set, 2 = create a set from DEFAULT.
void CreateCommand(Session&, int option);
// "trasferisce" popup: 1 = send a set to the panel, 2 = receive from it.
void TransferCommand(Session&, int option);
// "apre" popup: 1 = a file set (ConfigSource 1), 2 = the panel (ConfigSource 2),
// 3 = a backup set chosen from the backups list (ConfigSource 1).
void OpenConfiguration(Session&, int option);
// True for the name of the template set (DEFAULT, or the language's name
// for it, text 1142), which is never opened or edited.
bool IsTemplateSetName(Session&, const std::string& name);

// New set from the DEFAULT set in the program folder. LinkStatus 255 when
// all four files were written.
void CreateConfiguration(Session&);
// Copies a set under another name. LinkStatus 255 when all four were copied.
void CopyConfiguration(Session&);
// Panel -> file set, all four files or one. LinkStatus 255 on success.
void ReceiveConfiguration(Session&);
// File set -> panel. LinkStatus 255 on success.
void SendConfiguration(Session&);

// Receives the parts selected (kinds 1..4, index 0 unused) from the panel
// into the file set `base`: the panel is in programming mode and its memory
// map read. The set's files are replaced only when every part arrived.
// True, with LinkStatus 255, on success.
bool ReceivePanelParts(Session&, const std::string& base, const std::array<bool, 5>& parts);
// Checks the chosen files of the set `base` (sizes, checksums, the main
// file's identification; logicSize as for CheckSetFiles). When one fails,
// names every fault and asks whether to go on (the question `questionText`,
// 0 = the general one). True when all are sound or the user said yes.
bool ConfirmSetFiles(Session&, const std::string& base, const std::array<bool, 5>& kinds, long logicSize,
                     int questionText = 0);
// Reads the panel's whole configuration into a new backup set, connecting
// first unless the panel is the open configuration. Returns the set's path,
// or "" when it could not be read (the reason was shown).
std::string ReadPanelConfiguration(Session&);

// Main-loop state 3: shows the identification of the open configuration.
// With a file set it reads the IdentBlock and ConfigTrailer; with the panel
// it reads the IdentBlock from the panel (LinkStatus tells how that went).
void RefreshConfigView(Session&);

}  // namespace cfg
