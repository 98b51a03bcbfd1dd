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
    return SendPanelCommand(s, PanelCommand(s, 'T'), timeoutSeconds, attempts, true, true);
}

bool StartsWithFamilyName(const std::string& raw) {
    const std::string prefix = UpperCase(raw.substr(0, 8));
    return prefix == "VELTRANO" || prefix == "VIMO-SYS";
}

}  // namespace

void ConnectPanel(Session& s) {
    s.LinkStatus = status::kAborted;
    OpenPanelPort(s);
    if (s.LastErrorNumber != 0) return;
    if (s.PortOpened >= 1) {
        s.LinkStatus = status::kDone;
        EndBusy(s, 0);
        return;
    }
    AskPanelAddress(s);
    if (s.LinkStatus != status::kDone) {
        ClosePanelPort(s);
        EndBusy(s, 0);
        return;
    }

    // A first short try; a panel that wakes up slowly gets a second, longer
    // one. A user who aborted the first wants no second.
    if (Identify(s, 1, 1) != status::kDone && s.LinkStatus != status::kAborted) {
        ShowBusy(s, GetText(s, 1360));
        WaitSeconds(s, 0.5);
        Identify(s, 2, 3);
        EndBusy(s, 0);
    }
    if (s.LinkStatus == status::kDone) {
        const Bytes& d = s.link.ReplyData;
        s.link.PanelAddress = static_cast<int16_t>(d.empty() ? 0 : d[0]);
        s.link.PanelModel = static_cast<int16_t>(d.size() >= 5 ? d[4] : 0);
        if (s.link.PanelModel != kPanelModel) s.LinkStatus = status::kRefused;
    }
    if (s.LinkStatus != status::kDone) {
        s.PortOpened = 0;
        ReportLinkError(s);
        ClosePanelPort(s);
    } else {
        // The identity read opens the port itself: found open, it would be
        // closed and reopened after the settle pause, a fifth of a second
        // on every connection for nothing.
        ClosePanelPort(s);
        CheckPanelIdentity(s);
        if (s.LinkStatus != status::kDone) {
            s.PortOpened = 0;
            ClosePanelPort(s);
        } else {
            s.PortOpened = kFlag255;
        }
    }
    EndBusy(s, 0);
}

void AskPanelAddress(Session& s) {
    ShowBusy(s, "");
    const long previous = s.link.PanelAddress;
    s.link.PanelAddress = 0;
    s.LinkStatus = status::kAborted;
    const std::string prompt = GetText(s, 1375) + "\r\n" + GetText(s, 1376) + GetText(s, 1377);
    long value = 0;
    if (AskNumber(s, ValueTopic::PanelAddress, s.Shell.ApplicationTitle, prompt, previous, 0, 223, value) == kInputConfirmed) {
        s.link.PanelAddress = static_cast<int16_t>(value);
        s.LinkStatus = status::kDone;
    }
}

void CheckPanelIdentity(Session& s) {
    ShowBusy(s, GetText(s, 1362));
    auto& buf = s.config.IdentBuffer;
    ReadPanelBlock(s, kIdentificationAddress, kIdentificationSize, 1, buf);
    if (s.LinkStatus != status::kDone) return;

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
        s.LinkStatus = status::kAborted;
    } else if (l.PanelVersion < 1.0 || l.PanelVersion >= 4.0) {
        ShowAlert(s, GetText(s, 1366), GetText(s, 1367));
        s.LinkStatus = status::kAborted;
    } else {
        s.LinkStatus = status::kDone;
    }
    l.ReplyData.clear();
    l.CommandText.clear();
    EndBusy(s, 0);
}

void EnterProgrammingMode(Session& s) {
    s.LinkStatus = status::kAborted;
    OpenPanelPort(s);
    if (s.LastErrorNumber != 0) return;
    bool codeAsked = false;
    for (;;) {
        const int answer = SendControl(s, kControlEnterProgramming, true);
        if (s.LinkStatus != status::kDone) {
            ReportLinkError(s);
            return;
        }
        if (answer == 'O') return;
        s.LinkStatus = status::kAborted;
        switch (answer) {
        case 'C': ShowAlert(s, GetText(s, 1333), GetText(s, 1334)); return;
        case 'D': ShowAlert(s, GetText(s, 1335), GetText(s, 1336)); return;
        case 'P':
            if (!codeAsked) {
                codeAsked = true;
                if (AskAccessCode(s)) continue;
                return;  // no code given: the user knows why nothing happened
            }
            ShowAlert(s, GetText(s, 1338), GetText(s, 1339));
            return;
        default: ShowAlertText(s, 1340); return;
        }
    }
}

void LeaveProgrammingMode(Session& s, bool expectReply) {
    ShowBusy(s, GetText(s, 1342));
    OpenPanelPort(s);
    if (s.LastErrorNumber == 0) {
        const int answer = SendControl(s, kControlLeaveProgramming, expectReply);
        if (s.LinkStatus != status::kDone) {
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
    req.title = s.Shell.ApplicationTitle;
    req.prompt = GetText(s, 1341) + "\r\n\r\n";
    req.minimum = 1;
    req.maximum = 999999;
    ValueAnswer answer;
    if (AskValue(s, req, answer) != kInputConfirmed) return false;
    EncodeAccessCode(s, NumberText(answer.number));
    return true;
}

void ShowBusy(Session& s, const std::string& text) {
    Ui& ui = *s.ui;
    ui.ShowSettingsLabel();
    if (s.link.LongOperations == 0) s.events.AbortRequested = 0;
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
    if (!within) s.events.AbortRequested = 0;
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
    s_.events.AbortRequested = 0;
}

}  // namespace cfg
