#include "Files.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "shell/ErrorHandler.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/RuntimeError.h"
#include "shell/SafeWrite.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

constexpr int kNotFoundText = 1405;  // after a file's name

struct PartInfo {
    const char* extension;
    int nameText;
};

constexpr PartInfo kParts[4] = {
    {".CY2", 1398},
    {".PY2", 1400},
    {".UY2", 1402},
    {".MY2", 1404},
};

// The error number of the last failed file operation (errno), or `fallback`
// when the C++ library did not leave one.
long LastFileError(long fallback) {
    return errno != 0 ? ErrorNumberFromErrno(errno) : fallback;
}

// Records `number` and explains it in the file error box, the one report of
// a failed file operation (the run-time handler's own box is not shown).
void Fail(Session& s, long number) {
    s.link.LastErrorNumber = number;
    ReportFileError(s);
    s.link.LinkStatus = status::kRefused;
}

// A block of cells first..first+count-1 that does not fit its array is a
// fault of the caller: it is reported as "subscript out of range" and the
// operation is not done.
bool CellsFit(CellSpan cells, int first, int count) {
    return count >= 0 && count <= 32767 && first >= cells.Low() && first + count - 1 <= cells.High();
}

uint8_t CellByte(Cell c) { return static_cast<uint8_t>(c & 0xFF); }

void WritePieces(Session& s, std::fstream& file, int count, int firstCell, CellSpan src) {
    std::vector<char> piece;
    int done = 0;
    while (done < count) {
        int n = std::min(count - done, kBlockPiece);
        piece.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) piece[static_cast<std::size_t>(i)] = static_cast<char>(CellByte(src[firstCell + done + i]));
        errno = 0;
        file.write(piece.data(), n);
        if (!file) {
            Fail(s, LastFileError(err::kDeviceIo));
            return;
        }
        done += n;
    }
    errno = 0;
    file.flush();
    if (!file) {
        Fail(s, LastFileError(err::kDeviceIo));
        return;
    }
    s.link.LinkStatus = status::kDone;
}

// Checks that cells first..first+count-1 fit and moves the file to `offset`
// for a read or a write. False after the failure has been reported.
bool StartBlock(Session& s, std::fstream& file, long offset, int count, int firstCell, CellSpan cells, bool write) {
    if (!CellsFit(cells, firstCell, count) || offset < 0) {
        Fail(s, err::kSubscript);
        return false;
    }
    file.clear();
    errno = 0;
    if (write) file.seekp(offset);
    else file.seekg(offset);
    if (!file) {
        Fail(s, LastFileError(err::kBadFileNameOrNumber));
        return false;
    }
    return true;
}

// Splits a path into its folder part (with the separator) and its name.
void SplitName(const std::string& path, std::string& folder, std::string& name) {
    auto sep = path.find_last_of("/\\");
    if (sep == std::string::npos) {
        folder.clear();
        name = path;
    } else {
        folder = path.substr(0, sep + 1);
        name = path.substr(sep + 1);
    }
}

}  // namespace

std::string UpperCaseName(const std::string& path) {
    std::string folder, name;
    SplitName(Trim(path), folder, name);
    return folder + UpperCase(name);
}

const char* PartExtension(int kind) {
    return (kind >= 1 && kind <= 4) ? kParts[kind - 1].extension : "";
}

int PartNameText(int kind) { return (kind >= 1 && kind <= 4) ? kParts[kind - 1].nameText : 0; }

std::string StripExtension(const std::string& name) {
    std::string folder, file;
    SplitName(Trim(name), folder, file);
    file = UpperCase(file);
    auto dot = file.find_last_of('.');
    if (dot != std::string::npos && dot > 0) file.erase(dot);
    return folder + file;
}

std::string SetNameOf(const std::string& typed, bool& cut) {
    std::string folder, file;
    SplitName(Trim(typed), folder, file);
    file = UpperCase(file);
    const auto dot = file.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        const std::string extension = file.substr(dot);
        bool ours = false;
        for (const PartInfo& p : kParts) ours = ours || extension == p.extension;
        if (!ours) cut = true;
        file.erase(dot);
    }
    return folder + file;
}

bool IsDefaultSetName(const std::string& name) {
    std::string up = UpperCase(Trim(name));
    return up.size() >= 7 && up.compare(up.size() - 7, 7, "DEFAULT") == 0;
}

namespace {

// The operations themselves; they leave their status in LinkStatus, which
// the public routines below return as their result.
void ReadFileBlockHere(Session& s, std::fstream& file, long offset, int count, int firstCell, CellSpan dest) {
    s.link.LinkStatus = status::kAborted;
    QuietFileErrors quiet(s);
    if (!StartBlock(s, file, offset, count, firstCell, dest, false)) return;
    std::vector<char> piece;
    int done = 0;
    while (done < count) {
        int n = std::min(count - done, kBlockPiece);
        piece.assign(static_cast<std::size_t>(n), ' ');
        errno = 0;
        file.read(piece.data(), n);
        if (file.bad()) {
            Fail(s, LastFileError(err::kDeviceIo));
            return;
        }
        // Past the end of the file the blanks stay: the read goes into a
        // string of blanks.
        if (!file) file.clear();
        for (int i = 0; i < n; ++i)
            dest[firstCell + done + i] = static_cast<Cell>(static_cast<unsigned char>(piece[static_cast<std::size_t>(i)]));
        done += n;
    }
    s.link.LinkStatus = status::kDone;
}

void WriteFileBlockHere(Session& s, std::fstream& file, long offset, int count, int firstCell, CellSpan src) {
    s.link.LinkStatus = status::kAborted;
    QuietFileErrors quiet(s);
    if (!StartBlock(s, file, offset, count, firstCell, src, true)) return;
    WritePieces(s, file, count, firstCell, src);
}

void AppendFileBlockHere(Session& s, std::fstream& file, int count, CellSpan src) {
    s.link.LinkStatus = status::kAborted;
    QuietFileErrors quiet(s);
    if (!CellsFit(src, 1, count)) {
        Fail(s, err::kSubscript);
        return;
    }
    WritePieces(s, file, count, 1, src);
}

void CopyConfigFileHere(Session& s, const std::string& source, const std::string& destination) {
    s.link.LinkStatus = status::kAborted;
    QuietFileErrors quiet(s);
    std::string src = UpperCaseName(source);
    std::string dst = UpperCaseName(destination);

    std::string srcPath = ResolveExisting(src);
    if (srcPath.empty()) {
        std::error_code ec;
        Fail(s, fs::is_directory(FolderOf(src), ec) ? err::kFileNotFound : err::kPathNotFound);
        return;
    }
    std::string dstPath = ResolveForWrite(dst);
    std::error_code ec;
    if (fs::exists(dstPath, ec) && fs::equivalent(srcPath, dstPath, ec)) {
        // A file copied onto itself: opening the destination would empty
        // the source, so there is nothing to do.
        s.link.LinkStatus = status::kDone;
        return;
    }

    errno = 0;
    std::ifstream in(srcPath, std::ios::binary);
    if (!in) {
        Fail(s, LastFileError(err::kFileNotFound));
        return;
    }
    in.seekg(0, std::ios::end);
    long length = static_cast<long>(in.tellg());
    in.seekg(0);
    if (length < 0) {
        Fail(s, err::kDeviceIo);
        return;
    }
    std::string content;
    std::vector<char> piece;
    long done = 0;
    while (done < length) {
        long n = std::min<long>(length - done, kCopyPiece);
        piece.resize(static_cast<std::size_t>(n));
        errno = 0;
        in.read(piece.data(), n);
        if (in.gcount() != n) {
            Fail(s, LastFileError(err::kDeviceIo));
            return;
        }
        content.append(piece.data(), static_cast<std::size_t>(n));
        done += n;
    }
    // The copy is written whole or not at all: a full disk leaves the
    // destination as it was, never a truncated or empty file.
    const std::error_code written = WriteFileWhole(dstPath, content);
    if (written) {
        Fail(s, written.category() == std::generic_category() ? ErrorNumberFromErrno(written.value())
                                                                  : static_cast<long>(err::kDeviceIo));
        return;
    }
    s.link.LinkStatus = status::kDone;
}

}  // namespace

OpResult ReadFileBlock(Session& s, std::fstream& file, long offset, int count, int firstCell, CellSpan dest) {
    ReadFileBlockHere(s, file, offset, count, firstCell, dest);
    return {s.link.LinkStatus, s.link.LastErrorNumber};
}

OpResult WriteFileBlock(Session& s, std::fstream& file, long offset, int count, int firstCell, CellSpan src) {
    WriteFileBlockHere(s, file, offset, count, firstCell, src);
    return {s.link.LinkStatus, s.link.LastErrorNumber};
}

OpResult AppendFileBlock(Session& s, std::fstream& file, int count, CellSpan src) {
    AppendFileBlockHere(s, file, count, src);
    return {s.link.LinkStatus, s.link.LastErrorNumber};
}

OpResult CopyConfigFile(Session& s, const std::string& source, const std::string& destination) {
    CopyConfigFileHere(s, source, destination);
    return {s.link.LinkStatus, s.link.LastErrorNumber};
}

int CheckConfigFile(Session& s, const std::string& baseName, int kind) {
    std::string base = Trim(baseName);
    if (kind < 1 || kind > 4 || base.empty()) {
        Fail(s, err::kBadFileNameOrNumber);
        return 0;
    }
    std::string name = base + PartExtension(kind);
    std::string folder = FolderOf(name);
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        // The folder is there: a folder that cannot be listed is a failed
        // look-up, not a missing file.
        fs::directory_iterator probe(folder, ec);
        if (ec) {
            Fail(s, ErrorNumberFromErrno(ec.value()));
            return 0;
        }
    }
    if (!ResolveExisting(name).empty()) return status::kDone;
    ShowAlert(s, GetText(s, PartNameText(kind)) + " ", name + GetText(s, kNotFoundText));
    return status::kFileMissing;
}

FileSetImage ReadFileSetImage(const std::string& baseName) {
    FileSetImage set;
    for (int kind = 1; kind <= 4; ++kind) {
        const auto k = static_cast<std::size_t>(kind);
        const std::string path = ResolveExisting(Trim(baseName) + PartExtension(kind));
        if (path.empty()) continue;
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        set.parts[k].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        set.present[k] = !in.bad();
    }
    return set;
}

int PartKindOf(const std::string& extension) {
    for (int kind = 1; kind <= 4; ++kind)
        if (UpperCase(extension) == kParts[kind - 1].extension) return kind;
    return 0;
}

bool ReadImageBlock(const FileSetImage& set, const std::string& extension, long offset, int count, int firstCell,
                    CellSpan dest) {
    const int kind = PartKindOf(extension);
    if (kind == 0 || !set.present[static_cast<std::size_t>(kind)]) return false;
    if (!CellsFit(dest, firstCell, count) || offset < 0) return false;
    const std::vector<uint8_t>& bytes = set.parts[static_cast<std::size_t>(kind)];
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(offset) + static_cast<std::size_t>(i);
        dest[firstCell + i] = static_cast<Cell>(at < bytes.size() ? bytes[at] : ' ');
    }
    return true;
}

bool OpenConfigPart(Session& s, const std::string& baseName, const std::string& extension, std::fstream& file) {
    std::string want = Trim(baseName) + extension;
    std::string path = ResolveExisting(want);
    if (path.empty()) {
        std::error_code ec;
        s.link.LastErrorNumber = fs::is_directory(FolderOf(want), ec) ? err::kFileNotFound : err::kPathNotFound;
        return false;
    }
    if (file.is_open()) file.close();
    file.clear();
    errno = 0;
    file.open(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file.is_open() && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        // A set on read-only media can still be read; a write reports the
        // error when it happens.
        file.clear();
        errno = 0;
        file.open(path, std::ios::in | std::ios::binary);
    }
    if (!file.is_open()) {
        s.link.LastErrorNumber = LastFileError(err::kPathFileAccess);
        return false;
    }
    return true;
}

bool CreateConfigPart(Session& s, const std::string& baseName, const std::string& extension, std::fstream& file) {
    std::string path = ResolveForWrite(Trim(baseName) + extension);
    if (file.is_open()) file.close();
    file.clear();
    errno = 0;
    file.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!file.is_open()) {
        std::error_code ec;
        long number = fs::is_directory(FolderOf(path), ec) ? LastFileError(err::kPathFileAccess) : err::kPathNotFound;
        s.link.LastErrorNumber = number;
        return false;
    }
    return true;
}

long FileLength(std::fstream& file) {
    file.clear();
    auto here = file.tellg();
    file.seekg(0, std::ios::end);
    long length = static_cast<long>(file.tellg());
    file.clear();
    file.seekg(here);
    return length;
}

uint16_t ProgramChecksum(const uint8_t* bytes, std::size_t count) {
    uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum = (sum + bytes[i]) & 0xFFFF;
    return sum == 0 ? 0xFFFF : static_cast<uint16_t>(sum);
}

uint16_t LogicChecksum(const uint8_t* bytes, std::size_t count) {
    uint32_t sum = 0;
    for (std::size_t i = 0; i < count; i += 2) {
        uint32_t word = static_cast<uint32_t>(bytes[i]) << 8;
        if (i + 1 < count) word |= bytes[i + 1];
        sum = (sum + word) & 0xFFFF;
    }
    return sum == 0 ? 0xFFFF : static_cast<uint16_t>(sum);
}

uint16_t ProgramChecksum(CellSpan cells, int first, int count) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) bytes.push_back(CellByte(cells[first + i]));
    return ProgramChecksum(bytes.data(), bytes.size());
}

uint16_t LogicChecksum(CellSpan cells, int first, int count) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) bytes.push_back(CellByte(cells[first + i]));
    return LogicChecksum(bytes.data(), bytes.size());
}

namespace {
bool ChecksumMatches(CellSpan cells, int n, uint16_t sum) {
    return cells[n - 1] == (sum >> 8) && cells[n] == (sum & 0xFF);
}
}  // namespace

bool CheckReceivedPrograms(CellSpan cells, int n) {
    if (n >= 3 && ChecksumMatches(cells, n, ProgramChecksum(cells, 1, n - 2))) return true;
    for (int i = 1; i <= n; ++i) cells[i] = 255;
    return false;
}

bool CheckReceivedLogics(CellSpan cells, int n) {
    if (n >= 3 && ChecksumMatches(cells, n, LogicChecksum(cells, 1, n - 2))) return true;
    for (int i = 1; i <= n; ++i) cells[i] = 0;
    return false;
}

bool ValidateProgramTable(CellSpan table) {
    if (ChecksumMatches(table, 338, ProgramChecksum(table, 1, 336))) return true;
    for (int i = 1; i <= 338; ++i) table[i] = 255;
    return false;
}

void SealProgramTable(CellSpan table) {
    uint16_t sum = ProgramChecksum(table, 1, 336);
    table[337] = static_cast<Cell>(sum >> 8);
    table[338] = static_cast<Cell>(sum & 0xFF);
}

}  // namespace cfg
