// The language files shipped in data/: both define the same ids and keys,
// every text id the source uses exists, every text fits the 128-character
// table entry and the columns it is printed into, and the loader reads
// every text back as written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestSession.h"
#include "shell/Language.h"
#include "shell/Text.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

const std::string kDataDir = std::string(CFG_SOURCE_DIR) + "/data";
// The labels of the advanced options list, in its order.
const std::vector<int> kAdvancedOptionLabels = {963,  965,  969,  972,  975,  978,  981,  984,  987,  990,
                                                993,  998,  1002, 1003, 1004, 1007, 1010, 1013, 1016, 1017,
                                                1018, 1019, 1021, 1024, 1025, 1026, 1027, 1028, 1029, 1030,
                                                1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040,
                                                1041, 1042, 1043, 1044, 1045, 1046, 1047};
const std::vector<std::string> kForms = {"FRMCfgvimo", "MDIMainForm", "FRMInput",  "FRMInpMsg", "FRMScreen",
                                         "FRMMenu",    "FRMCopyFile", "FRMAbout", "FRMParTw",  "FRMProgra",
                                         "FRMBFunz",   "FRMInpSen",   "FRMSerlz"};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Code points of a UTF-8 text; -1 when the bytes are not valid UTF-8.
long CodePoints(const std::string& s) {
    long n = 0;
    for (std::size_t i = 0; i < s.size(); ++n) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return -1;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return -1;
        i += len;
    }
    return n;
}

struct Entry {
    std::string value;
    int line = 0;
};

// One language file as sections of key = value, in the INI layout the
// program reads ("[Section]", "key=value", ";" comments).
struct LanguageFile {
    std::string name, path, bytes;
    std::map<std::string, std::map<std::string, Entry>> sections;
    std::vector<std::string> problems;  // format faults found while parsing

    explicit LanguageFile(const std::string& language)
        : name(language), path(kDataDir + "/" + language + ".lng"), bytes(ReadAll(path)) {
        std::istringstream in(bytes);
        std::string line, section;
        for (int n = 1; std::getline(in, line); ++n) {
            auto where = name + ".lng:" + std::to_string(n) + ": ";
            if (!line.empty() && line.back() == '\r') problems.push_back(where + "CR LF line end");
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                section = line.substr(1, line.find(']') - 1);
                if (sections.count(section)) problems.push_back(where + "section [" + section + "] repeated");
                sections[section];
                continue;
            }
            auto eq = line.find('=');
            if (eq == std::string::npos || eq == 0 || section.empty()) {
                problems.push_back(where + "not a key=value line: " + line);
                continue;
            }
            std::string key = line.substr(0, eq), value = line.substr(eq + 1);
            if (value.empty()) problems.push_back(where + key + " has no text");
            if (value.back() == ' ' || value.back() == '\t')
                problems.push_back(where + key + " ends in a blank, which the loader removes");
            if (CodePoints(value) < 0) problems.push_back(where + key + " is not valid UTF-8");
            if (!sections[section].emplace(key, Entry{value, n}).second)
                problems.push_back(where + key + " defined twice in [" + section + "]");
        }
    }
    const std::map<std::string, Entry>& Strings() const { return sections.at("Strings"); }
    std::string Text(int id) const {
        char key[8];
        std::snprintf(key, sizeof key, "%04d", id);
        auto it = Strings().find(key);
        return it == Strings().end() ? std::string() : it->second.value;
    }
};

class LanguageFilesTest : public ::testing::Test {
protected:
    // Italiano, the default, first; then every other language file in data/.
    static void SetUpTestSuite() {
        files_.emplace_back("Italiano");
        std::set<std::string> others;
        for (const auto& e : fs::directory_iterator(kDataDir))
            if (e.path().extension() == ".lng" && e.path().stem() != "Italiano") others.insert(e.path().stem().string());
        for (const auto& l : others) files_.emplace_back(l);
    }
    static std::vector<LanguageFile> files_;
};
std::vector<LanguageFile> LanguageFilesTest::files_;

TEST_F(LanguageFilesTest, FilesAreWellFormedUtf8UnderTheSizeOfSectionlessLookups) {
    for (const auto& f : files_) {
        ASSERT_FALSE(f.bytes.empty()) << f.path << " is missing or empty";
        EXPECT_NE(f.bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << f.name << ": UTF-8 without BOM";
        EXPECT_GE(CodePoints(f.bytes), 0) << f.name << ": not valid UTF-8";
        // From 64001 bytes on, form keys are looked up without regard to the
        // section, and CMDOk, LBLTitolo ... of different forms would clash.
        EXPECT_LT(f.bytes.size(), 64001u) << f.name << " is too large for section look-ups";
        for (const auto& p : f.problems) ADD_FAILURE() << p;
        ASSERT_TRUE(f.sections.count("Strings")) << f.name << ": no [Strings] section";
        for (const auto& form : kForms)
            EXPECT_TRUE(f.sections.count(form) && f.sections.at(form).count(form + ".Caption"))
                << f.name << ": [" << form << "] needs at least " << form << ".Caption";
    }
}

TEST_F(LanguageFilesTest, EveryFileDefinesTheSameIdsAndKeysAsTheDefault) {
    ASSERT_GE(files_.size(), 2u) << "Italiano.lng and English.lng are expected in " << kDataDir;
    auto missing = [](const LanguageFile& from, const LanguageFile& in) {
        for (const auto& [section, keys] : from.sections)
            for (const auto& [key, e] : keys)
                if (!in.sections.count(section) || !in.sections.at(section).count(key))
                    ADD_FAILURE() << "[" << section << "] " << key << " (" << from.name << ".lng:" << e.line
                                  << ") is missing from " << in.name << ".lng";
    };
    for (std::size_t i = 1; i < files_.size(); ++i) {
        missing(files_[0], files_[i]);
        missing(files_[i], files_[0]);
    }
}

TEST_F(LanguageFilesTest, TextIdsAndFormKeysHaveTheirFormat) {
    const std::regex id("[0-9]{4}");
    const std::regex formKey("[A-Za-z][A-Za-z0-9_]*(\\([0-9]+\\))?\\.(Caption|ToolTipText|Tag|TabCaption\\([0-9]+\\))");
    for (const auto& f : files_)
        for (const auto& [section, keys] : f.sections)
            for (const auto& [key, e] : keys) {
                auto where = f.name + ".lng:" + std::to_string(e.line) + ": ";
                if (section == "Strings") {
                    EXPECT_TRUE(std::regex_match(key, id) && std::stoi(key) >= 1 && std::stoi(key) <= 2000)
                        << where << key << " is not an id 0001..2000";
                    EXPECT_LE(CodePoints(e.value), 128) << where << key << " is longer than 128 characters";
                } else {
                    EXPECT_TRUE(std::regex_match(key, formKey)) << where << key << " is not a control key";
                }
            }
}

// The loader reads back every text and form key exactly as the file holds it:
// a bad line does not end the loading early, and section look-ups work.
TEST_F(LanguageFilesTest, TheLoaderReadsEveryTextAsWritten) {
    for (const auto& f : files_) {
        TestSession t;
        fs::copy_file(f.path, t.folder.File(f.name + ".lng"));
        t.s.settings.CurrentLanguage = f.name;
        LoadLanguageFile(t.s, LanguageFilePath(t.s, f.name));
        std::vector<std::string> wrong;  // a line that stops the loading spoils all after it
        for (const auto& [key, e] : f.Strings())
            if (GetText(t.s, key) != e.value) wrong.push_back(key + " (line " + std::to_string(e.line) + ")");
        for (const auto& [section, keys] : f.sections) {
            if (section == "Strings") continue;
            for (const auto& [key, e] : keys) {
                // The INI reader trims the value, as the platform call does.
                std::string v = e.value;
                v.erase(0, v.find_first_not_of(' '));
                if (FormText(t.s, section, key) != v) wrong.push_back("[" + section + "] " + key);
            }
        }
        for (std::size_t i = 0; i < wrong.size() && i < 5; ++i)
            ADD_FAILURE() << f.name << ": " << wrong[i] << " does not read back as written";
        EXPECT_TRUE(wrong.empty()) << f.name << ": " << wrong.size() << " texts do not read back";
    }
}

// Every GetText(<session>, 1234), GetText(<session>, "1234") or
// GetText(<session>, kName) with kName an int constant of the same file in
// src/ must name a text that both files define.
TEST_F(LanguageFilesTest, EveryTextIdTheSourceUsesExists) {
    const std::regex call("\\bGetText\\s*\\(\\s*[^,;()]*(?:\\([^()]*\\)[^,;()]*)*,\\s*(?:\"([0-9]+)\"|([0-9]+))\\s*\\)");
    const std::regex named("\\bGetText\\s*\\(\\s*[^,;()]*(?:\\([^()]*\\)[^,;()]*)*,\\s*(k[A-Za-z0-9_]+)\\s*\\)");
    const std::regex constant("\\b(k[A-Za-z0-9_]+)\\s*=\\s*([0-9]+)\\s*[,;]");
    int calls = 0;
    int namedCalls = 0;
    for (const auto& entry : fs::recursive_directory_iterator(std::string(CFG_SOURCE_DIR) + "/src")) {
        auto ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        const std::string code = ReadAll(entry.path().string());
        for (std::sregex_iterator m(code.begin(), code.end(), call), end; m != end; ++m) {
            ++calls;
            int line = 1 + static_cast<int>(std::count(code.begin(), code.begin() + m->position(), '\n'));
            auto where = entry.path().lexically_relative(CFG_SOURCE_DIR).string() + ":" + std::to_string(line);
            std::string number = (*m)[1].matched ? (*m)[1].str() : (*m)[2].str();
            if (!(*m)[1].matched && number.size() > 1 && number[0] == '0') {
                ADD_FAILURE() << where << ": GetText(..., " << number << ") is an octal literal";
                continue;
            }
            int id = std::stoi(number);
            for (const auto& f : files_)
                EXPECT_FALSE(f.Text(id).empty()) << where << ": text " << number << " is missing from " << f.name
                                                 << ".lng";
        }
        // Ids named once at the top of the file: "constexpr int kTitle = 1378;"
        // (or several on one line, separated by commas).
        std::map<std::string, int> constants;
        for (std::sregex_iterator m(code.begin(), code.end(), constant), end; m != end; ++m)
            if (code.rfind("constexpr int", m->position()) != std::string::npos) constants[(*m)[1].str()] = std::stoi((*m)[2].str());
        for (std::sregex_iterator m(code.begin(), code.end(), named), end; m != end; ++m) {
            auto it = constants.find((*m)[1].str());
            if (it == constants.end()) continue;
            ++namedCalls;
            int line = 1 + static_cast<int>(std::count(code.begin(), code.begin() + m->position(), '\n'));
            auto where = entry.path().lexically_relative(CFG_SOURCE_DIR).string() + ":" + std::to_string(line);
            for (const auto& f : files_)
                EXPECT_FALSE(f.Text(it->second).empty())
                    << where << ": text " << it->second << " (" << it->first << ") is missing from " << f.name << ".lng";
        }
    }
    EXPECT_GT(calls + namedCalls, 0) << "no GetText call found under src/: is CFG_SOURCE_DIR right?";
    EXPECT_GT(namedCalls, 0) << "no GetText call with a named id found under src/";
}

// Texts that fill fixed columns of a screen line, a grid window or a joined
// value keep to their width in every language.
TEST_F(LanguageFilesTest, TextsFitTheirColumns) {
    struct Width {
        int first, last, max;
        const char* where;
    };
    const std::vector<Width> widths = {
        {1293, 1305, 21, "sensor list: type name column"},
        {379, 386, 12, "point detail window: label column 2..14"},
        {395, 395, 12, "point detail window: label column 2..14"},
        {1420, 1422, 12, "point detail window: label column 2..14"},
        {375, 375, 6, "point detail window: label, 3 blanks and the point number"},
        {30, 33, 16, "loop errors window: label column 2..18"},
        {34, 34, 8, "loop errors window: label before column 11"},
        {209, 209, 22, "analog module menu entry"},
        {211, 211, 22, "analog module menu entry"},
        {392, 392, 80, "sensor list heading"},
        {200, 200, 80, "min/max list heading"},
        {1082, 1116, 43, "times list: label column 2..44, a blank before column 46"},
        {1100, 1100, 40, "times list: the label indented by four, a blank before column 46"},
        {964, 964, 20, "advanced options: access code field"},
        {967, 967, 20, "advanced options: access code field"},
        {861, 868, 50, "display messages list: label before number and text"},
        {1071, 1072, 31, "identity list: label, a blank and dots up to column 35"},
        {1074, 1075, 31, "identity list: label, a blank and dots up to column 35"},
    };
    for (const auto& f : files_)
        for (const auto& w : widths)
            for (int id = w.first; id <= w.last; ++id) {
                std::string text = f.Text(id);
                EXPECT_LE(CodePoints(text), w.max) << f.name << " text " << id << ": " << w.where;
            }
    // Options list: label in columns 2..39, value in 40..68 before the tag.
    const std::set<int> optionLabels = {870, 876, 882, 886, 892, 896, 906, 910, 920,
                                        924, 932, 937, 941, 945, 953, 957, 1210};
    for (const auto& f : files_)
        for (int id = 870; id <= 1215; id = id == 961 ? 1210 : id + 1)
            EXPECT_LE(CodePoints(f.Text(id)), optionLabels.count(id) ? 38 : 29) << f.name << " options text " << id;
    for (const auto& f : files_) {
        // The reference tag "[#005-> 12]" takes exactly columns 69..79.
        EXPECT_EQ(CodePoints(f.Text(1243)), 2) << f.name;
        // Sensor logic text, at most 33 characters in the point detail
        // window: a variant with its sensitivity (a level is joined with a
        // blank), or a module point's function number and the place of its
        // point (the largest numbers, each after a blank).
        for (int v = 846; v <= 850; ++v) {
            const std::vector<std::string> texts = {f.Text(v) + f.Text(851), f.Text(v) + f.Text(852),
                                                    f.Text(v) + f.Text(853) + " 5"};
            for (const auto& text : texts) EXPECT_LE(CodePoints(text), 33) << f.name << ": \"" << text << "\"";
        }
        for (int place : {858, 859}) {
            const std::string text = f.Text(854) + " 15" + f.Text(855) + f.Text(place) + " 249" + f.Text(860);
            EXPECT_LE(CodePoints(text), 33) << f.name << ": \"" << text << "\"";
        }
        // The function block list: a programmed block's line is text 0195,
        // 0197 and the number, a free block's line 0198 and the number, so
        // the numbers stand in one column only when the lengths agree.
        EXPECT_EQ(CodePoints(f.Text(195)) + CodePoints(f.Text(197)), CodePoints(f.Text(198)))
            << f.name << ": \"" << f.Text(195) << f.Text(197) << "\" and \"" << f.Text(198) << "\"";
        // Advanced options: each value follows its label directly, so every
        // label has the length of the first one; the block-size label is
        // followed by two blanks.
        const long labelWidth = CodePoints(f.Text(963));
        for (int id : kAdvancedOptionLabels)
            EXPECT_EQ(CodePoints(f.Text(id)), labelWidth) << f.name << " advanced options label " << id;
        EXPECT_EQ(CodePoints(f.Text(1441)) + 2, labelWidth) << f.name << " advanced options label 1441";
        // Names compared with the last characters of a file name, and baud
        // rates read from the first five characters of the menu entry.
        EXPECT_EQ(f.Text(1142), "DEFAULT") << f.name;
        const char* rates[] = {"9600", "4800", "2400", "1200"};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(f.Text(563 + i).substr(0, 5), std::string(rates[i]) + " ") << f.name;
        // Weekdays are shown by their first three characters.
        std::set<std::string> days;
        for (int d = 354; d <= 360; ++d) days.insert(Utf8Left(f.Text(d), 3));
        EXPECT_EQ(days.size(), 7u) << f.name << ": weekday abbreviations must differ";
    }
}

// A setting is named in one section only: a label of the advanced options
// that reads like an option or a time would make the installer believe the
// two are the same setting.
TEST_F(LanguageFilesTest, NoLabelNamesASettingOfAnotherSection) {
    // The label without its dot leader, in lower case.
    auto bare = [](std::string text) {
        while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    const std::map<std::string, std::vector<int>> sections = {
        {"times", {1082, 1085, 1088, 1091, 1094, 1097, 1100, 1103, 1106, 1109, 1113, 1116}},
        {"options", {870, 876, 882, 886, 892, 896, 906, 910, 920, 924, 932, 937, 941, 945, 953, 957, 1210,
                     651, 658, 665, 670, 678, 684, 696, 702, 714, 719, 724, 729, 734, 739, 748, 755, 761, 766,
                     776, 782, 1430}},
        {"advanced options", kAdvancedOptionLabels},
    };
    for (const auto& f : files_) {
        std::map<std::string, std::string> owner;  // bare label -> section
        for (const auto& [section, ids] : sections)
            for (int id : ids) {
                const std::string label = bare(f.Text(id));
                auto [it, fresh] = owner.emplace(label, section);
                EXPECT_TRUE(fresh || it->second == section)
                    << f.name << ": \"" << label << "\" (" << id << ") names a setting of both the " << it->second
                    << " and the " << section;
            }
    }
}

}  // namespace
}  // namespace cfg::test
