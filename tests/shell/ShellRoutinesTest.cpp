// The error handler, the value-input driver, pauses and the file-name helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "TestSession.h"
#include "shell/Clock.h"
#include "shell/ErrorHandler.h"
#include "shell/FileNames.h"
#include "shell/Input.h"
#include "shell/Messages.h"
#include "shell/Shell.h"
#include "shell/Text.h"

namespace cfg::test {
namespace {

TEST(ErrorHandlerTest, MessagesByNumber) {
    TestSession t;
    t.s.settings.CommPortName = "COM7";
    HandleRuntimeError(t.s, 8002, "");
    HandleRuntimeError(t.s, 8005, "");
    HandleRuntimeError(t.s, 53, "File not found");
    ASSERT_EQ(t.ui.messages.size(), 3u);
    EXPECT_EQ(t.ui.messages[0].title, "1391");
    EXPECT_EQ(t.ui.messages[0].text, "1389 COM71390");
    EXPECT_EQ(t.ui.messages[1].title, "1394");
    EXPECT_EQ(t.ui.messages[1].text, "1392 COM71393");
    EXPECT_EQ(t.ui.messages[2].title, "1396");
    EXPECT_EQ(t.ui.messages[2].text, "1395 53\rFile not found");
    EXPECT_EQ(t.ui.messages[2].icon, MsgIcon::Critical);
    EXPECT_EQ(t.s.link.LastErrorNumber, 53);
}

TEST(ErrorHandlerTest, DeviceErrorBeepsAndZeroIsSilent) {
    TestSession t;
    t.s.link.CloseBlocked = true;
    double before = t.clock.SecondsSinceMidnight();
    HandleRuntimeError(t.s, 57, "");
    EXPECT_EQ(t.ui.beeps, 1);
    EXPECT_TRUE(t.s.link.CloseBlocked);  // 57 does not unblock or pause
    EXPECT_EQ(t.clock.SecondsSinceMidnight(), before);

    HandleRuntimeError(t.s, 0, "");
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_FALSE(t.s.link.CloseBlocked);
    EXPECT_GE(t.clock.SecondsSinceMidnight() - before, 5.0);  // the 5-second rest
}

TEST(ErrorHandlerTest, QuietOnlyRecords) {
    TestSession t;
    t.s.link.QuietErrors = true;
    t.s.screen.ScreenLocked = true;
    HandleRuntimeError(t.s, 70, "");
    EXPECT_EQ(t.s.link.LastErrorNumber, 70);
    EXPECT_TRUE(t.ui.messages.empty());
    EXPECT_TRUE(t.s.screen.ScreenLocked);
}

TEST(FileErrorTest, TextsByNumber) {
    TestSession t;
    struct Case { long number; std::string text; int handled; };
    for (const Case& c : {Case{52, "1248", 1}, Case{76, "1248", 1}, Case{53, "1244", 1}, Case{55, "1245", 1},
                          Case{58, "1246", 1}, Case{61, "1247", 0}, Case{70, "1249", 1},
                          Case{71, "12501251", 1}, Case{62, "1252\r1533\r1253 62", 0},
                          Case{99, "1252\r1253 99", 0}}) {
        t.s.link.LastErrorNumber = c.number;
        EXPECT_EQ(ReportFileError(t.s), c.handled) << c.number;
        EXPECT_EQ(t.ui.messages.back().text, c.text) << c.number;
        EXPECT_EQ(t.ui.messages.back().title, "1254");
    }
}

TEST(InputTest, RangeAndNumberChecks) {
    TestSession t;
    long v = -5;
    t.ui.AnswerText(" 12 ");
    EXPECT_EQ(AskNumber(t.s, ValueTopic::Other, "t", "p", 0, 0, 223, v), kInputConfirmed);
    EXPECT_EQ(v, 12);
    for (const char* bad : {"7a", "", "224", "-1", "1.5", "1 2", "+", "."}) {
        t.ui.AnswerText(bad);
        EXPECT_EQ(AskNumber(t.s, ValueTopic::Other, "t", "p", 0, 0, 223, v), 0) << bad;
    }
    t.ui.Cancel();
    EXPECT_EQ(AskNumber(t.s, ValueTopic::Other, "t", "p", 0, 0, 223, v), 0);
    EXPECT_EQ(v, 12);
}

TEST(PauseTest, EndsOnTimeOnBreakAndAtMidnight) {
    TestSession t;
    double start = t.clock.SecondsSinceMidnight();
    PauseSeconds(t.s, 2);
    EXPECT_NEAR(t.clock.SecondsSinceMidnight() - start, 2.0, 0.02);

    t.ui.events = {nullptr, nullptr, [&] { t.s.events.PauseBreak = true; }};
    start = t.clock.SecondsSinceMidnight();
    PauseSeconds(t.s, 100);
    EXPECT_LT(t.clock.SecondsSinceMidnight() - start, 0.1);
    EXPECT_FALSE(t.s.events.PauseBreak);

    t.clock.SetTime(86399.995);
    PauseSeconds(t.s, 100);  // the clock goes back to 0: the pause ends
    EXPECT_LT(t.clock.SecondsSinceMidnight(), 1.0);
}

TEST(FileNamesTest, ResolvesWithoutRegardToCaseInsideTheFolder) {
    TempFolder f;
    std::filesystem::create_directory(f.File("Sub"));
    std::ofstream(f.File("Sub/Plant.cy2")) << "x";
    EXPECT_EQ(ResolveExisting(f.File("Sub/PLANT.CY2")), f.File("Sub/Plant.cy2"));
    EXPECT_EQ(ResolveForWrite(f.File("Sub/NEW.CY2")), f.File("Sub/NEW.CY2"));
    EXPECT_TRUE(FileExists(f.File("Sub/plant.CY2")));
    EXPECT_EQ(ResolveExisting(f.File("Sub/NOTHERE.CY2")), "");
}

// Whether the disk under `folder` finds a file by a name in another case.
bool DiskIgnoresCase(const TempFolder& f) {
    std::ofstream(f.File("case-probe")) << "x";
    return std::filesystem::exists(f.File("CASE-PROBE"));
}

TEST(FileNamesTest, FolderNamesKeepTheirCaseOnACaseSensitiveDisk) {
    TempFolder f;
    if (DiskIgnoresCase(f)) GTEST_SKIP() << "the temporary folder's disk ignores case: every spelling of a folder opens it";
    std::filesystem::create_directory(f.File("Sub"));
    std::ofstream(f.File("Sub/Plant.cy2")) << "x";
    EXPECT_EQ(ResolveExisting(f.File("SUB/PLANT.CY2")), "");
}

// On a disk that ignores case the name typed opens the file, but the name
// given back is the stored one, as on any other disk.
TEST(FileNamesTest, GivesTheStoredSpellingOnACaseInsensitiveDisk) {
    TempFolder f;
    if (!DiskIgnoresCase(f)) GTEST_SKIP() << "the temporary folder's disk keeps names that differ only in case apart";
    std::ofstream(f.File("Plant.cy2")) << "x";
    EXPECT_EQ(ResolveExisting(f.File("PLANT.CY2")), f.File("Plant.cy2"));
    EXPECT_EQ(ResolveForWrite(f.File("plant.CY2")), f.File("Plant.cy2"));
    EXPECT_EQ(ListFilesWithExtension(f.Path(), ".CY2"), std::vector<std::string>{"Plant.cy2"});
}

TEST(TextTest, Utf8AndNumbers) {
    EXPECT_EQ(Utf8Length("Perch\xC3\xA8"), 6u);
    EXPECT_EQ(Utf8PadRight("\xC3\xA8", 3), "\xC3\xA8  ");
    EXPECT_EQ(Latin1ToUtf8("\xE8"), "\xC3\xA8");
    EXPECT_EQ(Utf8ToLatin1("\xC3\xA8\xE2\x82\xAC"), "\xE8?");
    EXPECT_EQ(ParseNumber("  12abc"), 12);
    EXPECT_EQ(ParseNumber("1.25"), 1.25);
    EXPECT_EQ(ParseNumber("x"), 0);
    EXPECT_EQ(HexText(0x1065), "1065");
}

// The character counts look at eight bytes at a time: a byte of a longer
// character is found wherever it falls, in a whole group of eight or in the
// bytes left over, and an accented text is cut and filled by characters.
TEST(TextTest, LongTextsAreCountedByCharacters) {
    const std::string plain = "0123456789abcdefghij";  // 20 one-byte characters
    EXPECT_TRUE(IsAscii(plain));
    EXPECT_TRUE(IsAscii(""));
    for (std::size_t at : {0u, 7u, 8u, 15u, 16u, 19u}) {
        std::string accented = plain;
        accented.replace(at, 1, "\xC3\xA8");
        EXPECT_FALSE(IsAscii(accented)) << at;
        EXPECT_EQ(Utf8Length(accented), 20u) << at;
        EXPECT_EQ(Utf8Offset(accented, at + 1), at + 2) << at;  // past the two bytes of the accent
        EXPECT_EQ(Utf8Left(accented, at + 1).size(), at + 2) << at;
        EXPECT_EQ(Utf8Length(Utf8PadRight(accented, 25)), 25u) << at;
        EXPECT_EQ(Utf8PadRight(accented, 25).substr(accented.size()), "     ") << at;
    }
    EXPECT_EQ(Utf8Offset(plain, 50), 20u);
    EXPECT_EQ(Utf8PadRight(plain, 4), "0123");
    EXPECT_EQ(Utf8PadRight(plain, 22), plain + "  ");
    EXPECT_EQ(Utf8PadRight("\xC3\xA8\xC3\xA8\xC3\xA8", 2), "\xC3\xA8\xC3\xA8");
    EXPECT_EQ(TrimRight("ab \t "), "ab");
    EXPECT_EQ(TrimRight("   "), "");
}

// A GUI toolkit may switch the process to the user's locale, where the
// decimal separator is ",": the numbers of the panel and of the dialogs
// still read and print with ".".
TEST(TextTest, NumbersIgnoreTheProcessLocale) {
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    bool comma = false;
    for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8",
                             "Italian_Italy.1252", "German_Germany.1252"})
        if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
            comma = true;
            break;
        }
    if (!comma) {
        std::setlocale(LC_NUMERIC, before.c_str());
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    EXPECT_EQ(ParseNumber("3.99"), 3.99);
    EXPECT_EQ(NumberText(1.5), "1.5");
    ValueRequest half;
    half.minimum = 0;
    half.maximum = 1.5;
    double v = 0;
    EXPECT_TRUE(AcceptsNumber(half, "0.5", v));
    EXPECT_EQ(v, 0.5);
    std::setlocale(LC_NUMERIC, before.c_str());
}

}  // namespace
}  // namespace cfg::test

namespace cfg {
namespace {

// The real clock reads the calendar through the C library of each system:
// the fields must be in range, the weekday must belong to the date, and the
// seconds since midnight must agree with the time of day.
TEST(SystemClockTest, DateTimeAndSecondsSinceMidnightAgree) {
    SystemClock clock;
    const DateTime d = clock.Now();
    const double seconds = clock.SecondsSinceMidnight();
    EXPECT_GE(d.year, 2020);
    EXPECT_TRUE(d.month >= 1 && d.month <= 12) << d.month;
    EXPECT_TRUE(d.day >= 1 && d.day <= 31) << d.day;
    EXPECT_TRUE(d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59 && d.second >= 0 && d.second <= 60);
    const std::chrono::year_month_day ymd{std::chrono::year(d.year), std::chrono::month(static_cast<unsigned>(d.month)),
                                          std::chrono::day(static_cast<unsigned>(d.day))};
    ASSERT_TRUE(ymd.ok());
    EXPECT_EQ(d.weekday, static_cast<int>(std::chrono::weekday(std::chrono::sys_days(ymd)).iso_encoding()));
    ASSERT_TRUE(seconds >= 0 && seconds < 86400) << seconds;
    // A few seconds apart at most, also across midnight.
    const double fromFields = d.hour * 3600.0 + d.minute * 60.0 + d.second;
    const double apart = std::fabs(seconds - fromFields);
    EXPECT_LT(std::min(apart, 86400 - apart), 5.0);
}

}  // namespace
}  // namespace cfg
