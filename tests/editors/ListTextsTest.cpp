// The lists as the shipped language files make them: in the times and options
// lists, with every value a byte can hold, each label stays whole and a blank
// separates it from the value, and no number runs into the text before it; in
// the zones list every point's logic text and every zone type is whole; the
// headings of the loop lists stand over the columns of the values.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "editors/ClockProgrammer.h"
#include "editors/OptionsEditor.h"
#include "editors/TimesEditor.h"
#include "editors/ZonesEditor.h"
#include "loops/LoopSection.h"
#include "loops/LoopTables.h"
#include "shell/FileNames.h"
#include "shell/Language.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(std::string(CFG_SOURCE_DIR) + "/data"))
        if (e.path().extension() == ".lng") names.push_back(e.path().stem().string());
    return names;
}

class ListTextsTest : public EditorTest {
protected:
    void Load(const std::string& language) {
        const std::string file = language + ".lng";
        fs::copy_file(std::string(CFG_SOURCE_DIR) + "/data/" + file, t.folder.File(file),
                      fs::copy_options::overwrite_existing);
        s.settings.CurrentLanguage = language;
        LoadLanguageFile(s, LanguageFilePath(s, language));
    }

    // Faults of one list line whose label is text `labelId`: the label cut
    // short or touching its value, or a number glued to the text before it.
    // The reference tag at the end of an options line is left out.
    std::string Faults(int line, int labelId) {
        std::string text = s.screen.Lines[line];
        const std::string tag = GetText(s, 1243);
        if (auto at = text.rfind(tag); at != std::string::npos && at > 0) text.erase(at);
        const std::string label = GetText(s, labelId);
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string::npos || text.compare(start, label.size(), label) != 0)
            return "label " + std::to_string(labelId) + " is cut: [" + text + "]";
        const std::size_t after = start + label.size();
        if (after < text.size() && text[after] != ' ') return "no blank after the label: [" + text + "]";
        for (std::size_t i = after + 1; i < text.size(); ++i) {
            const bool digit = text[i] >= '0' && text[i] <= '9';
            const bool startsNumber = digit && !(text[i - 1] >= '0' && text[i - 1] <= '9');
            if (startsNumber && text[i - 1] != ' ') return "a number joined to its text: [" + text + "]";
        }
        return {};
    }

    // Builds the list with every cell of `cells` holding `value` and checks
    // each selectable line; `labelOf` gives a line's label text id.
    template <typename Build, typename LabelOf>
    void CheckAllValues(const std::vector<int>& cells, Build build, LabelOf labelOf, const std::string& what) {
        for (int value = 0; value <= 255; ++value) {
            for (int cell : cells) s.config.ConfigImage[cell] = static_cast<Cell>(value);
            build();
            for (int line = 1; line <= s.screen.LineCount; ++line) {
                if (s.screen.Descriptors[line].field == 0) continue;
                const std::string fault = Faults(line, labelOf(s.screen.Descriptors[line].value2));
                ASSERT_TRUE(fault.empty()) << s.settings.CurrentLanguage << " " << what << ", value " << value << ": " << fault;
            }
        }
    }
};

TEST_F(ListTextsTest, TimesLinesKeepTheirLabelAndABlankBeforeEveryValue) {
    // Item -> label text, as the list shows them.
    const std::vector<std::pair<int, int>> labels = {{1, 1082}, {2, 1085},  {3, 1088},  {4, 1091},
                                                     {5, 1094}, {6, 1097},  {7, 1100},  {8, 1103},
                                                     {9, 1106}, {11, 1109}, {12, 1113}, {15, 1116}};
    auto labelOf = [&](int item) {
        for (auto [i, id] : labels)
            if (i == item) return id;
        return 0;
    };
    std::vector<int> cells;
    for (int c = kTimesOffset; c < kTimesOffset + kTimesLength; ++c) cells.push_back(c);
    for (const auto& language : ShippedLanguages()) {
        Load(language);
        CheckAllValues(cells, [&] { BuildTimesScreen(s, PrintMode::Interactive); }, labelOf, "times");
    }
}

TEST_F(ListTextsTest, OptionsLinesKeepTheirLabelAndABlankBeforeEveryValue) {
    const std::vector<std::pair<int, int>> labels = {
        {2, 870},  {3, 876},  {4, 882},  {5, 886},  {6, 892},  {8, 896},  {11, 906}, {12, 910}, {13, 920},
        {18, 924}, {19, 932}, {20, 937}, {21, 941}, {22, 945}, {23, 953}, {24, 957}, {25, 1210}};
    auto labelOf = [&](int k) {
        for (auto [option, id] : labels)
            if (option == k) return id;
        return 0;
    };
    std::vector<int> cells;
    for (int c = kOptionsOffset; c < kOptionsOffset + kOptionsLength; ++c) cells.push_back(c);
    for (const auto& language : ShippedLanguages()) {
        Load(language);
        CheckAllValues(cells, [&] { BuildOptionsScreen(s, PrintMode::Interactive); }, labelOf, "options");
    }
}

// Every logic text a point can have (variants 1..5 with the standard, a
// level or an invalid sensitivity; module functions 0..15 on both loop
// modules, with the largest place numbers) and every zone type stand whole
// in the zones list, which the printout copies.
TEST_F(ListTextsTest, ZonesListShowsEveryLogicTextAndZoneTypeWhole) {
    for (const auto& language : ShippedLanguages()) {
        Load(language);
        // Sensor points 1..40 of each module: variant 1..5 x second value
        // 0..7; module points 161..200 of each module: functions 0..15.
        for (int module = 0; module < 2; ++module) {
            for (int i = 0; i < 40; ++i) {
                const int sensor = module * 200 + 1 + i, device = module * 200 + 161 + i;
                s.config.ConfigImage[PointConfigCell(sensor)] = static_cast<Cell>((1 << 4) | (1 + i / 8));
                s.config.ConfigImage[PointConfigCell(sensor) + 1] = static_cast<Cell>((i % 8) << 5);
                const int function = i % 16;
                s.config.ConfigImage[PointConfigCell(device)] = static_cast<Cell>((kTypeModule << 4) | (function & 8) | 1);
                s.config.ConfigImage[PointConfigCell(device) + 1] = static_cast<Cell>((function & 7) << 5);
            }
        }
        for (int first = 0; first <= 255; first += kZoneCount) {
            for (int z = 0; z < kZoneCount; ++z)
                s.config.ConfigImage[kFirstZoneCell + z] = static_cast<Cell>(std::min(255, first + z));
            BuildZonesScreen(s);
            for (int line = 1; line <= s.screen.LineCount; ++line) {
                const LineDescriptor d = DescriptorOf(s.screen, line);
                const std::string& text = s.screen.Lines[line];
                std::string whole;
                if (d.field == kPointLine) {
                    const PointEntry e = PointInImage(s, d.value2);
                    if (!e.Configured()) continue;
                    whole = TrimRight(PointLogicText(s, e, d.value2));
                } else if (d.field == kZoneLine) {
                    const int value = s.config.ConfigImage[kFirstZoneCell + d.value2 - 1];
                    int id = kOtherZoneTypeText;
                    for (const ZoneType& z : kZoneTypes)
                        if (z.value == value) id = z.listText;
                    whole = " " + GetText(s, id);
                } else {
                    continue;
                }
                ASSERT_NE(text.find(whole), std::string::npos)
                    << language << ": \"" << whole << "\" is cut in the zones list: [" << text << "]";
            }
        }
    }
}

// The headings of the sensor list and of the minimum/maximum list: every
// bracket, slash and ".." of a value line has the same character above it,
// and every value outside the brackets starts under the start of a heading
// word, so a translation cannot shift a column.
TEST_F(ListTextsTest, LoopListHeadingsStandOverTheirColumns) {
    auto check = [](const std::string& language, const std::string& heading, std::string values) {
        std::replace(values.begin(), values.end(), '!', ' ');  // the marks of values out of range
        // The point number and ": " take columns 1..5, the type name the
        // next kSensorNameWidth; the values follow.
        EXPECT_TRUE(heading.size() > 5 && heading[5] != ' ' && heading[4] == ' ') << language << "\n" << heading;
        bool inBrackets = false;
        for (std::size_t i = 5 + kSensorNameWidth; i < values.size(); ++i) {
            const char c = values[i];
            const char above = i < heading.size() ? heading[i] : ' ';
            if (c == '[') inBrackets = true;
            if (c == '[' || c == ']' || c == '/' || (c == '.' && inBrackets)) {
                EXPECT_EQ(above, c) << language << ": column " << i + 1 << "\n" << heading << "\n" << values;
            } else if (!inBrackets && c != ' ' && values[i - 1] == ' ') {
                EXPECT_TRUE(above != ' ' && heading[i - 1] == ' ')
                    << language << ": no heading starts at column " << i + 1 << "\n" << heading << "\n" << values;
            }
            if (c == ']') inBrackets = false;
        }
    };
    for (const auto& language : ShippedLanguages()) {
        Load(language);
        LoopContext c;
        c.ClearLiveTables();
        s.config.ConfigImage[kPointConfigCell] = static_cast<Cell>(1 << 4);  // point 1: a heat detector
        c.live[2] = 100;     // its reading, shown as 1600
        c.minMax[1] = 200;   // recorded minimum and maximum
        c.minMax[2] = 250;
        s.config.ConfigSource = ConfigSource::Panel;
        BuildLoopList(s, c, false);
        check(language, TrimRight(s.screen.Lines[1]), TrimRight(s.screen.Lines[2]));
        BuildMinMaxList(s, c);
        check(language, TrimRight(s.screen.Lines[1]), TrimRight(s.screen.Lines[2]));
    }
}

TEST_F(ListTextsTest, TheClockReportHeadingKeepsItsWholeLegend) {
    // Blanks collapsed, so that a text broken over two lines reads whole.
    auto words = [](const std::string& text) {
        std::string out;
        for (char c : text)
            if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
        return TrimRight(out);
    };
    s.config.ClockProgramTable.Fill(255);
    for (const auto& language : ShippedLanguages()) {
        Load(language);
        BuildClockReport(s);
        const auto lines = ScreenLines(s.screen);
        std::string heading;
        for (std::size_t i = 2; i < lines.size() && lines[i].rfind(GetText(s, 354), 0) != 0; ++i) heading += " " + lines[i];
        for (int id = 160; id <= 163; ++id)
            EXPECT_NE(words(heading).find(words(GetText(s, id))), std::string::npos)
                << language << ": text " << id << " is cut in [" << heading << "]";
    }
}

}  // namespace
}  // namespace cfg::test
