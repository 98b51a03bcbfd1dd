#include "config/SetCheck.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "config/Files.h"
#include "shell/FileNames.h"
#include "shell/Language.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

// Larger than every layout: a file past this is read no further.
constexpr long kReadLimit = 65536;

constexpr int kMissingText = 1591;
constexpr int kSizeText = 1592;
constexpr int kBytesInsteadText = 1593;
constexpr int kProgramsText = 1594;
constexpr int kLogicsText = 1595;
constexpr int kIdentText = 1596;

long LayoutSize(int kind, long logicSize) {
    switch (kind) {
    case 1: return kMainFileSize;
    case 2: return kClockFileSize;
    case 3: return logicSize > 0 ? logicSize : kLogicFileSize;
    default: return kTextFileSize;
    }
}

uint16_t StoredSum(const std::vector<uint8_t>& b, std::size_t at) {
    return static_cast<uint16_t>((b[at] << 8) | b[at + 1]);
}

// The trailer names the panel the set came from: a version of the family
// (1.00 up to 3.99, as the connection accepts) and its release, printable.
bool HasIdentification(const std::vector<uint8_t>& b) {
    if (b.size() < static_cast<std::size_t>(kTrailerOffset + kTrailerSize)) return false;
    std::string version;
    for (int i = 0; i < kTrailerSize; ++i) {
        const uint8_t c = b[static_cast<std::size_t>(kTrailerOffset + i)];
        if (c < 32 || c > 126) return false;
        if (i < 5) version.push_back(static_cast<char>(c));
    }
    const std::string v = Trim(version);
    if (v.empty() || v.find_first_not_of("0123456789.") != std::string::npos) return false;
    const double number = std::strtod(v.c_str(), nullptr);
    return number >= 1.0 && number < 4.0;
}

}  // namespace

long SendableSize(int kind, long logicSize) {
    return kind == 1 ? kPointsOffset + 1600 : LayoutSize(kind, logicSize);
}

std::vector<SetFinding> CheckSetFiles(const SetFileBytes& set, const KindSelection& kinds, long logicSize) {
    std::vector<SetFinding> out;
    for (int kind = 1; kind <= 4; ++kind) {
        if (!kinds[static_cast<std::size_t>(kind)]) continue;
        const auto& file = set.files[static_cast<std::size_t>(kind)];
        if (!file) {
            out.push_back({kind, SetFault::Missing, 0, 0});
            continue;
        }
        const std::vector<uint8_t>& b = *file;
        const long size = static_cast<long>(b.size());
        const long expected = LayoutSize(kind, logicSize);
        if (size != expected) out.push_back({kind, SetFault::WrongSize, size, expected});
        if (kind == 1 && !HasIdentification(b)) out.push_back({kind, SetFault::NoIdentification, size, expected});
        if (kind == 2 && size >= 338) {
            bool programs = false;
            for (std::size_t i = 0; i < 336; ++i) programs = programs || b[i] != 255;
            if (programs && ProgramChecksum(b.data(), 336) != StoredSum(b, 336))
                out.push_back({kind, SetFault::ProgramChecksum, size, expected});
        }
        if (kind == 3 && size >= 4) {
            // The checksum closes the file: it covers what is in front of it.
            const bool logics = b[0] != 0 || b[1] != 0;
            const std::size_t n = b.size() - 2;
            if (logics && LogicChecksum(b.data(), n) != StoredSum(b, n))
                out.push_back({kind, SetFault::LogicChecksum, size, expected});
        }
    }
    return out;
}

SetFileBytes ReadSetFiles(const std::string& base, const KindSelection& kinds) {
    SetFileBytes set;
    for (int kind = 1; kind <= 4; ++kind) {
        if (!kinds[static_cast<std::size_t>(kind)]) continue;
        const std::string path = ResolveExisting(Trim(base) + PartExtension(kind));
        std::error_code ec;
        if (path.empty() || !fs::is_regular_file(path, ec)) continue;
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        std::vector<uint8_t> bytes(static_cast<std::size_t>(kReadLimit));
        in.read(reinterpret_cast<char*>(bytes.data()), kReadLimit);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        set.files[static_cast<std::size_t>(kind)] = std::move(bytes);
    }
    return set;
}

std::string DescribeSetFindings(Session& s, const std::string& base, const std::vector<SetFinding>& findings) {
    std::string text;
    for (const SetFinding& f : findings) {
        std::string line = BaseNameOf(Trim(base)) + PartExtension(f.kind) + ": ";
        switch (f.fault) {
        case SetFault::Missing: line += GetText(s, kMissingText); break;
        case SetFault::WrongSize:
            line += GetText(s, kSizeText) + " " + std::to_string(f.size) + " " + GetText(s, kBytesInsteadText) + " " +
                    std::to_string(f.expected);
            break;
        case SetFault::ProgramChecksum: line += GetText(s, kProgramsText); break;
        case SetFault::LogicChecksum: line += GetText(s, kLogicsText); break;
        case SetFault::NoIdentification: line += GetText(s, kIdentText); break;
        }
        text += (text.empty() ? "" : "\r\n") + line;
    }
    return text;
}

}  // namespace cfg
