#include "link/PanelClock.h"

#include <cstdio>

#include "link/Connection.h"
#include "link/Link.h"
#include "link/LinkInternal.h"
#include "link/PanelCommands.h"
#include "shell/Clock.h"
#include "shell/Language.h"
#include "shell/Messages.h"
#include "shell/Shell.h"

namespace cfg {

namespace {

// The helpers this file shares with the rest of the link.
using namespace linkdetail;

// Texts.
constexpr int kClockTitle = 337;
constexpr int kClockReadText = 338;
constexpr int kDateLayoutText = 339;  // "day      dd/mm/yy"
constexpr int kTimeLayoutText = 340;  // "hours:minutes:seconds"
constexpr int kSetClockTitle = 341;
constexpr int kCodeRefusedText = 350;
constexpr int kClockUnchangedText = 351;
constexpr int kClockRefusedText = 352;

// The clock window stays up until the user closes it, at most this long.
constexpr double kClockWindowSeconds = 60.0;

struct FieldRule {
    int minimum, maximum;
};
// Day, month, year, hours, minutes, seconds, in the order they are checked.
constexpr FieldRule kFieldRules[6] = {{1, 31}, {1, 12}, {1980, 2079}, {0, 23}, {0, 59}, {0, 59}};

std::string Padded(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

// Sends "H" with the code in the header; asks the access code once. Done
// when the panel took the new time; a refusal has been explained.
OpResult SendClockSetting(Session& s, const int (&v)[6], int weekday) {
    bool codeAsked = false;
    for (;;) {
        Bytes cmd = PanelCommand(s.link, 'H');
        for (int x : {v[5], v[4], v[3], weekday, v[0], v[1], PanelYear(v[2])})
            cmd.push_back(static_cast<uint8_t>(x));
        if (SendPanelCommand(s, cmd, 2, 3, true, true) != status::kDone) {
            const OpResult failed = LinkResult(s.link);
            ReportLinkError(s);
            return failed;
        }
        const int answer = ReplyAnswer(s);
        if (answer == 'O') return {status::kDone};
        if (answer == 'P') {
            if (!codeAsked) {
                codeAsked = true;
                if (AskAccessCode(s)) continue;
                return {status::kAborted};
            }
            ShowAlert(s, GetText(s, kCodeRefusedText), GetText(s, kClockUnchangedText));
            return {status::kRefused};
        }
        ShowAlertText(s, kClockRefusedText);
        return {status::kRefused};
    }
}

}  // namespace

int ClockCommand(Session& s, int choice) {
    if (choice != 4 && choice != 5) return choice;
    s.ui->SetWorkFormEnabled(false);
    if (s.config.ConfigSource == ConfigSource::Panel) {
        // Either window has shown its own failures.
        static_cast<void>(choice == 4 ? ShowPanelClock(s) : SetPanelClock(s));
    } else {
        ShowNotConnected(s);
    }
    s.ui->SetWorkFormEnabled(true);
    return 0;
}

OpResult ShowPanelClock(Session& s) {
    if (const OpResult opened = OpenPanelPort(s); opened.error != 0) return opened;
    if (const OpResult connected = ConnectPanel(s); !connected.Done()) return connected;

    Ui& ui = *s.ui;
    s.events.ScreenDismissed = false;
    s.events.PauseBreak = false;
    ui.OpenScreen(GetText(s, kClockTitle), 8, 32);
    ui.WriteScreen(1, 2, GetText(s, kClockReadText), ScreenColor::Default);
    ui.WriteScreen(2, 2, GetText(s, kDateLayoutText), ScreenColor::Default);
    ui.WriteScreen(3, 2, GetText(s, kTimeLayoutText), ScreenColor::Default);

    PanelClockText t;
    const OpResult read = ReadPanelClock(s, t);
    if (read.Done()) {
        ui.WriteScreen(5, 2, t.weekday + "   " + t.day + "/" + t.month + "/" + t.year, ScreenColor::Default);
        ui.WriteScreen(6, 2, t.hours + ":" + t.minutes + ":" + t.seconds, ScreenColor::Default);
    }

    double start = s.clock->SecondsSinceMidnight();
    while (!s.events.ScreenDismissed && !s.events.PauseBreak && ui.ScreenOpen()) {
        Yield(s);
        const double now = s.clock->SecondsSinceMidnight();
        if (now < start || now - start > kClockWindowSeconds) break;
    }
    s.events.PauseBreak = false;
    ClosePanelPort(s);
    return read;
}

OpResult SetPanelClock(Session& s) {
    if (const OpResult opened = OpenPanelPort(s); opened.error != 0) return opened;
    if (const OpResult connected = ConnectPanel(s); !connected.Done()) return connected;

    const DateTime now = s.clock->Now();
    DateTimeFields fields;
    fields.field = {Padded(now.day), Padded(now.month), std::to_string(now.year),
                    Padded(now.hour), Padded(now.minute), Padded(now.second)};
    int values[6] = {};
    int focus = -1;
    for (;;) {
        if (!s.ui->AskDateTime(GetText(s, kSetClockTitle), fields, focus)) {
            ClosePanelPort(s);
            return {status::kAborted};
        }
        focus = -1;
        for (int i = 0; i < 6; ++i) {
            if (!ParseDigits(fields.field[static_cast<std::size_t>(i)], kFieldRules[i].minimum,
                             kFieldRules[i].maximum, values[i])) {
                focus = i;
                break;
            }
        }
        // A day the month does not have (31 April, 29 February of a common
        // year) has no weekday: the day field is asked again.
        if (focus < 0 && values[0] > DaysInMonth(values[2], values[1])) focus = 0;
        if (focus < 0) break;
    }

    // The weekday goes with the date entered, not with today's: the panel
    // shows it beside the date and stamps it into its event log.
    const int weekday = WeekdayOf(values[2], values[1], values[0]);
    const OpResult set = SendClockSetting(s, values, weekday);
    ClosePanelPort(s);
    return set.Done() ? ShowPanelClock(s) : set;
}

bool ParseDigits(const std::string& text, int minimum, int maximum, int& value) {
    std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return false;
    std::size_t e = text.find_last_not_of(" \t");
    const std::string t = text.substr(b, e - b + 1);
    if (t.size() > 9) return false;
    long v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < minimum || v > maximum) return false;
    value = static_cast<int>(v);
    return true;
}

}  // namespace cfg
