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
    s.CurrentLanguage = "Extra";
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
    EXPECT_EQ(s.CurrentLanguage, "Italiano");
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
    s.ProgramFolder = f.Path();
    EXPECT_TRUE(FillLanguages(s).empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kNoLanguageFileMessage);
    EXPECT_EQ(GetText(s, 1), "");
}

}  // namespace
}  // namespace cfg::test
