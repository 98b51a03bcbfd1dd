// The settings file: private-profile reads and in-place writes, defaults and
// the settings menu rules.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestSession.h"
#include "shell/Settings.h"

namespace cfg::test {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ProfileTest, ReadsSectionsAndKeysWithoutRegardToCase) {
    TempFolder f;
    std::string ini = f.File("a.ini");
    WriteAll(ini, "; comment\r\n[Startup]\r\n  serial = COM3  \r\nBaud=\"4800\"\r\n[Other]\r\nSerial=COM9\r\n");
    EXPECT_EQ(GetProfileString(ini, "startup", "Serial", "x"), "COM3");
    EXPECT_EQ(GetProfileString(ini, "STARTUP", "BAUD", "x"), "4800");
    EXPECT_EQ(GetProfileString(ini, "startup", "Nbit", "8"), "8");
    EXPECT_EQ(GetProfileString(f.File("missing.ini"), "startup", "Serial", "COM1"), "COM1");
}

TEST(ProfileTest, LongValuesAreCutAt255) {
    TempFolder f;
    std::string ini = f.File("a.ini");
    WriteAll(ini, "[s]\nk=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(GetProfileString(ini, "s", "k", "").size(), 255u);
}

TEST(ProfileTest, WhatIsReadWritesBackUnchanged) {
    TempFolder f;
    std::string ini = f.File("a.ini");
    // A stray CR or NUL inside a line ends the value; blanks and quotes that
    // belong to a value survive a write and a second read.
    WriteAll(ini, std::string("[s]\r\na=4 \r\0\x30\r\nb=\" x \"\r\nc=\"\"q\"\"\r\n", 32));
    for (const char* key : {"a", "b", "c"}) {
        std::string v = GetProfileString(ini, "s", key, "?");
        ASSERT_TRUE(WriteProfileString(ini, "s", key, v));
        EXPECT_EQ(GetProfileString(ini, "s", key, "?"), v) << key;
    }
    EXPECT_EQ(GetProfileString(ini, "s", "a", "?"), "4");
    EXPECT_EQ(GetProfileString(ini, "s", "b", "?"), " x ");
    EXPECT_EQ(GetProfileString(ini, "s", "c", "?"), "\"q\"");
}

TEST(ProfileTest, WriteUpdatesInPlaceAndKeepsTheRest) {
    TempFolder f;
    std::string ini = f.File("a.ini");
    WriteAll(ini, "; keep me\r\n[startup]\r\nSerial=COM1\r\nBaud=9600\r\n\r\n[Language]\r\nCurrentLanguage=Italiano\r\n");
    ASSERT_TRUE(WriteProfileString(ini, "startup", "Baud", "2400"));
    ASSERT_TRUE(WriteProfileString(ini, "startup", "Codimp", "12"));
    ASSERT_TRUE(WriteProfileString(ini, "New", "Key", "v"));
    EXPECT_EQ(ReadAll(ini),
              "; keep me\r\n[startup]\r\nSerial=COM1\r\nBaud=2400\r\nCodimp=12\r\n\r\n[Language]\r\n"
              "CurrentLanguage=Italiano\r\n[New]\r\nKey=v\r\n");
}

TEST(SettingsTest, FirstStartCreatesTheFileAndTakesTheDefaults) {
    TestSession t;
    LoadSettings(t.s);
    EXPECT_EQ(ReadAll(SettingsFilePath(t.s)), "    \n");
    EXPECT_EQ(t.s.settings.CommPortName, "COM1");
    EXPECT_EQ(t.s.settings.BaudRate, "9600");
    EXPECT_EQ(t.s.settings.DataBits, "8");
    EXPECT_EQ(t.s.settings.ParityName, "NO PARITY");
    EXPECT_EQ(t.s.settings.StopBits, "1");
    EXPECT_EQ(t.s.settings.PlantCode, "11");
    EXPECT_EQ(t.s.settings.CurrentLanguage, "Italiano");
    EXPECT_EQ(t.ui.settingsLabel, "COM1  9600  11");
}

TEST(SettingsTest, ChangesRoundTripThroughTheFile) {
    TestSession t;
    LoadSettings(t.s);
    ChoosePort(t.s, "/dev/ttyUSB0");
    ChooseBaud(t.s, "4800");
    t.ui.AnswerNumber(42);
    EXPECT_TRUE(ChoosePlantCode(t.s));
    t.s.settings.CurrentLanguage = "English";
    SaveSettings(t.s);

    Session other(t.ui, t.clock);
    other.settings.ProgramFolder = t.s.settings.ProgramFolder;
    LoadSettings(other);
    EXPECT_EQ(other.settings.CommPortName, "/dev/ttyUSB0");
    EXPECT_EQ(other.settings.ParityName, "N");  // a port choice resets the frame format to 8/N/1
    EXPECT_EQ(other.settings.BaudRate, "4800");
    EXPECT_EQ(other.settings.PlantCode, "42");
    EXPECT_EQ(other.settings.CurrentLanguage, "English");
    EXPECT_EQ(t.ui.settingsLabel, "/dev/ttyUSB0  4800  42");
}

TEST(SettingsTest, PlantCodeOutsideTheRangeOrCancelledChangesNothing) {
    TestSession t;
    LoadSettings(t.s);
    t.ui.AnswerNumber(224);
    t.ui.AnswerNumber(-1);
    t.ui.Cancel();
    EXPECT_FALSE(ChoosePlantCode(t.s));
    EXPECT_FALSE(ChoosePlantCode(t.s));
    EXPECT_FALSE(ChoosePlantCode(t.s));
    EXPECT_EQ(t.s.settings.PlantCode, "11");
    ASSERT_EQ(t.ui.valueRequests.size(), 3u);
    EXPECT_EQ(t.ui.valueRequests[0].title, "0002");
    EXPECT_EQ(t.ui.valueRequests[0].minimum, 0);
    EXPECT_EQ(t.ui.valueRequests[0].maximum, 223);
    EXPECT_EQ(t.ui.valueRequests[0].initialText, "11");
    t.ui.AnswerNumber(223);
    EXPECT_TRUE(ChoosePlantCode(t.s));
    EXPECT_EQ(t.s.settings.PlantCode, "223");
}

TEST(SettingsTest, RelayModeShowsTheRelayValues) {
    TestSession t;
    LoadSettings(t.s);
    t.s.settings.FileLinkMode = true;
    t.s.settings.RelayBaudRate = "1200";
    t.s.settings.RelayPlantCode = "7";
    EXPECT_EQ(SettingsCaption(t.s.settings), "COM1  1200  7");
}

}  // namespace
}  // namespace cfg::test
