// What the command line prints about a file: one line each, holding nothing
// a terminal would act on.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

namespace xml {
class IDOMParseError;
}

// Text as a terminal may show it: control characters (C0, DEL, C1), bytes
// that are not UTF-8, and the characters that break lines or reorder text
// (U+2028, U+2029, the bidirectional controls) become escapes (\x1B,
// \u202E); everything else is kept.
std::string TerminalSafe(std::string_view text);

// "FILE: message", or "FILE:LINE:COLUMN: message" when `line` is above 0;
// surrounding white space of the message dropped, the whole made terminal-safe.
std::string FileReportLine(const std::string &file, const std::string &message, int line = 0, int column = 0);

// The same for a parse error: its reason at its line and column, without a
// position when it points at no text (a file that cannot be read, an empty
// document).
std::string FileReportLine(const std::string &file, xml::IDOMParseError &error);

} // namespace tarnwick
