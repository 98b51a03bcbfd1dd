#include "Language.h"

#include "FileNames.h"
#include "IniFile.h"
#include "MainLoop.h"
#include "Settings.h"
#include "Text.h"
#include "Folders.h"

namespace cfg {

namespace {

constexpr std::size_t kMaxText = 128;

}  // namespace

std::string LanguageFilePath(const Session& s, const std::string& language) {
    return JoinPath(DataFolderOf(s.settings), language + ".lng");
}

void LoadLanguageFile(Session& s, const std::string& path) {
    for (int i = 0; i <= 2000; ++i) s.texts.LanguageTexts[i].clear();
    IniLines file;
    if (!ReadIniLines(ResolveForWrite(path), file)) return;
    bool inStrings = false;
    for (const std::string& line : file.lines) {
        if (!inStrings) {
            inStrings = line.compare(0, 9, "[Strings]") == 0;
            continue;
        }
        // Every later line of the form number=text counts, whatever section
        // header stands between.
        auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        double id = ParseNumber(line.substr(0, eq));
        if (id < 1) continue;
        if (id > 2000) return;  // an identifier out of range ends the loading
        std::string text = TrimRight(line.substr(eq + 1));
        if (text.empty()) continue;
        s.texts.LanguageTexts[static_cast<int>(id)] = Utf8Left(text, kMaxText);
    }
}

std::string ReadLanguageEntry(const std::string& file, const std::string& section,
                              const std::string& key) {
    LanguageIndex once;
    return once.Lookup(file, section, key);
}

std::string GetText(Session& s, const std::string& id) {
    double v = ParseNumber(id);
    if (v >= 1 && v <= 2000 && static_cast<int>(v) == v) return s.texts.LanguageTexts[static_cast<int>(v)];
    if (s.settings.CurrentLanguage.empty()) LoadSettings(s);
    return s.LanguageFileIndex.Lookup(LanguageFilePath(s, s.settings.CurrentLanguage), "Strings", id);
}

std::string GetText(Session& s, int id) {
    if (id >= 1 && id <= 2000) return GetText(s.texts, id);
    std::string key = std::to_string(id);
    if (id >= 0 && key.size() < 4) key = std::string(4 - key.size(), '0') + key;
    return GetText(s, key);
}

const std::string& GetText(const Texts& t, int id) {
    static const std::string kNone;
    if (id < 1 || id > 2000) return kNone;
    const std::string& text = t.LanguageTexts[id];
    if (text.empty()) t.MissingTextIds.insert(id);
    return text;
}

std::vector<std::string> ListLanguages(const Session& s) {
    std::vector<std::string> names;
    for (const auto& f : ListFilesWithExtension(DataFolderOf(s.settings), ".lng"))
        names.push_back(f.substr(0, f.size() - 4));
    return names;
}

std::vector<std::string> FillLanguages(Session& s) {
    auto names = ListLanguages(s);
    if (names.empty()) {
        s.ui->MessageBox(s.main.Shell.ApplicationTitle, kNoLanguageFileMessage, MsgButtons::Ok, MsgIcon::None);
        return names;
    }
    LoadSettings(s);
    LoadLanguageFile(s, LanguageFilePath(s, s.settings.CurrentLanguage));
    return names;
}

void SwitchLanguage(Session& s, const std::string& language) {
    s.settings.CurrentLanguage = language;
    LoadLanguageFile(s, LanguageFilePath(s, language));
    s.ui->TranslateForms();
    // The main window's caption from the language file has replaced the
    // home screen's one, which names the version in the language's words.
    if (s.config.ConfigSource == ConfigSource::None) SetHomeCaptions(s);
    SaveSettings(s);
}

std::string ControlKey(const std::string& control, int index, const std::string& property) {
    if (index >= 0) return control + "(" + std::to_string(index) + ")." + property;
    return control + "." + property;
}

std::string TabCaptionKey(const std::string& control, int tab) {
    return control + ".TabCaption(" + std::to_string(tab) + ")";
}

std::string FormText(Session& s, const std::string& form, const std::string& key) {
    return s.LanguageFileIndex.Lookup(LanguageFilePath(s, s.settings.CurrentLanguage), form, key);
}

}  // namespace cfg
