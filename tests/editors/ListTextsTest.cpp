// The times and options lists as the shipped language files make them: with
// every value a byte can hold, each label stays whole and a blank separates
// it from the value, and no number runs into the text before it.
#include <filesystem>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "editors/ClockProgrammer.h"
#include "editors/OptionsEditor.h"
#include "editors/TimesEditor.h"
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
        s.CurrentLanguage = language;
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
                ASSERT_TRUE(fault.empty()) << s.CurrentLanguage << " " << what << ", value " << value << ": " << fault;
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
        CheckAllValues(cells, [&] { BuildTimesScreen(s, 0); }, labelOf, "times");
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
        CheckAllValues(cells, [&] { BuildOptionsScreen(s, 0); }, labelOf, "options");
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
        const auto lines = ScreenLines(s);
        std::string heading;
        for (std::size_t i = 2; i < lines.size() && lines[i].rfind(GetText(s, 354), 0) != 0; ++i) heading += " " + lines[i];
        for (int id = 160; id <= 163; ++id)
            EXPECT_NE(words(heading).find(words(GetText(s, id))), std::string::npos)
                << language << ": text " << id << " is cut in [" << heading << "]";
    }
}

}  // namespace
}  // namespace cfg::test
