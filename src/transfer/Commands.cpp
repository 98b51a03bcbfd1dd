#include "transfer/Commands.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "transfer/Backups.h"
#include "transfer/DateStamp.h"
#include "config/Files.h"
#include "config/SetCheck.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelCommands.h"
#include "shell/FileNames.h"
#include "shell/Language.h"
#include "shell/ErrorHandler.h"
#include "shell/Messages.h"
#include "shell/RuntimeError.h"
#include "shell/Text.h"
#include "shell/Folders.h"
#include "shell/SafeWrite.h"

namespace fs = std::filesystem;

namespace cfg {

namespace {

// Panel addresses of the main configuration pieces.
constexpr long kPanelMain = kMainPanelBase;
constexpr long kPanelMainFlag = kMainPanelBase + kMainFlagOffset;
constexpr long kPanelSecondPart = kMainPanelBase + kSecondPartOffset;
constexpr long kPanelCommParams = kMainPanelBase + kCommParamsOffset;
constexpr long kPanelPoints = kMainPanelBase + kPointsOffset;
constexpr long kPanelLastChange = kMainPanelBase + kLastChangeOffset;
// A panel whose first configuration byte is at least this takes its link
// parameters from the tool on every send.
constexpr int kCommParamRevision = 86;
constexpr int kMarkerPresent = 187;
constexpr int kTextPiece = 455;
constexpr int kTextPieces = 16;

using Selection = std::array<bool, 5>;  // kinds 1..4

constexpr int kFindingsText = 1590;      // heading of the list of damaged files
constexpr int kSendAnywayText = 1597;    // the question before a send
constexpr int kUseAnywayText = 1598;     // the question before a report or an export
constexpr int kTemplateText = 1601;      // the DEFAULT set: template of every new set
constexpr int kDotText = 1603;           // a name whose dot would be cut
constexpr int kLockedText = 1605;        // a set being received by another program
constexpr int kTooShortText = 1607;      // a file too short to be sent at all

const std::string& BoxTitle(const MainRegisters& reg) { return reg.Shell.ApplicationTitle; }

// A critical box with one text (the alerts that name a single text).
void AlertOne(Session& s, int id) {
    s.ui->MessageBox(GetText(s, 1378), GetText(s, id), MsgButtons::Ok, MsgIcon::Critical);
}

bool AskYes(Session& s, const std::string& text) {
    return s.ui->MessageBox(BoxTitle(s.main), text, MsgButtons::YesNo, MsgIcon::Exclamation) == MsgAnswer::Yes;
}

std::string PartFile(const std::string& base, int kind) { return base + PartExtension(kind); }

int32_t Entry(ConfigState& config, PanelEntry entry) { return config.AddressDirectory[entry]; }

// --- create and copy -------------------------------------------------------

// Shows the copy dialog, its two choices and flags cleared first. False when
// the user left it; else the names it gave (without extension), the file
// names upper-cased, as they are compared and shown.
bool ShowCopyDialog(Session& s, const CopyDialogRequest& req, std::string& source, std::string& dest) {
    auto& c = s.config;
    c.FileChoiceSource.clear();
    c.FileChoiceDest.clear();
    s.events.UserEvent = false;
    s.events.ExitRequested = false;
    CopyDialogAnswer answer = s.ui->AskCopyFiles(req);
    if (!answer.confirmed) {
        s.events.ExitRequested = true;
        return false;
    }
    s.events.UserEvent = true;
    bool sourceCut = false, destCut = false;
    source = req.showSource ? SetNameOf(answer.source, sourceCut) : std::string();
    dest = SetNameOf(answer.dest, destCut);
    if (sourceCut || destCut) {
        // "site.v2" would become SITE, which may be another set.
        const std::string typed = Trim(destCut ? answer.dest : answer.source);
        ShowAlert(s, GetText(s, kDotText) + " " + BaseNameOf(typed), GetText(s, kDotText + 1));
        return ShowCopyDialog(s, req, source, dest);
    }
    c.FileChoiceSource = source;
    c.FileChoiceDest = dest;
    return true;
}

// The DEFAULT set is the template of every new set: replacing it needs its
// own question, which names it so. True when the name is not the template's
// or the user accepted.
bool ConfirmTemplateTarget(Session& s, const std::string& name) {
    if (!IsDefaultSetName(name)) return true;
    return s.ui->ConfirmRisk(RiskTopic::TemplateSet, BoxTitle(s.main),
                             name + "\r\n" + GetText(s, kTemplateText) + "\r\n\r\n" + GetText(s, kTemplateText + 1));
}

// Copies the four files of `source` onto `dest`, asking once before the
// first existing file is overwritten. True, with LinkStatus 255, when all
// four were copied; a missing source part, a refused overwrite or a failed
// copy ends it with LinkStatus not 255.
bool CopySet(Session& s, const std::string& source, const std::string& dest, int askText1, int askText2) {
    s.link.LinkStatus = status::kAborted;
    for (int kind = 1; kind <= 4; ++kind)
        if (CheckConfigFile(s, source, kind) != status::kDone) return false;
    if (!ConfirmTemplateTarget(s, dest)) return false;
    bool overwriteAllowed = false;
    for (int kind = 1; kind <= 4; ++kind) {
        std::string target = PartFile(dest, kind);
        if (FileExists(target) && !overwriteAllowed) {
            if (!AskYes(s, GetText(s, askText1) + " " + target + "\r\n" + GetText(s, askText2))) {
                s.link.LinkStatus = status::kAborted;
                return false;
            }
            overwriteAllowed = true;
        }
        if (!CopyConfigFile(s, PartFile(source, kind), target).Done()) return false;
    }
    return true;
}

// A set being received is locked against a second receive into the same
// name (another program, or another window): a folder NAME.LOCK made at once
// or not at all, holding the process id of its owner. A lock whose owner no
// longer runs is stale and taken over.
class SetLock {
public:
    SetLock() = default;
    SetLock(const SetLock&) = delete;
    SetLock& operator=(const SetLock&) = delete;
    ~SetLock() { Release(); }

    bool Acquire(const std::string& base) {
        const std::string path = ResolveForWrite(Trim(base) + ".LOCK");
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::error_code ec;
            if (fs::create_directory(path, ec)) {
                path_ = path;
                const std::string pid = std::to_string(CurrentProcessId()) + "\n";
                (void)WriteFileWhole(JoinPath(path, "pid"), pid);
                return true;
            }
            if (ec || !fs::is_directory(path, ec) || !Stale(path)) return false;
            fs::remove_all(path, ec);
        }
        return false;
    }
    void Release() {
        if (path_.empty()) return;
        std::error_code ec;
        fs::remove_all(path_, ec);
        path_.clear();
    }

private:
    static bool Stale(const std::string& path) {
        std::ifstream in(JoinPath(path, "pid"));
        long pid = 0;
        if (in >> pid) return !ProcessMayBeRunning(pid);
        // No id yet: its owner is writing it right now, or died before; a
        // lock left like that for a minute is stale.
        std::error_code ec;
        const auto made = fs::last_write_time(path, ec);
        return !ec && fs::file_time_type::clock::now() - made > std::chrono::minutes(1);
    }
    std::string path_;
};

// --- panel connection --------------------------------------------------------

// Identification and programming mode. On failure the port is closed and
// nothing stays connected.
bool ConnectForConfiguration(Session& s) {
    if (!ConnectPanel(s).Done()) {
        s.link.PortOpened = false;
        ClosePanelPort(s);
        return false;
    }
    TakeIdentificationFromPanel(s);
    if (const OpResult entered = EnterProgrammingMode(s);
        !entered.Done() && s.link.LastErrorNumber == 0 && s.link.ReplyData.empty()) {
        // No answer came back whole (lost, damaged, late, or the user gave
        // up waiting), yet the request may well have reached the panel: it
        // is released without waiting, so that it is not left in
        // programming mode with nobody to end it. A refusal needs nothing.
        const int failure = s.link.LinkStatus;
        LeaveProgrammingMode(s, false);
        s.link.LinkStatus = failure;
    }
    // The port is released between commands, like after every block
    // operation: the next one opens it without waiting for it to settle.
    ClosePanelPort(s);
    if (s.link.LinkStatus != status::kDone) {
        s.link.PortOpened = false;
        return false;
    }
    return true;
}

// Ends a transfer: the panel leaves programming mode and the port is
// released. LinkStatus keeps the transfer's result. A panel that stopped
// answering may still hear the line (only its replies lost): the release
// goes out all the same, but is not waited for, which would only repeat the
// time-out and its message.
void ReleasePanel(Session& s) {
    int result = s.link.LinkStatus;
    EndBusy(s, 0);
    LeaveProgrammingMode(s, result != status::kNoReply);
    ClosePanelPort(s);
    s.link.PortOpened = false;
    s.link.LinkStatus = result;
}

// The menu of the transfer commands: all four files or one of them.
bool AskTransferChoice(Session& s, int titleText, int firstItemText, Selection& selected) {
    ChoiceRequest req;
    req.title = GetText(s, titleText);
    for (int i = 0; i < 5; ++i) req.items.push_back(GetText(s, firstItemText + i));
    int choice = s.ui->AskChoice(req);
    selected.fill(false);
    if (choice < 0 || choice > 4) return false;
    for (int kind = 1; kind <= 4; ++kind) selected[kind] = (choice == 0 || choice == kind);
    return true;
}

FileDialogRequest NameDialog(Session& s, int titleText, int firstFilterText) {
    FileDialogRequest req;
    req.title = GetText(s, titleText);
    for (int i = 0; i < 4; ++i) req.filters.push_back(GetText(s, firstFilterText + i));
    return req;
}

// A length from the panel's directory that the transfer buffer cannot hold:
// the panel's answer is not usable. A length of 0 or a few bytes is the
// panel's own business (an empty area) and moves as it is.
bool FitsTransferBuffer(Session& s, long count) {
    if (count >= 1 && count <= 4000) return true;
    AlertOne(s, 1374);
    s.link.LinkStatus = status::kRefused;
    return false;
}

// --- receive -----------------------------------------------------------------

enum class Outcome { Done, Failed, FileError };

class Receiver {
public:
    Receiver(Session& s, std::fstream& f) : s_(s), f_(f), tb_(s.config.TransferBuffer) {}

    // Reads count bytes from the panel, optionally checks them, and appends
    // `written` cells to the file. Cells written beyond what was read hold
    // `fill`: the spare bytes of the program table are 255 (empty), as a
    // damaged table that is emptied entirely.
    bool Block(long address, int count, int written, bool (*check)(CellSpan, int) = nullptr, Cell fill = 0) {
        for (int i = 1; i <= std::max(count, written); ++i) tb_[i] = fill;
        if (!ReadPanelBlock(s_, address, count, 1, tb_).Done()) return false;
        if (check) check(tb_, count);
        return AppendFileBlock(s_, f_, written, tb_).Done();
    }

    bool Main() {
        auto& c = s_.config;
        if (!Block(kPanelMain, 512, 512)) return false;
        if (!Block(kPanelPoints, 1600, 1600)) return false;
        if (!Block(Entry(s_.config, PanelEntry::Live) + 1600, 800, 800)) return false;
        if (!Block(Entry(s_.config, PanelEntry::Thresholds), 56, 56)) return false;
        // The trailer: the version and release of the panel it came from.
        std::string trailer = Utf8ToLatin1(Utf8PadRight(c.PanelVersionText, 5)) +
                              Utf8ToLatin1(Utf8PadRight(c.PanelReleaseCode, 8));
        for (int i = 0; i < 13; ++i)
            tb_[1 + i] = static_cast<Cell>(static_cast<unsigned char>(trailer[static_cast<std::size_t>(i)]));
        return AppendFileBlock(s_, f_, 13, tb_).Done();
    }

    bool Clock() {
        long programs = Entry(s_.config, PanelEntry::ClockProgramsLength) + 2;
        if (!FitsTransferBuffer(s_, programs)) return false;
        if (!Block(Entry(s_.config, PanelEntry::ClockPrograms), static_cast<int>(programs), 350, CheckReceivedPrograms, 255)) return false;
        if (!Block(Entry(s_.config, PanelEntry::ClockPeriods), 9, 10)) return false;
        return Block(Entry(s_.config, PanelEntry::ClockDates), 24, 24);
    }

    bool Logics() {
        long n = Entry(s_.config, PanelEntry::LogicsLength) + 2;
        if (!FitsTransferBuffer(s_, n)) return false;
        return Block(Entry(s_.config, PanelEntry::Logics), static_cast<int>(n), static_cast<int>(n), CheckReceivedLogics);
    }

    bool Texts() {
        for (int k = 0; k < kTextPieces; ++k)
            if (!Block(Entry(s_.config, PanelEntry::Descriptions) + static_cast<long>(kTextPiece) * k, kTextPiece, kTextPiece)) return false;
        return true;
    }

private:
    Session& s_;
    std::fstream& f_;
    CellSpan tb_;
};

constexpr int kReceiveBusyText[5] = {0, 453, 455, 457, 459};
constexpr int kSendBusyText[5] = {0, 479, 481, 484, 487};

// A part being received is written beside its final place under this name;
// the set's files are replaced only once every part asked for arrived whole,
// so that a failed or aborted receive leaves the previous set as it was (a
// set mixing a new .CY2 with an old .PY2 would be worse than either).
constexpr const char* kPendingSuffix = ".PART";

// The pending name carries the process id: two programs receiving at once
// never write into each other's part.
std::string PendingFile(const std::string& name, int kind) {
    return ResolveForWrite(Trim(name) + PartExtension(kind) + "." + std::to_string(CurrentProcessId()) + kPendingSuffix);
}

void DropPendingParts(const std::string& name, const Selection& selected) {
    for (int kind = 1; kind <= 4; ++kind) {
        if (!selected[kind]) continue;
        std::error_code ec;
        fs::remove(PendingFile(name, kind), ec);
    }
}

// Moves the received parts into place. False (after reporting it) when a
// file of the set could not be replaced.
bool CommitPendingParts(Session& s, const std::string& name, const Selection& selected) {
    for (int kind = 1; kind <= 4; ++kind) {
        if (!selected[kind]) continue;
        const std::string pending = PendingFile(name, kind);
        const std::string target = ResolveForWrite(Trim(name) + PartExtension(kind));
        std::error_code ec;
        fs::rename(pending, target, ec);
        if (ec) {
            // Some systems refuse to rename onto an existing file.
            std::error_code removed;
            fs::remove(target, removed);
            fs::rename(pending, target, ec);
        }
        if (ec) {
            s.link.LastErrorNumber = err::kPathFileAccess;
            ReportFileError(s);
            s.link.LinkStatus = status::kRefused;
            DropPendingParts(name, selected);
            return false;
        }
    }
    return true;
}

Outcome ReceiveParts(Session& s, const std::string& name, const Selection& selected) {
    for (int kind = 1; kind <= 4; ++kind) {
        if (!selected[kind]) continue;
        ShowBusy(s, GetText(s, kReceiveBusyText[kind]));
        std::fstream file;
        bool created = false;
        {
            QuietFileErrors quiet(s);
            created = CreateConfigPart(s, name, std::string(PartExtension(kind)) + "." +
                                                    std::to_string(CurrentProcessId()) + kPendingSuffix, file);
        }
        if (!created) {
            ReportFileError(s);
            s.link.LinkStatus = status::kRefused;
            DropPendingParts(name, selected);
            return Outcome::FileError;
        }
        Receiver r(s, file);
        bool ok = false;
        switch (kind) {
        case 1: ok = r.Main(); break;
        case 2: ok = r.Clock(); break;
        case 3: ok = r.Logics(); break;
        case 4: ok = r.Texts(); break;
        }
        file.close();
        if (!ok) {
            DropPendingParts(name, selected);
            return Outcome::Failed;
        }
    }
    if (!CommitPendingParts(s, name, selected)) return Outcome::Failed;
    return Outcome::Done;
}

// --- send --------------------------------------------------------------------

// Baud code of the panel's link parameters.
int BaudCode(const std::string& baud) {
    switch (static_cast<long>(ParseNumber(baud))) {
    case 9600: return 1;
    case 4800: return 2;
    case 2400: return 3;
    case 1200: return 4;
    default: return 2;
    }
}

class Sender {
public:
    Sender(Session& s, std::fstream& f) : s_(s), f_(f), tb_(s.config.TransferBuffer) {}

    // File bytes offset..offset+count-1 into cells first.. of the buffer.
    bool FromFile(long offset, int count, int first = 1) {
        return ReadFileBlock(s_, f_, offset, count, first, tb_).Done();
    }
    bool ToPanel(long address, int count, int first = 1) {
        return WritePanelBlock(s_, address, count, true, first, tb_).Done();
    }
    bool Marker(long address, bool present) {
        CellArray<0, 1> marker;
        marker[1] = static_cast<Cell>(present ? kMarkerPresent : 0);
        return WritePanelBlock(s_, address, 1, true, 1, marker).Done();
    }
    // The commit step after a marker: anything but "O" stops the send.
    bool Commit(int code) {
        const ControlReply commit = SendControl(s_, code, true);
        ClosePanelPort(s_);
        if (commit.result.Done() && commit.answer == 'O') return true;
        if (commit.result.Done()) s_.link.LinkStatus = status::kCommitRefused;
        ReportLinkError(s_);
        return false;
    }

    bool Main() {
        auto& tb = tb_;
        if (!ReadPanelBlock(s_, kPanelMain, 1, 1, tb).Done()) return false;
        if (tb[1] >= kCommParamRevision) {
            bool relay = s_.settings.FileLinkMode;
            tb[1] = s_.link.PanelAddress;
            tb[2] = static_cast<Cell>(static_cast<long>(ParseNumber(relay ? s_.settings.RelayPlantCode : s_.settings.PlantCode)) & 0xFF);
            tb[3] = static_cast<Cell>(BaudCode(relay ? s_.settings.RelayBaudRate : s_.settings.BaudRate));
            if (!ToPanel(kPanelCommParams, 3)) return false;
        }
        // Bytes 0..190 and 237..382: the IdentBlock and bytes 383..511
        // stay as the panel has them.
        if (!FromFile(0, 512)) return false;
        if (!ToPanel(kPanelMain, 191, 1)) return false;
        if (!ToPanel(kPanelSecondPart, 146, 238)) return false;
        tb[1] = 0;
        if (!ToPanel(kPanelMainFlag, 1)) return false;
        if (!FromFile(512, 1600)) return false;
        return ToPanel(kPanelPoints, 800);
    }

    bool Clock() {
        if (!FromFile(0, 350)) return false;
        if (!ToPanel(Entry(s_.config, PanelEntry::ClockPrograms), 339)) return false;
        bool programs = false;
        for (int i = 1; i <= 336; ++i) programs = programs || tb_[i] != 255;
        if (!Marker(Entry(s_.config, PanelEntry::ClockMarker), programs)) return false;
        if (!Commit(kControlCommitPrograms)) return false;
        if (!FromFile(350, 10)) return false;
        if (!ToPanel(Entry(s_.config, PanelEntry::ClockPeriods), 9)) return false;
        if (!FromFile(360, 24)) return false;
        return ToPanel(Entry(s_.config, PanelEntry::ClockDates), 24);
    }

    bool Logics() {
        long n = Entry(s_.config, PanelEntry::LogicsLength) + 2;
        if (!FitsTransferBuffer(s_, n)) return false;
        if (!FromFile(0, static_cast<int>(n))) return false;
        if (!ToPanel(Entry(s_.config, PanelEntry::Logics), static_cast<int>(n))) return false;
        if (!Marker(Entry(s_.config, PanelEntry::ClockMarker), tb_[1] != 0 || tb_[2] != 0)) return false;
        return Commit(kControlCommitLogics);
    }

    bool Texts() {
        for (int k = 0; k < kTextPieces; ++k) {
            if (!FromFile(static_cast<long>(kTextPiece) * k, kTextPiece)) return false;
            if (!ToPanel(Entry(s_.config, PanelEntry::Descriptions) + static_cast<long>(kTextPiece) * k, kTextPiece)) return false;
        }
        return true;
    }

private:
    Session& s_;
    std::fstream& f_;
    CellSpan tb_;
};

// Bytes of each file that a send reads.
long NeededLength(Session& s, int kind) { return SendableSize(kind, Entry(s.config, PanelEntry::LogicsLength) + 2); }

// Sends the selected parts in order. `sent` gets the parts that reached the
// panel whole; `interrupted` the part that failed half-way (0 for none).
bool SendParts(Session& s, const std::string& name, const Selection& selected, Selection& sent, int& interrupted) {
    sent = {};
    interrupted = 0;
    for (int kind = 1; kind <= 4; ++kind) {
        if (!selected[kind]) continue;
        ShowBusy(s, GetText(s, kSendBusyText[kind]));
        std::fstream file;
        bool opened = false;
        {
            QuietFileErrors quiet(s);
            opened = OpenConfigPart(s, name, PartExtension(kind), file);
        }
        // A file shorter than its layout would send blanks in place of the
        // missing bytes: it is refused, even when the user chose to send a
        // damaged set, saying how short it is.
        const long length = opened ? FileLength(file) : 0;
        if (opened && length < NeededLength(s, kind)) {
            SetFinding f{kind, SetFault::WrongSize, length, SendableSize(kind, Entry(s.config, PanelEntry::LogicsLength) + 2)};
            ShowAlert(s, DescribeSetFindings(s, name, {f}), GetText(s, kTooShortText));
            s.link.LinkStatus = status::kRefused;
            return false;
        }
        if (!opened) {
            ReportFileError(s);
            s.link.LinkStatus = status::kRefused;
            return false;
        }
        Sender snd(s, file);
        bool ok = false;
        switch (kind) {
        case 1: ok = snd.Main(); break;
        case 2: ok = snd.Clock(); break;
        case 3: ok = snd.Logics(); break;
        case 4: ok = snd.Texts(); break;
        }
        if (!ok) {
            interrupted = kind;
            return false;
        }
        sent[kind] = true;
    }
    return true;
}

// After a send that stopped half-way: which parts the panel now holds from
// the set, and which one it holds only in part, so that the installer knows
// the panel's configuration may be a mixture.
void ReportPartialSend(Session& s, const Selection& sent, int interrupted) {
    std::string reached;
    for (int kind = 1; kind <= 4; ++kind)
        if (sent[kind]) reached += (reached.empty() ? "" : ", ") + GetText(s, PartNameText(kind));
    std::string text = GetText(s, 1900) + "\r\n\r\n" + GetText(s, 1901) + " " +
                       (reached.empty() ? GetText(s, 1903) : reached) + "\r\n" + GetText(s, 1902) + " " +
                       GetText(s, PartNameText(interrupted));
    s.ui->MessageBox(BoxTitle(s.main), text, MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace

// --- commands ------------------------------------------------------------------

void CreateCommand(Session& s, int option) {
    if (option == 1) CopyConfiguration(s);
    else if (option == 2) CreateConfiguration(s);
}

void TransferCommand(Session& s, int option) {
    if (option == 1) SendConfiguration(s);
    else if (option == 2) ReceiveConfiguration(s);
}

void CreateConfiguration(Session& s) {
    s.link.LinkStatus = status::kAborted;
    CopyDialogRequest req;
    req.caption = GetText(s, 405);
    req.destLabel = GetText(s, 406);
    req.hint = GetText(s, 407);
    req.showSource = false;
    req.pattern = "*.CY2";
    std::string source, dest;
    for (;;) {
        if (!ShowCopyDialog(s, req, source, dest)) return;
        if (dest.empty()) {
            AlertOne(s, 408);
            continue;
        }
        if (IsDefaultSetName(dest)) {
            ShowAlert(s, GetText(s, 410), GetText(s, 411));
            continue;
        }
        break;
    }
    if (CopySet(s, JoinPath(DataFolderOf(s.settings), "DEFAULT"), dest, 417, 418))
        ShowInfo(s, BoxTitle(s.main), GetText(s, 419) + "\r\n" + dest + GetText(s, 420));
}

void CopyConfiguration(Session& s) {
    s.link.LinkStatus = status::kAborted;
    CopyDialogRequest req;
    req.caption = GetText(s, 422);
    req.sourceLabel = GetText(s, 423);
    req.destLabel = GetText(s, 424);
    req.hint = GetText(s, 425);
    req.showSource = true;
    req.pattern = "*.CY2";
    std::string source, dest;
    for (;;) {
        if (!ShowCopyDialog(s, req, source, dest)) return;
        if (source.empty()) {
            AlertOne(s, 426);
            continue;
        }
        if (dest.empty()) {
            AlertOne(s, 427);
            continue;
        }
        break;
    }
    if (CopySet(s, source, dest, 432, 433)) ShowInfo(s, BoxTitle(s.main), GetText(s, 434));
}

bool IsTemplateSetName(Session& s, const std::string& name) {
    const std::string templateName = UpperCase(Trim(GetText(s, 1142)));
    const std::string up = UpperCase(Trim(name));
    return IsDefaultSetName(up) ||
           (up.size() >= 7 && !templateName.empty() && up.size() >= templateName.size() &&
            up.compare(up.size() - templateName.size(), templateName.size(), templateName) == 0);
}

void OpenConfiguration(Session& s, int option) {
    if (option == 1) {
        s.config.ConfigSource = ConfigSource::None;
        s.config.ConfigFileName.clear();
        // The same filters as the send dialog: a set is chosen by its main file.
        FileDialogRequest req = NameDialog(s, 1141, 468);
        std::string answer = s.ui->AskOpenFile(req);
        if (Trim(answer).empty()) return;
        std::string name = StripExtension(answer);
        // The template set is never opened for editing.
        if (IsTemplateSetName(s, name)) {
            ShowAlert(s, GetText(s, 1143), GetText(s, 1144));
            return;
        }
        if (CheckConfigFile(s, name, 1) != status::kDone) return;
        // The other parts are checked by each section when it loads them;
        // here the user only hears which are missing.
        for (int kind = 2; kind <= 4; ++kind) static_cast<void>(CheckConfigFile(s, name, kind));
        // A damaged or foreign file is named before anything is shown or
        // printed from it; the user decides whether to go on.
        if (!ConfirmSetFiles(s, name, {false, true, true, true, true}, 0, kUseAnywayText)) {
            s.link.LinkStatus = status::kRefused;
            return;
        }
        s.config.ConfigFileName = name;
        s.config.ConfigSource = ConfigSource::File;
        s.config.PanelIdent.clear();
        TakeIdentificationFromFile(s);
        return;
    }
    if (option == 3) {
        OpenBackup(s);
        return;
    }
    if (option == 2) {
        s.config.ConfigSource = ConfigSource::None;
        s.ui->SetStatusText("");
        if (s.link.PortOpened) {
            LeaveProgrammingMode(s, true);
            s.link.PortOpened = false;
        }
        if (!ConnectForConfiguration(s)) return;
        s.config.ConfigSource = ConfigSource::Panel;
    }
}

void ReceiveConfiguration(Session& s) {
    s.link.LinkStatus = status::kAborted;
    if (!ConnectForConfiguration(s)) return;
    Selection selected;
    if (!AskTransferChoice(s, 435, 436, selected)) {
        s.link.LinkStatus = status::kAborted;
        ReleasePanel(s);
        return;
    }
    bool mapRead = false;
    SetLock lock;
    for (;;) {
        std::string answer = s.ui->AskSaveFile(NameDialog(s, 441, 442));
        if (Trim(answer).empty()) {
            s.link.LinkStatus = status::kAborted;
            ReleasePanel(s);
            return;
        }
        std::string name = StripExtension(answer);
        bool refused = false;
        for (int kind = 1; kind <= 4 && !refused; ++kind) {
            std::string target = PartFile(name, kind);
            if (selected[kind] && FileExists(target))
                refused = !AskYes(s, GetText(s, 450) + " " + target + "\r\n" + GetText(s, 451));
        }
        if (refused) continue;
        if (!ConfirmTemplateTarget(s, name)) {
            s.link.LinkStatus = status::kAborted;
            ReleasePanel(s);
            return;
        }
        if (!lock.Acquire(name)) {
            ShowAlert(s, GetText(s, kLockedText) + " " + name, GetText(s, kLockedText + 1));
            s.link.LinkStatus = status::kRefused;
            ReleasePanel(s);
            return;
        }
        Outcome outcome = Outcome::Failed;
        {
            // All the blocks of the chosen parts are one command for the
            // abort button.
            LongOperation busy(s);
            if (!mapRead) {
                mapRead = ReadMemoryMap(s).Done();
            }
            if (mapRead) outcome = ReceiveParts(s, name, selected);
        }
        if (outcome == Outcome::FileError) {
            lock.Release();
            continue;
        }
        if (outcome == Outcome::Failed) {
            ReleasePanel(s);
            return;
        }
        // Every configuration received is kept in the backups folder too.
        {
            LongOperation busy(s);
            BackupReceivedSet(s, name, selected);
        }
        break;
    }
    s.link.LinkStatus = status::kDone;
    ReleasePanel(s);
    ShowInfo(s, BoxTitle(s.main), GetText(s, 460));
    s.link.LinkStatus = status::kDone;
}

void SendConfiguration(Session& s) {
    s.link.LinkStatus = status::kAborted;
    if (!ConnectForConfiguration(s)) return;
    Selection selected;
    if (!AskTransferChoice(s, 461, 462, selected)) {
        s.link.LinkStatus = status::kAborted;
        ReleasePanel(s);
        return;
    }
    std::string answer = s.ui->AskOpenFile(NameDialog(s, 467, 468));
    if (Trim(answer).empty()) {
        s.link.LinkStatus = status::kAborted;
        ReleasePanel(s);
        return;
    }
    std::string name = StripExtension(answer);
    for (int kind = 1; kind <= 4; ++kind) {
        std::string file = PartFile(name, kind);
        if (selected[kind] && !FileExists(file)) {
            // The alert names the missing file after its first text.
            ShowAlert(s, GetText(s, 476) + " " + file, GetText(s, 477));
            s.link.LinkStatus = status::kFileMissing;
            ReleasePanel(s);
            return;
        }
    }
    OpResult mapRead;
    {
        LongOperation busy(s);
        mapRead = ReadMemoryMap(s);
    }
    // Every chosen file is checked before the first block goes out: a
    // damaged set goes to the panel only when the user says so.
    if (mapRead.Done() && !ConfirmSetFiles(s, name, selected, Entry(s.config, PanelEntry::LogicsLength) + 2, kSendAnywayText)) {
        s.link.LinkStatus = status::kRefused;
        ReleasePanel(s);
        return;
    }
    Selection sent;
    int interrupted = 0;
    bool done = false;
    const bool backupFirst = WantsBackupBeforeSend(s);
    bool backupFailed = false;
    {
        // From the first block to the clock setting the send is one command
        // for the abort button.
        LongOperation busy(s);
        // The parts about to be overwritten are read from the panel first;
        // without that backup nothing is sent.
        if (s.link.LinkStatus == status::kDone && backupFirst && BackupFromPanel(s, selected, BackupReason::BeforeSend).empty()) {
            backupFailed = true;
            if (s.link.LinkStatus == status::kDone) s.link.LinkStatus = status::kRefused;
        }
        if (s.link.LinkStatus == status::kDone && !backupFailed) done = SendParts(s, name, selected, sent, interrupted);
        if (done) {
            // The panel's own last-change date, as it stands after the send.
            auto& c = s.config;
            if (ReadPanelBlock(s, kPanelLastChange, 8, 1, c.IdentBuffer).Done()) {
                std::string date;
                for (int i = 1; i <= 8; ++i) date.push_back(static_cast<char>(c.IdentBuffer[i] & 0xFF));
                c.LastChangeDate = Latin1ToUtf8(date);
                s.ui->SetIdentification(IdentificationText(s.config));
            }
            if (s.link.LinkStatus == status::kDone) SetPanelClockFromPc(s);
        }
    }
    if (!done) {
        const int failure = s.link.LinkStatus;
        ReleasePanel(s);
        if (interrupted != 0) ReportPartialSend(s, sent, interrupted);
        if (backupFailed) s.ui->MessageBox(BoxTitle(s.main), GetText(s, 1718), MsgButtons::Ok, MsgIcon::Exclamation);
        s.link.LinkStatus = failure;
        return;
    }
    if (s.link.LinkStatus != status::kDone) {
        ReleasePanel(s);
        return;
    }
    ReleasePanel(s);
    ShowInfo(s, BoxTitle(s.main), GetText(s, 488));
    s.link.LinkStatus = status::kDone;
}

bool ConfirmSetFiles(Session& s, const std::string& base, const std::array<bool, 5>& kinds, long logicSize,
                     int questionText) {
    std::vector<SetFinding> findings = CheckSetFiles(ReadSetFiles(base, kinds), kinds, logicSize);
    // A missing file has its own alert where it matters (open, send).
    std::erase_if(findings, [](const SetFinding& f) { return f.fault == SetFault::Missing; });
    if (findings.empty()) return true;
    const std::string text = GetText(s, kFindingsText) + "\r\n" + DescribeSetFindings(s, base, findings) +
                             "\r\n\r\n" + GetText(s, questionText == 0 ? kUseAnywayText : questionText);
    return s.ui->ConfirmRisk(RiskTopic::DamagedSet, BoxTitle(s.main), text);
}

bool ReceivePanelParts(Session& s, const std::string& base, const std::array<bool, 5>& parts) {
    return ReceiveParts(s, base, parts) == Outcome::Done;
}

std::string ReadPanelConfiguration(Session& s) {
    const bool open = s.config.ConfigSource == ConfigSource::Panel;
    s.link.LinkStatus = status::kAborted;
    if (!open && !ConnectForConfiguration(s)) return {};
    std::string base;
    {
        LongOperation busy(s);
        if (ReadMemoryMap(s).Done()) base = BackupFromPanel(s, {false, true, true, true, true}, BackupReason::Received);
    }
    const int result = base.empty() ? (s.link.LinkStatus == status::kDone ? status::kRefused : s.link.LinkStatus) : status::kDone;
    if (open) {
        EndBusy(s, 0);
    } else {
        s.link.LinkStatus = result;
        ReleasePanel(s);
    }
    s.link.LinkStatus = result;
    return base;
}

void RefreshConfigView(Session& s) {
    auto& c = s.config;
    if (s.config.ConfigSource == ConfigSource::File) {
        TakeIdentificationFromFile(s);
    } else if (s.config.ConfigSource == ConfigSource::Panel) {
        if (!ReadPanelBlock(s, kPanelMain + kIdentBlockOffset, kIdentBlockSize, 1, c.IdentBuffer).Done()) return;
        TakeIdentBlock(s.config);
    } else {
        s.link.LinkStatus = status::kNoSource;
        return;
    }
    s.ui->SetIdentification(IdentificationText(s.config));
}

}  // namespace cfg
