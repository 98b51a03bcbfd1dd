// Receive and send of whole configurations against the in-process simulated
// panel: block lists, checks of received data, the link-parameter rule, the
// commit steps, and the questions and alerts on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "transfer/Commands.h"
#include "config/Files.h"
#include "link/Link.h"
#include "shell/SafeWrite.h"
#include "sim/Faults.h"
#include "sim/FileSet.h"
#include "sim/Mailbox.h"
#include "sim/MemoryMap.h"
#include "sim/loopback/LoopbackTransport.h"

namespace fs = std::filesystem;
using namespace cfg;
using cfg::test::ReadAll;
using cfg::test::TestSession;
using cfg::test::WriteAll;
using Bytes = std::vector<uint8_t>;

namespace {

const char* kExt[] = {".CY2", ".PY2", ".UY2", ".MY2"};

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to) {  // [from, to)
    return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(to));
}

struct PanelTransfer : ::testing::Test {
    TestSession t;
    std::unique_ptr<LoopbackTransport> line;
    vimo::sim::Panel* panel = nullptr;

    void SetUp() override {
        line = std::make_unique<LoopbackTransport>(t.clock);
        panel = &line->Panel();
        t.s.transport = line.get();
        t.s.settings.PlantCode = "11";
    }
    std::string Base(const std::string& name) { return t.folder.File(name); }
    // One run of a transfer command: the address dialog, the menu, the name.
    void Script(int choice, const std::string& name, bool save) {
        t.ui.AnswerNumber(1);
        t.ui.choiceAnswers.push_back(choice);
        (save ? t.ui.saveFileAnswers : t.ui.openFileAnswers).push_back(name);
    }
    // The status the receive ended with.
    int Receive(const std::string& name, int choice = 0) {
        Script(choice, name, true);
        return ReceiveConfiguration(t.s).status;
    }
    // The status the send ended with.
    int Send(const std::string& name, int choice = 0) {
        Script(choice, name, false);
        return SendConfiguration(t.s).status;
    }
    vimo::sim::FileSet Files(const std::string& base) {
        vimo::sim::FileSet f;
        f.cy2 = ReadAll(base + ".CY2");
        f.py2 = ReadAll(base + ".PY2");
        f.uy2 = ReadAll(base + ".UY2");
        f.my2 = ReadAll(base + ".MY2");
        return f;
    }
    void WriteFiles(const std::string& base, const vimo::sim::FileSet& f) {
        WriteAll(base + ".CY2", f.cy2);
        WriteAll(base + ".PY2", f.py2);
        WriteAll(base + ".UY2", f.uy2);
        WriteAll(base + ".MY2", f.my2);
    }
    std::string LastText() { return t.ui.messages.empty() ? "" : t.ui.messages.back().text; }
    // True when the busy line showed text `id` at some point.
    bool StatusShown(int id) {
        const std::string text = (id < 1000 ? "0" : "") + std::to_string(id);
        return std::find(t.ui.statusHistory.begin(), t.ui.statusHistory.end(), text) != t.ui.statusHistory.end();
    }
};

}  // namespace

TEST_F(PanelTransfer, ReceiveAllGivesThePanelsConfiguration) {
    panel->LoadSample();
    EXPECT_NE(TransferCommand(t.s, 2).status, 255);  // nothing scripted: the address dialog is cancelled

    ASSERT_EQ(Receive(Base("site")), 255) << t.ui.AllMessages();
    vimo::sim::FileSet got = Files(Base("SITE"));
    vimo::sim::FileSet want = panel->ExportFileSet();
    EXPECT_EQ(got.cy2.size(), 2981u);
    EXPECT_EQ(got.py2.size(), 384u);
    EXPECT_EQ(got.uy2.size(), 1962u);
    EXPECT_EQ(got.my2.size(), 7280u);
    EXPECT_EQ(got.cy2, want.cy2);
    EXPECT_EQ(got.py2, want.py2);
    EXPECT_EQ(got.uy2, want.uy2);
    EXPECT_EQ(got.my2, want.my2);
    // The trailer carries the identification of the panel.
    EXPECT_EQ(std::string(got.cy2.begin() + 2968, got.cy2.end()), "2.10 12/05/04");

    EXPECT_EQ(t.ui.choiceRequests.back().title, "0435");
    EXPECT_EQ(t.ui.choiceRequests.back().items.front(), "0436");
    EXPECT_EQ(t.ui.fileRequests.back().title, "0441");
    EXPECT_EQ(LastText(), "0460");
    EXPECT_FALSE(panel->InProgrammingMode());
    EXPECT_FALSE(t.s.link.PortOpened);
    for (int id : {453, 455, 457, 459}) EXPECT_TRUE(StatusShown(id)) << id;
}

TEST_F(PanelTransfer, ReceiveSendReceiveIsByteClean) {
    panel->LoadSample();
    ASSERT_EQ(Receive(Base("A")), 255) << t.ui.AllMessages();
    ASSERT_EQ(Send(Base("A")), 255) << t.ui.AllMessages();
    EXPECT_EQ(LastText(), "0488");
    EXPECT_EQ(panel->Stats().commitsPrograms, 1);
    EXPECT_EQ(panel->Stats().commitsLogics, 1);
    EXPECT_FALSE(panel->InProgrammingMode());
    ASSERT_EQ(Receive(Base("B")), 255) << t.ui.AllMessages();
    for (const char* e : kExt) EXPECT_EQ(ReadAll(Base("A") + e), ReadAll(Base("B") + e)) << e;
}

// A send writes the parts the panel takes from a file and leaves the rest:
// the identification block, bytes 383..511, the point parameters, the
// references, the thresholds.
TEST_F(PanelTransfer, SendWritesItsBlockListOnly) {
    vimo::sim::FileSet sample = vimo::sim::SampleFileSet();
    sample.cy2[1] = 7;
    sample.cy2[400] = 99;
    sample.cy2[1400] = 42;
    WriteFiles(Base("SAMPLE"), sample);
    vimo::sim::FileSet before = panel->ExportFileSet();  // the factory panel

    t.clock.SetDate(2027, 2, 14, 7);
    t.clock.SetTime(10 * 3600 + 30 * 60);
    ASSERT_EQ(Send(Base("sample")), 255) << t.ui.AllMessages();
    vimo::sim::FileSet after = panel->ExportFileSet();

    EXPECT_EQ(after.cy2[0], sample.cy2[0]);
    EXPECT_EQ(after.cy2[1], 0);  // cleared after the main block
    EXPECT_EQ(Slice(after.cy2, 2, 191), Slice(sample.cy2, 2, 191));
    EXPECT_EQ(Slice(after.cy2, 191, 237), Slice(before.cy2, 191, 237));
    EXPECT_EQ(Slice(after.cy2, 237, 383), Slice(sample.cy2, 237, 383));
    EXPECT_EQ(Slice(after.cy2, 383, 496), Slice(before.cy2, 383, 496));
    EXPECT_EQ(Slice(after.cy2, 512, 1312), Slice(sample.cy2, 512, 1312));
    EXPECT_EQ(Slice(after.cy2, 1312, 2981), Slice(before.cy2, 1312, 2981));
    EXPECT_EQ(Slice(after.py2, 0, 339), Slice(sample.py2, 0, 339));
    EXPECT_EQ(Slice(after.py2, 350, 359), Slice(sample.py2, 350, 359));
    EXPECT_EQ(Slice(after.py2, 360, 384), Slice(sample.py2, 360, 384));
    EXPECT_EQ(after.uy2, sample.uy2);
    EXPECT_EQ(after.my2, sample.my2);
    EXPECT_EQ(panel->Mem().Get(vimo::sim::kMarker), 187);

    // The panel's last-change date was read back and shown; its clock set
    // from the PC.
    EXPECT_NE(t.ui.identification.find(std::string(after.cy2.begin() + 211, after.cy2.begin() + 219)),
              std::string::npos);
    auto clock = panel->ReadClock(line->NowMs());
    EXPECT_EQ(clock.day, 14);
    EXPECT_EQ(clock.month, 2);
    EXPECT_EQ(clock.hour, 10);
    EXPECT_EQ(clock.minute, 30);
    for (int id : {479, 481, 484, 487}) EXPECT_TRUE(StatusShown(id)) << id;
}

TEST_F(PanelTransfer, DamagedProgramsAndLogicsArriveEmpty) {
    panel->LoadSample();
    auto& mem = panel->Mem();
    mem.Set(vimo::sim::kClockPrograms + 5, static_cast<uint8_t>(mem.Get(vimo::sim::kClockPrograms + 5) ^ 0x10));
    mem.Set(vimo::sim::kLogics + 2, static_cast<uint8_t>(mem.Get(vimo::sim::kLogics + 2) ^ 0x01));
    ASSERT_EQ(Receive(Base("DMG")), 255) << t.ui.AllMessages();
    Bytes py2 = ReadAll(Base("DMG.PY2")), uy2 = ReadAll(Base("DMG.UY2"));
    ASSERT_EQ(py2.size(), 384u);
    EXPECT_EQ(Slice(py2, 0, 350), Bytes(350, 255));
    EXPECT_EQ(uy2, Bytes(1962, 0));
    // The other parts arrive as they are.
    EXPECT_EQ(ReadAll(Base("DMG.MY2")), panel->ExportFileSet().my2);
}

TEST_F(PanelTransfer, LinkParametersFollowTheToolOnlyOnNewerPanels) {
    vimo::sim::FileSet set = panel->ExportFileSet();
    set.cy2[0] = 85;
    WriteFiles(Base("OLD"), set);
    auto& mem = panel->Mem();
    // Older panel: its byte 0 is 85 and its link block stays.
    mem.Set(vimo::sim::kMainBase, 85);
    mem.Set(vimo::sim::kCommBaudCode, 3);
    t.s.settings.BaudRate = "4800";
    ASSERT_EQ(Send(Base("OLD"), 1), 255) << t.ui.AllMessages();
    EXPECT_EQ(mem.Get(vimo::sim::kCommBaudCode), 3);

    // Newer panel: address, plant code and baud code of the tool.
    mem.Set(vimo::sim::kMainBase, 86);
    ASSERT_EQ(Send(Base("OLD"), 1), 255) << t.ui.AllMessages();
    EXPECT_EQ(mem.Get(vimo::sim::kCommAddress), 1);
    EXPECT_EQ(mem.Get(vimo::sim::kCommPlantCode), 11);
    EXPECT_EQ(mem.Get(vimo::sim::kCommBaudCode), 2);
    EXPECT_EQ(mem.Get(vimo::sim::kMainBase), 85);  // the file's byte 0 went over it
}

// Under the relay program the frames go through the mailbox files, and the
// link parameters a newer panel is given are the relay's.
TEST_F(PanelTransfer, RelaySendGivesTheRelaysLinkParameters) {
    std::ofstream(t.folder.File("Par_app.tmp"), std::ios::binary) << "PATH=X\r\nCODI=7\r\nBAUD=2400\r\n";
    ReadRelayParameters(t.s, "TW", t.folder.Path());
    ASSERT_TRUE(t.s.settings.FileLinkMode);
    t.s.settings.PlantCode = "11";
    t.s.settings.BaudRate = "9600";
    panel->SetPlantCode(7);
    // The relay program: the tool's frame to the panel, the panel's reply
    // back once the tool has taken the previous one.
    Bytes unsent;
    t.ui.onProcessEvents = [&] {
        const int64_t now = line->NowMs();
        if (auto frame = vimo::sim::TakeMailbox(t.s.link.MailboxTxPath)) panel->Feed(*frame, now);
        panel->Advance(now);
        const Bytes out = panel->TakeOutput(now);
        unsent.insert(unsent.end(), out.begin(), out.end());
        if (!unsent.empty() && panel->OutputPending() == 0 && vimo::sim::MailboxEmpty(t.s.link.MailboxRxPath) &&
            vimo::sim::PutMailbox(t.s.link.MailboxRxPath, unsent))
            unsent.clear();
    };

    vimo::sim::FileSet set = panel->ExportFileSet();
    set.cy2[0] = 86;
    WriteFiles(Base("RELAY"), set);
    panel->Mem().Set(vimo::sim::kMainBase, 86);
    ASSERT_EQ(Send(Base("RELAY"), 1), 255) << t.ui.AllMessages();
    EXPECT_EQ(line->OpenCount(), 0) << "the serial port is not used";
    auto& mem = panel->Mem();
    EXPECT_EQ(mem.Get(vimo::sim::kCommAddress), 1);
    EXPECT_EQ(mem.Get(vimo::sim::kCommPlantCode), 7);
    EXPECT_EQ(mem.Get(vimo::sim::kCommBaudCode), 3);
}

TEST_F(PanelTransfer, RefusedOverwriteAsksForAnotherName) {
    WriteAll(Base("KEEP.CY2"), {1, 2, 3});
    WriteAll(Base("KEEP.MY2"), {4, 5, 6});
    t.ui.AnswerNumber(1);
    t.ui.choiceAnswers.push_back(0);
    t.ui.saveFileAnswers = {Base("keep"), Base("KEEP2")};
    t.ui.messageAnswers = {MsgAnswer::No};
    ASSERT_EQ(ReceiveConfiguration(t.s).status, 255) << t.ui.AllMessages();
    EXPECT_EQ(ReadAll(Base("KEEP.CY2")), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadAll(Base("KEEP2.CY2")).size(), 2981u);
    EXPECT_EQ(t.ui.fileRequests.size(), 2u);
    EXPECT_EQ(t.ui.messages.front().text, "0450 " + Base("KEEP.CY2") + "\r\n0451");

    // Refusing and then giving no name ends the command: nothing written,
    // the panel released.
    Script(4, Base("KEEP"), true);
    t.ui.messageAnswers = {MsgAnswer::No};
    EXPECT_NE(ReceiveConfiguration(t.s).status, 255);
    EXPECT_EQ(ReadAll(Base("KEEP.MY2")), (Bytes{4, 5, 6}));
    EXPECT_FALSE(panel->InProgrammingMode());
}

TEST_F(PanelTransfer, MissingPartOnSendSendsNothing) {
    WriteFiles(Base("PART"), panel->ExportFileSet());
    fs::remove(Base("PART.UY2"));
    int writes = panel->Stats().writes;
    EXPECT_NE(Send(Base("part")), 255);
    EXPECT_EQ(panel->Stats().writes, writes);
    EXPECT_EQ(LastText(), "0476 " + Base("PART.UY2") + "\r0477");
    EXPECT_FALSE(panel->InProgrammingMode());

    // The .PY2 alone still goes.
    EXPECT_EQ(Send(Base("part"), 2), 255) << t.ui.AllMessages();
}

TEST_F(PanelTransfer, RefusedCommitStopsTheSend) {
    vimo::sim::FileSet set = vimo::sim::SampleFileSet();
    set.uy2[10] ^= 0x40;  // the logic checksum no longer adds up
    WriteFiles(Base("BAD"), set);
    EXPECT_EQ(Send(Base("BAD"), 3), 170);
    ASSERT_GE(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[t.ui.messages.size() - 2].title, "1388");
    // The logics were written but not taken into use.
    EXPECT_EQ(t.ui.messages.back().text, "1900\r\n\r\n1901 1903\r\n1902 1402");
    EXPECT_FALSE(panel->InProgrammingMode());
}

TEST_F(PanelTransfer, ShortFileIsRefusedBeforeItIsSent) {
    WriteFiles(Base("SHORT"), panel->ExportFileSet());
    WriteAll(Base("SHORT.MY2"), Bytes(1000, 'x'));
    int writes = panel->Stats().writes;
    EXPECT_NE(Send(Base("SHORT"), 4), 255);  // sent all the same when asked
    EXPECT_EQ(panel->Stats().writes, writes);
    // It says how short, not "file access error".
    EXPECT_EQ(LastText(), "SHORT.MY2: 1592 1000 1593 7280\r1607");

    // A truncated main file: what the send needs of it.
    WriteFiles(Base("SHORT"), panel->ExportFileSet());
    Bytes main = ReadAll(Base("SHORT.CY2"));
    main.resize(1500);
    WriteAll(Base("SHORT.CY2"), main);
    Send(Base("SHORT"), 1);
    EXPECT_EQ(panel->Stats().writes, writes);
    EXPECT_EQ(LastText(), "SHORT.CY2: 1592 1500 1593 2112\r1607");
}

// Every chosen file is checked before the first block goes out: a damaged
// one is named, and without a yes nothing reaches the panel.
TEST_F(PanelTransfer, ADamagedSetIsNamedAndSentOnlyOnRequest) {
    vimo::sim::FileSet set = vimo::sim::SampleFileSet();
    set.uy2[10] ^= 0x40;
    WriteFiles(Base("BAD"), set);
    const vimo::sim::FileSet before = panel->ExportFileSet();
    const int writes = panel->Stats().writes;
    t.ui.riskAnswers.push_back(false);
    EXPECT_EQ(Send(Base("BAD")), 16);
    EXPECT_EQ(panel->Stats().writes, writes);
    EXPECT_EQ(panel->ExportFileSet().uy2, before.uy2);
    ASSERT_EQ(t.ui.risks.size(), 1u);
    EXPECT_EQ(t.ui.risks[0].first, RiskTopic::DamagedSet);
    EXPECT_NE(t.ui.risks[0].second.find("1590\r\nBAD.UY2: 1595\r\n\r\n1597"), std::string::npos)
        << t.ui.risks[0].second;
    EXPECT_FALSE(panel->InProgrammingMode());

    // A main file of random bytes carries no panel identification.
    Bytes random(2981);
    uint32_t x = 99;
    for (auto& b : random) b = static_cast<uint8_t>((x = x * 1103515245u + 12345u) >> 16);
    WriteAll(Base("BAD.CY2"), random);
    t.ui.riskAnswers.push_back(false);
    Send(Base("BAD"), 1);
    EXPECT_EQ(panel->Stats().writes, writes);
    EXPECT_NE(t.ui.risks.back().second.find("BAD.CY2: 1596"), std::string::npos) << t.ui.risks.back().second;

    // A sound set is sent without a question.
    WriteFiles(Base("GOOD"), vimo::sim::SampleFileSet());
    EXPECT_EQ(Send(Base("GOOD")), 255) << t.ui.AllMessages();
    EXPECT_EQ(t.ui.risks.size(), 2u);
}

// A second receive into a set being received is refused; a lock left by a
// program that no longer runs is taken over.
TEST_F(PanelTransfer, ASetBeingReceivedIsLocked) {
    panel->LoadSample();
    fs::create_directory(Base("SITE.LOCK"));
    const std::string running = std::to_string(CurrentProcessId()) + "\n";  // this test runs
    WriteAll(Base("SITE.LOCK/pid"), Bytes(running.begin(), running.end()));
    EXPECT_EQ(Receive(Base("site")), 16);
    EXPECT_EQ(LastText(), "1605 " + Base("SITE") + "\r1606");
    EXPECT_FALSE(fs::exists(Base("SITE.CY2")));
    EXPECT_FALSE(panel->InProgrammingMode());

    WriteAll(Base("SITE.LOCK/pid"), Bytes{'9', '9', '9', '9', '9', '9', '9', '9', '9', '\n'});
    EXPECT_EQ(Receive(Base("site")), 255) << t.ui.AllMessages();
    EXPECT_TRUE(fs::exists(Base("SITE.CY2")));
    EXPECT_FALSE(fs::exists(Base("SITE.LOCK")));
    for (const auto& e : fs::directory_iterator(t.folder.Path()))
        EXPECT_EQ(e.path().string().find(".PART"), std::string::npos) << e.path();
}

// DEFAULT is the template of every new set: receiving or copying onto it
// needs a question of its own; a name whose dot would be cut is refused.
TEST_F(PanelTransfer, TheTemplateAndNamesWithADot) {
    panel->LoadSample();
    t.ui.riskAnswers.push_back(false);
    EXPECT_NE(Receive(Base("default")), 255);
    EXPECT_FALSE(fs::exists(Base("DEFAULT.CY2")));
    ASSERT_EQ(t.ui.risks.size(), 1u);
    EXPECT_EQ(t.ui.risks[0].first, RiskTopic::TemplateSet);
    EXPECT_NE(t.ui.risks[0].second.find(Base("DEFAULT") + "\r\n1601\r\n\r\n1602"), std::string::npos);

    WriteFiles(Base("SITE"), panel->ExportFileSet());
    t.ui.riskAnswers.push_back(false);
    t.ui.copyAnswers.push_back({true, Base("site"), Base("Default.cy2")});
    static_cast<void>(CreateCommand(t.s, 1));
    EXPECT_FALSE(fs::exists(Base("DEFAULT.CY2")));
    EXPECT_EQ(t.ui.risks.size(), 2u);

    const std::size_t shown = t.ui.messages.size();
    t.ui.copyAnswers.push_back({true, Base("site"), Base("site.v2")});
    EXPECT_NE(CreateCommand(t.s, 1).status, 255);  // refused, and the dialog (unanswered) ends it
    ASSERT_GT(t.ui.messages.size(), shown);
    EXPECT_EQ(t.ui.messages[shown].text, "1603 site.v2\r1604");
}

TEST_F(PanelTransfer, OpenThePanelAndRefreshItsIdentification) {
    panel->LoadSample();
    t.ui.AnswerNumber(1);
    ASSERT_EQ(OpenConfiguration(t.s, 2).status, 255) << t.ui.AllMessages();
    ASSERT_EQ(t.s.config.ConfigSource, ConfigSource::Panel);
    EXPECT_TRUE(panel->InProgrammingMode());
    EXPECT_EQ(t.s.config.PanelIdent, "VIMO-SYS  ");
    EXPECT_EQ(RefreshConfigView(t.s).status, 255);
    EXPECT_NE(t.ui.identification.find("DEMO UFFICI"), std::string::npos) << t.ui.identification;

    // A panel that stops answering makes the refresh fail.
    panel->SetPlantCode(99);
    EXPECT_NE(RefreshConfigView(t.s).status, 255);
}

// A receive that the panel stops answering half-way leaves the set that was
// there exactly as it was, and no temporary file behind.
TEST_F(PanelTransfer, FailedReceiveLeavesThePreviousSetUntouched) {
    panel->LoadSample();
    vimo::sim::FileSet before = vimo::sim::SampleFileSet();
    for (auto* part : {&before.cy2, &before.py2, &before.uy2, &before.my2})
        for (auto& b : *part) b = static_cast<uint8_t>(b ^ 0x5A);
    WriteFiles(Base("OLD"), before);

    for (int after : {3, 60, 120}) {  // stopped in the .CY2, the .PY2, the .MY2
        vimo::sim::Fault drop;
        drop.kind = vimo::sim::FaultKind::kDrop;
        drop.letters = "L";
        drop.after = after;
        panel->ClearFaults();
        panel->AddFault(drop);
        EXPECT_NE(Receive(Base("OLD")), 255) << after;
        vimo::sim::FileSet now = Files(Base("OLD"));
        EXPECT_EQ(now.cy2, before.cy2) << after;
        EXPECT_EQ(now.py2, before.py2) << after;
        EXPECT_EQ(now.uy2, before.uy2) << after;
        EXPECT_EQ(now.my2, before.my2) << after;
        for (const auto& e : fs::directory_iterator(t.folder.Path()))
            EXPECT_EQ(e.path().string().find(".PART"), std::string::npos) << e.path();
    }

    // Once the panel answers again, the whole set is replaced at once.
    panel->ClearFaults();
    ASSERT_EQ(Receive(Base("OLD")), 255) << t.ui.AllMessages();
    EXPECT_EQ(Files(Base("OLD")).cy2, panel->ExportFileSet().cy2);
    EXPECT_EQ(Files(Base("OLD")).my2, panel->ExportFileSet().my2);
}

// A panel whose clock-program and logic areas are empty (length 0 in its
// directory) still gives its whole configuration; those parts arrive empty.
TEST_F(PanelTransfer, EmptyProgramAndLogicAreasDoNotStopTheReceive) {
    panel->LoadSample();
    auto& mem = panel->Mem();
    for (int entry : {12, 17}) {
        const int at = vimo::sim::kDirectory + 2 * (entry - 1);
        mem.Set(static_cast<uint16_t>(at), 0);
        mem.Set(static_cast<uint16_t>(at + 1), 0);
    }
    ASSERT_EQ(Receive(Base("EMPTY")), 255) << t.ui.AllMessages();
    Bytes py2 = ReadAll(Base("EMPTY.PY2"));
    ASSERT_EQ(py2.size(), 384u);
    EXPECT_EQ(Slice(py2, 0, 350), Bytes(350, 255));
    EXPECT_EQ(ReadAll(Base("EMPTY.UY2")).size(), 2u);
    EXPECT_EQ(ReadAll(Base("EMPTY.MY2")), panel->ExportFileSet().my2);
}

// A send that stops half-way says which parts the panel now holds.
TEST_F(PanelTransfer, InterruptedSendNamesThePartsThatArrived) {
    WriteFiles(Base("SET"), vimo::sim::SampleFileSet());
    vimo::sim::Fault drop;
    drop.kind = vimo::sim::FaultKind::kDrop;
    drop.letters = "J";
    drop.after = 22;  // the .CY2 takes 20 writes; the .PY2 stops on its third
    panel->AddFault(drop);
    EXPECT_NE(Send(Base("SET")), 255);
    ASSERT_FALSE(t.ui.messages.empty());
    EXPECT_EQ(t.ui.messages.back().text, "1900\r\n\r\n1901 1398\r\n1902 1400");
}
