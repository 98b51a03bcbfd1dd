// The options editor: the value texts, the menus, and that a choice writes
// one byte to the file set.
#include "EditorFixture.h"
#include "editors/OptionsEditor.h"

namespace cfg::test {
namespace {

class OptionsTest : public EditorTest {
protected:
    void Set(int k, int code) { s.config.ConfigImage[41 + k] = static_cast<Cell>(code); }
    // Columns 40..68 (the value) and 69..80 (the tag) of the line labelled `label`.
    std::string ValueOf(const std::string& label) { return FieldOf(label, 40, 68); }
    std::string TagOf(const std::string& label) { return FieldOf(label, 69, 80); }
    std::string Shown(int k, int code, const std::string& label) {
        Set(k, code);
        BuildOptionsScreen(s, PrintMode::Interactive);
        return ValueOf(label);
    }
};

TEST_F(OptionsTest, ListedOptionsInOrderWithoutFourteenToSeventeen) {
    BuildOptionsScreen(s, PrintMode::LinesOnly);
    auto lines = ScreenLines(s.screen);
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0], "0869");
    EXPECT_EQ(lines[1].substr(0, 5), " 0870");
    std::vector<int> ks;
    for (int line = 2; line <= s.screen.LineCount; ++line) {
        EXPECT_NE(DescriptorOf(s.screen, line).field, 0);
        ks.push_back(DescriptorOf(s.screen, line).value2);
    }
    EXPECT_EQ(ks, (std::vector<int>{2, 3, 4, 5, 6, 8, 11, 12, 13, 18, 19, 20, 21, 22, 23, 24, 25}));

    BuildOptionsScreen(s, PrintMode::Interactive);
    EXPECT_EQ(s.screen.LineCount, 17);
}

TEST_F(OptionsTest, ValueTextsAndTheOtherText) {
    EXPECT_EQ(Shown(2, 0, "0870"), "0871");
    EXPECT_EQ(Shown(2, 4, "0870"), "0875");
    EXPECT_EQ(Shown(8, 7, "0896"), "0904");
    EXPECT_EQ(Shown(19, 2, "0932"), "0935");
    EXPECT_EQ(Shown(19, 3, "0932"), "0936");
    EXPECT_EQ(Shown(22, 255, "0945"), "0952");
    EXPECT_EQ(Shown(25, 3, "1210"), "1214");
    EXPECT_EQ(Shown(25, 4, "1210"), "1215");
}

TEST_F(OptionsTest, EachLineCarriesTheReferenceTagOfItsByte) {
    Set(2, 0);
    Set(25, 12);
    Set(12, 200);
    BuildOptionsScreen(s, PrintMode::Interactive);
    EXPECT_EQ(TagOf("0870"), "[043-> 00]");
    EXPECT_EQ(TagOf("1210"), "[066-> 12]");
    EXPECT_EQ(TagOf("0910"), "[053->200]");
}

TEST_F(OptionsTest, TheMenuOffersTheOptionsItemsOnTheCurrentCode) {
    Set(5, 2);
    BuildOptionsScreen(s, PrintMode::Interactive);
    EXPECT_FALSE(EditOptionLine(s, LineOf("0886")));  // no answer
    const ChoiceRequest& m = t.ui.choiceRequests.at(0);
    EXPECT_EQ(m.title, "0670");
    EXPECT_EQ(m.prompts, (std::vector<std::string>{"0671", "0672", "0789 0889"}));
    EXPECT_EQ(m.items, (std::vector<std::string>{"0673", "0674", "0675", "0676", "0677"}));
    EXPECT_EQ(m.current, 2);
    EXPECT_EQ(m.top, 2300);
    EXPECT_EQ(m.left, 800);

    Set(6, 9);  // beyond the three items: the menu opens on the first
    EXPECT_FALSE(ChangeOption(s, 6));
    EXPECT_EQ(t.ui.choiceRequests.at(1).current, 0);
    EXPECT_EQ(t.ui.choiceRequests.at(1).items.size(), 3u);
    EXPECT_EQ(t.ui.choiceRequests.at(1).prompts.at(2), "0789 0895");
}

TEST_F(OptionsTest, UnlistedAndUnknownOptions) {
    Set(14, 1);
    EXPECT_FALSE(ChangeOption(s, 14));
    const ChoiceRequest& m = t.ui.choiceRequests.at(0);
    EXPECT_EQ(m.title, "0719");
    EXPECT_EQ(m.items, (std::vector<std::string>{"0722", "0723"}));
    EXPECT_EQ(m.prompts.at(2), "0789 1");  // no value texts: the code itself
    EXPECT_EQ(m.current, 1);

    for (int k : {0, 1, 7, 9, 10, 26}) EXPECT_FALSE(ChangeOption(s, k)) << k;
    EXPECT_EQ(t.ui.choiceRequests.size(), 1u);
}

TEST_F(OptionsTest, AChoiceWritesOneByteAndStampsOnLeaving) {
    OpenFileSet({{41 + 18, 0}});
    QueueEditOf("0924");
    t.ui.choiceAnswers.push_back(4);
    clicks.push_back([this] {
        // Written at once, stamped only when the section ends.
        EXPECT_EQ(ReadMainFile()[41 + 18], 4);
        EXPECT_EQ(ChangedOffsets(), (std::vector<int>{41 + 18}));
        s.events.ExitRequested = true;
    });
    const PrintMode print = PrintMode::Interactive;
    OptionsSection(s, print, 0);

    EXPECT_EQ(t.ui.editTitle, "0650");
    EXPECT_EQ(s.config.ConfigImage[41 + 18], 4);
    for (int offset : ChangedOffsets()) EXPECT_TRUE(offset == 59 || (offset >= 211 && offset < 219)) << offset;
    auto file = ReadMainFile();
    EXPECT_EQ(std::string(file.begin() + 211, file.begin() + 219), "05-12-26");
    EXPECT_TRUE(s.config.DateStamped);
}

// The list opens on the first option, so OK (or Enter) edits without a click first.
TEST_F(OptionsTest, TheFirstOptionIsSelectedOnOpening) {
    OpenFileSet();
    t.ui.listSelected = -1;
    clicks.push_back([this] { s.events.UserEvent = true; });
    t.ui.choiceAnswers.push_back(-1);
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    OptionsSection(s, print, 0);
    ASSERT_EQ(t.ui.choiceRequests.size(), 1u);
    EXPECT_EQ(t.ui.choiceRequests[0].title, "0651");
}

TEST_F(OptionsTest, LeavingWithoutAChangeWritesNothing) {
    OpenFileSet();
    QueueEditOf("0870");
    t.ui.choiceAnswers.push_back(-1);  // menu closed
    QueueCancel();
    const PrintMode print = PrintMode::Interactive;
    OptionsSection(s, print, 0);
    EXPECT_EQ(t.ui.choiceRequests.size(), 1u);
    EXPECT_TRUE(ChangedOffsets().empty());
    EXPECT_FALSE(s.config.DateStamped);
}

TEST_F(OptionsTest, PrintRequestOnlyBuildsTheLines) {
    OpenFileSet({{41 + 3, 2}});
    const PrintMode print = PrintMode::LinesOnly;
    OptionsSection(s, print, 0);
    EXPECT_EQ(t.ui.editTitle, "");
    EXPECT_EQ(ScreenLines(s.screen)[0], "0869");
    EXPECT_EQ(ValueOf("0876"), "0879");
}

TEST_F(OptionsTest, NothingOpenEndsWithStatus240) {
    const PrintMode print = PrintMode::Interactive;
    OptionsSection(s, print, 0);
    EXPECT_EQ(s.link.LinkStatus, 240);
    EXPECT_TRUE(t.ui.choiceRequests.empty());
}

}  // namespace
}  // namespace cfg::test
