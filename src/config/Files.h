// The four files of a configuration set: block reads and writes, whole-file
// copy, the presence check and the two checksums.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "config/Layout.h"
#include "shell/Session.h"

namespace cfg {

// Extensions by kind 1..4: ".CY2", ".PY2", ".UY2", ".MY2".
const char* PartExtension(int kind);
// Text id of the kind's name (1398, 1400, 1402, 1404).
int PartNameText(int kind);

// Pieces in which blocks and copies are moved.
inline constexpr int kBlockPiece = 1024;
inline constexpr int kCopyPiece = 32768;

// Each file operation returns its status, 255 or 16 (after ReportFileError
// has explained the failure), and leaves it in LinkStatus as well for the
// block routines above that still read it from there.
// Reads count bytes at offset of an open file into dest[firstCell..]. Bytes
// beyond the end of the file read as blanks, like a read into a string of
// blanks.
OpResult ReadFileBlock(Session&, std::fstream& file, long offset, int count, int firstCell, CellSpan dest);
// Writes src[firstCell..firstCell+count-1] at offset, in 1024-byte pieces.
OpResult WriteFileBlock(Session&, std::fstream& file, long offset, int count, int firstCell, CellSpan src);
// Writes src[1..count] at the current position, in 1024-byte pieces.
OpResult AppendFileBlock(Session&, std::fstream& file, int count, CellSpan src);
// Copies one file in 32768-byte pieces.
OpResult CopyConfigFile(Session&, const std::string& source, const std::string& destination);
// 255 when baseName + the kind's extension exists; 254 (after an alert) when
// it does not; 0 when the look-up failed.
[[nodiscard]] int CheckConfigFile(Session&, const std::string& baseName, int kind);
// Upper-cases and trims; cuts before the last "." when one follows the first
// character. Only the file name is touched: the folders of a path keep their
// case and their dots.
std::string StripExtension(const std::string& name);
// A set's base name from a name as typed: trimmed, upper-cased, and without
// the extension of one of the set's files (".CY2" ...). Any other dot after
// the first character would cut the name short ("site.v2" would become
// "SITE", perhaps another set): then `cut` is set.
std::string SetNameOf(const std::string& typed, bool& cut);
// Trimmed, with the file name upper-cased; the folders keep their case.
std::string UpperCaseName(const std::string& path);
// True when the name (without extension) ends in "DEFAULT" in any case: the
// template set beside the program.
bool IsDefaultSetName(const std::string& name);

// Opens baseName + extension (resolved without regard to case) for binary
// read/write. Returns false after recording the error in LastErrorNumber.
[[nodiscard]] bool OpenConfigPart(Session&, const std::string& baseName, const std::string& extension,
                                  std::fstream& file);
// Creates (or empties) baseName + extension for binary writing; an existing
// file whose name differs only in case is reused. Returns false after
// recording the error in LastErrorNumber.
[[nodiscard]] bool CreateConfigPart(Session&, const std::string& baseName, const std::string& extension,
                                    std::fstream& file);
// The four files of set `baseName` (without extension) read whole; a file
// that does not exist or cannot be read is marked absent.
FileSetImage ReadFileSetImage(const std::string& baseName);
// The kind (1..4) of a file extension (".CY2" ...); 0 for none.
int PartKindOf(const std::string& extension);
// Reads count bytes at offset of the set's file `extension` into
// dest[firstCell..], as ReadFileBlock does: bytes beyond the end of the file
// read as blanks. False when that file is absent, the offset negative or
// the cells do not fit.
[[nodiscard]] bool ReadImageBlock(const FileSetImage&, const std::string& extension, long offset, int count,
                                  int firstCell, CellSpan dest);
// Length of an open file, -1 when it cannot be told.
long FileLength(std::fstream& file);

// 16-bit checksums, 0 replaced by 65535.
uint16_t ProgramChecksum(const uint8_t* bytes, std::size_t count);  // byte sum
uint16_t LogicChecksum(const uint8_t* bytes, std::size_t count);    // big-endian word sum
// The same sums over cells first..first+count-1 (each cell taken as a byte).
uint16_t ProgramChecksum(CellSpan cells, int first, int count);
uint16_t LogicChecksum(CellSpan cells, int first, int count);

// Received data (cells 1..n, the last two the checksum of the others, high
// byte first). A mismatch empties the run so that a damaged part arrives as
// an empty part: programs become 255s, logics 0s. Return true when valid.
bool CheckReceivedPrograms(CellSpan cells, int n);
bool CheckReceivedLogics(CellSpan cells, int n);

// A clock program table as loaded (cells 1..336 programs, 337/338 checksum).
// Returns false and sets cells 1..338 to 255 when the checksum does not match.
bool ValidateProgramTable(CellSpan table);
// Stores the checksum of cells 1..336 in cells 337 (high) and 338 (low).
void SealProgramTable(CellSpan table);

}  // namespace cfg
