// The comparison of two configurations, section by section: each section
// prints both in its own words (its print mode, through the section table)
// and the lines that differ become readable changes ("12 : Type: Normal →
// Not used"); the identification, the files themselves, and the bytes that
// no section shows are compared too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/Session.h"

namespace cfg {

inline constexpr int16_t kCompareCode = 13;

struct CompareGroup {
    std::string title;
    std::vector<std::string> lines;
};

struct CompareResult {
    bool done = false;               // false: the comparison could not be made (reported)
    std::vector<CompareGroup> groups;  // only the groups that differ, in the printout's order
    bool probeLimitReached = false;  // too many differences to tell every byte's section
    int Count() const;
};

// Compares two file sets (paths without extension). Both are read once into
// memory and every section prints them from there: neither set nor the
// session's open configuration, identification and screen is touched.
CompareResult CompareFileSets(Session&, const std::string& first, const std::string& second);

// The comparison as text: names of both sides, the summary, each group
// with its lines.
std::vector<std::string> ComparisonReport(Session&, const std::string& firstName, const std::string& secondName,
                                          const CompareResult&);
ComparisonView MakeComparisonView(Session&, const std::string& firstName, const std::string& secondName,
                                  const CompareResult&);

// One changed line as a reader wants it: what the two lines share in front
// (the item and its label) and then "old → new". Dot leaders and a closing
// ":" or "-->" of the label are dropped; a quoted text or a [...] tag counts
// as one word.
std::string DescribeChange(const std::string& before, const std::string& after);
// The differences between two line lists of one section, as readable lines:
// a changed line as DescribeChange, a line only on one side with "− " or
// "+ ". A line indented under another is prefixed with that line's label.
std::vector<std::string> DiffSectionLines(const std::vector<std::string>& a, const std::vector<std::string>& b);

// The comparison command. With a file set open: compare it with another
// file set or with the connected panel; with the panel open: compare it with
// a file set; with nothing open: ask for both. Done when the window was
// shown; aborted when the user gave up; a failure has been reported.
OpResult CompareCommand(Session&);
// The section routine of code 13 (with a configuration open).
void CompareSection(Session&, PrintMode mode, int option);

}  // namespace cfg
