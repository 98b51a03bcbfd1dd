// The identification of the open configuration (IdentBlock, ConfigTrailer,
// the panel's identification) and the last-change date stamp.
#pragma once

#include <string>

#include "shell/Session.h"

namespace cfg {

// .CY2 offsets of the identification.
inline constexpr int kIdentBlockOffset = 192;
inline constexpr int kIdentBlockSize = 45;
inline constexpr int kLastChangeOffset = 211;  // 192 + 19
inline constexpr int kTrailerOffset = 2968;
inline constexpr int kTrailerSize = 13;
// Panel address of byte 0 of the main configuration.
inline constexpr long kMainPanelBase = 4096;

// After an editor wrote a block (and DateStamped is 0): with a file set,
// today's date ("dd-mm-yy", from the session clock) goes into LastChangeDate
// at .CY2 offset 211; with the panel nothing is written. Then the IdentBlock
// is read back from the source, LastChangeDate taken from it and shown, and
// DateStamped set to 1.
void StampDate(Session&);
// Reads the IdentBlock and the ConfigTrailer of the open file set into the
// identification texts.
void TakeIdentificationFromFile(Session&);
// Splits IdentBuffer cells 1..45 into InstallationName, LastChangeDate,
// PanelSerialNumber and ProductionDate.
void TakeIdentBlock(Session&);
// Copies what the connection learnt about the panel (name, version, release
// date) into the identification texts.
void TakeIdentificationFromPanel(Session&);
// The identification as the status area shows it.
std::string IdentificationText(const Session&);
// "dd-mm-yy".
std::string ChangeDateText(const DateTime&);

}  // namespace cfg
