// The display texts as a CSV file, for editing in a spreadsheet: columns
// group (1..4), entry and text, one row per entry.
//
// Written: UTF-8 with a byte-order mark (so that spreadsheet programs take
// the accents right), ';' between fields (the list separator of Italian
// spreadsheets), the text always in double quotes, CRLF line ends, a header
// row "group;entry;text". A byte the display cannot show goes out as a
// blank and is listed in the report after the export.
//
// Read: with or without the byte-order mark; ';', ',' or tab between
// fields (whichever the first row uses); quoted or bare fields, "" for a
// quote inside quotes; a first row that does not start with a number is a
// header; empty rows are skipped and columns after the third are ignored
// (room for notes). A file that is not valid UTF-8 is read as Latin-1, as
// older spreadsheet programs write it. The whole file is checked before
// anything is written: an unknown group, an entry outside its group, an
// entry given twice, a text over 16 characters or a character the display
// cannot show stops the import with a message naming the line.
#pragma once

#include <string>
#include <vector>

#include "shell/Session.h"

namespace cfg {

struct CsvTextRow {
    int line = 0;   // line of the file where the row starts
    int group = 0;
    int entry = 0;
    std::string text;  // UTF-8, trailing blanks removed
};

// The CSV file of the texts in ConfigImage (the four groups loaded).
// `unshown` receives one "group g, entry n" text per entry holding a byte
// the display cannot show.
std::string DisplayTextsCsvText(Session&, std::vector<std::string>& unshown);

// Parses and checks a whole file. On the first fault returns false with
// `error` holding the message ("Line no. 7: ..."), rows then incomplete.
bool ParseDisplayTextsCsv(Session&, const std::string& content, std::vector<CsvTextRow>& rows,
                          std::string& error);

// Export: with `load` the four groups are read from the open source first.
// Writes the file and reports the count (and the bytes not shown) in an
// information box. Done when written; a failure has been reported.
OpResult ExportDisplayTexts(Session&, const std::string& path, bool load);

// Import: checks the whole file, then (with `load`, after reading the four
// groups from the open source) writes only the entries whose text differs,
// entries that follow each other as one block, and reports what it wrote.
// Gives back the result and the number of entries written (0: nothing
// differed), or -1 entries when the file was refused or a read or write
// failed (reported).
struct TextsImport {
    OpResult result;
    int entries = -1;
};
TextsImport ImportDisplayTexts(Session&, const std::string& path, bool load);

}  // namespace cfg
