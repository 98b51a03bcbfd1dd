// Language files: the text table, direct file look-ups and form keys.
#include <gtest/gtest.h>

#include <fstream>

#include "TestSession.h"
#include "shell/Language.h"
#include "shell/Settings.h"

namespace cfg::test {
namespace {

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class LanguageTest : public ::testing::Test {
protected:
    TestSession t;
    Session& s = t.s;
    std::string Load(const std::string& text) {
        std::string path = t.folder.File("L.lng");
        WriteAll(path, text);
        LoadLanguageFile(s, path);
        return path;
    }
};

TEST_F(LanguageTest, LineRules) {
    Load("0001=before the section\r\n"
         "[Strings]\r\n"
         "0002=  leading blanks stay, trailing go   \r\n"
         "0000=zero is ignored\r\n"
         "abc=not a number\r\n"
         "=0003 starts with equals\r\n"
         "0004=\r\n"
         "0005=" + std::string(140, 'x') + "\r\n"
         "[FRMCfgvimo]\r\n"
         "CMDOk.Caption=OK\r\n"
         "0006=after another section header\r\n"
         "0007=Perch\xC3\xA8 " + std::string(130, 'y') + "\r\n");
    EXPECT_EQ(GetText(s, 1), "");
    EXPECT_EQ(GetText(s, 2), "  leading blanks stay, trailing go");
    EXPECT_EQ(GetText(s, 3), "");
    EXPECT_EQ(GetText(s, 4), "");
    EXPECT_EQ(GetText(s, 5), std::string(128, 'x'));
    EXPECT_EQ(GetText(s, "0006"), "after another section header");
    // 128 characters, not bytes: the accented letter counts once.
    EXPECT_EQ(GetText(s, 7), "Perch\xC3\xA8 " + std::string(121, 'y'));
}

TEST_F(LanguageTest, AnIdentifierAbove2000EndsTheLoading) {
    Load("[Strings]\n0010=kept\n2001=stops here\n0011=never read\n");
    EXPECT_EQ(GetText(s, 10), "kept");
    EXPECT_EQ(GetText(s, 11), "");
}

TEST_F(LanguageTest, NoStringsSectionLeavesTheTableEmpty) {
    Load("0010=x\n");
    EXPECT_EQ(GetText(s, 10), "");
}

TEST_F(LanguageTest, IdsOutsideTheTableAreReadFromTheFile) {
    s.settings.CurrentLanguage = "Extra";
    WriteAll(t.folder.File("Extra.lng"), "\xEF\xBB\xBF[Strings]\n0012=twelve\n2001=beyond\n0=zero\n");
    EXPECT_EQ(GetText(s, "2001"), "beyond");
    EXPECT_EQ(GetText(s, "0"), "zero");
    EXPECT_EQ(GetText(s, 2001), "beyond");
    EXPECT_EQ(GetText(s, "12"), "0012");  // ids 1..2000 always come from the loaded table
}

TEST_F(LanguageTest, LargeFilesAreScannedWithoutSections) {
    std::string big = "[FRMInput]\nCMDOk.Caption=First\n[Strings]\n";
    while (big.size() < 64001) big += "; padding line to make the file large enough\n";
    big += "[FRMMenu]\nCMDOk.Caption=Second\nLabel.Caption=value\n";
    std::string path = t.folder.File("Big.lng");
    WriteAll(path, big);
    EXPECT_EQ(ReadLanguageEntry(path, "FRMMenu", "CMDOk.Caption"), "First");
    EXPECT_EQ(ReadLanguageEntry(path, "FRMMenu", "Label.Caption"), "value");
    EXPECT_EQ(ReadLanguageEntry(path, "FRMMenu", "Missing.Caption"), "");

    std::string small = "[FRMInput]\nCMDOk.Caption=First\n[FRMMenu]\nCMDOk.Caption=Second\n";
    WriteAll(path, small);
    EXPECT_EQ(ReadLanguageEntry(path, "FRMMenu", "CMDOk.Caption"), "Second");
}

// Lines on which the indexed form texts must answer as the profile reader
// does: a byte-order mark before the first section, sections and keys in
// another case, blanks around "=", quotes, comments, a key repeated in a
// later section of the same name, a key that is a prefix of another.
constexpr const char* kTrickyLines =
    "\xEF\xBB\xBF[FRMA]\n"
    "CMDOk.Caption=OK A\n"
    "  cmdok.tooltiptext =  Conferma  \n"
    "; LBLX.Caption=commented out\n"
    "LBLX(3).Caption=\"Tre\"\n"
    "TABS.TabCaption(0)=Primo\r\n"
    "Wide.Caption=\n"
    "[frmb]\n"
    "CMDOk.Caption=OK B\n"
    "CMDOk.CaptionLong=longer key\n"
    "[Strings]\n"
    "2001=beyond\n"
    "[FRMA]\n"
    "CMDOk.Caption=not the first\n"
    "Late.Caption=in a repeated section\n";

TEST_F(LanguageTest, FormTextsFollowTheProfileRulesAndTheFileOnDisk) {
    s.settings.CurrentLanguage = "Tricky";
    const std::string path = t.folder.File("Tricky.lng");
    WriteAll(path, kTrickyLines);
    const std::vector<std::pair<std::string, std::string>> queries = {
        {"FRMA", "CMDOk.Caption"},  {"FRMA", "CMDOK.TOOLTIPTEXT"}, {"frma", "LBLX(3).Caption"},
        {"FRMA", "LBLX.Caption"},   {"FRMA", "TABS.TabCaption(0)"}, {"FRMA", "Wide.Caption"},
        {"FRMB", "CMDOk.Caption"},  {"FRMB", "CMDOk.CaptionLong"}, {"FRMA", "Late.Caption"},
        {"FRMC", "CMDOk.Caption"},  {"Strings", "2001"},           {"FRMA", "Missing.Caption"},
    };
    for (const auto& [section, key] : queries)
        EXPECT_EQ(FormText(s, section, key), GetProfileString(path, section, key, "")) << section << " " << key;
    EXPECT_EQ(FormText(s, "frma", "cmdok.caption"), "OK A");
    EXPECT_EQ(FormText(s, "FRMA", "LBLX(3).Caption"), "Tre");
    EXPECT_EQ(GetText(s, 2001), "beyond");

    // Past 64000 bytes the first line that begins with the key answers,
    // whatever the section.
    std::string big = kTrickyLines;
    while (big.size() < 70000) big += "; padding padding padding padding padding padding\n";
    WriteAll(path, big);
    EXPECT_EQ(FormText(s, "FRMB", "CMDOk.Caption"), "OK A");
    EXPECT_EQ(FormText(s, "FRMA", "Late.Caption"), "in a repeated section");
    EXPECT_EQ(FormText(s, "FRMA", "LBLX(3).Caption"), "\"Tre\"");
    EXPECT_EQ(FormText(s, "FRMA", "cmdok.caption"), "");
    EXPECT_EQ(ReadLanguageEntry(path, "FRMB", "CMDOk.Caption"), "OK A");

    // A file that changes on disk is read again; a missing one answers "".
    WriteAll(path, "[FRMA]\nCMDOk.Caption=changed\n");
    EXPECT_EQ(FormText(s, "FRMA", "CMDOk.Caption"), "changed");
    s.settings.CurrentLanguage = "None";
    EXPECT_EQ(FormText(s, "FRMA", "CMDOk.Caption"), "");
}

TEST_F(LanguageTest, FormKeys) {
    EXPECT_EQ(ControlKey("CMDOk", -1, "Caption"), "CMDOk.Caption");
    EXPECT_EQ(ControlKey("menub5", 3, "Caption"), "menub5(3).Caption");
    EXPECT_EQ(ControlKey("CMDSele", 12, "ToolTipText"), "CMDSele(12).ToolTipText");
    EXPECT_EQ(TabCaptionKey("TABSez", 0), "TABSez.TabCaption(0)");
}

TEST_F(LanguageTest, ListingLoadsTheCurrentLanguageAndSwitchingSavesIt) {
    WriteAll(t.folder.File("Italiano.lng"), "[Strings]\n0001=uno\n");
    WriteAll(t.folder.File("English.LNG"), "[Strings]\n0001=one\n");
    auto names = FillLanguages(s);
    EXPECT_EQ(names, (std::vector<std::string>{"English", "Italiano", "Test"}));
    EXPECT_EQ(s.settings.CurrentLanguage, "Italiano");
    EXPECT_EQ(GetText(s, 1), "uno");

    SwitchLanguage(s, "English");
    EXPECT_EQ(GetText(s, 1), "one");
    EXPECT_EQ(t.ui.translateCalls, 1);
    EXPECT_EQ(GetProfileString(SettingsFilePath(s), "Language", "CurrentLanguage", ""), "English");
}

TEST(LanguageFolderTest, NoLanguageFileShowsTheFixedMessage) {
    ScriptedUi ui;
    FakeClock clock;
    Session s(ui, clock);
    TempFolder f;
    s.settings.ProgramFolder = f.Path();
    EXPECT_TRUE(FillLanguages(s).empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kNoLanguageFileMessage);
    EXPECT_EQ(GetText(s, 1), "");
}

}  // namespace
}  // namespace cfg::test
