// The fault matrix: every panel operation of the tool (receive all, send
// all, open the panel, a value edited on the panel, the panel clock read and
// set) against the in-process simulated panel under every fault it can show,
// placed on each command letter the operation uses, plus a sweep that drops
// the reply at every single step and user aborts at seeded random points.
//
// Every case must end (on the fake clock, so a hang shows up as a run-away
// link time, not as a stuck test) with the expected status and first
// message, the panel out of programming mode wherever commands still reach
// it, and, for a failed receive, the previous file set untouched with no
// temporary file left. Each test prints its rows of the outcome table.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "editors/TimesEditor.h"
#include "link/Connection.h"
#include "link/Link.h"
#include "link/PanelClock.h"
#include "link/Screen.h"
#include "sim/Faults.h"
#include "sim/FileSet.h"
#include "sim/loopback/LoopbackTransport.h"
#include "transfer/Commands.h"

namespace fs = std::filesystem;

namespace cfg::test {
namespace {

using Bytes = std::vector<uint8_t>;

const char* const kExt[] = {".CY2", ".PY2", ".UY2", ".MY2"};

// Link time after which a case counts as hung: far above the longest
// legitimate run (a receive whose every exchange times out once).
constexpr double kHangSeconds = 900.0;

enum class Op { Receive, Send, Open, Edit, ClockRead, ClockSet };

const char* OpName(Op op) {
    switch (op) {
    case Op::Receive: return "receive-all";
    case Op::Send: return "send-all";
    case Op::Open: return "open-panel";
    case Op::Edit: return "edit-time";
    case Op::ClockRead: return "clock-read";
    case Op::ClockSet: return "clock-set";
    }
    return "?";
}

// The command letters each operation sends with a reply expected.
std::string LettersOf(Op op) {
    switch (op) {
    case Op::Receive:
    case Op::Open: return "TCL";
    case Op::Send: return "TCLJ";
    case Op::Edit: return "LJ";
    case Op::ClockRead: return "D";
    case Op::ClockSet: return "HD";
    }
    return "";
}

struct Outcome {
    int status = -1;
    std::string message;   // the first error box ("" when none)
    bool released = false;
    std::string files;     // "same", "new", "-" (no files involved) or what went wrong
    double linkSeconds = 0;
    double wallMs = 0;
    bool hung = false;
    int pumps = 0;
    int exchangePumps = 0;
    std::string abortedDuring;
};

// A message box text as one table cell: line breaks shown as "/".
std::string Cell(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') continue;
        out += c == '\r' ? '/' : c;
    }
    return out.empty() ? "-" : out;
}

void PrintHeader(const char* title) {
    std::printf("\n%s\n%-11s %-30s %6s  %-22s %-8s %-6s %8s %7s  %s\n", title, "operation", "fault", "status",
                "first message", "released", "files", "link s", "wall ms", "remark");
}

void PrintRow(Op op, const std::string& fault, const Outcome& o, const std::string& remark) {
    std::printf("%-11s %-30s %6d  %-22s %-8s %-6s %8.1f %7.1f  %s\n", OpName(op), fault.c_str(), o.status,
                Cell(o.message).c_str(), o.released ? "yes" : "NO", o.files.c_str(), o.linkSeconds, o.wallMs,
                remark.c_str());
    std::fflush(stdout);
}

// What a case may add to the plain run: faults on the panel, a hook run on
// every window-event pump, answers for the access-code dialog.
struct CaseSetup {
    std::vector<std::string> faults;
    int programmingTimeoutMs = 0;
    int accessCodeAnswers = 0;  // codes typed when asked; -1: the dialog is cancelled
    bool paced = false;         // replies take their time on the line (9600 baud)
    std::function<void(class Rig&)> onEvents;
};

// One session, one simulated panel, one folder: everything a case touches.
class Rig {
public:
    explicit Rig(const CaseSetup& setup) : setup_(setup) {
        vimo::sim::PanelSettings ps;
        ps.programmingTimeoutMs = setup.programmingTimeoutMs;
        line = std::make_unique<LoopbackTransport>(t.clock, ps);
        line->SetPacing(setup.paced);
        panel = &line->Panel();
        panel->LoadSample();
        s.transport = line.get();
        s.settings.PlantCode = "11";
        ClearScreenLines(s);
        start = t.clock.SecondsSinceMidnight();
        t.ui.onProcessEvents = [this] { Pump(); };
    }

    std::string Base(const std::string& name) const { return t.folder.File(name); }

    void AddFaults() {
        for (const std::string& text : setup_.faults) {
            vimo::sim::Fault f;
            std::string error;
            ASSERT_TRUE(vimo::sim::ParseFault(text, f, error)) << text << ": " << error;
            panel->AddFault(f);
        }
    }

    // The access code the user types when asked, after the dialogs the
    // operation asks before it.
    void QueueAccessCodes() {
        for (int i = 0; i < setup_.accessCodeAnswers; ++i) t.ui.AnswerNumber(1234);
        if (setup_.accessCodeAnswers < 0) t.ui.Cancel();
    }

    // The panel configuration opened fault-free, as the operations that work
    // on an open configuration start.
    bool OpenPanelClean() {
        t.ui.AnswerNumber(1);
        const bool ok = OpenConfiguration(s, 2).Done() && s.config.ConfigSource == ConfigSource::Panel;
        t.ui.messages.clear();
        return ok;
    }

    // The main loop's close of a configuration read from the panel.
    void ClosePanelConfiguration() {
        if (s.link.PortOpened) {
            LeaveProgrammingMode(s, true);
            ClosePanelPort(s);
            s.link.PortOpened = false;
        }
        s.config.ConfigSource = ConfigSource::None;
    }

    // Error boxes only: the questions on the way (overwrite?) and the
    // closing information boxes of the transfers are not about a fault.
    std::string FirstError() const {
        for (const auto& m : t.ui.messages)
            if (m.buttons == MsgButtons::Ok && (m.icon == MsgIcon::Critical || m.icon == MsgIcon::Exclamation))
                return m.text;
        return "";
    }
    std::string AllMessages() const { return t.ui.AllMessages(); }

    bool TemporaryFilesLeft() const {
        for (const auto& e : fs::directory_iterator(t.folder.Path()))
            if (e.path().extension() == ".PART") return true;
        return false;
    }

    TestSession t;
    Session& s = t.s;
    std::unique_ptr<LoopbackTransport> line;
    vimo::sim::Panel* panel = nullptr;
    // Editing screen: the clicks still to come, one per wait for a click.
    std::vector<std::function<void()>> clicks;
    std::size_t nextClick = 0;
    double start = 0;
    bool hung = false;
    // Window-event pumps since the operation began, and those of them that
    // came while an exchange was waiting for the panel.
    bool running = false;
    int pumps = 0;
    int exchangePumps = 0;
    bool waitingNow = false;
    int framesAtStart = 0;  // frames the panel had taken when the operation began
    // The busy line when a scripted abort was pressed.
    std::string abortedDuring;

private:
    void Pump() {
        if (running) {
            ++pumps;
            // An exchange waiting for the panel's reply.
            waitingNow = !t.ui.txrx.empty() && line->IsOpen() && line->BytesAvailable() == 0;
            if (waitingNow) ++exchangePumps;
        }
        if (setup_.onEvents) setup_.onEvents(*this);
        const bool waitingForClick = t.ui.editScreenShown && !s.events.UserEvent && !s.events.ExitRequested;
        if (waitingForClick && nextClick < clicks.size()) clicks[nextClick++]();
        // The clock window closes as soon as it is shown.
        if (t.ui.screenOpen) s.events.ScreenDismissed = true;
        if (t.clock.SecondsSinceMidnight() - start > kHangSeconds && !hung) {
            // Give up on the case: abort every wait and leave every screen.
            hung = true;
        }
        if (hung) {
            s.events.AbortRequested = true;
            s.events.ExitRequested = true;
        }
    }
    CaseSetup setup_;
};

bool SameFiles(const std::string& base, const vimo::sim::FileSet& want) {
    return ReadAll(base + ".CY2") == want.cy2 && ReadAll(base + ".PY2") == want.py2 &&
           ReadAll(base + ".UY2") == want.uy2 && ReadAll(base + ".MY2") == want.my2;
}

// The set that a receive will overwrite: different from the panel's in
// every byte.
vimo::sim::FileSet OldSet() {
    vimo::sim::FileSet set = vimo::sim::SampleFileSet();
    for (auto* part : {&set.cy2, &set.py2, &set.uy2, &set.my2})
        for (auto& b : *part) b = static_cast<uint8_t>(b ^ 0x5A);
    return set;
}

void WriteSet(const std::string& base, const vimo::sim::FileSet& set) {
    std::string error;
    ASSERT_TRUE(vimo::sim::WriteFileSet(base, set, error)) << error;
}

// The set a send gives the panel: the sample with other display texts and
// logics, so that a send that arrived is told from one that did not.
vimo::sim::FileSet SendSet() {
    vimo::sim::FileSet set = vimo::sim::SampleFileSet();
    for (std::size_t i = 0; i < 32; ++i) set.my2[i] = static_cast<uint8_t>('A' + i % 26);
    return set;
}

// Runs one operation under `setup` and measures it.
Outcome Run(Op op, const CaseSetup& setup) {
    const auto wallStart = std::chrono::steady_clock::now();
    Rig rig(setup);
    Session& s = rig.s;
    Outcome o;
    o.files = "-";
    const vimo::sim::FileSet old = OldSet();
    const vimo::sim::FileSet sendSet = SendSet();
    vimo::sim::FileSet panelBefore;

    bool opened = true;
    if (op == Op::Edit || op == Op::ClockRead || op == Op::ClockSet) opened = rig.OpenPanelClean();
    EXPECT_TRUE(opened) << OpName(op) << ": the fault-free open failed: " << rig.AllMessages();
    rig.AddFaults();
    rig.start = rig.t.clock.SecondsSinceMidnight();
    rig.running = true;
    rig.framesAtStart = rig.panel->Stats().framesIn;

    switch (op) {
    case Op::Receive:
        WriteSet(rig.Base("SITE"), old);
        panelBefore = rig.panel->ExportFileSet();
        rig.t.ui.AnswerNumber(1);
        rig.QueueAccessCodes();
        rig.t.ui.choiceAnswers.push_back(0);
        rig.t.ui.saveFileAnswers.push_back(rig.Base("SITE"));
        o.status = ReceiveConfiguration(s).status;
        break;
    case Op::Send:
        WriteSet(rig.Base("SET"), sendSet);
        rig.t.ui.AnswerNumber(1);
        rig.QueueAccessCodes();
        rig.t.ui.choiceAnswers.push_back(0);
        rig.t.ui.openFileAnswers.push_back(rig.Base("SET"));
        o.status = SendConfiguration(s).status;
        break;
    case Op::Open:
        rig.t.ui.AnswerNumber(1);
        rig.QueueAccessCodes();
        o.status = OpenConfiguration(s, 2).status;
        if (s.config.ConfigSource != ConfigSource::Panel && o.status == status::kDone) o.status = -2;
        break;
    case Op::Edit: {
        s.texts.LanguageTexts[1243] = "[";
        auto lineOf = [&s](const std::string& label) {
            for (int i = 1; i <= s.screen.LineCount; ++i) {
                const std::string& l = s.screen.Lines[i];
                const auto first = l.find_first_not_of(' ');
                if (first != std::string::npos && l.compare(first, label.size(), label) == 0) return i;
            }
            return 0;
        };
        rig.clicks.push_back([&s, &rig, lineOf] {
            rig.t.ui.listSelected = lineOf("1088") - 1;
            s.events.UserEvent = true;
        });
        rig.clicks.push_back([&s] { s.events.ExitRequested = true; });
        // The value dialog comes after any access code asked on the way in.
        rig.QueueAccessCodes();
        rig.t.ui.AnswerNumber(45);
        const PrintMode print = PrintMode::Interactive;
        TimesSection(s, print, 0);
        o.status = s.link.LinkStatus;  // a section leaves its outcome there
        break;
    }
    case Op::ClockRead:
        rig.QueueAccessCodes();
        ClockCommand(s, 4);
        o.status = s.link.LinkStatus;
        break;
    case Op::ClockSet: {
        DateTimeFields f;
        f.field = {"14", "02", "2027", "10", "30", "00"};
        rig.t.ui.dateTimeAnswers.push_back({true, f});
        rig.QueueAccessCodes();
        ClockCommand(s, 5);
        o.status = s.link.LinkStatus;
        break;
    }
    }
    o.hung = rig.hung;

    // What reached the panel, for the operations that change it.
    if (op == Op::Edit) o.files = rig.panel->Mem().Get(4096 + 27) == 45 ? "set" : "same";
    if (op == Op::ClockSet) {
        const auto c = rig.panel->ReadClock(rig.line->NowMs());
        o.files = c.year == 2027 && c.month == 2 && c.day == 14 ? "set" : "same";
    }

    // The configurations opened on the panel are closed as the main loop
    // closes them; the transfers released the panel themselves.
    if (op == Op::Open || op == Op::Edit || op == Op::ClockRead || op == Op::ClockSet)
        rig.ClosePanelConfiguration();
    o.released = !rig.panel->InProgrammingMode();
    o.linkSeconds = rig.t.clock.SecondsSinceMidnight() - rig.start;
    o.message = rig.FirstError();
    o.pumps = rig.pumps;
    o.exchangePumps = rig.exchangePumps;
    o.abortedDuring = rig.abortedDuring;

    if (op == Op::Receive) {
        if (rig.TemporaryFilesLeft()) o.files = "PART!";
        else if (SameFiles(rig.Base("SITE"), old)) o.files = "same";
        else if (SameFiles(rig.Base("SITE"), panelBefore)) o.files = "new";
        else o.files = "MIXED!";
    }
    if (op == Op::Send && o.status == status::kDone) {
        const vimo::sim::FileSet now = rig.panel->ExportFileSet();
        o.files = now.my2 == sendSet.my2 && now.uy2 == sendSet.uy2 ? "sent" : "NOT SENT!";
    }
    o.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
    return o;
}

// The texts of the link's error box for a status (the test language file
// makes every text its own id).
std::string LinkErrorText(int status) {
    switch (status) {
    case status::kAborted: return "1379";
    case status::kRefused: return "1380";
    case status::kNoReply: return "1381\r1382";
    case status::kRefused130: return "1383";
    case status::kNoStartByte: return "1384";
    default: {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", status);
        const char* meaning = status == status::kBadLength      ? "1528\r"
                              : status == status::kBadChecksum   ? "1529\r"
                              : status == status::kOtherAddress  ? "1530\r"
                              : status == status::kCommitRefused ? "1531\r"
                                                                 : "";
        return std::string("1385\r") + meaning + "1386 " + hex + "H";
    }
    }
}

struct Expect {
    int status = status::kDone;
    std::string message;  // first error box; "" = none
    bool released = true;
    std::string files;    // "" = what the status implies
};

// What the files column must read when the case does not say.
std::string ImpliedFiles(Op op, int status) {
    const bool done = status == status::kDone;
    switch (op) {
    case Op::Receive: return done ? "new" : "same";
    case Op::Send: return done ? "sent" : "-";
    case Op::Edit:
    case Op::ClockSet: return done ? "set" : "same";
    default: return "-";
    }
}

// Checks a case against what it must give and prints its row.
void Check(Op op, const std::string& name, const Outcome& o, const Expect& e, const std::string& remark) {
    PrintRow(op, name, o, remark);
    const std::string where = std::string(OpName(op)) + " / " + name;
    EXPECT_FALSE(o.hung) << where << ": did not end";
    EXPECT_EQ(o.status, e.status) << where;
    EXPECT_EQ(o.message, e.message) << where;
    EXPECT_EQ(o.released, e.released) << where;
    EXPECT_EQ(o.files, e.files.empty() ? ImpliedFiles(op, e.status) : e.files) << where;
}

// --- the reply faults, on each letter ------------------------------------

struct FrameFault {
    const char* spec;
    int status;  // the status the fault leaves
};

// Faults on one reply must be absorbed by the retries; faults on every
// reply end in the status of the damage. Line noise before a reply is read
// past and never fails an exchange.
const FrameFault kFrameFaults[] = {
    {"noise", status::kDone},
    {"drop,times=1", status::kDone},
    {"drop", status::kNoReply},
    {"bad-checksum,times=1", status::kDone},
    {"bad-checksum", status::kBadChecksum},
    {"other-address,times=1", status::kDone},
    {"other-address", status::kOtherAddress},
    {"slow=2500,times=1", status::kDone},
    {"slow=20000", status::kNoReply},
    {"slow=2500", status::kDone},  // past the 2 s time-outs: kNoReply there (below)
    {"late", status::kDone},
    {"late,times=2", status::kDone},
    {"bad-length,times=1", status::kDone},
    {"bad-length", status::kBadLength},
    {"low-byte,times=1", status::kDone},
    {"low-byte", status::kBadLength},
};

void RunFrameFaults(Op op) {
    for (char letter : LettersOf(op)) {
        for (const FrameFault& f : kFrameFaults) {
            const std::string spec = std::string(f.spec) + ",cmd=" + letter;
            CaseSetup setup;
            setup.faults = {spec};
            const Outcome o = Run(op, setup);
            Expect e;
            e.status = f.status;
            std::string remark;
            // Every answer 0.5 s past a 2 s time-out comes while the line
            // is drained: it is thrown away each time, never taken for the
            // answer to the next command. ("J" waits 4 s; the identify that
            // follows a failed first "T" waits 2 s, and takes the answer to
            // that first "T", which is the same.)
            const std::string name = f.spec;
            if (name == "slow=2500" && letter != 'J' && letter != 'T') {
                e.status = status::kNoReply;
                remark = "every answer 0.5 s past the time-out: drained, never taken for the next command";
            }
            // "J" has two attempts: two late answers use them both.
            if (name == "late,times=2" && letter == 'J') e.status = status::kNoReply;
            if (name.rfind("late", 0) == 0 && e.status == status::kDone)
                remark = "answer after its time-out: drained; files byte-identical";
            e.message = e.status == status::kDone ? "" : LinkErrorText(e.status);
            const bool failed = e.status != status::kDone;
            const bool onOpenConfiguration = op == Op::Edit || op == Op::ClockRead || op == Op::ClockSet;
            if (failed) {
                if (letter == 'T') remark = "identify fails: nothing else sent";
                if (letter == 'C') remark = "no answer to the entry: release sent unanswered";
                if (letter == 'L' && !onOpenConfiguration) remark = "stops at the identification read";
                if (letter == 'L' && op == Op::Edit) remark = "the block is not read: nothing written";
                if (letter == 'J' && op == Op::Send) {
                    remark = "then the parts-sent report";
                    if (e.status == status::kNoReply) remark += "; release sent unanswered";
                }
                if ((letter == 'J' && op == Op::Edit) || (letter == 'H' && op == Op::ClockSet)) {
                    e.files = "set";
                    remark = "the panel took it; only its answer was lost";
                }
                if (letter == 'D' && op == Op::ClockSet) {
                    e.files = "set";
                    remark = "clock set; only its display afterwards failed";
                }
                if (onOpenConfiguration)
                    remark += std::string(remark.empty() ? "" : "; ") + "released when the configuration is closed";
            }
            Check(op, spec, o, e, remark);
        }
    }
}

// --- refusals and programming mode -----------------------------------------

struct Refusal {
    std::string name;
    CaseSetup setup;
    Expect expect;
    std::string remark;
};

// The panel's programming mode times out (5 s without a command) once the
// given number of memory writes went through: the next write is answered
// 128.
std::function<void(Rig&)> LoseProgrammingAfterWrites(int writes) {
    auto fired = std::make_shared<bool>(false);
    return [writes, fired](Rig& r) {
        if (*fired || !r.running || r.panel->Stats().writes != writes || !r.panel->InProgrammingMode()) return;
        *fired = true;
        r.t.clock.Advance(6.0);
    };
}

// A panel that answers every request for programming mode "O" but never
// takes it: every write is answered 128.
std::function<void(Rig&)> OutOfProgrammingMode() {
    auto fired = std::make_shared<bool>(false);
    return [fired](Rig& r) {
        if (*fired || !r.running) return;
        *fired = true;
        r.panel->SetProgrammingMode(false, r.line->NowMs());
    };
}

std::vector<Refusal> RefusalsFor(Op op) {
    std::vector<Refusal> out;
    const bool connects = op == Op::Receive || op == Op::Send || op == Op::Open;
    const bool writes = op == Op::Send || op == Op::Edit;
    auto add = [&out](std::string name, CaseSetup setup, Expect e, std::string remark = "") {
        out.push_back({std::move(name), std::move(setup), std::move(e), std::move(remark)});
    };
    if (writes) {
        const std::string partial = op == Op::Send ? "; then the parts-sent report" : "";
        add("write-refused=129", {{"write-refused=129"}}, {status::kRefused, "1241"}, "read-only area" + partial);
        add("write-refused=130", {{"write-refused=130"}}, {status::kRefused, "1242"}, "bad request" + partial);
        CaseSetup once;
        once.programmingTimeoutMs = 5000;
        once.onEvents = LoseProgrammingAfterWrites(op == Op::Send ? 5 : 0);
        add("prog-timeout (128 once)", once, {}, "re-entered; the block written again from its start");
        CaseSetup always;
        always.faults = {"control=20:O"};
        always.onEvents = OutOfProgrammingMode();
        add("control=20:O, never taken (128 always)", always, {status::kRefused, "1380"},
            "gives up after three re-entries" + partial);
    }
    if (connects) {
        add("control=20:C", {{"control=20:C"}}, {status::kAborted, "1333\r1334"}, "programming mode refused");
        add("control=20:D", {{"control=20:D"}}, {status::kAborted, "1335\r1336"}, "programming mode refused");
        add("control=20:P (code given)", {{"control=20:P"}, 0, 1}, {status::kAborted, "1338\r1339"},
            "code asked once, then refused");
        add("control=20:X", {{"control=20:X"}}, {status::kAborted, "1340"}, "programming mode refused");
        add("control=21:D", {{"control=21:D"}}, {status::kDone, "1344\r1345", false},
            "release refused: the panel keeps programming mode, the user is told");
        add("access-needed,cmd=C (code given)", {{"access-needed,cmd=C"}, 0, 1}, {status::kAborted, "1338\r1339"},
            "code asked once, then refused");
    }
    if (op == Op::Send) {
        const std::string commit = "commit refused: 170 with a message; then the parts-sent report";
        add("control=15:E", {{"control=15:E"}}, {status::kCommitRefused, LinkErrorText(170)}, commit);
        add("control=14:E", {{"control=14:E"}}, {status::kCommitRefused, LinkErrorText(170)}, commit);
        add("control=15:D", {{"control=15:D"}}, {status::kCommitRefused, LinkErrorText(170)}, commit);
    }
    // The access code: asked once; a panel that still wants it refuses.
    const std::string access = op == Op::ClockSet ? "H" : op == Op::ClockRead ? "" : "L";
    if (!access.empty()) {
        const bool clock = access == "H";
        add("access-needed,times=1,cmd=" + access + " (code given)", {{"access-needed,times=1,cmd=" + access}, 0, 1},
            {}, "code asked, command repeated with it");
        add("access-needed,cmd=" + access + " (code given)", {{"access-needed,cmd=" + access}, 0, 1},
            clock ? Expect{status::kDone, "0350\r0351", true, "same"} : Expect{status::kRefused, "1372\r1373"},
            clock ? "clock not set; the link itself is fine" : "code asked once, then refused");
        add("access-needed,cmd=" + access + " (code cancelled)", {{"access-needed,cmd=" + access}, 0, -1},
            clock ? Expect{status::kDone, "", true, "same"} : Expect{status::kRefused, ""},
            "the user cancelled the code: no further box");
    }
    return out;
}

void RunRefusals(Op op) {
    for (const Refusal& r : RefusalsFor(op)) {
        const Outcome o = Run(op, r.setup);
        Check(op, r.name, o, r.expect, r.remark);
    }
}

// --- every step, and aborts at random points -------------------------------

// Counts the frames a fault-free run sends.
int FramesOf(Op op) {
    int frames = 0;
    CaseSetup setup;
    setup.onEvents = [&frames](Rig& r) {
        if (r.running) frames = std::max(frames, r.panel->Stats().framesIn - r.framesAtStart);
    };
    const Outcome o = Run(op, setup);
    EXPECT_EQ(o.status, status::kDone) << OpName(op) << ": the fault-free run failed";
    return frames;
}

// The panel stops answering from frame k on, for every k of the operation:
// each run ends in "no reply" (or, when only the release went unanswered,
// in the operation's own success) and every invariant holds.
void RunDropSweep(Op op) {
    // The operations on an open configuration count the frames of the open.
    const int frames = FramesOf(op);
    int failed = 0, succeeded = 0;
    double worstLink = 0, wall = 0;
    bool allReleased = true, allIntact = true, allEnded = true;
    for (int k = 0; k < frames; ++k) {
        CaseSetup setup;
        setup.faults = {"drop,after=" + std::to_string(k)};
        const Outcome o = Run(op, setup);
        wall += o.wallMs;
        worstLink = std::max(worstLink, o.linkSeconds);
        allEnded = allEnded && !o.hung;
        allReleased = allReleased && o.released;
        const std::string where = std::string(OpName(op)) + " drop from frame " + std::to_string(k);
        if (o.status == status::kDone) {
            ++succeeded;
        } else {
            ++failed;
            EXPECT_EQ(o.status, status::kNoReply) << where;
        }
        // Whatever failed, the first box says the panel did not answer.
        if (!o.message.empty()) {
            EXPECT_EQ(o.message, LinkErrorText(status::kNoReply)) << where;
        }
        if (op == Op::Receive) {
            const bool ok = o.files == ImpliedFiles(op, o.status);
            allIntact = allIntact && ok;
            EXPECT_TRUE(ok) << where << ": files " << o.files;
        }
        EXPECT_FALSE(o.hung) << where;
        EXPECT_TRUE(o.released) << where;
    }
    Outcome summary;
    summary.status = failed > 0 ? status::kNoReply : status::kDone;
    summary.message = failed > 0 ? LinkErrorText(status::kNoReply) : "";
    summary.released = allReleased;
    summary.files = op == Op::Receive ? (allIntact ? "same" : "BAD!") : "-";
    summary.linkSeconds = worstLink;
    summary.wallMs = wall;
    summary.hung = !allEnded;
    char remark[160];
    std::snprintf(remark, sizeof remark,
                  "%d cases (drop from frame k on): %d no reply, %d done (only the release unanswered); "
                  "link s = the longest",
                  frames, failed, succeeded);
    PrintRow(op, "drop from every step", summary, remark);
}

// The user presses abort at seeded random moments while the operation
// waits for the panel.
void RunAborts(Op op, unsigned seed) {
    CaseSetup paced;
    paced.paced = true;
    const Outcome clean = Run(op, paced);
    const int waits = clean.exchangePumps;
    std::mt19937 rng(seed);
    for (int i = 0; i < 4; ++i) {
        const int at = std::uniform_int_distribution<int>(1, std::max(waits, 1))(rng);
        CaseSetup setup;
        setup.paced = true;
        setup.onEvents = [at](Rig& r) {
            if (r.running && r.waitingNow && r.exchangePumps == at && r.abortedDuring.empty()) {
                r.s.events.AbortRequested = true;
                r.abortedDuring = r.t.ui.statusText.empty() ? "?" : r.t.ui.statusText;
            }
        };
        const Outcome o = Run(op, setup);
        const std::string name = "abort in wait " + std::to_string(at) + "/" + std::to_string(waits);
        const std::string where = std::string(OpName(op)) + " " + name;
        // An abort while the release waits for its answer ends the command
        // as it was: the release itself has gone out.
        const bool inRelease = o.abortedDuring == "1342";
        PrintRow(op, name, o, inRelease ? "pressed while the release waited: the panel already had it" : "stopped");
        EXPECT_FALSE(o.hung) << where;
        EXPECT_FALSE(o.abortedDuring.empty()) << where << ": the abort was never pressed";
        if (!inRelease) {
            EXPECT_EQ(o.status, status::kAborted) << where;
        }
        EXPECT_TRUE(o.released) << where;
        EXPECT_EQ(o.message, LinkErrorText(status::kAborted)) << where;
        if (op == Op::Receive) {
            EXPECT_EQ(o.files, "same") << where;
        }
    }
}

void RunMatrix(Op op, unsigned seed) {
    PrintHeader((std::string("Fault matrix: ") + OpName(op)).c_str());
    {
        const Outcome o = Run(op, {});
        Check(op, "(none)", o, {}, "");
    }
    RunFrameFaults(op);
    RunRefusals(op);
    RunDropSweep(op);
    RunAborts(op, seed);
}

TEST(FaultMatrix, ReceiveAll) { RunMatrix(Op::Receive, 1601); }
TEST(FaultMatrix, SendAll) { RunMatrix(Op::Send, 1602); }
TEST(FaultMatrix, OpenFromPanel) { RunMatrix(Op::Open, 1603); }
TEST(FaultMatrix, EditOnPanel) { RunMatrix(Op::Edit, 1604); }
TEST(FaultMatrix, ClockRead) { RunMatrix(Op::ClockRead, 1605); }
TEST(FaultMatrix, ClockSet) { RunMatrix(Op::ClockSet, 1606); }

}  // namespace
}  // namespace cfg::test
