// The fold regions a styler's region definitions mark in a text: lines are
// split into words (comments left out), and the words that announce, open and
// close regions are paired up; and the summary a collapsed region's first
// line shows in place of its text.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

class TCustomDodiStyler;
class REdoDodiStrings;

// The words of one line as the region scan sees them, upper-cased. The flag
// says that a multi-line comment is open; it carries from line to line.
std::vector<std::string> RegionWordsOfLine(const TCustomDodiStyler &styler, std::string_view line, bool &inComment);

// Every region of `lines`, as (first line, last line), in the order they are
// to be added: regions of the closed kind as they closed, then the open
// kind's, then those that run to the end of the text.
std::vector<std::pair<int, int>> FindDefinedRegions(const TCustomDodiStyler &styler, const REdoDodiStrings &lines);

// For a line whose first word is a word of a definition that shows its
// comments: true, that definition's index, and the summary text.
bool RegionSummaryOfLine(const TCustomDodiStyler &styler, std::string_view line, int &definitionIndex,
                         std::string &summary);

} // namespace tarnwick
