// Language files: the numbered message texts and the per-form control keys.
#pragma once

#include <string>
#include <vector>

#include "Session.h"

namespace cfg {

inline constexpr const char* kNoLanguageFileMessage = "Non \xC3\xA8 presente alcun file di linguaggio!";

// Text of identifier `id` ("0398"); ids outside 1..2000 are read from the file.
std::string GetText(Session&, const std::string& id);
std::string GetText(Session&, int id);
// Fills LanguageTexts from the [Strings] section of the file.
void LoadLanguageFile(Session&, const std::string& path);
// One value of a language file; "" when absent. Files of 64001 bytes or more
// are scanned line by line for the key, whatever the section.
std::string ReadLanguageEntry(const std::string& file, const std::string& section,
                              const std::string& key);
std::string LanguageFilePath(const Session&, const std::string& language);
// Names (without ".lng") of the language files in the program folder, sorted.
std::vector<std::string> ListLanguages(const Session&);
// Fills the language list: returns the names; shows the fixed message when
// there is none. Loads the settings and the current language.
std::vector<std::string> FillLanguages(Session&);
// Switches to `language`, re-translates every form and saves the settings.
void SwitchLanguage(Session&, const std::string& language);

// Keys of a form section: "Name.Caption", "Name(3).Caption", "Name.TabCaption(0)".
std::string ControlKey(const std::string& control, int index, const std::string& property);
std::string TabCaptionKey(const std::string& control, int tab);
// Reads a form key of the current language.
std::string FormText(Session&, const std::string& form, const std::string& key);

}  // namespace cfg
