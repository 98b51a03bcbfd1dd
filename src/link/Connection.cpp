#include "link/Connection.h"

#include "link/Link.h"
#include "link/LinkInternal.h"
#include "link/PanelCommands.h"
#include "shell/FileNames.h"
#include "shell/Input.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg {

namespace {

// The helpers this file shares with the rest of the link.
using namespace linkdetail;

constexpr int kPanelModel = 22;
constexpr long kIdentificationAddress = 57604;
constexpr int kIdentificationSize = 23;
// How long EndBusy waits at most for the status line to clear.
constexpr double kStatusClearLimitSeconds = 3.0;

int Identify(Session& s, int timeoutSeconds, int attempts) {
    return SendPanelCommand(s, PanelCommand(s.link, 'T'), timeoutSeconds, attempts, true, true);
}

bool StartsWithFamilyName(const std::string& raw) {
    const std::string prefix = UpperCase(raw.substr(0, 8));
    return prefix == "VELTRANO" || prefix == "VIMO-SYS";
}

}  // namespace

OpResult ConnectPanel(Session& s) {
    s.link.LinkStatus = status::kAborted;
    if (OpenPanelPort(s).error != 0) return LinkResult(s.link);
    if (s.link.PortOpened) {
        s.link.LinkStatus = status::kDone;
        EndBusy(s, 0);
        return LinkResult(s.link);
    }
    if (!AskPanelAddress(s).Done()) {
        ClosePanelPort(s);
        EndBusy(s, 0);
        return LinkResult(s.link);
    }

    // A first short try; a panel that wakes up slowly gets a second, longer
    // one. A user who aborted the first wants no second.
    if (Identify(s, 1, 1) != status::kDone && s.link.LinkStatus != status::kAborted) {
        ShowBusy(s, GetText(s, 1360));
        WaitSeconds(s, 0.5);
        Identify(s, 2, 3);
        EndBusy(s, 0);
    }
    if (s.link.LinkStatus == status::kDone) {
        const Bytes& d = s.link.ReplyData;
        s.link.PanelAddress = static_cast<int16_t>(d.empty() ? 0 : d[0]);
        s.link.PanelModel = static_cast<int16_t>(d.size() >= 5 ? d[4] : 0);
        if (s.link.PanelModel != kPanelModel) s.link.LinkStatus = status::kRefused;
    }
    if (s.link.LinkStatus != status::kDone) {
        s.link.PortOpened = false;
        ReportLinkError(s);
        ClosePanelPort(s);
    } else {
        // The identity read opens the port itself: found open, it would be
        // closed and reopened after the settle pause, a fifth of a second
        // on every connection for nothing.
        ClosePanelPort(s);
        if (!CheckPanelIdentity(s).Done()) {
            s.link.PortOpened = false;
            ClosePanelPort(s);
        } else {
            s.link.PortOpened = true;
        }
    }
    EndBusy(s, 0);
    return LinkResult(s.link);
}

OpResult AskPanelAddress(Session& s) {
    ShowBusy(s, "");
    const long previous = s.link.PanelAddress;
    s.link.PanelAddress = 0;
    s.link.LinkStatus = status::kAborted;
    const std::string prompt = GetText(s, 1375) + "\r\n" + GetText(s, 1376) + GetText(s, 1377);
    long value = 0;
    if (AskNumber(s, ValueTopic::PanelAddress, s.main.Shell.ApplicationTitle, prompt, previous, 0, 223, value) == kInputConfirmed) {
        s.link.PanelAddress = static_cast<int16_t>(value);
        s.link.LinkStatus = status::kDone;
    }
    return LinkResult(s.link);
}

OpResult CheckPanelIdentity(Session& s) {
    ShowBusy(s, GetText(s, 1362));
    auto& buf = s.config.IdentBuffer;
    if (!ReadPanelBlock(s, kIdentificationAddress, kIdentificationSize, 1, buf).Done()) return LinkResult(s.link);

    std::string raw;
    for (int i = 1; i <= kIdentificationSize; ++i) raw.push_back(static_cast<char>(buf[i] & 0xFF));
    LinkState& l = s.link;
    l.PanelName = Latin1ToUtf8(raw.substr(0, 10));
    l.PanelVersionText = Latin1ToUtf8(raw.substr(10, 5));
    l.PanelDateText = Latin1ToUtf8(raw.substr(15, 8));
    l.PanelVersion = ParseNumber(l.PanelVersionText);
    s.config.PanelIdent = l.PanelName;
    s.config.PanelVersionText = l.PanelVersionText;
    s.config.PanelVersion = l.PanelVersion;
    s.config.PanelReleaseCode = l.PanelDateText;

    if (!StartsWithFamilyName(raw)) {
        ShowAlert(s, GetText(s, 1364), GetText(s, 1365));
        s.link.LinkStatus = status::kAborted;
    } else if (l.PanelVersion < 1.0 || l.PanelVersion >= 4.0) {
        ShowAlert(s, GetText(s, 1366), GetText(s, 1367));
        s.link.LinkStatus = status::kAborted;
    } else {
        s.link.LinkStatus = status::kDone;
    }
    l.ReplyData.clear();
    l.CommandText.clear();
    EndBusy(s, 0);
    return LinkResult(s.link);
}

OpResult EnterProgrammingMode(Session& s) {
    s.link.LinkStatus = status::kAborted;
    if (OpenPanelPort(s).error != 0) return LinkResult(s.link);
    bool codeAsked = false;
    for (;;) {
        const ControlReply reply = SendControl(s, kControlEnterProgramming, true);
        if (!reply.result.Done()) {
            ReportLinkError(s);
            return reply.result;
        }
        const int answer = reply.answer;
        if (answer == 'O') return reply.result;
        s.link.LinkStatus = status::kAborted;
        switch (answer) {
        case 'C': ShowAlert(s, GetText(s, 1333), GetText(s, 1334)); return LinkResult(s.link);
        case 'D': ShowAlert(s, GetText(s, 1335), GetText(s, 1336)); return LinkResult(s.link);
        case 'P':
            if (!codeAsked) {
                codeAsked = true;
                if (AskAccessCode(s)) continue;
                return LinkResult(s.link);  // no code given: the user knows why nothing happened
            }
            ShowAlert(s, GetText(s, 1338), GetText(s, 1339));
            return LinkResult(s.link);
        default: ShowAlertText(s, 1340); return LinkResult(s.link);
        }
    }
    return LinkResult(s.link);
}

void LeaveProgrammingMode(Session& s, bool expectReply) {
    ShowBusy(s, GetText(s, 1342));
    if (OpenPanelPort(s).error == 0) {
        const ControlReply reply = SendControl(s, kControlLeaveProgramming, expectReply);
        const int answer = reply.answer;
        if (!reply.result.Done()) {
            // One box per failure: a panel that did not answer has no
            // refusal to explain as well.
            ReportLinkError(s);
        } else if (expectReply) {
            if (answer == 'D') ShowAlert(s, GetText(s, 1344), GetText(s, 1345));
            else if (answer != 'O') ShowAlertText(s, 1346);
        }
        ClosePanelPort(s);
    }
    EndBusy(s, 0);
}

bool AskAccessCode(Session& s) {
    ValueRequest req;
    req.kind = 1;
    req.topic = ValueTopic::AccessCode;
    req.title = s.main.Shell.ApplicationTitle;
    req.prompt = GetText(s, 1341) + "\r\n\r\n";
    req.minimum = 1;
    req.maximum = 999999;
    ValueAnswer answer;
    if (AskValue(s, req, answer) != kInputConfirmed) return false;
    EncodeAccessCode(s.link, NumberText(answer.number));
    return true;
}

void ShowBusy(Session& s, const std::string& text) {
    Ui& ui = *s.ui;
    ui.ShowSettingsLabel();
    if (s.link.LongOperations == 0) s.events.AbortRequested = false;
    ui.SetStatusTimer(0);
    if (!ui.StatusVisible()) ui.SetStatusVisible(true);
    ui.SetStatusText(text);
    s.link.StatusTimerInterval = 1500;
    ui.SetStatusTimer(1500);
    ui.ProcessEvents();
}

void EndBusy(Session& s, double waitCleared) {
    Ui& ui = *s.ui;
    if (!ui.StatusVisible()) return;
    const bool within = s.link.LongOperations > 0;
    if (!within) ui.SetAbortTimer(false);
    ui.SetStatusTimer(0);
    ui.ProcessEvents();
    s.link.StatusTimerInterval = 300;
    ui.SetStatusTimer(300);
    if (!within) s.events.AbortRequested = false;
    ui.ProcessEvents();
    if (waitCleared <= 0) return;
    // The status timer clears the line; do not hang if the front end has none.
    double start = s.clock->SecondsSinceMidnight();
    while (!ui.StatusText().empty()) {
        Yield(s);
        const double now = s.clock->SecondsSinceMidnight();
        if (now < start || now - start > kStatusClearLimitSeconds) break;
    }
}

LongOperation::LongOperation(Session& s) : s_(s) { ++s_.link.LongOperations; }

LongOperation::~LongOperation() {
    if (--s_.link.LongOperations > 0) return;
    // The command is over: the timer stops and an abort nobody acted on is
    // dropped, so neither reaches the next command.
    s_.ui->SetAbortTimer(false);
    s_.events.AbortRequested = false;
}

}  // namespace cfg
