// The four files of a configuration set: block reads and writes, whole-file
// copy, the presence check and the two checksums.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "shell/Session.h"

namespace cfg {

// Extensions by kind 1..4: ".CY2", ".PY2", ".UY2", ".MY2".
const char* PartExtension(int kind);
// Text id of the kind's name (1398, 1400, 1402, 1404).
int PartNameText(int kind);

// Reads count bytes at offset of an open file into dest[firstCell..]. Sets
// LinkStatus 255 or 16 (after ReportFileError).
void ReadFileBlock(Session&, std::fstream& file, long offset, int count, int firstCell, CellSpan dest);
// Writes src[firstCell..firstCell+count-1] at offset, in 1024-byte pieces.
void WriteFileBlock(Session&, std::fstream& file, long offset, int count, int firstCell, CellSpan src);
// Writes src[1..count] at the current position, in 1024-byte pieces.
void AppendFileBlock(Session&, std::fstream& file, int count, CellSpan src);
// Copies one file in 32768-byte pieces. LinkStatus 255 or 16.
void CopyConfigFile(Session&, const std::string& source, const std::string& destination);
// 255 when baseName + the kind's extension exists; 254 (after an alert) when
// it does not; 0 when the look-up failed.
int CheckConfigFile(Session&, const std::string& baseName, int kind);
// Upper-cases and trims; cuts before the last "." when one follows the first character.
std::string StripExtension(const std::string& name);

// Opens baseName + extension (resolved without regard to case) for binary
// read/write. Returns false after recording the error in LastErrorNumber.
bool OpenConfigPart(Session&, const std::string& baseName, const std::string& extension, std::fstream& file);

// 16-bit checksums, 0 replaced by 65535.
uint16_t ProgramChecksum(const uint8_t* bytes, std::size_t count);  // byte sum
uint16_t LogicChecksum(const uint8_t* bytes, std::size_t count);    // big-endian word sum

}  // namespace cfg
