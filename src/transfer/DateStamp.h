// The identification of the open configuration (IdentBlock, ConfigTrailer,
// the panel's identification) and the last-change date stamp.
#pragma once

#include <string>

#include "config/Layout.h"
#include "shell/Session.h"

namespace cfg {


// After an editor wrote a block (and DateStamped is not set): with a file
// set, today's date ("dd-mm-yy", from the session clock) goes into
// LastChangeDate at .CY2 offset 211; with the panel nothing is written. Then
// the IdentBlock is read back from the source, LastChangeDate taken from it
// and shown, and DateStamped set. Done when stamped (or already stamped); a
// failed write or read has been reported. The editors go on either way: the
// stamp is tried again after their next write.
OpResult StampDate(Session&);
// Reads the IdentBlock and the ConfigTrailer of the open file set into the
// identification texts. A missing main file or a failed read has been
// reported.
OpResult TakeIdentificationFromFile(Session&);
// Splits IdentBuffer cells 1..45 into InstallationName, LastChangeDate,
// PanelSerialNumber and ProductionDate.
void TakeIdentBlock(ConfigState&);
// The version and release code from the trailer in image cells 1..13.
void TakeTrailer(ConfigState&);
// The identification of a file set in memory, as TakeIdentificationFromFile
// takes it from the disk. False when the main file is absent.
bool ReadIdentification(const FileSetImage&, ConfigState&);
// Copies what the connection learnt about the panel (name, version, release
// date) into the identification texts.
void TakeIdentificationFromPanel(Session&);
// The identification as the status area shows it.
std::string IdentificationText(const ConfigState&);
// "dd-mm-yy".
std::string ChangeDateText(const DateTime&);

}  // namespace cfg
