// Backups: the names of backup sets and their list, the backup kept after
// every receive, and the one taken before a send when the installer chose
// it, against the in-process simulated panel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "TestFiles.h"
#include "TestSession.h"
#include "config/Files.h"
#include "shell/FileNames.h"
#include "shell/Settings.h"
#include "sim/Faults.h"
#include "sim/FileSet.h"
#include "sim/loopback/LoopbackTransport.h"
#include "transfer/Backups.h"
#include "transfer/Commands.h"

namespace fs = std::filesystem;
using namespace cfg;
using cfg::test::ReadAll;
using cfg::test::TestSession;
using cfg::test::WriteAll;

namespace {

const char* kExt[] = {".CY2", ".PY2", ".UY2", ".MY2"};

DateTime At(int y, int mo, int d, int h, int mi, int s) {
    DateTime t;
    t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi, t.second = s;
    return t;
}

// A main file whose identification block holds `installation` and `serial`.
void WriteMainFile(const std::string& path, const std::string& installation, const std::string& serial) {
    std::vector<uint8_t> bytes(kMainFileSize, ' ');
    for (std::size_t i = 0; i < installation.size(); ++i) bytes[kIdentBlockOffset + i] = static_cast<uint8_t>(installation[i]);
    for (std::size_t i = 0; i < serial.size(); ++i) bytes[kIdentBlockOffset + 27 + i] = static_cast<uint8_t>(serial[i]);
    WriteAll(path, bytes);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

TEST(BackupNames, NameAndParseAgree) {
    const DateTime when = At(2026, 12, 5, 23, 4, 9);
    EXPECT_EQ(BackupSetName("Hotel  Miramare/2", "VS24000137", when, 0, BackupReason::Received),
              "HOTEL-MIRAMARE-2_VS24000137_20261205-230409_RECEIVED");
    // Blank or unprintable identification says so; a second set of the same
    // second is told apart.
    EXPECT_EQ(BackupSetName("   ", "\xFF\xFF  ", when, 2, BackupReason::BeforeSend),
              "NO-NAME_NO-SERIAL_20261205-230409-2_BEFORE-SEND");

    BackupEntry e;
    ASSERT_TRUE(ParseBackupName("hotel-miramare-2_VS24000137_20261205-230409_RECEIVED", e));
    EXPECT_EQ(e.installation, "HOTEL-MIRAMARE-2");
    EXPECT_EQ(e.serial, "VS24000137");
    EXPECT_EQ(e.when.year, 2026);
    EXPECT_EQ(e.when.month, 12);
    EXPECT_EQ(e.when.day, 5);
    EXPECT_EQ(e.when.hour, 23);
    EXPECT_EQ(e.when.minute, 4);
    EXPECT_EQ(e.when.second, 9);
    EXPECT_EQ(e.reason, BackupReason::Received);
    ASSERT_TRUE(ParseBackupName("NO-NAME_NO-SERIAL_20261205-230409-2_BEFORE-SEND", e));
    EXPECT_EQ(e.installation, "");
    EXPECT_EQ(e.serial, "");
    EXPECT_EQ(e.sequence, 2);
    EXPECT_EQ(e.reason, BackupReason::BeforeSend);

    for (const char* other : {"PLANT", "A_B_20261205-230409_SENT", "A_B_20261305-230409_RECEIVED",
                              "A_B_20261205-2304_RECEIVED", "_B_20261205-230409_RECEIVED",
                              "A__20261205-230409_RECEIVED", "A_B_20260230-230409_RECEIVED"})
        EXPECT_FALSE(ParseBackupName(other, e)) << other;
}

TEST(BackupNames, ListIsNewestFirstWithTheSetsOwnIdentification) {
    cfg::test::TempFolder folder;
    const std::string f = folder.Path();
    WriteMainFile(f + "/OLD_VS1_20251231-235959_RECEIVED.CY2", "Old site", "VS1");
    WriteMainFile(f + "/SCUOLA-ELEM_VS2_20261205-080000_BEFORE-SEND.CY2", "Scuola elem.", "VS2");
    WriteAll(f + "/SCUOLA-ELEM_VS2_20261205-080000_BEFORE-SEND.PY2", {1});
    WriteMainFile(f + "/SCUOLA-ELEM_VS2_20261205-080000-1_RECEIVED.CY2", "Scuola elem.", "VS2");
    WriteMainFile(f + "/NO-NAME_NO-SERIAL_20260101-000000_RECEIVED.CY2", "", "");
    WriteMainFile(f + "/PLANT.CY2", "Not a backup", "");
    WriteAll(f + "/LONE_VS3_20270101-000000_RECEIVED.MY2", {1});  // no main file

    std::vector<BackupEntry> list = ListBackups(f);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(BaseNameOf(list[0].path), "SCUOLA-ELEM_VS2_20261205-080000-1_RECEIVED");
    EXPECT_EQ(BaseNameOf(list[1].path), "SCUOLA-ELEM_VS2_20261205-080000_BEFORE-SEND");
    EXPECT_EQ(BaseNameOf(list[2].path), "NO-NAME_NO-SERIAL_20260101-000000_RECEIVED");
    EXPECT_EQ(BaseNameOf(list[3].path), "OLD_VS1_20251231-235959_RECEIVED");
    // The name as the main file spells it, and the parts present.
    EXPECT_EQ(list[1].installation, "Scuola elem.");
    EXPECT_TRUE(list[1].parts[1] && list[1].parts[2]);
    EXPECT_FALSE(list[1].parts[3] || list[1].parts[4]);
    EXPECT_EQ(list[2].installation, "");
    EXPECT_EQ(list[2].serial, "");

    TestSession t;
    BackupListView view = MakeBackupListView(t.s, f, list);
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(view.rows[1].date, "05/12/2026 08:00:00");
    EXPECT_EQ(view.rows[1].reason, "1708");
    EXPECT_EQ(view.rows[1].parts, "CY2 PY2");
    EXPECT_EQ(view.rows[2].installation, "1710");
    EXPECT_EQ(view.rows[2].panel, "1709");
    EXPECT_EQ(view.columns.size(), 5u);
}

TEST(BackupFolder, FollowsTheSettingsFileAndItsKey) {
    TestSession t;
    const std::string settingsFolder = FolderOf(SettingsFilePath(t.s));
    EXPECT_EQ(BackupFolder(t.s), JoinPath(settingsFolder, "backups"));
    ASSERT_TRUE(SetBackupFolder(t.s, "archive/old"));
    EXPECT_EQ(BackupFolder(t.s), JoinPath(settingsFolder, "archive/old"));
    t.ui.folderAnswers = {t.folder.File("elsewhere")};
    EXPECT_TRUE(ChooseBackupFolder(t.s));
    EXPECT_EQ(BackupFolder(t.s), t.folder.File("elsewhere"));
    // This run's own folder wins without being kept.
    t.s.settings.backups.folder = "/somewhere/else";
    EXPECT_EQ(BackupFolder(t.s), "/somewhere/else");
    t.s.settings.backups.folder.clear();
    EXPECT_EQ(BackupFolder(t.s), t.folder.File("elsewhere"));
}

namespace {

struct PanelBackups : ::testing::Test {
    TestSession t;
    std::unique_ptr<LoopbackTransport> line;
    vimo::sim::Panel* panel = nullptr;

    void SetUp() override {
        line = std::make_unique<LoopbackTransport>(t.clock);
        panel = &line->Panel();
        panel->LoadSample();
        t.s.transport = line.get();
        t.s.settings.PlantCode = "11";
        t.clock.SetTime(9 * 3600 + 30 * 60 + 5);
        // The choice before a send as the desktop program makes it: kept in
        // the settings file, asked once.
        t.s.settings.backups.beforeSend.reset();
    }
    std::string Base(const std::string& name) { return t.folder.File(name); }
    std::string Folder() { return BackupFolder(t.s); }
    // The status the receive ended with.
    int Receive(const std::string& name, int choice = 0) {
        t.ui.AnswerNumber(1);
        t.ui.choiceAnswers.push_back(choice);
        t.ui.saveFileAnswers.push_back(name);
        return ReceiveConfiguration(t.s).status;
    }
    // The status the send ended with.
    int Send(const std::string& name, int choice = 0) {
        t.ui.AnswerNumber(1);
        t.ui.choiceAnswers.push_back(choice);
        t.ui.openFileAnswers.push_back(name);
        return SendConfiguration(t.s).status;
    }
    void WriteSet(const std::string& base, const vimo::sim::FileSet& f) {
        std::string error;
        ASSERT_TRUE(vimo::sim::WriteFileSet(base, f, error)) << error;
    }
    // A set like the panel's with other display texts.
    std::string ChangedSet() {
        vimo::sim::FileSet f = panel->ExportFileSet();
        for (std::size_t i = 0; i < 16; ++i) f.my2[i] = 'Z';
        WriteSet(Base("NEW"), f);
        return Base("NEW");
    }
};

}  // namespace

TEST_F(PanelBackups, ReceiveKeepsABackupBesideTheSettingsFile) {
    ASSERT_EQ(Receive(Base("site")), 255) << t.ui.AllMessages();
    EXPECT_EQ(Folder(), t.folder.File("backups"));
    std::vector<BackupEntry> list = ListBackups(Folder());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(BaseNameOf(list[0].path), "DEMO-UFFICI-ROMA_VS24000137_20261205-093005_RECEIVED");
    EXPECT_EQ(list[0].installation, "DEMO UFFICI ROMA");
    for (const char* e : kExt) EXPECT_EQ(ReadAll(list[0].path + e), ReadAll(Base("SITE") + e)) << e;
    // Nothing of the staging is left, and the receive said it was done.
    EXPECT_EQ(FilesIn(Folder()).size(), 4u);
    EXPECT_EQ(t.ui.messages.back().text, "0460");

    // A second receive in the same second gets a set of its own.
    Receive(Base("site"));
    list = ListBackups(Folder());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].sequence, 1);

    // A backup before a send within that same second is still the newest.
    SetBackupBeforeSend(t.s, true);
    ASSERT_EQ(Send(ChangedSet(), 4), 255) << t.ui.AllMessages();
    list = ListBackups(Folder());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].reason, BackupReason::BeforeSend);
    EXPECT_EQ(list[0].sequence, 2);
}

TEST_F(PanelBackups, ReceivingOnePartBacksUpTheMainFileToo) {
    ASSERT_EQ(Receive(Base("texts"), 4), 255) << t.ui.AllMessages();
    EXPECT_FALSE(fs::exists(Base("TEXTS.CY2")));
    std::vector<BackupEntry> list = ListBackups(Folder());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].parts[1] && list[0].parts[4]);
    EXPECT_FALSE(list[0].parts[2] || list[0].parts[3]);
    EXPECT_EQ(ReadAll(list[0].path + ".CY2"), panel->ExportFileSet().cy2);
    EXPECT_EQ(ReadAll(list[0].path + ".MY2"), ReadAll(Base("TEXTS.MY2")));
}

TEST_F(PanelBackups, FailedReceiveKeepsNoBackup) {
    vimo::sim::Fault drop;
    drop.kind = vimo::sim::FaultKind::kDrop;
    drop.letters = "L";
    drop.after = 40;
    panel->AddFault(drop);
    EXPECT_NE(Receive(Base("site")), 255);
    EXPECT_TRUE(ListBackups(Folder()).empty());
    EXPECT_TRUE(FilesIn(Folder()).empty());
}

TEST_F(PanelBackups, BackupBeforeSendOnlyWhenChosen) {
    const vimo::sim::FileSet before = panel->ExportFileSet();
    const std::string set = ChangedSet();

    SetBackupBeforeSend(t.s, false);
    ASSERT_EQ(Send(set), 255) << t.ui.AllMessages();
    EXPECT_TRUE(ListBackups(Folder()).empty());

    // Chosen: the parts about to be overwritten (and the main file), as the
    // panel held them before the send.
    panel->LoadSample();
    SetBackupBeforeSend(t.s, true);
    ASSERT_EQ(Send(set, 4), 255) << t.ui.AllMessages();
    std::vector<BackupEntry> list = ListBackups(Folder());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].reason, BackupReason::BeforeSend);
    EXPECT_EQ(ReadAll(list[0].path + ".MY2"), before.my2);
    EXPECT_EQ(ReadAll(list[0].path + ".CY2"), before.cy2);
    EXPECT_FALSE(list[0].parts[2] || list[0].parts[3]);
    EXPECT_EQ(panel->ExportFileSet().my2, ReadAll(set + ".MY2"));

    // This run's own choice wins over the kept one.
    t.s.settings.backups.beforeSend = false;
    Send(set);
    EXPECT_EQ(ListBackups(Folder()).size(), 1u);
    EXPECT_TRUE(t.ui.messages.size() > 0);
    for (const auto& m : t.ui.messages) EXPECT_EQ(m.text.find("1714"), std::string::npos);
}

TEST_F(PanelBackups, TheQuestionBeforeASendIsAskedOnceAndKept) {
    const std::string set = ChangedSet();
    t.ui.messageAnswers = {MsgAnswer::No};
    ASSERT_EQ(Send(set), 255) << t.ui.AllMessages();
    EXPECT_EQ(t.ui.messages.front().text, "1714\r\n\r\n1715");
    EXPECT_EQ(t.ui.messages.front().buttons, MsgButtons::YesNo);
    EXPECT_EQ(RememberedBackupBeforeSend(t.s), std::optional<bool>(false));
    t.ui.messages.clear();
    Send(set);
    EXPECT_EQ(t.ui.AllMessages().find("1714"), std::string::npos);
    EXPECT_TRUE(ListBackups(Folder()).empty());
}

TEST_F(PanelBackups, WithoutItsBackupNothingIsSent) {
    const vimo::sim::FileSet before = panel->ExportFileSet();
    const std::string set = ChangedSet();
    SetBackupBeforeSend(t.s, true);
    // A file where the folder should be: the backup cannot be written.
    WriteAll(t.folder.File("blocked"), {1});
    t.s.settings.backups.folder = t.folder.File("blocked");
    EXPECT_NE(Send(set), 255);
    EXPECT_EQ(panel->ExportFileSet().my2, before.my2);
    EXPECT_NE(t.ui.AllMessages().find("1717"), std::string::npos);
    EXPECT_EQ(t.ui.messages.back().text, "1718");
    EXPECT_FALSE(panel->InProgrammingMode());
}

TEST_F(PanelBackups, ABackupOpensLikeAFileSet) {
    static_cast<void>(OpenConfiguration(t.s, 3));  // none yet: the folder is named
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::None);
    EXPECT_EQ(t.ui.messages.back().text, "1713\r\n" + Folder());
    EXPECT_TRUE(t.ui.backupLists.empty());

    Receive(Base("site"), 4);
    t.clock.Advance(60);
    Receive(Base("site"));
    t.ui.backupChoices = {1};
    t.ui.messages.clear();
    static_cast<void>(OpenConfiguration(t.s, 3));
    ASSERT_EQ(t.ui.backupLists.size(), 1u);
    ASSERT_EQ(t.ui.backupLists[0].rows.size(), 2u);
    EXPECT_EQ(t.ui.backupLists[0].rows[0].date, "05/12/2026 09:31:05");
    EXPECT_EQ(t.ui.backupLists[0].rows[1].parts, "CY2 MY2");
    // The older set, with two parts only, opens without alerts for the others.
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::File);
    EXPECT_EQ(t.s.config.ConfigFileName, t.ui.backupLists[0].rows[1].path);
    EXPECT_TRUE(t.ui.messages.empty()) << t.ui.AllMessages();
    EXPECT_EQ(t.s.config.InstallationName.substr(0, 16), "DEMO UFFICI ROMA");
}
