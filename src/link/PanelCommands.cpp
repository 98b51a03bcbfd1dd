#include "link/PanelCommands.h"

#include <algorithm>

#include "link/Connection.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/LinkInternal.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Text.h"

namespace cfg {

namespace {

// Texts.
constexpr int kWarningTitle = 1378;
constexpr int kReadingMapText = 1306;
constexpr int kReadingMemoryText = 1368;
constexpr int kReadAddressWord = 1369;   // "- address", before a chunk's address
constexpr int kCodeRefusedText = 1372;
constexpr int kCodeRefusedHint = 1373;
constexpr int kReadRefusedText = 1374;
constexpr int kWritingMemoryText = 1238;
constexpr int kWriteAddressWord = 1239;  // "- address", before a chunk's address
constexpr int kWriteDataRefusedText = 1241;
constexpr int kWriteProtectedText = 1242;
constexpr int kLoopExchangeText = 1283;  // "Exchange with loop", before the loop number
constexpr int kInProgressText = 1284;
constexpr int kModuleNeedsCodeText = 1286;
constexpr int kModuleNotProgrammingText = 1287;
constexpr int kModuleRefusedText = 1288;
constexpr int kModuleNotDoneText = 1289;
constexpr int kModuleBadReplyText = 1290;
constexpr int kWeekdayNames = 353;       // + 1 Monday .. + 7 Sunday

}  // namespace

namespace linkdetail {

void ShowAlertText(Session& s, int textId) {
    s.ui->MessageBox(GetText(s, kWarningTitle), GetText(s, textId), MsgButtons::Ok, MsgIcon::Critical);
}

Bytes PanelCommand(const LinkState& link, char letter) {
    return Bytes{static_cast<uint8_t>(link.PanelAddress), static_cast<uint8_t>(letter), 0};
}

int SendPanelCommand(Session& s, const Bytes& command, int timeoutSeconds, int attempts, bool expectReply,
                     bool withAccessCode) {
    s.link.CommandText = command;
    if (withAccessCode) s.link.HeaderField = s.link.AccessField;
    bool header = withAccessCode;
    return SendCommand(s, timeoutSeconds, attempts, expectReply, header);
}

BlockScope::~BlockScope() {
    ClosePanelPort(s_);
    EndBusy(s_, 0);
    s_.link.ReplyData.clear();
    s_.link.CommandText.clear();
}

}  // namespace linkdetail

namespace {

// The helpers this file shares with the rest of the link.
using namespace linkdetail;

constexpr int kChunk = 64;
constexpr int kAccepted = 143;
constexpr int kAccessCodeNeeded = 80;
constexpr int kNotProgramming = 128;
constexpr int kReadOnly = 129;
constexpr int kBadRequest = 130;
// The directory of section addresses: 24 two-byte entries.
constexpr long kMemoryMapAddress = 49152;
constexpr int kMemoryMapSize = 2 * PanelDirectory::kEntries;
// A panel that keeps answering 128 right after accepting programming mode
// would otherwise make a write go round for ever.
constexpr int kMaxProgrammingReentries = 3;

uint8_t CellByte(Cell c) { return static_cast<uint8_t>(c & 0xFF); }

// "0" + v, last two characters (seconds, minutes, month, year).
std::string TwoDigits(int v, char pad) {
    std::string t = std::string(1, pad) + std::to_string(v);
    return t.substr(t.size() - 2);
}

// Opens the port for a block operation of `count` bytes and shows its text
// in the busy area with an empty progress bar. False when the port could not
// be opened (the error has been shown).
bool BeginBlockOperation(Session& s, int busyText, int count) {
    if (OpenPanelPort(s).error != 0) return false;
    ShowBusy(s, GetText(s, busyText));
    s.ui->SetProgressMaximum(count);
    s.ui->SetProgressValue(0);
    return true;
}

// The busy line of one chunk: the operation, the word for "address" and the
// chunk's address in hexadecimal.
void ShowChunk(Session& s, int busyText, int addressText, long address) {
    ShowBusy(s, GetText(s, busyText) + " " + GetText(s, addressText) + " " + HexText(address));
}

}  // namespace

OpResult ReadPanelBlock(Session& s, long address, int count, int destIndex, CellSpan dest) {
    if (count <= 0) {
        return Finish(s.link, status::kDone);
    }
    s.link.LinkStatus = status::kRefused;
    if (!BeginBlockOperation(s, kReadingMemoryText, count)) return LinkResult(s.link);
    BlockScope scope(s);

    bool accessAsked = false;
    int done = 0;
    while (done < count) {
        const int n = std::min(count - done, kChunk);
        const long a = address + done;
        ShowChunk(s, kReadingMemoryText, kReadAddressWord, a);
        Bytes cmd = PanelCommand(s.link, 'L');
        AppendAddressDigits(cmd, a);
        cmd.push_back(static_cast<uint8_t>(n));
        if (SendPanelCommand(s, cmd, 2, 3, true, true) != status::kDone) {
            ReportLinkError(s);
            return LinkResult(s.link);
        }
        const Bytes& data = s.link.ReplyData;
        const int answer = ReplyAnswer(s);
        if (answer == kAccepted && data.size() == static_cast<std::size_t>(2 * n + 4)) {
            for (int j = 0; j < n; ++j) {
                dest[destIndex + done] = static_cast<Cell>(DecodeByteDigits(data[4 + 2 * j], data[5 + 2 * j]));
                ++done;
            }
            s.ui->SetProgressValue(done);
            continue;
        }
        s.link.LinkStatus = status::kRefused;
        if (answer == kAccessCodeNeeded) {
            if (!accessAsked) {
                accessAsked = true;
                // The same block goes again, now with the code in the header.
                if (AskAccessCode(s)) continue;
                return LinkResult(s.link);  // the user gave no code: nothing more to say
            }
            ShowAlert(s, GetText(s, kCodeRefusedText), GetText(s, kCodeRefusedHint));
            return LinkResult(s.link);
        }
        ShowAlertText(s, kReadRefusedText);
        return LinkResult(s.link);
    }
    return Finish(s.link, status::kDone);
}

OpResult WritePanelBlock(Session& s, long address, int count, bool expectReply, int srcIndex, CellSpan src) {
    s.config.DateStamped = false;
    if (count <= 0) {
        return Finish(s.link, status::kDone);
    }
    s.link.LinkStatus = status::kCommitRefused;
    if (!BeginBlockOperation(s, kWritingMemoryText, count)) return LinkResult(s.link);
    BlockScope scope(s);

    int reentries = 0;
    int done = 0;
    for (;;) {
        const int n = std::min(count - done, kChunk);
        const long a = address + done;
        ShowChunk(s, kWritingMemoryText, kWriteAddressWord, a);
        Bytes cmd = PanelCommand(s.link, 'J');
        AppendAddressDigits(cmd, a);
        cmd.push_back(static_cast<uint8_t>(n));
        for (int j = 0; j < n; ++j) AppendByteDigits(cmd, CellByte(src[srcIndex + done + j]));
        if (SendPanelCommand(s, cmd, 4, 2, expectReply, true) != status::kDone) {
            ReportLinkError(s);
            return LinkResult(s.link);
        }
        const int answer = expectReply ? ReplyAnswer(s) : kAccepted;
        if (answer == kAccepted) {
            done += n;
            s.ui->SetProgressValue(done);
            if (done >= count) {
                return Finish(s.link, status::kDone);
            }
            continue;
        }

        if (answer == kNotProgramming && reentries < kMaxProgrammingReentries) {
            // The panel left programming mode (time-out, keypad): enter it
            // again and write the whole block from its start, since the
            // panel may have dropped what came before.
            ++reentries;
            if (const OpResult entered = EnterProgrammingMode(s); !entered.Done()) return entered;
            done = 0;
            s.ui->SetProgressValue(0);
            continue;
        }
        s.link.LinkStatus = status::kRefused;
        if (answer == kReadOnly) ShowAlertText(s, kWriteDataRefusedText);
        else if (answer == kBadRequest) ShowAlertText(s, kWriteProtectedText);
        else ReportLinkError(s);
        return LinkResult(s.link);
    }
}

OpResult ReadMemoryMap(Session& s) {
    if (s.config.AddressDirectory.Loaded()) {
        return Finish(s.link, status::kDone);
    }
    // The read opens the port itself, and would find an open one only to
    // close it and wait for it to settle; so the port is opened by the read.
    ShowBusy(s, GetText(s, kReadingMapText));
    auto& buf = s.config.IdentBuffer;
    const OpResult read = ReadPanelBlock(s, kMemoryMapAddress, kMemoryMapSize, 1, buf);
    if (read.Done()) {
        for (int k = 1; k <= PanelDirectory::kEntries; ++k)
            s.config.AddressDirectory[k] = 256 * (buf[2 * k - 1] & 0xFF) + (buf[2 * k] & 0xFF);
        s.config.AddressDirectory.SetLoaded(true);
    }
    ClosePanelPort(s);
    return read;
}

ControlReply SendControl(Session& s, int code, bool expectReply) {
    Bytes cmd = PanelCommand(s.link, 'C');
    cmd.push_back(static_cast<uint8_t>(code));
    if (SendPanelCommand(s, cmd, 2, 3, expectReply, true) != status::kDone) return {LinkResult(s.link), 0};
    return {LinkResult(s.link), ReplyAnswer(s)};
}

OpResult SendLoopCommand(Session& s, bool showErrors) {
    auto& buf = s.link.LoopCommand;
    if (buf[1] < 2) {
        return Finish(s.link, status::kAborted);
    }
    // Element 1 counts the sub-command and the values, which fill at most
    // elements 2..32.
    const int count = std::min<int>(buf[1], 31);
    if (OpenPanelPort(s).error != 0) return LinkResult(s.link);
    BlockScope scope(s);
    // The loop number stands between the two texts, with a blank each side
    // (a language text cannot end in a blank).
    ShowBusy(s, GetText(s, kLoopExchangeText) + " " + std::to_string(s.link.LoopNumber) + " " +
                    GetText(s, kInProgressText));

    Bytes cmd = PanelCommand(s.link, 'X');
    cmd.push_back(static_cast<uint8_t>(s.link.LoopNumber + 64));
    cmd.push_back(CellByte(buf[2]));
    for (int i = 3; i <= count + 1; ++i) AppendByteDigits(cmd, CellByte(buf[i]));
    buf[1] = 0;
    const int result = SendPanelCommand(s, cmd, 3, 3, true, false);
    if (result != status::kDone) {
        if (result != status::kAborted) ReportLinkError(s);
        return LinkResult(s.link);
    }
    const Bytes& data = s.link.ReplyData;
    const int answer = ReplyAnswer(s);
    if (answer == kAccepted) {
        const int pairs = std::min<int>(static_cast<int>((data.size() - 4) / 2), 31);
        buf[1] = static_cast<int16_t>(pairs);
        for (int j = 0; j < pairs; ++j)
            buf[2 + j] = static_cast<int16_t>(DecodeByteDigits(data[4 + 2 * j], data[5 + 2 * j]));
        return Finish(s.link, status::kDone);
    }
    s.link.LinkStatus = status::kAborted;
    if (!showErrors) return LinkResult(s.link);
    switch (answer) {
    case kAccessCodeNeeded: ShowAlertText(s, kModuleNeedsCodeText); break;
    case kNotProgramming: ShowAlertText(s, kModuleNotProgrammingText); break;
    case kReadOnly: ShowAlertText(s, kModuleRefusedText); break;
    case kBadRequest: ShowAlertText(s, kModuleNotDoneText); break;
    default: ShowAlertText(s, kModuleBadReplyText); break;
    }
    return LinkResult(s.link);
}

OpResult ReadPanelClock(Session& s, PanelClockText& out) {
    if (SendPanelCommand(s, PanelCommand(s.link, 'D'), 2, 3, true, true) != status::kDone) {
        ReportLinkError(s);
        return LinkResult(s.link);
    }
    const Bytes& d = s.link.ReplyData;
    if (d.size() < 10) {
        s.link.LinkStatus = status::kRefused;
        ReportLinkError(s);
        return LinkResult(s.link);
    }
    out.seconds = TwoDigits(d[3], '0');
    out.minutes = TwoDigits(d[4], '0');
    out.hours = TwoDigits(d[5], ' ');
    const int weekday = d[6];
    out.weekday = weekday >= 1 && weekday <= 7 ? Utf8Left(GetText(s, kWeekdayNames + weekday), 3) : "???";
    out.day = TwoDigits(d[7], ' ');
    out.month = TwoDigits(d[8], '0');
    out.year = TwoDigits(d[9], '0');
    return LinkResult(s.link);
}

OpResult SetPanelClockFromPc(Session& s) {
    const DateTime now = s.clock->Now();
    Bytes cmd = PanelCommand(s.link, 'H');
    for (int v : {now.second, now.minute, now.hour, now.weekday, now.day, now.month, PanelYear(now.year)})
        cmd.push_back(static_cast<uint8_t>(v));
    const bool sent = SendPanelCommand(s, cmd, 2, 3, false, false) == status::kDone;
    const OpResult result = LinkResult(s.link);
    if (!sent) ReportLinkError(s);
    ClosePanelPort(s);
    return result;
}

int PanelYear(int year) {
    const int y = year < 2000 ? year - 1900 : year - 2000;
    return y >= 0 && y <= 99 ? y : 0;
}

}  // namespace cfg
