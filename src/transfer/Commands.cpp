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

constexpr int kAlertTitleText = 1378;    // title of the link and file alerts
constexpr int kTooLongText = 1374;       // a length the transfer buffer cannot hold
// Creating a set from DEFAULT: the dialog, its refusals, the question
// before a file is replaced (and its second line) and the closing note.
constexpr int kCreateCaptionText = 405, kCreateNameText = 406, kCreateHintText = 407;
constexpr int kNoNewNameText = 408, kNotTemplateText = 410;
constexpr int kCreateReplaceText = 417, kCreatedText = 419;
// Copying a set: caption, source and destination labels and hint (422..425).
constexpr int kCopyCaptionText = 422;
constexpr int kNoSourceNameText = 426, kNoDestNameText = 427;
constexpr int kCopyReplaceText = 432, kCopiedText = 434;
// Opening a set: the file dialog, the template's name, and the refusal to
// open the template.
constexpr int kOpenTitleText = 1141, kTemplateNameText = 1142, kNotOpenedText = 1143;
// Receiving: the part menu (title, then its five entries), the name
// dialog (title, then its four filters), the question before a file is
// replaced, and the closing note.
constexpr int kReceiveMenuText = 435, kReceiveNameText = 441, kReceiveReplaceText = 450, kReceivedText = 460;
// Sending: the part menu, the name dialog and the filters it shares with
// the open dialog, a missing file, the closing note, and the note that a
// failed backup stopped the send.
constexpr int kSendMenuText = 461, kSendNameText = 467, kSendFiltersText = 468;
constexpr int kSendMissingText = 476, kSentText = 488, kNothingSentText = 1718;
// After a send that stopped half-way: heading, the parts that arrived,
// the part that arrived only in part, and "none".
constexpr int kPartialSendText = 1900, kReachedText = 1901, kInterruptedText = 1902, kNoneReachedText = 1903;

const std::string& BoxTitle(const MainRegisters& reg) { return reg.Shell.ApplicationTitle; }

// A critical box with one text (the alerts that name a single text).
void AlertOne(Session& s, int id) {
    s.ui->MessageBox(GetText(s, kAlertTitleText), GetText(s, id), MsgButtons::Ok, MsgIcon::Critical);
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
// first existing file is overwritten. Done when all four were copied; a
// missing source part or a refused overwrite gives kAborted, a folder that
// cannot be read kRefused, a failed copy the copy's own result.
OpResult CopySet(Session& s, const std::string& source, const std::string& dest, int askText1, int askText2) {
    for (int kind = 1; kind <= 4; ++kind) {
        const int checked = CheckConfigFile(s, source, kind);
        // 0: the look-up itself failed, which was explained as a file error.
        if (checked != status::kDone) return {checked == 0 ? status::kRefused : status::kAborted};
    }
    if (!ConfirmTemplateTarget(s, dest)) return {status::kAborted};
    bool overwriteAllowed = false;
    for (int kind = 1; kind <= 4; ++kind) {
        std::string target = PartFile(dest, kind);
        if (FileExists(target) && !overwriteAllowed) {
            if (!AskYes(s, GetText(s, askText1) + " " + target + "\r\n" + GetText(s, askText2))) return {status::kAborted};
            overwriteAllowed = true;
        }
        if (const OpResult copied = CopyConfigFile(s, PartFile(source, kind), target); !copied.Done()) return copied;
    }
    return {status::kDone};
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
OpResult ConnectForConfiguration(Session& s) {
    if (const OpResult connected = ConnectPanel(s); !connected.Done()) {
        s.link.PortOpened = false;
        ClosePanelPort(s);
        return connected;
    }
    TakeIdentificationFromPanel(s);
    const OpResult entered = EnterProgrammingMode(s);
    if (!entered.Done() && s.link.LastErrorNumber == 0 && s.link.ReplyData.empty()) {
        // No answer came back whole (lost, damaged, late, or the user gave
        // up waiting), yet the request may well have reached the panel: it
        // is released without waiting, so that it is not left in
        // programming mode with nobody to end it. A refusal needs nothing.
        LeaveProgrammingMode(s, false);
    }
    // The port is released between commands, like after every block
    // operation: the next one opens it without waiting for it to settle.
    ClosePanelPort(s);
    if (!entered.Done()) s.link.PortOpened = false;
    return entered;
}

// Ends a transfer whose result is `result`: the panel leaves programming
// mode and the port is released; gives `result` back. A panel that stopped
// answering may still hear the line (only its replies lost): the release
// goes out all the same, but is not waited for, which would only repeat the
// time-out and its message.
OpResult ReleasePanel(Session& s, const OpResult& result) {
    EndBusy(s, 0);
    LeaveProgrammingMode(s, result.status != status::kNoReply);
    ClosePanelPort(s);
    s.link.PortOpened = false;
    return result;
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
OpResult FitsTransferBuffer(Session& s, long count) {
    if (count >= 1 && count <= 4000) return {status::kDone};
    AlertOne(s, kTooLongText);
    return {status::kRefused};
}

// --- receive -----------------------------------------------------------------

// What receiving parts into a set gave; `fileError` when a file of the set
// could not be made, so that another name may be tried.
struct PartsReceived {
    OpResult result;
    bool fileError = false;
};

class Receiver {
public:
    Receiver(Session& s, std::fstream& f) : s_(s), f_(f), tb_(s.config.TransferBuffer) {}

    // The result of the last step, the failed one after a false.
    const OpResult& Result() const { return result_; }

    // Reads count bytes from the panel, optionally checks them, and appends
    // `written` cells to the file. Cells written beyond what was read hold
    // `fill`: the spare bytes of the program table are 255 (empty), as a
    // damaged table that is emptied entirely.
    bool Block(long address, int count, int written, bool (*check)(CellSpan, int) = nullptr, Cell fill = 0) {
        for (int i = 1; i <= std::max(count, written); ++i) tb_[i] = fill;
        if (!Keep(ReadPanelBlock(s_, address, count, 1, tb_))) return false;
        if (check) check(tb_, count);
        return Keep(AppendFileBlock(s_, f_, written, tb_));
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
        return Keep(AppendFileBlock(s_, f_, 13, tb_));
    }

    bool Clock() {
        long programs = Entry(s_.config, PanelEntry::ClockProgramsLength) + 2;
        if (!Keep(FitsTransferBuffer(s_, programs))) return false;
        if (!Block(Entry(s_.config, PanelEntry::ClockPrograms), static_cast<int>(programs), 350, CheckReceivedPrograms, 255)) return false;
        if (!Block(Entry(s_.config, PanelEntry::ClockPeriods), 9, 10)) return false;
        return Block(Entry(s_.config, PanelEntry::ClockDates), 24, 24);
    }

    bool Logics() {
        long n = Entry(s_.config, PanelEntry::LogicsLength) + 2;
        if (!Keep(FitsTransferBuffer(s_, n))) return false;
        return Block(Entry(s_.config, PanelEntry::Logics), static_cast<int>(n), static_cast<int>(n), CheckReceivedLogics);
    }

    bool Texts() {
        for (int k = 0; k < kTextPieces; ++k)
            if (!Block(Entry(s_.config, PanelEntry::Descriptions) + static_cast<long>(kTextPiece) * k, kTextPiece, kTextPiece)) return false;
        return true;
    }

private:
    bool Keep(const OpResult& r) {
        result_ = r;
        return r.Done();
    }
    Session& s_;
    std::fstream& f_;
    CellSpan tb_;
    OpResult result_{status::kDone};
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

// Moves the received parts into place. Refused (after reporting it) when a
// file of the set could not be replaced.
OpResult CommitPendingParts(Session& s, const std::string& name, const Selection& selected) {
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
            DropPendingParts(name, selected);
            return {status::kRefused, err::kPathFileAccess};
        }
    }
    return {status::kDone};
}

PartsReceived ReceiveParts(Session& s, const std::string& name, const Selection& selected) {
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
            DropPendingParts(name, selected);
            return {{status::kRefused, s.link.LastErrorNumber}, true};
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
            return {r.Result()};
        }
    }
    return {CommitPendingParts(s, name, selected)};
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

    // The result of the last step, the failed one after a false.
    const OpResult& Result() const { return result_; }

    // File bytes offset..offset+count-1 into cells first.. of the buffer.
    bool FromFile(long offset, int count, int first = 1) {
        return Keep(ReadFileBlock(s_, f_, offset, count, first, tb_));
    }
    bool ToPanel(long address, int count, int first = 1) {
        return Keep(WritePanelBlock(s_, address, count, true, first, tb_));
    }
    bool Marker(long address, bool present) {
        CellArray<0, 1> marker;
        marker[1] = static_cast<Cell>(present ? kMarkerPresent : 0);
        return Keep(WritePanelBlock(s_, address, 1, true, 1, marker));
    }
    // The commit step after a marker: anything but "O" stops the send. A
    // refusal is the link's status 170, which the error report names.
    bool Commit(int code) {
        const ControlReply commit = SendControl(s_, code, true);
        ClosePanelPort(s_);
        if (commit.result.Done() && commit.answer == 'O') return Keep(commit.result);
        Keep(commit.result.Done() ? Finish(s_.link, status::kCommitRefused) : commit.result);
        ReportLinkError(s_);
        return false;
    }

    bool Main() {
        auto& tb = tb_;
        if (!Keep(ReadPanelBlock(s_, kPanelMain, 1, 1, tb))) return false;
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
        if (!Keep(FitsTransferBuffer(s_, n))) return false;
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
    bool Keep(const OpResult& r) {
        result_ = r;
        return r.Done();
    }
    Session& s_;
    std::fstream& f_;
    CellSpan tb_;
    OpResult result_{status::kDone};
};

// Bytes of each file that a send reads.
long NeededLength(Session& s, int kind) { return SendableSize(kind, Entry(s.config, PanelEntry::LogicsLength) + 2); }

// Sends the selected parts in order. `sent` gets the parts that reached the
// panel whole; `interrupted` the part that failed half-way (0 for none).
OpResult SendParts(Session& s, const std::string& name, const Selection& selected, Selection& sent, int& interrupted) {
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
            return {status::kRefused};
        }
        if (!opened) {
            ReportFileError(s);
            return {status::kRefused, s.link.LastErrorNumber};
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
            return snd.Result();
        }
        sent[kind] = true;
    }
    return {status::kDone};
}

// After a send that stopped half-way: which parts the panel now holds from
// the set, and which one it holds only in part, so that the installer knows
// the panel's configuration may be a mixture.
void ReportPartialSend(Session& s, const Selection& sent, int interrupted) {
    std::string reached;
    for (int kind = 1; kind <= 4; ++kind)
        if (sent[kind]) reached += (reached.empty() ? "" : ", ") + GetText(s, PartNameText(kind));
    std::string text = GetText(s, kPartialSendText) + "\r\n\r\n" + GetText(s, kReachedText) + " " +
                       (reached.empty() ? GetText(s, kNoneReachedText) : reached) + "\r\n" + GetText(s, kInterruptedText) + " " +
                       GetText(s, PartNameText(interrupted));
    s.ui->MessageBox(BoxTitle(s.main), text, MsgButtons::Ok, MsgIcon::Exclamation);
}

}  // namespace

// --- commands ------------------------------------------------------------------

OpResult CreateCommand(Session& s, int option) {
    if (option == 1) return CopyConfiguration(s);
    if (option == 2) return CreateConfiguration(s);
    return {status::kAborted};
}

OpResult TransferCommand(Session& s, int option) {
    if (option == 1) return SendConfiguration(s);
    if (option == 2) return ReceiveConfiguration(s);
    return {status::kAborted};
}

OpResult CreateConfiguration(Session& s) {
    CopyDialogRequest req;
    req.caption = GetText(s, kCreateCaptionText);
    req.destLabel = GetText(s, kCreateNameText);
    req.hint = GetText(s, kCreateHintText);
    req.showSource = false;
    req.pattern = "*.CY2";
    std::string source, dest;
    for (;;) {
        if (!ShowCopyDialog(s, req, source, dest)) return {status::kAborted};
        if (dest.empty()) {
            AlertOne(s, kNoNewNameText);
            continue;
        }
        if (IsDefaultSetName(dest)) {
            ShowAlert(s, GetText(s, kNotTemplateText), GetText(s, kNotTemplateText + 1));
            continue;
        }
        break;
    }
    const OpResult copied = CopySet(s, JoinPath(DataFolderOf(s.settings), "DEFAULT"), dest, kCreateReplaceText,
                                    kCreateReplaceText + 1);
    if (copied.Done()) ShowInfo(s, BoxTitle(s.main), GetText(s, kCreatedText) + "\r\n" + dest + GetText(s, kCreatedText + 1));
    return copied;
}

OpResult CopyConfiguration(Session& s) {
    CopyDialogRequest req;
    req.caption = GetText(s, kCopyCaptionText);
    req.sourceLabel = GetText(s, kCopyCaptionText + 1);
    req.destLabel = GetText(s, kCopyCaptionText + 2);
    req.hint = GetText(s, kCopyCaptionText + 3);
    req.showSource = true;
    req.pattern = "*.CY2";
    std::string source, dest;
    for (;;) {
        if (!ShowCopyDialog(s, req, source, dest)) return {status::kAborted};
        if (source.empty()) {
            AlertOne(s, kNoSourceNameText);
            continue;
        }
        if (dest.empty()) {
            AlertOne(s, kNoDestNameText);
            continue;
        }
        break;
    }
    const OpResult copied = CopySet(s, source, dest, kCopyReplaceText, kCopyReplaceText + 1);
    if (copied.Done()) ShowInfo(s, BoxTitle(s.main), GetText(s, kCopiedText));
    return copied;
}

bool IsTemplateSetName(Session& s, const std::string& name) {
    const std::string templateName = UpperCase(Trim(GetText(s, kTemplateNameText)));
    const std::string up = UpperCase(Trim(name));
    return IsDefaultSetName(up) ||
           (up.size() >= 7 && !templateName.empty() && up.size() >= templateName.size() &&
            up.compare(up.size() - templateName.size(), templateName.size(), templateName) == 0);
}

OpResult OpenConfiguration(Session& s, int option) {
    if (option == 1) {
        s.config.ConfigSource = ConfigSource::None;
        s.config.ConfigFileName.clear();
        // The same filters as the send dialog: a set is chosen by its main file.
        FileDialogRequest req = NameDialog(s, kOpenTitleText, kSendFiltersText);
        std::string answer = s.ui->AskOpenFile(req);
        if (Trim(answer).empty()) return {status::kAborted};
        std::string name = StripExtension(answer);
        // The template set is never opened for editing.
        if (IsTemplateSetName(s, name)) {
            ShowAlert(s, GetText(s, kNotOpenedText), GetText(s, kNotOpenedText + 1));
            return {status::kRefused};
        }
        if (const int checked = CheckConfigFile(s, name, 1); checked != status::kDone)
            return {checked == 0 ? status::kRefused : checked};
        // The other parts are checked by each section when it loads them;
        // here the user only hears which are missing.
        for (int kind = 2; kind <= 4; ++kind) static_cast<void>(CheckConfigFile(s, name, kind));
        // A damaged or foreign file is named before anything is shown or
        // printed from it; the user decides whether to go on.
        if (!ConfirmSetFiles(s, name, {false, true, true, true, true}, 0, kUseAnywayText)) return {status::kRefused};
        s.config.ConfigFileName = name;
        s.config.ConfigSource = ConfigSource::File;
        s.config.PanelIdent.clear();
        // The main file was checked just above; a read that fails now has
        // been reported and the set opens all the same.
        static_cast<void>(TakeIdentificationFromFile(s));
        return {status::kDone};
    }
    if (option == 3) {
        OpenBackup(s);
        return {s.config.ConfigSource == ConfigSource::File ? status::kDone : status::kAborted};
    }
    if (option == 2) {
        s.config.ConfigSource = ConfigSource::None;
        s.ui->SetStatusText("");
        if (s.link.PortOpened) {
            LeaveProgrammingMode(s, true);
            s.link.PortOpened = false;
        }
        const OpResult connected = ConnectForConfiguration(s);
        if (connected.Done()) s.config.ConfigSource = ConfigSource::Panel;
        return connected;
    }
    return {status::kAborted};
}

OpResult ReceiveConfiguration(Session& s) {
    if (const OpResult connected = ConnectForConfiguration(s); !connected.Done()) return connected;
    Selection selected;
    if (!AskTransferChoice(s, kReceiveMenuText, kReceiveMenuText + 1, selected)) return ReleasePanel(s, {status::kAborted});
    OpResult mapRead;
    SetLock lock;
    for (;;) {
        std::string answer = s.ui->AskSaveFile(NameDialog(s, kReceiveNameText, kReceiveNameText + 1));
        if (Trim(answer).empty()) return ReleasePanel(s, {status::kAborted});
        std::string name = StripExtension(answer);
        bool refused = false;
        for (int kind = 1; kind <= 4 && !refused; ++kind) {
            std::string target = PartFile(name, kind);
            if (selected[kind] && FileExists(target))
                refused = !AskYes(s, GetText(s, kReceiveReplaceText) + " " + target + "\r\n" +
                                         GetText(s, kReceiveReplaceText + 1));
        }
        if (refused) continue;
        if (!ConfirmTemplateTarget(s, name)) return ReleasePanel(s, {status::kAborted});
        if (!lock.Acquire(name)) {
            ShowAlert(s, GetText(s, kLockedText) + " " + name, GetText(s, kLockedText + 1));
            return ReleasePanel(s, {status::kRefused});
        }
        PartsReceived received;
        {
            // All the blocks of the chosen parts are one command for the
            // abort button.
            LongOperation busy(s);
            if (!mapRead.Done()) mapRead = ReadMemoryMap(s);
            received = mapRead.Done() ? ReceiveParts(s, name, selected) : PartsReceived{mapRead};
        }
        if (received.fileError) {
            lock.Release();
            continue;
        }
        if (!received.result.Done()) return ReleasePanel(s, received.result);
        // Every configuration received is kept in the backups folder too.
        {
            LongOperation busy(s);
            BackupReceivedSet(s, name, selected);
        }
        break;
    }
    const OpResult done = ReleasePanel(s, {status::kDone});
    ShowInfo(s, BoxTitle(s.main), GetText(s, kReceivedText));
    return done;
}

OpResult SendConfiguration(Session& s) {
    if (const OpResult connected = ConnectForConfiguration(s); !connected.Done()) return connected;
    Selection selected;
    if (!AskTransferChoice(s, kSendMenuText, kSendMenuText + 1, selected)) return ReleasePanel(s, {status::kAborted});
    std::string answer = s.ui->AskOpenFile(NameDialog(s, kSendNameText, kSendFiltersText));
    if (Trim(answer).empty()) return ReleasePanel(s, {status::kAborted});
    std::string name = StripExtension(answer);
    for (int kind = 1; kind <= 4; ++kind) {
        std::string file = PartFile(name, kind);
        if (selected[kind] && !FileExists(file)) {
            // The alert names the missing file after its first text.
            ShowAlert(s, GetText(s, kSendMissingText) + " " + file, GetText(s, kSendMissingText + 1));
            return ReleasePanel(s, {status::kFileMissing});
        }
    }
    OpResult result;
    {
        LongOperation busy(s);
        result = ReadMemoryMap(s);
    }
    // Every chosen file is checked before the first block goes out: a
    // damaged set goes to the panel only when the user says so.
    if (result.Done() && !ConfirmSetFiles(s, name, selected, Entry(s.config, PanelEntry::LogicsLength) + 2, kSendAnywayText))
        return ReleasePanel(s, {status::kRefused});
    Selection sent;
    int interrupted = 0;
    const bool backupFirst = WantsBackupBeforeSend(s);
    bool backupFailed = false;
    bool sentWhole = false;
    {
        // From the first block to the clock setting the send is one command
        // for the abort button.
        LongOperation busy(s);
        // The parts about to be overwritten are read from the panel first;
        // without that backup nothing is sent.
        if (result.Done() && backupFirst) {
            const PanelSetResult backup = BackupFromPanel(s, selected, BackupReason::BeforeSend);
            backupFailed = !backup.result.Done();
            result = backup.result;
        }
        if (result.Done()) {
            result = SendParts(s, name, selected, sent, interrupted);
            sentWhole = result.Done();
        }
        if (sentWhole) {
            // The panel's own last-change date, as it stands after the send.
            auto& c = s.config;
            result = ReadPanelBlock(s, kPanelLastChange, 8, 1, c.IdentBuffer);
            if (result.Done()) {
                std::string date;
                for (int i = 1; i <= 8; ++i) date.push_back(static_cast<char>(c.IdentBuffer[i] & 0xFF));
                c.LastChangeDate = Latin1ToUtf8(date);
                s.ui->SetIdentification(IdentificationText(s.config));
                result = SetPanelClockFromPc(s);
            }
        }
    }
    if (!sentWhole) {
        const OpResult failed = ReleasePanel(s, result);
        if (interrupted != 0) ReportPartialSend(s, sent, interrupted);
        if (backupFailed) s.ui->MessageBox(BoxTitle(s.main), GetText(s, kNothingSentText), MsgButtons::Ok, MsgIcon::Exclamation);
        return failed;
    }
    // The date or the clock setting that followed may still have failed.
    const OpResult ended = ReleasePanel(s, result);
    if (ended.Done()) ShowInfo(s, BoxTitle(s.main), GetText(s, kSentText));
    return ended;
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

OpResult ReceivePanelParts(Session& s, const std::string& base, const std::array<bool, 5>& parts) {
    return ReceiveParts(s, base, parts).result;
}

PanelSetResult ReadPanelConfiguration(Session& s) {
    const bool open = s.config.ConfigSource == ConfigSource::Panel;
    if (!open) {
        if (const OpResult connected = ConnectForConfiguration(s); !connected.Done()) return {connected, {}};
    }
    PanelSetResult read;
    {
        LongOperation busy(s);
        read.result = ReadMemoryMap(s);
        if (read.result.Done()) read = BackupFromPanel(s, {false, true, true, true, true}, BackupReason::Received);
    }
    if (!open) return {ReleasePanel(s, read.result), read.base};
    EndBusy(s, 0);
    return read;
}

OpResult RefreshConfigView(Session& s) {
    auto& c = s.config;
    if (s.config.ConfigSource == ConfigSource::File) {
        if (const OpResult read = TakeIdentificationFromFile(s); !read.Done()) return read;
    } else if (s.config.ConfigSource == ConfigSource::Panel) {
        if (const OpResult read = ReadPanelBlock(s, kPanelMain + kIdentBlockOffset, kIdentBlockSize, 1, c.IdentBuffer);
            !read.Done())
            return read;
        TakeIdentBlock(s.config);
    } else {
        return {status::kNoSource};
    }
    s.ui->SetIdentification(IdentificationText(s.config));
    return {status::kDone};
}

}  // namespace cfg
