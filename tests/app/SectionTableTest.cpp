// The section table as the program registers it: every code a button or a
// popup entry can send has a row, and every section that can print builds
// its lines in every shipped language without a missing text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "TestSession.h"
#include "app/core/SectionTable.h"
#include "app/core/Wiring.h"
#include "link/Screen.h"
#include "shell/Language.h"

namespace cfg::test {
namespace {

namespace fs = std::filesystem;

// Toolbar1 keys that send a section code, and the popup codes (vimom 1,
// orologio 6, stampa 11) and the title area (255).
constexpr const char* kSectionKeys[] = {"zone", "tempi", "opzioni", "opsup", "logiche",
                                        "display", "parcom", "moduli"};
constexpr int16_t kPopupCodes[] = {1, 6, 11, 255};

// Sections whose routine is not part of the program yet. A section leaves
// this list when its editor is registered.
const std::set<int> kNotBuiltYet = {};

TEST(SectionTableTest, EveryCodeAButtonCanSendHasARow) {
    SectionTable table;
    RegisterSections(table);
    for (const char* key : kSectionKeys) {
        const SectionDef* def = table.FindKey(key);
        ASSERT_NE(def, nullptr) << key;
        EXPECT_EQ(SectionCodeOfKey(table, key), def->code);
    }
    EXPECT_EQ(SectionCodeOfKey(table, "chiude"), kCloseCommand);
    EXPECT_EQ(SectionCodeOfKey(table, "vimom"), 0);  // a popup button sends nothing itself
    for (int16_t code : kPopupCodes) EXPECT_NE(table.Find(code), nullptr) << code;
    for (int16_t code : kLoopHandledCodes) EXPECT_EQ(table.Find(code), nullptr) << code;

    for (const SectionDef& def : table.Rows()) {
        EXPECT_EQ(def.run == nullptr, kNotBuiltYet.count(def.code) == 1) << "section " << def.code;
        // A routine that can print is a routine that exists.
        if (def.printable) {
            EXPECT_TRUE(def.run) << def.code;
        }
        const bool fileSection = def.code >= 1 && def.code <= 10;
        EXPECT_EQ(def.part != FilePart::None, fileSection) << def.code;
    }
}

// Every printable section builds its lines from the DEFAULT set with each
// language file shipped beside the program; no text it asks for is missing.
TEST(SectionTableTest, EverySectionPrintsInEveryShippedLanguage) {
    const fs::path bin = CFG_BIN_DIR;
    std::vector<fs::path> languages;
    for (const auto& e : fs::directory_iterator(bin))
        if (e.path().extension() == ".lng") languages.push_back(e.path());
    ASSERT_GE(languages.size(), 2u);

    for (const fs::path& language : languages) {
        TestSession t;
        for (const char* ext : {".CY2", ".PY2", ".UY2", ".MY2"})
            fs::copy_file(bin / (std::string("DEFAULT") + ext), t.folder.File(std::string("PLANT") + ext));
        Session& s = t.s;
        RegisterCoreCommands(s);
        LoadLanguageFile(s, language.string());
        s.config.ConfigSource = ConfigSource::File;
        s.config.ConfigFileName = t.folder.File("PLANT");
        int printed = 0;
        for (const SectionDef& def : s.sections.Rows()) {
            if (!def.printable) continue;
            s.texts.MissingTextIds.clear();
            EXPECT_TRUE(RunSection(s, def.run, PrintMode::LinesOnly, 1).Done())
                << language.filename() << " section " << def.code;
            EXPECT_FALSE(ScreenLines(s.screen).empty()) << language.filename() << " section " << def.code;
            std::string missing;
            for (int id : s.texts.MissingTextIds) missing += " " + std::to_string(id);
            EXPECT_TRUE(missing.empty()) << language.filename() << " section " << def.code << " lacks" << missing;
            if (def.titleText > 0) {
                EXPECT_FALSE(GetText(s, def.titleText).empty()) << def.code;
            }
            ++printed;
        }
        EXPECT_GE(printed, 2) << language.filename();
        EXPECT_TRUE(t.ui.messages.empty()) << language.filename();
    }
}

}  // namespace
}  // namespace cfg::test
