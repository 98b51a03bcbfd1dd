// The numbered message texts of the current language: what every section
// needs, besides the configuration bytes, to build its lines.
#pragma once

#include <set>
#include <string>

#include "Cells.h"

namespace cfg {

struct Texts {
    // LanguageTexts: entries 1..2000, each at most 128 characters.
    BoundedArray<std::string, 0, 2000> LanguageTexts;
    // Ids 1..2000 asked for that the language file does not hold: the text
    // shown was empty. A record kept while the texts are read, for
    // diagnostics and for the tests that check every section against every
    // shipped language.
    mutable std::set<int> MissingTextIds;
};

// Text `id` (1..2000); "" for an id the language does not hold or outside
// the table (recorded in MissingTextIds when inside it).
const std::string& GetText(const Texts&, int id);

}  // namespace cfg
