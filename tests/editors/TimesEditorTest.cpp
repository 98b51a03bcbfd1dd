// The times editor: how each time reads, what the dialog accepts, and that a
// change writes one byte to the file set.
#include "EditorFixture.h"
#include "editors/TimesEditor.h"

namespace cfg::test {
namespace {

class TimesTest : public EditorTest {
protected:
    void Set(int cell, int value) { s.config.ConfigImage[cell] = static_cast<Cell>(value); }
    // The value part of the line labelled `label` (from column 46).
    std::string ValueOf(const std::string& label) { return FieldOf(label, 46); }
    std::string Shown(int cell, int value, const std::string& label) {
        Set(cell, value);
        BuildTimesScreen(s, PrintMode::Interactive);
        return ValueOf(label);
    }
};

TEST_F(TimesTest, PrintLayoutHeadingLabelsAndItemOrder) {
    BuildTimesScreen(s, PrintMode::LinesOnly);
    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[0], "1081");
    EXPECT_EQ(DescriptorOf(s.screen, 1).field, 0);
    EXPECT_EQ(lines[1].substr(0, 5), " 1082");
    EXPECT_EQ(lines[7].substr(0, 8), "    1100");  // item 7 stands in by four
    std::vector<int> items;
    for (int line = 2; line <= 13; ++line) {
        EXPECT_NE(DescriptorOf(s.screen, line).field, 0);
        items.push_back(DescriptorOf(s.screen, line).value2);
    }
    EXPECT_EQ(items, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 15}));

    BuildTimesScreen(s, PrintMode::Interactive);  // on screen: no heading, same lines
    EXPECT_EQ(s.screen.LineCount, 12);
    EXPECT_EQ(ScreenLines(s.screen)[0], lines[1]);
}

TEST_F(TimesTest, SecondsAndUnitTextsBesideTheNumber) {
    EXPECT_EQ(Shown(25, 30, "1082"), "    30s");
    EXPECT_EQ(Shown(25, 99, "1082"), "    99s");
    EXPECT_EQ(Shown(25, 0, "1082"), "1084");
    EXPECT_EQ(Shown(25, 100, "1082"), "1084");
    EXPECT_EQ(Shown(26, 120, "1085"), "   1201086");
    EXPECT_EQ(Shown(26, 121, "1085"), "1087");
    EXPECT_EQ(Shown(35, 100, "1113"), "   1001114");
    EXPECT_EQ(Shown(35, 101, "1113"), "1115");
    EXPECT_EQ(Shown(39, 240, "1116"), "   2401117");
}

TEST_F(TimesTest, ItemsWithTheirOwnReadingOfZero) {
    EXPECT_EQ(Shown(36, 0, "1100"), " --");  // trailing blank is not listed
    EXPECT_EQ(Shown(36, 250, "1100"), "1101   250");
    EXPECT_EQ(Shown(36, 251, "1100"), "1102");
    EXPECT_EQ(Shown(34, 0, "1109"), "1110");
    EXPECT_EQ(Shown(34, 5, "1109"), "1111  5");
    EXPECT_EQ(Shown(34, 240, "1109"), "1111 240") << "a full-width number keeps a blank before it";
    EXPECT_EQ(Shown(34, 241, "1109"), "1112");
}

TEST_F(TimesTest, DialogRangesAndPrompts) {
    BuildTimesScreen(s, PrintMode::Interactive);
    struct Case { const char* label; double min, max; };
    for (Case c : {Case{"1082", 2, 99}, Case{"1085", 2, 120}, Case{"1088", 2, 240}, Case{"1100", 0, 250},
                   Case{"1109", 0, 240}, Case{"1113", 2, 100}, Case{"1116", 1, 240}}) {
        t.ui.valueRequests.clear();
        EXPECT_FALSE(EditTime(s, LineOf(c.label)));  // cancelled
        ASSERT_EQ(t.ui.valueRequests.size(), 1u) << c.label;
        EXPECT_EQ(t.ui.valueRequests[0].minimum, c.min) << c.label;
        EXPECT_EQ(t.ui.valueRequests[0].maximum, c.max) << c.label;
    }
    Set(36, 17);
    BuildTimesScreen(s, PrintMode::Interactive);
    t.ui.valueRequests.clear();
    EditTime(s, LineOf("1100"));
    const ValueRequest& r = t.ui.valueRequests.at(0);
    EXPECT_EQ(r.kind, 1);
    EXPECT_EQ(r.prompt, "0817\n0818\n0819\n0820\n0821");
    EXPECT_EQ(r.initialText, "17");
    EXPECT_EQ(r.top, 2300);
    EXPECT_EQ(r.left, 800);
}

TEST_F(TimesTest, LinesWithoutATimeAskNothing) {
    BuildTimesScreen(s, PrintMode::LinesOnly);
    EXPECT_FALSE(EditTime(s, 1));   // the heading
    EXPECT_FALSE(EditTime(s, 0));   // no selection
    EXPECT_FALSE(EditTime(s, 40));  // below the list
    EXPECT_TRUE(t.ui.valueRequests.empty());
}

TEST_F(TimesTest, AChangeWritesOneByteAndStampsTheDate) {
    OpenFileSet({{27, 10}});
    QueueEditOf("1088");
    t.ui.AnswerNumber(45);
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    TimesSection(s, print, 0);

    EXPECT_EQ(t.ui.editTitle, "0792");
    EXPECT_FALSE(t.ui.editScreenShown);  // ended on Cancel
    auto file = ReadMainFile();
    ASSERT_EQ(file.size(), static_cast<std::size_t>(kMainFileSize));
    EXPECT_EQ(file[27], 45);
    EXPECT_EQ(s.config.ConfigImage[27], 45);
    // Apart from the time, only the last-change date (offset 211) moved.
    for (int offset : ChangedOffsets()) EXPECT_TRUE(offset == 27 || (offset >= 211 && offset < 219)) << offset;
    EXPECT_EQ(std::string(file.begin() + 211, file.begin() + 219), "05-12-26");
    EXPECT_TRUE(s.config.DateStamped);
    // The list shows the new value.
    EXPECT_NE(t.ui.listLines.at(2).find("    45s"), std::string::npos);
}

TEST_F(TimesTest, ARefusedOrCancelledValueWritesNothing) {
    OpenFileSet({{25, 10}});
    QueueEditOf("1082");
    t.ui.AnswerNumber(1);    // below 2: refused
    QueueEditOf("1082");
    t.ui.AnswerNumber(100);  // above 99: refused
    QueueEditOf("1082");
    t.ui.Cancel();
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    TimesSection(s, print, 0);
    EXPECT_EQ(t.ui.valueRequests.size(), 3u);
    EXPECT_TRUE(ChangedOffsets().empty());
    EXPECT_EQ(s.config.ConfigImage[25], 10);
}

TEST_F(TimesTest, AFailedWriteKeepsTheOldValue) {
    OpenFileSet({{29, 60}});
    clicks.push_back([this] { std::filesystem::remove(MainFile()); });
    QueueEditOf("1094");
    t.ui.AnswerNumber(90);
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    TimesSection(s, print, 0);
    EXPECT_NE(s.link.LinkStatus, 255);
    EXPECT_EQ(s.config.ConfigImage[29], 60);
    EXPECT_NE(t.ui.listLines.at(4).find("    601095"), std::string::npos);
    EXPECT_FALSE(t.ui.messages.empty());  // the block routine told the user
}

TEST_F(TimesTest, PrintRequestOnlyBuildsTheLines) {
    OpenFileSet({{25, 33}});
    const PrintMode print = PrintMode::LinesOnly;
    TimesSection(s, print, 0);
    EXPECT_EQ(t.ui.editTitle, "");
    EXPECT_TRUE(t.ui.valueRequests.empty());
    EXPECT_EQ(ScreenLines(s.screen)[0], "1081");
    EXPECT_EQ(ValueOf("1082"), "    33s");
    EXPECT_TRUE(ChangedOffsets().empty());
}

TEST_F(TimesTest, NothingOpenEndsWithStatus240) {
    const PrintMode print = PrintMode::Interactive;
    TimesSection(s, print, 0);
    EXPECT_EQ(s.link.LinkStatus, 240);
    EXPECT_EQ(t.ui.editTitle, "");
}

TEST_F(TimesTest, AMissingFileEndsBeforeTheScreen) {
    OpenFileSet();
    std::filesystem::remove(MainFile());
    const PrintMode print = PrintMode::Interactive;
    TimesSection(s, print, 0);
    EXPECT_NE(s.link.LinkStatus, 255);
    EXPECT_EQ(t.ui.editTitle, "");
}

}  // namespace
}  // namespace cfg::test
