// The shared editing screen: line building, padding, the reference tag, the
// list refresh and the cursor buttons of the edit loop.
#include <gtest/gtest.h>

#include "TestSession.h"
#include "link/Screen.h"
#include "shell/FileNames.h"
#include "shell/Text.h"

namespace cfg::test {
namespace {

class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() { ClearScreenLines(s); }
    TestSession t;
    Session& s = t.s;

    // Lines 1..n, editable where `editable` says so (value2 = line number).
    void MakeLines(const std::vector<bool>& editable) {
        ClearScreenLines(s);
        for (std::size_t i = 0; i < editable.size(); ++i) {
            int line = NewScreenLine(s, editable[i] ? 1 : 0, static_cast<int16_t>(i + 1));
            WriteScreenText(s, line, 1, "line " + std::to_string(line));
        }
    }
    std::string Columns(int line, int first, int last) {
        return s.screen.Lines[line].substr(static_cast<std::size_t>(first - 1),
                                           static_cast<std::size_t>(last - first + 1));
    }
};

TEST_F(ScreenTest, PaddingKeepsTheLastCharacters) {
    EXPECT_EQ(PadZeros(3, 7), "007");
    EXPECT_EQ(PadSpaces(2, 123), "23");
    EXPECT_EQ(PadSpaces(6, 30), "    30");
    EXPECT_EQ(PadZeros(3, 430), "430");
    EXPECT_EQ(PadZeros(3, 4137), "137");
    EXPECT_EQ(PadZeros(0, 5), "");
}

TEST_F(ScreenTest, ModuleTagSitsFromColumn69) {
    s.texts.LanguageTexts[1243] = "[";
    int line = NewScreenLine(s);
    WriteScreenText(s, line, 1, std::string(80, 'x'));
    TagModuleRef(s, 5, 12);
    EXPECT_EQ(Columns(line, 69, 79), "[005-> 12]x");
    EXPECT_EQ(Columns(line, 60, 68), "xxxxxxxxx");

    TagModuleRef(s, 1, 7);
    EXPECT_EQ(Columns(line, 69, 78), "[001-> 07]");
    TagModuleRef(s, 2, 200);
    EXPECT_EQ(Columns(line, 69, 78), "[002->200]");
}

TEST_F(ScreenTest, ALongTagIsCutAtTheEndOfTheLine) {
    NewScreenLine(s);
    TagModuleRef(s, 5, 12);  // text 1243 reads "1243" here
    EXPECT_EQ(Columns(1, 69, 80), "1243005-> 12");
    EXPECT_EQ(Utf8Length(s.screen.Lines[1]), 80u);
}

TEST_F(ScreenTest, LinesAreWrittenByCharacterColumns) {
    int line = NewScreenLine(s);
    WriteScreenText(s, line, 1, "Perch\xC3\xA8 no");
    WriteScreenText(s, line, 8, "SI");  // column 8 is after the accented letter and the blank
    EXPECT_EQ(ScreenLines(s.screen)[0], "Perch\xC3\xA8 SI");
    EXPECT_EQ(Utf8Length(s.screen.Lines[line]), 80u);

    WriteScreenField(s, line, 3, 5, "abcdef");
    EXPECT_EQ(ScreenLines(s.screen)[0], "Peabc\xC3\xA8 SI");
    WriteScreenField(s, line, 1, 4, "x");
    EXPECT_EQ(ScreenLines(s.screen)[0], "x   c\xC3\xA8 SI");

    WriteScreenText(s, line, 78, "12345");
    EXPECT_EQ(ScreenLines(s.screen)[0].substr(ScreenLines(s.screen)[0].size() - 3), "123");
    EXPECT_EQ(Utf8Length(s.screen.Lines[line]), 80u);
}

// Lines of one-byte characters are written by byte offsets, the others by
// characters: a line goes from one kind to the other and back, a field is
// cut and filled to its width either way, and a line never taken is blank.
TEST_F(ScreenTest, PlainAndAccentedWritesShareALine) {
    const int line = NewScreenLine(s);
    WriteScreenField(s, line, 1, 10, "abcdefghijklmnop");
    WriteScreenField(s, line, 12, 20, "xy");
    WriteScreenText(s, line, 22, "end");
    EXPECT_EQ(ScreenLines(s.screen)[0], "abcdefghij xy        end");
    WriteScreenField(s, line, 1, 10, "short");  // a shorter value blanks the rest of its field
    EXPECT_EQ(ScreenLines(s.screen)[0], "short      xy        end");
    WriteScreenField(s, line, 1, 10, "abcdefghij");
    EXPECT_EQ(s.screen.Lines[line].size(), 80u);

    WriteScreenField(s, line, 3, 6, "\xC3\xA8\xC3\xA8");
    EXPECT_EQ(ScreenLines(s.screen)[0], "ab\xC3\xA8\xC3\xA8  ghij xy        end");
    WriteScreenText(s, line, 7, "G");
    WriteScreenField(s, line, 3, 6, "cdef");
    EXPECT_EQ(ScreenLines(s.screen)[0], "abcdefGhij xy        end");
    EXPECT_EQ(Utf8Length(s.screen.Lines[line]), 80u);

    WriteScreenField(s, line, 75, 90, "0123456789");
    EXPECT_EQ(ScreenLines(s.screen)[0].substr(74), "012345");
    EXPECT_EQ(Utf8Length(s.screen.Lines[line]), 80u);

    WriteScreenText(s, 7, 5, "far");  // line 7 was never taken
    EXPECT_EQ(s.screen.Lines[7], std::string(4, ' ') + "far" + std::string(73, ' '));
}

TEST_F(ScreenTest, OutOfRangeLinesAndColumnsAreNotWritten) {
    WriteScreenText(s, 501, 1, "x");
    WriteScreenText(s, -1, 1, "x");
    WriteScreenText(s, 1, 0, "x");
    WriteScreenText(s, 1, 81, "x");
    SetDescriptor(s, 501, 1);
    EXPECT_EQ(TrimRight(s.screen.Lines[1]), "");
    EXPECT_EQ(DescriptorOf(s.screen, 501).field, 0);

    for (int i = 0; i < kScreenLines; ++i) ASSERT_NE(NewScreenLine(s, 1), 0);
    EXPECT_EQ(NewScreenLine(s, 1), 0);
    EXPECT_EQ(s.screen.LineCount, kScreenLines);
}

TEST_F(ScreenTest, ShowEditScreenCaptionsItsButtons) {
    struct CaptionUi : ScriptedUi {
        std::string ok, cancel;
        bool forward = false, reverse = false, reset = true;
        void ShowEditScreen(const std::string& title, const std::string& o, const std::string& c) override {
            ScriptedUi::ShowEditScreen(title, o, c);
            ok = o;
            cancel = c;
        }
        void SetEditButtons(bool f, bool r, bool x) override { forward = f, reverse = r, reset = x; }
    } ui;
    Session session(ui, t.clock);
    session.texts.LanguageTexts[1291] = "OK";
    session.texts.LanguageTexts[1292] = "Esci";
    ShowEditScreen(session, "Tempi");
    EXPECT_TRUE(ui.editScreenShown);
    EXPECT_EQ(ui.editTitle, "Tempi");
    EXPECT_EQ(ui.ok, "OK");
    EXPECT_EQ(ui.cancel, "Esci");
    EXPECT_TRUE(ui.forward && ui.reverse);
    EXPECT_FALSE(ui.reset);
    HideEditScreen(session);
    EXPECT_FALSE(ui.editScreenShown);
}

TEST_F(ScreenTest, RefreshKeepsScrollAndSelectionWhileTheyFit) {
    MakeLines({true, true, true, true, true});
    RefreshScreen(s);
    EXPECT_EQ(t.ui.listLines.size(), 5u);
    EXPECT_EQ(t.ui.listLines[4], "line 5");  // trailing blanks are not listed

    t.ui.listTop = 2;
    t.ui.listSelected = 4;  // the last line
    RefreshScreen(s);
    EXPECT_EQ(t.ui.listTop, 2);
    EXPECT_EQ(t.ui.listSelected, 4);
    EXPECT_EQ(s.screen.SavedSelectedIndex, 4);

    MakeLines({true, true, true});  // the list shrinks under the selection
    t.ui.listTop = 4;
    RefreshScreen(s);
    EXPECT_EQ(t.ui.listSelected, 0);
    EXPECT_EQ(t.ui.listTop, 0);

    t.ui.listSelected = -1;  // no selection stays none
    RefreshScreen(s);
    EXPECT_EQ(t.ui.listSelected, -1);
}

TEST_F(ScreenTest, CursorSkipsLinesThatCannotBeEdited) {
    MakeLines({false, true, false, false, true, false});
    RefreshScreen(s);
    MoveToEditableLine(s, +1);  // nothing selected: the first editable line
    EXPECT_EQ(SelectedScreenLine(s), 2);
    MoveToEditableLine(s, +1);
    EXPECT_EQ(SelectedScreenLine(s), 5);
    MoveToEditableLine(s, +1);  // none further down: stays
    EXPECT_EQ(SelectedScreenLine(s), 5);
    MoveToEditableLine(s, -1);
    EXPECT_EQ(SelectedScreenLine(s), 2);
    MoveToEditableLine(s, -1);
    EXPECT_EQ(SelectedScreenLine(s), 2);

    t.ui.listSelected = -1;
    MoveToEditableLine(s, -1);  // nothing selected: the last editable line
    EXPECT_EQ(SelectedScreenLine(s), 5);
}

TEST_F(ScreenTest, EditLoopFollowsTheWorkFormButtons) {
    MakeLines({false, true, true, false});
    RefreshScreen(s);
    std::vector<int> edited;
    t.ui.events = {
        [&] { s.events.ForwardEvent = true; },            // -> line 2
        [&] { s.events.ForwardEvent = true; },            // -> line 3
        [&] { s.events.UserEvent = true; },               // edit line 3
        [&] { s.events.ReverseRequested = true; },   // -> line 2
        [&] { s.events.UserEvent = true; },               // edit line 2
        [&] { s.events.ForwardEvent = true; },            // -> line 3
        [&] { s.events.ResetRequested = true; },     // back to the first: line 2
        [&] { s.events.UserEvent = true; },               // edit line 2
        [&] { s.link.LastErrorNumber = 53; s.events.ExitRequested = true; s.events.UserEvent = true; },
    };
    RunEditLoop(s, [&](int line) { edited.push_back(line); });
    EXPECT_EQ(edited, (std::vector<int>{3, 2, 2}));  // Cancel wins over a last OK
    EXPECT_FALSE(s.events.ExitRequested);
    EXPECT_EQ(s.link.LastErrorNumber, 0);
    EXPECT_FALSE(s.events.ForwardEvent);
    EXPECT_FALSE(s.events.ResetRequested);
}

}  // namespace
}  // namespace cfg::test
