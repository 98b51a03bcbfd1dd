// Create, copy and open a file set, the identification and the date stamp,
// driven through the scripted Ui with the language whose texts are their ids.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "TestFiles.h"
#include "TestSession.h"
#include "transfer/Commands.h"
#include "transfer/DateStamp.h"
#include "config/Files.h"

namespace fs = std::filesystem;
using namespace cfg;
using cfg::test::ReadAll;
using cfg::test::TestSession;
using cfg::test::WriteAll;

namespace {

const char* kExt[] = {".CY2", ".PY2", ".UY2", ".MY2"};

// A session whose program folder holds the DEFAULT set.
struct FileCommands : ::testing::Test {
    TestSession t;
    void SetUp() override {
        for (const char* e : kExt)
            fs::copy_file(std::string(CFG_SOURCE_DIR) + "/data/DEFAULT" + e, t.folder.File(std::string("DEFAULT") + e));
    }
    std::string Base(const std::string& name) { return t.folder.File(name); }
    void Answer(const std::string& source, const std::string& dest) {
        t.ui.copyAnswers.push_back({true, source, dest});
    }
    bool SameAsDefault(const std::string& base) {
        for (const char* e : kExt)
            if (ReadAll(base + e) != ReadAll(t.folder.File(std::string("DEFAULT") + e))) return false;
        return true;
    }
};

}  // namespace

TEST_F(FileCommands, CreateCopiesTheDefaultSet) {
    Answer("", Base("north"));
    EXPECT_EQ(CreateCommand(t.s, 2).status, 255);
    EXPECT_TRUE(SameAsDefault(Base("NORTH")));
    ASSERT_EQ(t.ui.copyRequests.size(), 1u);
    EXPECT_FALSE(t.ui.copyRequests[0].showSource);
    EXPECT_EQ(t.ui.copyRequests[0].caption, "0405");
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(t.ui.messages[0].text, "0419\r\n" + Base("NORTH") + "0420");
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::None);  // nothing is opened

    // The dialog gives the name as typed: the set's own extension is taken
    // off, inner dots stay.
    Answer("", Base("plant.v2.cy2"));
    static_cast<void>(CreateConfiguration(t.s));
    EXPECT_TRUE(SameAsDefault(Base("PLANT.V2")));
}

TEST_F(FileCommands, CreateRefusesAnEmptyNameAndTheTemplate) {
    Answer("", "   ");
    Answer("", t.folder.File("sub/Default"));
    // then the dialog is cancelled
    EXPECT_NE(CreateConfiguration(t.s).status, 255);
    EXPECT_EQ(t.ui.copyRequests.size(), 3u);
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].text, "0408");
    EXPECT_EQ(t.ui.messages[1].text, "0410\r0411");
    EXPECT_TRUE(t.s.events.ExitRequested);
}

TEST_F(FileCommands, CreateOntoAnExistingSetAsksOnce) {
    WriteAll(Base("SITE.CY2"), {1, 2, 3});
    WriteAll(Base("SITE.MY2"), {4, 5, 6});
    Answer("", Base("site"));
    t.ui.messageAnswers = {MsgAnswer::Yes};
    EXPECT_EQ(CreateConfiguration(t.s).status, 255);
    EXPECT_TRUE(SameAsDefault(Base("SITE")));
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(t.ui.messages[0].text, "0417 " + Base("SITE.CY2") + "\r\n0418");
}

TEST_F(FileCommands, RefusedOverwriteKeepsTheSet) {
    WriteAll(Base("SITE.PY2"), {9, 9});
    Answer("", Base("SITE"));
    t.ui.messageAnswers = {MsgAnswer::No};
    EXPECT_NE(CreateConfiguration(t.s).status, 255);
    // The .CY2 before it was new and is written; the .PY2 stays as it was.
    EXPECT_TRUE(fs::exists(Base("SITE.CY2")));
    EXPECT_EQ(ReadAll(Base("SITE.PY2")), (std::vector<uint8_t>{9, 9}));
    EXPECT_FALSE(fs::exists(Base("SITE.UY2")));
    EXPECT_EQ(t.ui.messages.size(), 1u);  // the question, no information box
}

TEST_F(FileCommands, MissingTemplatePartWritesNothing) {
    fs::remove(t.folder.File("DEFAULT.UY2"));
    Answer("", Base("NEW"));
    EXPECT_NE(CreateConfiguration(t.s).status, 255);
    for (const char* e : kExt) EXPECT_FALSE(fs::exists(Base(std::string("NEW") + e)));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "1402 \r" + t.folder.File("DEFAULT.UY2") + "1405");
}

TEST_F(FileCommands, CopyChecksBothNamesAndTheSource) {
    Answer("", Base("B"));
    Answer(Base("DEFAULT"), "");
    Answer(Base("NOPE"), Base("B"));  // a missing source part ends the command
    EXPECT_NE(CopyConfiguration(t.s).status, 255);
    EXPECT_FALSE(fs::exists(Base("B.CY2")));
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[0].text, "0426");
    EXPECT_EQ(t.ui.messages[1].text, "0427");
    EXPECT_EQ(t.ui.messages[2].text, "1398 \r" + Base("NOPE.CY2") + "1405");

    Answer(t.folder.File("Default"), Base("copy"));
    EXPECT_EQ(CreateCommand(t.s, 1).status, 255);
    EXPECT_TRUE(SameAsDefault(Base("COPY")));
    EXPECT_EQ(t.ui.messages.back().text, "0434");
}

TEST_F(FileCommands, OpenFileSetWithAMissingPart) {
    static_cast<void>(CreateCommand(t.s, 2));  // no answer: cancelled
    Answer("", Base("plant"));
    static_cast<void>(CreateConfiguration(t.s));
    fs::remove(Base("PLANT.MY2"));
    t.ui.messages.clear();

    t.ui.openFileAnswers = {Base("plant.Cy2")};
    static_cast<void>(OpenConfiguration(t.s, 1));
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::File);
    EXPECT_EQ(t.s.config.ConfigFileName, Base("PLANT"));
    ASSERT_EQ(t.ui.messages.size(), 1u);
    EXPECT_EQ(t.ui.messages[0].text, "1404 \r" + Base("PLANT.MY2") + "1405");
    EXPECT_EQ(t.ui.fileRequests.back().title, "1141");
    // The trailer gives the version.
    EXPECT_EQ(t.s.config.PanelVersionText, "2.10 ");
    EXPECT_DOUBLE_EQ(t.s.config.PanelVersion, 2.1);
    EXPECT_EQ(t.s.config.PanelReleaseCode, "12/05/04");
}

TEST_F(FileCommands, OpenRefusesTheTemplateAndAMissingMainFile) {
    t.ui.openFileAnswers = {t.folder.File("default.cy2"), Base("GHOST"), ""};
    static_cast<void>(OpenConfiguration(t.s, 1));
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::None);
    static_cast<void>(OpenConfiguration(t.s, 1));
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::None);
    EXPECT_TRUE(t.s.config.ConfigFileName.empty());
    static_cast<void>(OpenConfiguration(t.s, 1));
    EXPECT_EQ(t.s.config.ConfigSource, ConfigSource::None);
    ASSERT_EQ(t.ui.messages.size(), 2u);
    EXPECT_EQ(t.ui.messages[0].text, "1143\r1144");
    EXPECT_EQ(t.ui.messages[1].text, "1398 \r" + Base("GHOST.CY2") + "1405");
}

// A blank trailer gives a version of five blanks worth 0.
TEST_F(FileCommands, BlankTrailerAndIdentification) {
    Answer("", Base("P"));
    static_cast<void>(CreateConfiguration(t.s));
    auto cy2 = ReadAll(Base("P.CY2"));
    std::fill(cy2.begin() + 2968, cy2.end(), ' ');
    const std::string name = "MUSEO CIVICO";
    std::copy(name.begin(), name.end(), cy2.begin() + 192);
    WriteAll(Base("P.CY2"), cy2);
    t.s.config.ConfigFileName = Base("P");
    t.s.config.ConfigSource = ConfigSource::File;
    static_cast<void>(RefreshConfigView(t.s));
    EXPECT_EQ(t.s.config.PanelVersionText, "     ");
    EXPECT_EQ(t.s.config.PanelVersion, 0);
    EXPECT_EQ(t.s.config.InstallationName, "MUSEO CIVICO       ");
    EXPECT_EQ(t.ui.identification, "P  MUSEO CIVICO");  // the set's name first
}

TEST_F(FileCommands, DateStampOnAFileSet) {
    Answer("", Base("P"));
    static_cast<void>(CreateConfiguration(t.s));
    t.s.config.ConfigFileName = Base("P");
    t.s.config.ConfigSource = ConfigSource::File;
    t.clock.SetDate(2027, 3, 9, 2);
    t.s.config.DateStamped = false;
    EXPECT_TRUE(StampDate(t.s).Done());
    EXPECT_TRUE(t.s.config.DateStamped);
    EXPECT_EQ(t.s.config.LastChangeDate, "09-03-27");
    auto cy2 = ReadAll(Base("P.CY2"));
    EXPECT_EQ(std::string(cy2.begin() + 211, cy2.begin() + 219), "09-03-27");
    EXPECT_EQ(cy2.size(), 2981u);
    EXPECT_NE(t.ui.identification.find("09-03-27"), std::string::npos);

    // Already stamped: nothing is written.
    t.clock.SetDate(2028, 1, 1, 6);
    EXPECT_TRUE(StampDate(t.s).Done());
    cy2 = ReadAll(Base("P.CY2"));
    EXPECT_EQ(std::string(cy2.begin() + 211, cy2.begin() + 219), "09-03-27");
}

// A set whose main file went missing: the refresh and the stamp say they
// failed (once each, in the file box) and the set is not marked stamped.
TEST_F(FileCommands, RefreshAndStampOfASetWhoseMainFileIsGone) {
    Answer("", Base("P"));
    static_cast<void>(CreateConfiguration(t.s));
    t.s.config.ConfigFileName = Base("P");
    t.s.config.ConfigSource = ConfigSource::File;
    t.s.config.DateStamped = false;
    std::filesystem::remove(Base("P.CY2"));
    t.ui.messages.clear();
    const OpResult refreshed = RefreshConfigView(t.s);
    EXPECT_EQ(refreshed.status, status::kNoSource);
    EXPECT_NE(refreshed.error, 0);
    EXPECT_FALSE(StampDate(t.s).Done());
    EXPECT_FALSE(t.s.config.DateStamped);
    EXPECT_EQ(t.ui.messages.size(), 2u) << t.ui.AllMessages();

    t.s.config.ConfigSource = ConfigSource::None;
    EXPECT_EQ(StampDate(t.s).status, status::kNoSource);
}
